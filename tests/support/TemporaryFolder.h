#pragma once

#include "platform/foundation/DeviceRoot.h"

#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

// A fresh folder under the system's temporary folder, removed with everything in it when
// the object goes. Empty path when the folder could not be made.
class TemporaryFolder {
public:
    explicit TemporaryFolder(std::string_view prefix = "tintwell")
    {
        std::string pattern = (std::filesystem::temp_directory_path() / (std::string(prefix) + "-XXXXXX")).string();
        if (::mkdtemp(pattern.data()))
            m_path = pattern;
    }
    ~TemporaryFolder()
    {
        std::error_code error;
        if (!m_path.empty())
            std::filesystem::remove_all(m_path, error);
    }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    const std::filesystem::path& path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

// A temporary folder made the process's device root; the previous root is current again
// when it goes.
class TemporaryDeviceRoot {
public:
    explicit TemporaryDeviceRoot(std::string_view prefix = "tintwell-device")
        : m_previousRoot(DeviceRoot::get())
        , m_folder(prefix)
    {
        DeviceRoot::set(m_folder.path());
    }
    ~TemporaryDeviceRoot() { DeviceRoot::set(m_previousRoot); }

    const std::filesystem::path& path() const { return m_folder.path(); }

private:
    std::filesystem::path m_previousRoot;
    TemporaryFolder m_folder;
};
