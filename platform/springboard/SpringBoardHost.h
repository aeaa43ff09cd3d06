#pragma once

#include "platform/springboard/ExtensionLoader.h"

#include <filesystem>
#include <string_view>

// Starts the home-screen process in the phone's order: device root and main run loop,
// the system's classes, the extensions, then the system's objects, then the run loop.
class SpringBoardHost {
public:
    static constexpr std::string_view bundleIdentifier = "com.apple.springboard";
    static constexpr std::string_view executableName = "SpringBoard";

    // Makes every system class findable by name before the extensions look for it.
    // Safe to call more than once.
    static void registerSystemClasses();

    // The folder must exist; the host runs on it from here on.
    explicit SpringBoardHost(const std::filesystem::path& deviceRoot);

    // Registers the system classes and loads the matching extensions; answers what the
    // extensions were and what they changed.
    ExtensionLoader::Report loadExtensions();
    // Creates the system's objects and sends applicationDidFinishLaunching: through the
    // runtime, so the extensions' hooks see it.
    void finishLaunching();

    // Zero runs what is due now and returns; more keeps the run loop live, delivering
    // system-wide notifications, for that many seconds.
    void run(double seconds);
};
