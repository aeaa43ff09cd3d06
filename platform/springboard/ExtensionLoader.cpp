#include "platform/springboard/ExtensionLoader.h"

#include "platform/foundation/DeviceRoot.h"
#include "platform/foundation/DynamicLoader.h"
#include "platform/foundation/NSArray.h"
#include "platform/foundation/NSDictionary.h"
#include "platform/foundation/NSFileManager.h"
#include "platform/foundation/NSString.h"
#include "platform/runtime/Runtime.h"
#include "platform/springboard/RuntimeSnapshot.h"

#include <algorithm>
#include <functional>

namespace {

enum class ListResult { Absent, Matches, Fails, Malformed };

// Any entry may match; a list that is not an array of strings is malformed.
ListResult matchList(const NSDictionary* filter, std::string_view key, const std::function<bool(std::string_view)>& accepts)
{
    Id value = filter->objectForStringKey(key);
    if (!value)
        return ListResult::Absent;
    RefPtr<NSArray> list = objectCast<NSArray>(value);
    if (!list)
        return ListResult::Malformed;
    bool matched = false;
    for (const Id& entry : *list) {
        RefPtr<NSString> text = objectCast<NSString>(entry);
        if (!text)
            return ListResult::Malformed;
        if (!matched && accepts(text->view()))
            matched = true;
    }
    return matched ? ListResult::Matches : ListResult::Fails;
}

} // namespace

ExtensionLoader::ExtensionLoader(std::string bundleIdentifier, std::string executableName)
    : m_bundleIdentifier(std::move(bundleIdentifier))
    , m_executableName(std::move(executableName))
{
}

ExtensionLoader::Outcome ExtensionLoader::evaluateFilter(const NSDictionary& propertyList) const
{
    Id filterValue = propertyList.objectForStringKey("Filter");
    if (!filterValue)
        return Outcome::NoFilter;
    RefPtr<NSDictionary> filter = objectCast<NSDictionary>(filterValue);
    if (!filter)
        return Outcome::BadFilter;

    ListResult results[] = {
        matchList(filter.get(), "Bundles", [&](std::string_view entry) { return entry == m_bundleIdentifier; }),
        matchList(filter.get(), "Executables", [&](std::string_view entry) { return entry == m_executableName; }),
        matchList(filter.get(), "Classes", [](std::string_view entry) { return objc_getClass(std::string(entry).c_str()); }),
    };
    auto any = [&](ListResult wanted) { return std::ranges::find(results, wanted) != std::end(results); };
    if (any(ListResult::Malformed))
        return Outcome::BadFilter;
    // An empty filter would otherwise load the library into every process.
    if (std::ranges::all_of(results, [](ListResult r) { return r == ListResult::Absent; }))
        return Outcome::NoFilter;
    if (any(ListResult::Fails))
        return Outcome::FilterMismatch;
    return Outcome::Loaded;
}

ExtensionLoader::Report ExtensionLoader::loadExtensions() const
{
    Report report;
    auto fileManager = NSFileManager::defaultManager();
    const std::string folder = DeviceRoot::installPrefix() + std::string(dynamicLibrariesPath);
    // Already in name order.
    auto names = fileManager->contentsOfDirectoryAtPath(folder);
    if (!names)
        return report;
    for (const Id& entry : *names) {
        RefPtr<NSString> name = objectCast<NSString>(entry);
        if (!name || !name->hasSuffix(".dylib"))
            continue;
        std::string devicePath = folder + "/" + name->utf8();
        bool isDirectory = false;
        if (!fileManager->fileExistsAtPath(devicePath, &isDirectory) || isDirectory)
            continue;

        Extension extension;
        extension.name = name->utf8();
        extension.devicePath = devicePath;
        std::string filterPath = devicePath.substr(0, devicePath.size() - std::string_view(".dylib").size()) + ".plist";
        if (!fileManager->fileExistsAtPath(filterPath)) {
            extension.outcome = Outcome::NoFilter;
        } else {
            auto propertyList = NSDictionary::dictionaryWithContentsOfFile(filterPath);
            extension.outcome = propertyList ? evaluateFilter(*propertyList) : Outcome::BadFilter;
        }
        if (extension.outcome == Outcome::Loaded) {
            RuntimeSnapshot before;
            if (!dlopenDevice(devicePath.c_str(), RTLD_NOW | RTLD_GLOBAL)) {
                extension.outcome = Outcome::LoadFailed;
                const char* message = dlerror();
                extension.error = message ? message : "unknown error";
            } else {
                extension.changes = before.changesSince();
            }
        }
        report.extensions.push_back(std::move(extension));
    }
    return report;
}

size_t ExtensionLoader::Report::loadedCount() const
{
    return std::ranges::count_if(extensions, [](const Extension& e) { return e.outcome == Outcome::Loaded; });
}

std::vector<std::string> ExtensionLoader::Report::lines() const
{
    std::vector<std::string> lines;
    for (const Extension& extension : extensions) {
        std::string line = extension.name + ": " + std::string(describe(extension.outcome));
        if (!extension.error.empty())
            line += ": " + extension.error;
        lines.push_back(std::move(line));
        for (const std::string& change : extension.changes)
            lines.push_back(extension.name + ": " + change);
    }
    return lines;
}

std::vector<std::string> ExtensionLoader::Report::summaryLines() const
{
    std::vector<std::string> lines;
    for (const Extension& extension : extensions) {
        std::string line = extension.name + ": " + std::string(describe(extension.outcome));
        if (!extension.error.empty())
            line += ": " + extension.error;
        if (extension.outcome == Outcome::Loaded) {
            size_t replaced = std::ranges::count_if(extension.changes, [](auto& change) { return change.starts_with("replaced "); });
            size_t classes = std::ranges::count_if(extension.changes, [](auto& change) { return change.starts_with("added class "); });
            size_t added = extension.changes.size() - replaced - classes;
            line += " (" + std::to_string(replaced) + " replaced, " + std::to_string(added) + " added, " + std::to_string(classes)
                + (classes == 1 ? " class" : " classes") + ")";
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

std::string_view ExtensionLoader::describe(Outcome outcome)
{
    switch (outcome) {
    case Outcome::Loaded:
        return "loaded";
    case Outcome::NoFilter:
        return "not loaded (no filter)";
    case Outcome::BadFilter:
        return "not loaded (unreadable filter)";
    case Outcome::FilterMismatch:
        return "not loaded (filter does not match)";
    case Outcome::LoadFailed:
        return "failed to load";
    }
    return "";
}
