// A light/dark change repaints the platter 0.2 seconds later; other trait changes do not.
// The clock is the host's: time is advanced, never slept.
#include "PlatterTestSupport.h"

#include "platform/uikit/UITraitCollection.h"

using namespace platters;

namespace {

constexpr const char* music = "com.apple.Music";

RefPtr<UIColor> musicColour() { return colourForMode(stockIcon(music).get(), 0, music); }

// What a paint would overwrite, so that only a later paint can bring the tint back.
void scrub(UIView* view)
{
    view->setBackgroundColor(nullptr);
    view->layer()->setBorderColor(nullptr);
    view->layer()->setBorderWidth(0);
}

bool scrubbed(const UIView* view) { return !view->backgroundColor() && !view->layer()->borderColor() && view->layer()->borderWidth() == 0; }

} // namespace

TEST(AppearanceRepaint, DarkSwitchRepaintsAfterPointTwoSecondsWithTheDarkOpacities)
{
    inFreshHomeScreen([](TweakedHomeScreen& device) {
        auto& home = device.home();
        auto notification = home.publishBulletin(music, "Music", "Now playing");
        home.advanceTime(1);
        auto background = platterBackground(home, notification);
        ASSERT_TRUE(tintedWith(background.get(), musicColour().get()));

        home.setAppearance(SBHomeScreen::Appearance::Dark);
        scrub(background.get());
        home.advanceTime(0.19);
        EXPECT_TRUE(scrubbed(background.get())) << "repainted before 0.2 seconds";
        home.advanceTime(0.02);
        EXPECT_TRUE(tintedWith(background.get(), musicColour().get(), true));

        home.setAppearance(SBHomeScreen::Appearance::Light);
        scrub(background.get());
        home.advanceTime(0.2);
        EXPECT_TRUE(tintedWith(background.get(), musicColour().get()));
    });
}

TEST(AppearanceRepaint, TraitChangeKeepingTheStyleSchedulesNothing)
{
    inFreshHomeScreen([](TweakedHomeScreen& device) {
        auto& home = device.home();
        auto notification = home.publishBulletin(music, "Music", "Now playing");
        home.advanceTime(1);
        auto controller = shortLook(home, notification);
        auto background = platterBackground(home, notification);
        ASSERT_TRUE(tintedWith(background.get(), musicColour().get()));

        // Another trait changed, as size classes do; the style stayed light.
        size_t pending = NSRunLoop::mainRunLoop().pendingCount();
        auto sameStyle = UITraitCollection::traitCollectionWithUserInterfaceStyle(UIUserInterfaceStyleLight);
        msgSend<void>(controller, sel_registerName("traitCollectionDidChange:"), sameStyle);
        EXPECT_EQ(NSRunLoop::mainRunLoop().pendingCount(), pending);
        scrub(background.get());
        home.advanceTime(1);
        EXPECT_TRUE(scrubbed(background.get()));
    });
}

TEST(AppearanceRepaint, PlatterJoiningTheScreenWithoutPreviousTraitsRepaintsLater)
{
    inFreshHomeScreen([](TweakedHomeScreen& device) {
        auto& home = device.home();
        auto notification = home.publishBulletin(music, "Music", "Now playing");
        auto background = platterBackground(home, notification);
        ASSERT_TRUE(tintedWith(background.get(), musicColour().get()));
        scrub(background.get());
        home.advanceTime(0.2);
        EXPECT_TRUE(tintedWith(background.get(), musicColour().get()));
    });
}

TEST(AppearanceRepaint, NotificationsSwitchedOffScheduleNothing)
{
    inFreshHomeScreen([](TweakedHomeScreen& device) {
        auto& home = device.home();
        auto notification = home.publishBulletin(music, "Music", "Now playing");
        home.advanceTime(1);
        auto background = platterBackground(home, notification);
        device.changePreferences(boolEntry("EnabledNotifs", false));
        home.setAppearance(SBHomeScreen::Appearance::Dark);
        scrub(background.get());
        home.advanceTime(1);
        EXPECT_TRUE(scrubbed(background.get()));
    });
}
