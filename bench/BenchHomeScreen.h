#pragma once

// The notification list the layout benchmarks measure: one home screen holding `count`
// notifications spread over four apps, laid out, with every app group expanded if asked.
#include "platform/foundation/Dispatch.h"
#include "platform/foundation/NSString.h"
#include "platform/springboard/BBBulletin.h"
#include "platform/springboard/BBServer.h"
#include "platform/springboard/SBHomeScreen.h"

#include <memory>
#include <string>

namespace bench {

inline constexpr const char* sections[] = { "com.apple.MobileSMS", "com.apple.Music", "com.apple.AppStore", "com.apple.mobilemail" };

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
