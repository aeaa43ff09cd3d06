#pragma once

#include "device/IconArtist.h"

#include <filesystem>
#include <set>
#include <string>
#include <vector>

// The sample device root: apps with binary Info.plists and drawn icons, the mobile-icons
// framework with the generic icon, and an empty preferences folder. Writing is
// deterministic, and a file whose bytes would not change is left untouched.
class SampleDevice {
public:
    struct App {
        std::string identifier;
        std::string name;
        // Device path of the .app folder.
        std::string folder;
        IconArtist::Design design;
    };

    static const std::vector<App>& apps();

    // A rootless device has the folder "/var/jb", under which its jailbreak installs
    // everything: extensions, settings bundles, tools.
    enum class Layout { Classic, Rootless };

    // False when a folder or file could not be written.
    static bool write(const std::filesystem::path& root, Layout = Layout::Classic);

    // Extension libraries are named without ".dylib", in any case ("axon" is Axon.dylib).
    // Copies every "NAME.dylib" of the folder with its filter "NAME.plist" into the root's
    // "/Library/MobileSubstrate/DynamicLibraries" ("/var/jb/Library/..." on a rootless
    // root), except the left-out names.
    static bool installExtensions(const std::filesystem::path& root, const std::filesystem::path& from, const std::set<std::string>& leftOut);
    // Takes the named libraries and their filters out of the root's extension folder
    // (the rootless one on a rootless root).
    static bool removeExtensions(const std::filesystem::path& root, const std::set<std::string>& names);
};
