#pragma once

#include "platform/foundation/DeviceRoot.h"
#include "platform/foundation/NSDictionary.h"
#include "platform/foundation/NSNumber.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/PropertyList.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

// A device root in a temporary folder holding the test settings bundle as the build laid
// it out (bundle folder and entry), removed when done.
class SettingsTestDevice {
public:
    static constexpr const char* domain = "com.tintwell.settingstest";
    static constexpr const char* coloursDomain = "com.tintwell.settingstest.colors";
    static constexpr const char* reloadNotification = "com.tintwell.settingstest/Reload";

    SettingsTestDevice()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "tintwell-settings-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            throw std::runtime_error("no temporary folder");
        m_root = pattern;
        std::filesystem::path built = TINTWELL_TEST_DEVICE_ROOT;
        auto copy = [&](const char* relative) {
            std::filesystem::create_directories((m_root / relative).parent_path());
            std::filesystem::copy(built / relative, m_root / relative, std::filesystem::copy_options::recursive);
        };
        copy("Library/PreferenceBundles/SettingsTestPrefs.bundle");
        copy("Library/PreferenceLoader/Preferences/SettingsTestPrefs.plist");
    }
    ~SettingsTestDevice()
    {
        std::error_code error;
        std::filesystem::remove_all(m_root, error);
    }
    SettingsTestDevice(const SettingsTestDevice&) = delete;
    SettingsTestDevice& operator=(const SettingsTestDevice&) = delete;

    const std::filesystem::path& root() const { return m_root; }
    std::filesystem::path host(std::string_view devicePath) const { return m_root / std::filesystem::path(devicePath).relative_path(); }
    std::filesystem::path domainFile(std::string_view name = domain) const
    {
        return host("/var/mobile/Library/Preferences/" + std::string(name) + ".plist");
    }
    // The stored value of a key, nil when the file or the key is missing.
    Id storedValue(std::string_view key, std::string_view name = domain) const
    {
        auto file = objectCast<NSDictionary>(PropertyList::readHostFile(domainFile(name)));
        return file ? file->objectForStringKey(key) : nullptr;
    }
    void writeFile(std::string_view devicePath, std::string_view bytes) const
    {
        auto path = host(devicePath);
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << bytes;
    }
    void clearPreferences() const
    {
        std::error_code error;
        std::filesystem::remove_all(host("/var/mobile/Library/Preferences"), error);
    }

private:
    std::filesystem::path m_root;
};
