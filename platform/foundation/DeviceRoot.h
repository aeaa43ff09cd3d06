#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// The folder of the host that stands for the phone's "/". Device paths such as
// "/var/mobile/Library/Preferences/x.plist" resolve beneath it; nothing resolves outside.
class DeviceRoot {
public:
    // Initially $TINTWELL_DEVICE_ROOT when set, else "/".
    static std::filesystem::path get();
    static void set(std::filesystem::path hostFolder);

    // The host path of a device path. ".." never climbs above the device's "/", the way
    // it cannot climb above a real root: "/../../etc/passwd" is the root's etc/passwd.
    // Empty paths and paths holding a NUL byte answer nullopt.
    static std::optional<std::filesystem::path> resolve(std::string_view devicePath);

    // The device path of a host path inside the root, nullopt when it lies outside.
    static std::optional<std::string> devicePath(const std::filesystem::path& hostPath);

    // Where the device's jailbreak installs its files: "/var/jb" on a rootless device (one
    // whose "/var/jb" is a folder), "" on a classic one. Extensions, settings bundles and
    // the jailbreak's tools live beneath it.
    static std::string installPrefix();

    // The device path lexically normalised to an absolute path ("/a/../b" → "/b").
    static std::optional<std::string> normalize(std::string_view devicePath);
};
