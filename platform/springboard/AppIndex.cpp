#include "platform/springboard/AppIndex.h"

#include "platform/foundation/DeviceRoot.h"
#include "platform/foundation/NSArray.h"
#include "platform/foundation/NSFileManager.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/PropertyList.h"

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <map>
#include <mutex>
#include <sys/stat.h>
#include <unordered_map>
#include <vector>

// The index is trusted until the application folders change. A scan lists the folders and
// looks at every Info.plist's version, but opens only those not seen before in that version,
// so an unreadable or hostile file costs one read until it changes. A question about an
// identifier nobody declares costs a few looks at the folders (a new app changes its parent
// folder), not a scan. An app found unchanged within the last second is answered without
// looking at its Info.plist again: the same app is asked for several times in a row (a
// platter, its header, the colour mode), and the phone's database answers those without
// touching the disk. For the same reason a miss looks at every known Info.plist at most
// once a second, so an app rewritten in place under another identifier is found too.

namespace {

namespace fs = std::filesystem;

constexpr std::string_view systemApplications = "/Applications";
constexpr std::string_view containerApplications = "/var/containers/Bundle/Application";
constexpr auto recheckAfter = std::chrono::seconds(1);
// File times tick more coarsely than the clock: a file changed this close before a scan
// could change again within the same tick, time unmoved, so it is not trusted yet.
constexpr int64_t racyNanoseconds = 20'000'000;

// What tells one version of a file or folder from another.
struct FileVersion {
    uint64_t device { 0 };
    uint64_t inode { 0 };
    int64_t size { 0 };
    int64_t modifiedNanoseconds { 0 };

    bool operator==(const FileVersion&) const = default;
};

std::optional<FileVersion> versionOf(const fs::path& hostPath)
{
    struct stat status;
    if (::stat(hostPath.c_str(), &status) != 0)
        return std::nullopt;
    return FileVersion { static_cast<uint64_t>(status.st_dev), static_cast<uint64_t>(status.st_ino), static_cast<int64_t>(status.st_size),
        int64_t(status.st_mtim.tv_sec) * 1'000'000'000 + status.st_mtim.tv_nsec };
}

int64_t wallClockNanoseconds()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::system_clock::now().time_since_epoch()).count();
}

// A file or folder as a scan saw it; absent is a version too.
struct Seen {
    fs::path hostPath;
    std::optional<FileVersion> version;
    bool settled { true };

    static Seen now(fs::path hostPath, int64_t scanStarted)
    {
        auto version = versionOf(hostPath);
        bool settled = !version || version->modifiedNanoseconds < scanStarted - racyNanoseconds;
        return Seen { std::move(hostPath), version, settled };
    }
    bool unchanged() const { return settled && versionOf(hostPath) == version; }
};

struct InfoFile {
    // The .app folder, a device path.
    std::string folder;
    Seen seen;
    // The keys a record answers from; nil when the file declares no app.
    RefPtr<NSDictionary> info;
    std::chrono::steady_clock::time_point checked;
};

struct RootIndex {
    bool scanned { false };
    std::vector<Seen> parents;
    // Every .app folder of the last scan, system apps first.
    std::vector<InfoFile> files;
    std::map<std::string, size_t, std::less<>> byIdentifier;
    std::chrono::steady_clock::time_point swept;
    AppIndex::Statistics statistics;
};

struct Index {
    std::mutex mutex;
    std::map<fs::path, RootIndex> byRoot;
};

Index& index()
{
    static auto* shared = new Index;
    return *shared;
}

// Only what LSBundleProxy answers from is kept, so a large Info.plist costs its size once,
// while it is read, not for the life of the process.
RefPtr<NSDictionary> recordKeys(const NSDictionary& info)
{
    std::vector<std::pair<Id, Id>> kept;
    for (auto key : { "CFBundleIdentifier", "CFBundleIcons", "CFBundleDisplayName", "CFBundleName" }) {
        if (auto value = info.objectForStringKey(key))
            kept.emplace_back(NSString::string(key), std::move(value));
    }
    return NSDictionary::dictionaryWithPairs(kept);
}

RefPtr<NSDictionary> readInfo(const fs::path& hostPath, AppIndex::Statistics& statistics)
{
    ++statistics.infoPlistReads;
    auto info = objectCast<NSDictionary>(PropertyList::readHostFile(hostPath));
    if (!info || !objectCast<NSString>(info->objectForStringKey("CFBundleIdentifier")))
        return nullptr;
    return recordKeys(*info);
}

void scan(RootIndex& root)
{
    ++root.statistics.scans;
    int64_t started = wallClockNanoseconds();
    auto manager = NSFileManager::defaultManager();
    std::vector<std::string> parentFolders { std::string(systemApplications) };
    std::vector<Seen> parents;
    // Seen before listing, so an app added while listing shows as a change next time.
    auto watch = [&](std::string_view folder) {
        if (auto hostPath = DeviceRoot::resolve(folder))
            parents.push_back(Seen::now(std::move(*hostPath), started));
    };
    watch(systemApplications);
    watch(containerApplications);
    if (auto containers = manager->contentsOfDirectoryAtPath(containerApplications)) {
        for (auto& name : *containers) {
            if (RefPtr<NSString> uuid = objectCast<NSString>(name))
                parentFolders.push_back(std::string(containerApplications) + "/" + uuid->utf8());
        }
    }
    std::unordered_map<std::string, InfoFile*> previous;
    for (auto& file : root.files)
        previous.emplace(file.folder, &file);

    std::vector<InfoFile> files;
    for (size_t index = 0; index < parentFolders.size(); ++index) {
        if (index > 0)
            watch(parentFolders[index]);
        auto names = manager->contentsOfDirectoryAtPath(parentFolders[index]);
        if (!names)
            continue;
        for (auto& name : *names) {
            RefPtr<NSString> app = objectCast<NSString>(name);
            if (!app || !app->hasSuffix(".app"))
                continue;
            bool isDirectory = false;
            auto folder = parentFolders[index] + "/" + app->utf8();
            auto infoHostPath = DeviceRoot::resolve(folder + "/Info.plist");
            if (!infoHostPath || !manager->fileExistsAtPath(folder, &isDirectory) || !isDirectory)
                continue;
            // Looked at before it is read: a change while reading shows as a change next time.
            InfoFile file { folder, Seen::now(std::move(*infoHostPath), started), nullptr, std::chrono::steady_clock::now() };
            auto known = previous.find(folder);
            if (known != previous.end() && known->second->seen.settled && known->second->seen.version == file.seen.version)
                file.info = known->second->info;
            else if (file.seen.version)
                file.info = readInfo(file.seen.hostPath, root.statistics);
            files.push_back(std::move(file));
        }
    }

    root.byIdentifier.clear();
    root.statistics.unreadable = 0;
    for (size_t index = 0; index < files.size(); ++index) {
        auto declared = files[index].info ? objectCast<NSString>(files[index].info->objectForStringKey("CFBundleIdentifier")) : nullptr;
        if (!declared) {
            ++root.statistics.unreadable;
            continue;
        }
        // The first app declaring an identifier wins, system apps before containers.
        root.byIdentifier.emplace(declared->utf8(), index);
    }
    root.files = std::move(files);
    root.parents = std::move(parents);
    root.statistics.apps = root.byIdentifier.size();
    root.scanned = true;
    root.swept = std::chrono::steady_clock::now();
}

// Whether an identifier that is not indexed might be declared now.
bool mayHaveChanged(RootIndex& root)
{
    for (auto& parent : root.parents) {
        if (!parent.unchanged())
            return true;
    }
    for (auto& file : root.files) {
        if (!file.info && !file.seen.unchanged())
            return true;
    }
    auto now = std::chrono::steady_clock::now();
    if (now - root.swept < recheckAfter)
        return false;
    root.swept = now;
    for (auto& file : root.files) {
        if (!file.seen.unchanged())
            return true;
    }
    return false;
}

} // namespace

std::optional<AppIndex::App> AppIndex::find(std::string_view identifier)
{
    if (identifier.empty())
        return std::nullopt;
    auto& shared = index();
    std::lock_guard lock(shared.mutex);
    auto& root = shared.byRoot[DeviceRoot::get()];
    if (!root.scanned)
        scan(root);
    auto found = root.byIdentifier.find(identifier);
    if (found == root.byIdentifier.end()) {
        if (!mayHaveChanged(root))
            return std::nullopt;
        scan(root);
        found = root.byIdentifier.find(identifier);
        if (found == root.byIdentifier.end())
            return std::nullopt;
    }
    auto* file = &root.files[found->second];
    auto now = std::chrono::steady_clock::now();
    if (now - file->checked >= recheckAfter) {
        if (file->seen.unchanged()) {
            file->checked = now;
        } else {
            scan(root);
            found = root.byIdentifier.find(identifier);
            if (found == root.byIdentifier.end())
                return std::nullopt;
            file = &root.files[found->second];
        }
    }
    return App { file->folder, file->info };
}

std::vector<AppIndex::App> AppIndex::installed()
{
    auto& shared = index();
    std::lock_guard lock(shared.mutex);
    auto& root = shared.byRoot[DeviceRoot::get()];
    if (!root.scanned || mayHaveChanged(root))
        scan(root);
    std::vector<App> apps;
    for (size_t index = 0; index < root.files.size(); ++index) {
        auto& file = root.files[index];
        auto declared = file.info ? objectCast<NSString>(file.info->objectForStringKey("CFBundleIdentifier")) : nullptr;
        auto winner = declared ? root.byIdentifier.find(declared->utf8()) : root.byIdentifier.end();
        if (winner != root.byIdentifier.end() && winner->second == index)
            apps.push_back(App { file.folder, file.info });
    }
    return apps;
}

AppIndex::Statistics AppIndex::statistics()
{
    auto& shared = index();
    std::lock_guard lock(shared.mutex);
    return shared.byRoot[DeviceRoot::get()].statistics;
}
