#pragma once

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

// Real app icons for the colour benchmarks and the corpus comparison: the app icons of the
// Debian icon themes oxygen-icon-theme (128 and 64 pixels) and moka-icon-theme (64 pixels),
// RGBA, grey with alpha, palette and 16-bit files. `scripts/setup.sh --icon-corpus` installs
// them. Links are left out, so every file is analysed once; sorted, so every run reads them
// in the same order.
namespace iconcorpus {

inline constexpr const char* installHint = "the real-icon corpus is not installed (scripts/setup.sh --icon-corpus)";

inline std::vector<std::filesystem::path> files(const std::filesystem::path& root = "/usr/share/icons")
{
    const char* folders[] = { "oxygen/base/128x128/apps", "oxygen/base/64x64/apps", "Moka/64x64/apps" };
    std::vector<std::filesystem::path> found;
    for (const char* folder : folders) {
        std::error_code error;
        for (auto& entry : std::filesystem::directory_iterator(root / folder, error)) {
            if (entry.is_regular_file() && !entry.is_symlink() && entry.path().extension() == ".png")
                found.push_back(entry.path());
        }
    }
    std::sort(found.begin(), found.end());
    return found;
}

} // namespace iconcorpus
