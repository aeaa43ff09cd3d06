#include "platform/springboard/LSBundleProxy.h"

#include "platform/foundation/NSArray.h"
#include "platform/foundation/NSDictionary.h"
#include "platform/foundation/NSFileManager.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/NSURL.h"
#include "platform/foundation/PropertyList.h"

#include "platform/foundation/DeviceRoot.h"

#include <chrono>
#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
#include <vector>

namespace {

constexpr std::string_view systemApplications = "/Applications";
constexpr std::string_view containerApplications = "/var/containers/Bundle/Application";

// Every "*.app" folder the system would install apps from, system apps first.
std::vector<std::string> applicationFolders()
{
    auto manager = NSFileManager::defaultManager();
    std::vector<std::string> parents { std::string(systemApplications) };
    if (auto containers = manager->contentsOfDirectoryAtPath(containerApplications)) {
        for (auto& name : *containers) {
            if (auto uuid = objectAs<NSString>(name.get()))
                parents.push_back(std::string(containerApplications) + "/" + uuid->utf8());
        }
    }
    std::vector<std::string> folders;
    for (auto& parent : parents) {
        auto names = manager->contentsOfDirectoryAtPath(parent);
        if (!names)
            continue;
        for (auto& name : *names) {
            auto app = objectAs<NSString>(name.get());
            if (!app || !app->hasSuffix(".app"))
                continue;
            bool isDirectory = false;
            auto folder = parent + "/" + app->utf8();
            if (manager->fileExistsAtPath(folder, &isDirectory) && isDirectory)
                folders.push_back(folder);
        }
    }
    return folders;
}

} // namespace

Class LSBundleProxy::classObject()
{
    static Class cls = ClassBuilder<LSBundleProxy>("LSBundleProxy", Object::classObject())
                           .classFunction("bundleProxyForIdentifier:", &LSBundleProxy::bundleProxyForIdentifierImpl)
                           .method<&LSBundleProxy::iconsDictionary>("iconsDictionary")
                           .method<&LSBundleProxy::bundleURL>("bundleURL")
                           .method<&LSBundleProxy::bundleIdentifier>("bundleIdentifier")
                           .method<&LSBundleProxy::localizedName>("localizedName")
                           .build();
    return cls;
}

LSBundleProxy::LSBundleProxy(std::string devicePath, RefPtr<NSDictionary> info)
    : m_devicePath(std::move(devicePath))
    , m_info(std::move(info))
{
}

namespace {

// The system keeps a database of installed apps rather than scanning bundles at every
// question; this index plays that part. An entry is trusted while its Info.plist is
// unchanged; a miss rescans, so apps installed later are found. An entry found unchanged
// within the last second is not looked at again: the same app is asked for several times
// in a row (its icon for a platter, for a widget, for the colour mode) and the phone's
// database answers those without touching the disk.
constexpr auto recheckAfter = std::chrono::seconds(1);

struct IndexedApp {
    std::string folder;
    RefPtr<NSDictionary> info;
    // Where the Info.plist is on this machine, so checking it costs one look.
    std::filesystem::path infoHostPath;
    std::filesystem::file_time_type modified;
    std::chrono::steady_clock::time_point checked;
};

struct AppIndex {
    std::mutex mutex;
    std::map<std::filesystem::path, std::map<std::string, IndexedApp, std::less<>>> byRoot;
};

AppIndex& appIndex()
{
    static auto* index = new AppIndex;
    return *index;
}

std::optional<std::filesystem::file_time_type> modifiedTime(const std::filesystem::path& hostPath)
{
    std::error_code error;
    auto modified = std::filesystem::last_write_time(hostPath, error);
    if (error)
        return std::nullopt;
    return modified;
}

std::map<std::string, IndexedApp, std::less<>> scanApplications()
{
    std::map<std::string, IndexedApp, std::less<>> apps;
    for (auto& folder : applicationFolders()) {
        auto infoHostPath = DeviceRoot::resolve(folder + "/Info.plist");
        auto modified = infoHostPath ? modifiedTime(*infoHostPath) : std::nullopt;
        auto info = objectAs<NSDictionary>(PropertyList::readFile(folder + "/Info.plist"));
        if (!modified || !info)
            continue;
        auto declared = objectAs<NSString>(info->objectForStringKey("CFBundleIdentifier"));
        // The first app declaring an identifier wins, system apps before containers.
        if (declared && !apps.count(declared->view()))
            apps.emplace(declared->utf8(), IndexedApp { folder, std::move(info), std::move(*infoHostPath), *modified, std::chrono::steady_clock::now() });
    }
    return apps;
}

} // namespace

RefPtr<LSBundleProxy> LSBundleProxy::bundleProxyForIdentifier(std::string_view identifier)
{
    if (identifier.empty())
        return nullptr;
    auto& index = appIndex();
    std::lock_guard lock(index.mutex);
    auto& apps = index.byRoot[DeviceRoot::get()];
    auto it = apps.find(identifier);
    auto now = std::chrono::steady_clock::now();
    bool fresh = it != apps.end() && now - it->second.checked < recheckAfter;
    if (!fresh && it != apps.end() && modifiedTime(it->second.infoHostPath) == it->second.modified) {
        it->second.checked = now;
        fresh = true;
    }
    if (!fresh) {
        apps = scanApplications();
        it = apps.find(identifier);
    }
    if (it == apps.end())
        return nullptr;
    return make<LSBundleProxy>(it->second.folder, it->second.info);
}

Id LSBundleProxy::bundleProxyForIdentifierImpl(Class, SEL, id identifier)
{
    auto* text = dynamic_cast<NSString*>(identifier);
    if (!text)
        return nullptr;
    return bundleProxyForIdentifier(text->view());
}

RefPtr<NSDictionary> LSBundleProxy::iconsDictionary() const
{
    if (!m_info)
        return nullptr;
    return objectAs<NSDictionary>(m_info->objectForStringKey("CFBundleIcons").get());
}

RefPtr<NSURL> LSBundleProxy::bundleURL() const
{
    return NSURL::fileURLWithPath(m_devicePath);
}

RefPtr<NSString> LSBundleProxy::bundleIdentifier() const
{
    return stringForKey("CFBundleIdentifier");
}

RefPtr<NSString> LSBundleProxy::localizedName() const
{
    if (auto name = stringForKey("CFBundleDisplayName"))
        return name;
    return stringForKey("CFBundleName");
}

RefPtr<NSString> LSBundleProxy::stringForKey(std::string_view key) const
{
    if (!m_info)
        return nullptr;
    return objectAs<NSString>(m_info->objectForStringKey(key).get());
}
