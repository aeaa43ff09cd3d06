#pragma once

#include <string>
#include <string_view>
#include <vector>

class NSDictionary;

// Loads extensions into the running process the way the phone's hooking framework
// does: every "*.dylib" of the dynamic-libraries folder, in name order, whose filter
// property list ("<name>.plist") matches this process. Reads the current device root;
// on a rootless device the folder is under "/var/jb" (DeviceRoot::installPrefix).
class ExtensionLoader {
public:
    static constexpr std::string_view dynamicLibrariesPath = "/Library/MobileSubstrate/DynamicLibraries";

    enum class Outcome {
        Loaded,
        // No property list, no "Filter" dictionary, or a filter without any list.
        NoFilter,
        // The property list is unreadable or its filter is not made of lists of strings.
        BadFilter,
        FilterMismatch,
        LoadFailed,
    };

    struct Extension {
        std::string name; // "Tintwell.dylib"
        std::string devicePath;
        Outcome outcome { Outcome::NoFilter };
        std::string error; // the loader's message when loading failed
        // What loading changed in the runtime, e.g. "replaced -[BBServer initWithQueue:]",
        // "added -[NCNotificationListView TWLsetHeaderColor]", "added class QFConfig".
        std::vector<std::string> changes;
    };

    struct Report {
        std::vector<Extension> extensions;

        size_t loadedCount() const;
        // One line per outcome and per change, each prefixed with the library's name.
        std::vector<std::string> lines() const;
        // One line per library: its outcome, and for a loaded one how many methods it
        // replaced and added and how many classes it added.
        std::vector<std::string> summaryLines() const;
    };

    ExtensionLoader(std::string bundleIdentifier, std::string executableName);

    Report loadExtensions() const;

    static std::string_view describe(Outcome);

private:
    // Loaded when the filter lets the library in.
    Outcome evaluateFilter(const NSDictionary& propertyList) const;

    std::string m_bundleIdentifier;
    std::string m_executableName;
};
