#pragma once

#include <filesystem>
#include <string_view>

// A device root of its own in a temporary folder, made at the first use and removed when
// the process exits, so a target can hand its input to the readers as the file the phone
// would hold at a device path.
class FuzzDevice {
public:
    static FuzzDevice& shared();

    const std::filesystem::path& root() const { return m_root; }
    std::filesystem::path hostPath(std::string_view devicePath) const;
    // Creates the parent folders; replaces the file through a rename so a reader never
    // sees part of it.
    void writeFile(std::string_view devicePath, std::string_view bytes) const;
    void removeAll(std::string_view devicePath) const;

private:
    FuzzDevice();
    ~FuzzDevice();

    std::filesystem::path m_root;
};
