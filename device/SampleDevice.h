#pragma once

#include "device/IconArtist.h"

#include <filesystem>
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

    // False when a folder or file could not be written.
    static bool write(const std::filesystem::path& root);
};
