#pragma once

#include <filesystem>
#include <nlohmann/json.hpp>

class SBHomeScreen;

// What the home-screen host records of its screen: the window's view tree (ViewSnapshot),
// the host clock's date, and every bulletin the bulletin servers delivered, so the
// identifiers and dates a publisher gave them can be checked. Nothing is laid out here:
// the caller decides whether the screen is settled first.
class HomeScreenSnapshot {
public:
    static nlohmann::json capture(const SBHomeScreen&);
    static bool writeToFile(const SBHomeScreen&, const std::filesystem::path&);
};
