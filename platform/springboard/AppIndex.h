#pragma once

#include "platform/foundation/NSDictionary.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The installed apps of the current device root: every "*.app" folder of "/Applications"
// and "/var/containers/Bundle/Application/*", read from its Info.plist. The phone keeps a
// database of installed apps rather than reading bundles at every question; this index
// plays that part for LSBundleProxy.
class AppIndex {
public:
    struct App {
        // The .app folder, a device path.
        std::string folder;
        // The Info.plist's keys an app record answers from.
        RefPtr<NSDictionary> info;
    };

    // The app declaring this CFBundleIdentifier (exact match), nullopt when none does.
    static std::optional<App> find(std::string_view identifier);
    // Every installed app, one per identifier (the one find() answers), in folder order:
    // system apps first.
    static std::vector<App> installed();

    // What the index of the current device root has done since the process started.
    struct Statistics {
        // Times the application folders were listed.
        uint64_t scans { 0 };
        // Info.plist files opened and parsed.
        uint64_t infoPlistReads { 0 };
        // Apps indexed, and Info.plists remembered as declaring no app, at the last scan.
        size_t apps { 0 };
        size_t unreadable { 0 };
    };
    static Statistics statistics();
};
