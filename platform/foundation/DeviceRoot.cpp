#include "platform/foundation/DeviceRoot.h"

#include <cstdlib>
#include <mutex>
#include <vector>

namespace {

std::mutex& rootMutex()
{
    static std::mutex mutex;
    return mutex;
}

std::filesystem::path& rootStorage()
{
    static std::filesystem::path root = [] {
        const char* fromEnvironment = std::getenv("TINTWELL_DEVICE_ROOT");
        if (fromEnvironment && *fromEnvironment)
            return std::filesystem::path(fromEnvironment).lexically_normal();
        return std::filesystem::path("/");
    }();
    return root;
}

} // namespace

std::filesystem::path DeviceRoot::get()
{
    std::lock_guard lock(rootMutex());
    return rootStorage();
}

void DeviceRoot::set(std::filesystem::path hostFolder)
{
    std::error_code error;
    auto absolute = std::filesystem::absolute(hostFolder, error);
    std::lock_guard lock(rootMutex());
    rootStorage() = (error ? hostFolder : absolute).lexically_normal();
}

std::string DeviceRoot::installPrefix()
{
    constexpr const char* rootlessPrefix = "/var/jb";
    auto folder = resolve(rootlessPrefix);
    std::error_code error;
    if (folder && std::filesystem::is_directory(*folder, error))
        return rootlessPrefix;
    return {};
}

std::optional<std::string> DeviceRoot::normalize(std::string_view devicePath)
{
    if (devicePath.empty() || devicePath.find('\0') != std::string_view::npos)
        return std::nullopt;
    std::vector<std::string_view> parts;
    size_t start = 0;
    while (start <= devicePath.size()) {
        size_t end = devicePath.find('/', start);
        if (end == std::string_view::npos)
            end = devicePath.size();
        auto part = devicePath.substr(start, end - start);
        if (part == "..") {
            // Already at "/": stays there.
            if (!parts.empty())
                parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = end + 1;
    }
    std::string normalized;
    for (auto part : parts) {
        normalized += '/';
        normalized += part;
    }
    if (normalized.empty())
        normalized = "/";
    return normalized;
}

std::optional<std::filesystem::path> DeviceRoot::resolve(std::string_view devicePath)
{
    auto normalized = normalize(devicePath);
    if (!normalized)
        return std::nullopt;
    auto root = get();
    if (*normalized == "/")
        return root;
    // Both halves are already normal (the root is kept so, the device path was just
    // normalized), so joining their texts is enough; parsing the path again costs more
    // than many callers' own work.
    std::string joined = root.native();
    if (!joined.ends_with('/'))
        joined += '/';
    joined.append(*normalized, 1);
    return std::filesystem::path(std::move(joined));
}

std::optional<std::string> DeviceRoot::devicePath(const std::filesystem::path& hostPath)
{
    auto root = get();
    auto relative = hostPath.lexically_normal().lexically_relative(root);
    if (relative.empty())
        return std::nullopt;
    if (relative == ".")
        return std::string("/");
    if (*relative.begin() == "..")
        return std::nullopt;
    return normalize("/" + relative.generic_string());
}
