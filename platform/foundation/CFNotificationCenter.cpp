#include "platform/foundation/CFNotificationCenter.h"

#include "platform/foundation/DeviceRoot.h"
#include "platform/foundation/NSRunLoop.h"
#include "platform/foundation/NSString.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <map>
#include <optional>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

constexpr std::string_view notifyFolderPath = "/private/var/run/notify";
constexpr std::string_view socketSuffix = ".sock";
constexpr size_t maxNameLength = 1024;
// Bounds one servicing of the socket, so a flood cannot starve the rest of the run loop.
constexpr int maxDatagramsPerService = 256;

// The notify folder of the current device root, and addresses of sockets inside it.
class NotifyFolder {
public:
    static std::optional<NotifyFolder> open(bool create)
    {
        auto path = DeviceRoot::resolve(notifyFolderPath);
        if (!path)
            return std::nullopt;
        std::error_code error;
        if (create)
            fs::create_directories(*path, error);
        if (!fs::is_directory(*path, error))
            return std::nullopt;
        return NotifyFolder(std::move(*path));
    }

    NotifyFolder(NotifyFolder&& other) noexcept
        : m_path(std::move(other.m_path))
        , m_fd(std::exchange(other.m_fd, -1))
    {
    }
    NotifyFolder& operator=(NotifyFolder&&) = delete;
    ~NotifyFolder()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }

    const fs::path& path() const { return m_path; }

    // Socket addresses are short; a deep device root is reached through the folder's descriptor.
    std::optional<sockaddr_un> address(const std::string& file)
    {
        sockaddr_un address {};
        address.sun_family = AF_UNIX;
        std::string full = (m_path / file).string();
        if (full.size() >= sizeof address.sun_path) {
            if (m_fd < 0)
                m_fd = ::open(m_path.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
            if (m_fd < 0)
                return std::nullopt;
            full = "/proc/self/fd/" + std::to_string(m_fd) + "/" + file;
            if (full.size() >= sizeof address.sun_path)
                return std::nullopt;
        }
        std::memcpy(address.sun_path, full.c_str(), full.size() + 1);
        return address;
    }

private:
    explicit NotifyFolder(fs::path path)
        : m_path(std::move(path))
    {
    }

    fs::path m_path;
    int m_fd { -1 };
};

} // namespace

CFNotificationCenter& CFNotificationCenter::darwinNotifyCenter()
{
    static auto* center = new CFNotificationCenter;
    return *center;
}

void CFNotificationCenter::addObserver(const void* observer, CFNotificationCallback callback, std::string_view name)
{
    if (!callback || name.empty() || name.size() > maxNameLength)
        return;
    std::lock_guard lock(m_mutex);
    ensureSocketLocked();
    auto existing = std::find_if(m_observations.begin(), m_observations.end(), [&](auto& o) {
        return o.observer == observer && o.name == name;
    });
    if (existing != m_observations.end()) {
        existing->callback = callback;
        return;
    }
    m_observations.push_back({ m_nextId++, observer, callback, std::string(name) });
}

void CFNotificationCenter::removeObserver(const void* observer, std::string_view name)
{
    std::lock_guard lock(m_mutex);
    std::erase_if(m_observations, [&](auto& o) { return o.observer == observer && (name.empty() || o.name == name); });
}

size_t CFNotificationCenter::observationCount() const
{
    std::lock_guard lock(m_mutex);
    return m_observations.size();
}

void CFNotificationCenter::ensureSocketLocked()
{
    auto folder = NotifyFolder::open(true);
    if (!folder)
        return;
    int pid = getpid();
    std::string file = std::to_string(pid) + std::string(socketSuffix);
    std::string path = (folder->path() / file).string();
    // A forked child inherits its parent's socket; it needs one of its own.
    if (m_socket >= 0 && m_socketPid == pid && m_socketPath == path)
        return;
    closeSocketLocked();

    auto address = folder->address(file);
    if (!address)
        return;
    int fd = socket(AF_UNIX, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return;
    ::unlink(path.c_str());
    if (bind(fd, reinterpret_cast<const sockaddr*>(&*address), sizeof *address) != 0) {
        ::close(fd);
        return;
    }
    m_socket = fd;
    m_socketPid = pid;
    m_socketPath = path;
    NSRunLoop::mainRunLoop().addSource(fd, [this] { receive(); });
    static bool cleanupRegistered = (std::atexit(&CFNotificationCenter::unlinkOwnSocket), true);
    (void)cleanupRegistered;
}

void CFNotificationCenter::closeSocketLocked()
{
    if (m_socket < 0)
        return;
    NSRunLoop::mainRunLoop().removeSource(m_socket);
    ::close(m_socket);
    if (m_socketPid == getpid())
        ::unlink(m_socketPath.c_str());
    m_socket = -1;
    m_socketPid = 0;
    m_socketPath.clear();
}

void CFNotificationCenter::unlinkOwnSocket()
{
    auto& center = darwinNotifyCenter();
    std::lock_guard lock(center.m_mutex);
    if (center.m_socket >= 0 && center.m_socketPid == getpid())
        ::unlink(center.m_socketPath.c_str());
}

void CFNotificationCenter::receive()
{
    int fd;
    {
        std::lock_guard lock(m_mutex);
        fd = m_socket;
    }
    if (fd < 0)
        return;
    char buffer[maxNameLength];
    for (int i = 0; i < maxDatagramsPerService; ++i) {
        ssize_t size = recv(fd, buffer, sizeof buffer, MSG_DONTWAIT);
        if (size < 0)
            return;
        if (size > 0)
            deliver(std::string(buffer, size_t(size)));
    }
}

void CFNotificationCenter::deliver(const std::string& name)
{
    std::vector<Observation> matching;
    {
        std::lock_guard lock(m_mutex);
        for (auto& observation : m_observations) {
            if (observation.name == name)
                matching.push_back(observation);
        }
    }
    if (matching.empty())
        return;
    auto nameString = NSString::string(name);
    for (auto& observation : matching) {
        CFNotificationCallback callback = nullptr;
        {
            // Removed by an earlier callback of this delivery: not called.
            std::lock_guard lock(m_mutex);
            auto current = std::find_if(m_observations.begin(), m_observations.end(), [&](auto& o) { return o.id == observation.id; });
            if (current != m_observations.end())
                callback = current->callback;
        }
        if (callback)
            callback(this, const_cast<void*>(observation.observer), nameString.get(), nullptr, nullptr);
    }
}

void CFNotificationCenter::post(std::string_view name)
{
    if (name.empty() || name.size() > maxNameLength)
        return;
    auto folder = NotifyFolder::open(false);
    if (!folder)
        return;
    int sender = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (sender < 0)
        return;
    std::error_code error;
    for (auto it = fs::directory_iterator(folder->path(), error); !error && it != fs::directory_iterator(); it.increment(error)) {
        std::string file = it->path().filename().string();
        if (!file.ends_with(socketSuffix) || !it->is_socket(error))
            continue;
        auto address = folder->address(file);
        if (!address)
            continue;
        ssize_t sent = sendto(sender, name.data(), name.size(), MSG_DONTWAIT | MSG_NOSIGNAL,
            reinterpret_cast<const sockaddr*>(&*address), sizeof *address);
        // Nobody is bound there any more: the process that made it has gone.
        if (sent < 0 && errno == ECONNREFUSED)
            ::unlink(it->path().c_str());
    }
    ::close(sender);
}

CFNotificationCenterRef CFNotificationCenterGetDarwinNotifyCenter()
{
    return &CFNotificationCenter::darwinNotifyCenter();
}

CFStringRef CFSTR(const char* text)
{
    static auto* mutex = new std::mutex;
    static auto* strings = new std::map<std::string, NSString*, std::less<>>;
    std::string_view key = text ? text : "";
    std::lock_guard lock(*mutex);
    auto existing = strings->find(key);
    if (existing != strings->end())
        return existing->second;
    NSString* string = NSString::string(key).leakRef();
    strings->emplace(std::string(key), string);
    return string;
}

void CFNotificationCenterAddObserver(CFNotificationCenterRef center, const void* observer, CFNotificationCallback callback, CFStringRef name, const void*, CFNotificationSuspensionBehavior)
{
    if (!center || !name)
        return;
    center->addObserver(observer, callback, name->view());
}

void CFNotificationCenterRemoveObserver(CFNotificationCenterRef center, const void* observer, CFStringRef name, const void*)
{
    if (!center)
        return;
    // An empty name would widen the removal to every name.
    if (name && name->view().empty())
        return;
    center->removeObserver(observer, name ? name->view() : std::string_view {});
}

void CFNotificationCenterRemoveEveryObserver(CFNotificationCenterRef center, const void* observer)
{
    if (!center)
        return;
    center->removeObserver(observer, {});
}

void CFNotificationCenterPostNotification(CFNotificationCenterRef center, CFStringRef name, const void*, CFDictionaryRef, bool)
{
    if (!center || !name)
        return;
    CFNotificationCenter::post(name->view());
}

void postDarwinNotification(std::string_view name)
{
    CFNotificationCenter::post(name);
}
