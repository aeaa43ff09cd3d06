#include "platform/springboard/AppIndex.h"

#include "platform/foundation/DeviceRoot.h"
#include "platform/foundation/NSArray.h"
#include "platform/foundation/NSFileManager.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/PropertyList.h"

#include <chrono>
#include <filesystem>
#include <map>
#include <mutex>
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

constexpr auto recheckAfter = std::chrono::seconds(1);

struct IndexedApp {
    std::string folder;
    RefPtr<NSDictionary> info;
    std::filesystem::path infoHostPath;
    std::filesystem::file_time_type modified;
    std::chrono::steady_clock::time_point checked;
};

struct RootIndex {
    std::map<std::string, IndexedApp, std::less<>> apps;
    AppIndex::Statistics statistics;
};

struct Index {
    std::mutex mutex;
    std::map<std::filesystem::path, RootIndex> byRoot;
};

Index& index()
{
    static auto* shared = new Index;
    return *shared;
}

std::optional<std::filesystem::file_time_type> modifiedTime(const std::filesystem::path& hostPath)
{
    std::error_code error;
    auto modified = std::filesystem::last_write_time(hostPath, error);
    if (error)
        return std::nullopt;
    return modified;
}

std::map<std::string, IndexedApp, std::less<>> scanApplications(AppIndex::Statistics& statistics)
{
    ++statistics.scans;
    statistics.unreadable = 0;
    std::map<std::string, IndexedApp, std::less<>> apps;
    for (auto& folder : applicationFolders()) {
        auto infoHostPath = DeviceRoot::resolve(folder + "/Info.plist");
        auto modified = infoHostPath ? modifiedTime(*infoHostPath) : std::nullopt;
        ++statistics.infoPlistReads;
        auto info = objectAs<NSDictionary>(PropertyList::readFile(folder + "/Info.plist"));
        if (!modified || !info) {
            ++statistics.unreadable;
            continue;
        }
        auto declared = objectAs<NSString>(info->objectForStringKey("CFBundleIdentifier"));
        if (declared && !apps.count(declared->view()))
            apps.emplace(declared->utf8(), IndexedApp { folder, std::move(info), std::move(*infoHostPath), *modified, std::chrono::steady_clock::now() });
    }
    statistics.apps = apps.size();
    return apps;
}

} // namespace

std::optional<AppIndex::App> AppIndex::find(std::string_view identifier)
{
    if (identifier.empty())
        return std::nullopt;
    auto& shared = index();
    std::lock_guard lock(shared.mutex);
    auto& root = shared.byRoot[DeviceRoot::get()];
    auto& apps = root.apps;
    auto it = apps.find(identifier);
    auto now = std::chrono::steady_clock::now();
    bool fresh = it != apps.end() && now - it->second.checked < recheckAfter;
    if (!fresh && it != apps.end() && modifiedTime(it->second.infoHostPath) == it->second.modified) {
        it->second.checked = now;
        fresh = true;
    }
    if (!fresh) {
        apps = scanApplications(root.statistics);
        it = apps.find(identifier);
    }
    if (it == apps.end())
        return std::nullopt;
    return App { it->second.folder, it->second.info };
}

AppIndex::Statistics AppIndex::statistics()
{
    auto& shared = index();
    std::lock_guard lock(shared.mutex);
    return shared.byRoot[DeviceRoot::get()].statistics;
}
