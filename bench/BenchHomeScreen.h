#pragma once

// The notification list the layout benchmarks measure: one home screen holding `count`
// notifications spread over four apps, laid out, with every app group expanded if asked.
#include "device/SampleDevice.h"
#include "platform/foundation/Dispatch.h"
#include "platform/foundation/NSString.h"
#include "platform/springboard/BBBulletin.h"
#include "platform/springboard/BBServer.h"
#include "platform/springboard/SBHomeScreen.h"

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

namespace bench {

inline constexpr const char* sections[] = { "com.apple.MobileSMS", "com.apple.Music", "com.apple.AppStore", "com.apple.mobilemail" };

// A new temporary device root: the sample device with the Tintwell library at `dylib` (and
// its filter beside it) installed. The caller removes it.
inline std::filesystem::path sampleDeviceWithTintwell(const std::string& name, const std::filesystem::path& dylib)
{
    std::string pattern = "/tmp/" + name + "-XXXXXX";
    std::filesystem::path root = mkdtemp(pattern.data());
    SampleDevice::write(root);
    auto libraries = root / "Library/MobileSubstrate/DynamicLibraries";
    std::filesystem::create_directories(libraries);
    std::filesystem::copy_file(dylib, libraries / "Tintwell.dylib");
    std::filesystem::copy_file(dylib.parent_path() / "Tintwell.plist", libraries / "Tintwell.plist");
    return root;
}

inline std::unique_ptr<SBHomeScreen> homeScreenWith(long count, bool expanded)
{
    auto home = std::make_unique<SBHomeScreen>();
    auto server = home->server();
    dispatch_sync(home->serverQueue().get(), [&] {
        for (long index = 0; index < count; ++index) {
            auto bulletin = BBBulletin::create();
            bulletin->setSectionID(NSString::string(sections[index % 4]).get());
            bulletin->setTitle(NSString::string("Tintwell").get());
            bulletin->setMessage(NSString::string("Notification " + std::to_string(index) + " with a message long enough to wrap").get());
            server->publishBulletin(bulletin.get(), SBHomeScreen::destinationLockScreen, true);
        }
    });
    home->layoutNow();
    if (expanded) {
        for (auto* section : sections)
            home->expandGroup(section);
    }
    return home;
}

} // namespace bench
