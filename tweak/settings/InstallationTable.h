#pragma once

#include "tweak/settings/InstallationRow.h"

#include <span>

// What start-up installs into the system classes, as data read top to bottom.
class InstallationTable {
public:
    // A companion extension: detected by its library file, hooked only when its switch is on.
    struct Companion {
        const char* libraryPath;
        bool* installed;
        bool* coloring;
        // Grupi's and Dayn's classes exist only once their libraries are loaded.
        bool loadsLibrary;
        InstallationRows (*rows)();
    };

    // Rows 1–3, installed before the Darwin subscriptions.
    static InstallationRows bulletinServerRows();
    // Rows 4–35.
    static InstallationRows systemRows();
    // Rows 36–38: Axon, Grupi, Dayn.
    static std::span<const Companion> companions();

    // Each class looked up once, right before its rows; a missing class or selector is skipped.
    static void install(const InstallationRows&);
};
