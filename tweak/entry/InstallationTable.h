#pragma once

#include "tweak/hooks/InstallationRow.h"

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

    // The bulletin server's rows, installed before the Darwin subscriptions.
    static InstallationRows bulletinServerRows();
    // The system classes' rows, in installation order.
    static InstallationRows systemRows();
    // Axon, Grupi, Dayn.
    static std::span<const Companion> companions();

    // Each class looked up once, right before its rows; a missing class or selector is skipped.
    static void install(const InstallationRows&);
};
