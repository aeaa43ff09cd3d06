// Layout passes repaint every platter; one that nothing has changed since its last paint
// is left as it is. Each change a later pass must still show, with no other view changing.
#include "PlatterTestSupport.h"

#include "platform/uikit/UIUserInterfaceStyleArbiter.h"

#include <dlfcn.h>

#include <functional>
#include <vector>

using namespace platters;

namespace {

constexpr const char* music = "com.apple.Music";
constexpr const char* mail = "com.apple.mobilemail";

// What the system's layout does when anything in the list asks for it: every view again.
void layOutEverything(SBHomeScreen& home)
{
    auto list = home.rootListView();
    list->setNeedsLayoutInSubtree();
    list->layoutIfNeeded();
}

// Passes until nothing changes any more (a first paint changes colours, which the next
// pass sees), so the next pass may leave the platter as it is.
void settle(SBHomeScreen& home)
{
    for (int pass = 0; pass < 4; ++pass)
        layOutEverything(home);
}

RefPtr<MTMaterialView> settledPlatter(SBHomeScreen& home, const std::string& notification)
{
    home.advanceTime(1);
    settle(home);
    return platterBackground(home, notification);
}

} // namespace

TEST(RepeatedLayoutPasses, ColoursSetBySomeoneElseArePaintedOverAtTheNextPass)
{
    inFreshHomeScreen([](TweakedHomeScreen& device) {
        auto& home = device.home();
        auto background = settledPlatter(home, home.publishBulletin(music, "Music", "Now playing"));
        auto colour = cachedNotificationColour(music);
        ASSERT_TRUE(tintedWith(background.get(), colour.get()));

        // As the system restyles its material, and as another extension might touch the border.
        struct Change {
            const char* what;
            std::function<void()> make;
        };
        for (auto& change : std::vector<Change> {
                 { "background", [&] { background->setBackgroundColor(MTMaterialView::materialColor(background->recipe(), UIUserInterfaceStyleLight).get()); } },
                 { "border width", [&] { background->layer()->setBorderWidth(0); } },
                 { "border colour", [&] { background->layer()->setBorderColor(nullptr); } } }) {
            settle(home);
            change.make();
            layOutEverything(home);
            EXPECT_TRUE(tintedWith(background.get(), colour.get())) << change.what;
        }
    });
}

TEST(RepeatedLayoutPasses, ANewStyleRecordShowsAtTheNextPass)
{
    // Without the section header's colouring, whose repaint would be a change of its own.
    inFreshHomeScreen({ .preferences = boolEntry("HeaderColor", false) }, [](TweakedHomeScreen& device) {
        auto& home = device.home();
        auto background = settledPlatter(home, home.publishBulletin(music, "Music", "Now playing"));
        auto colour = cachedNotificationColour(music);
        ASSERT_TRUE(tintedWith(background.get(), colour.get()));

        // Fill only, at 40 %, written into the record in place as a settings reload does;
        // no view changes with it.
        auto* record = static_cast<RefPtr<Object>*>(dlsym(RTLD_DEFAULT, "NotifsConfig"));
        ASSERT_TRUE(record && *record);
        msgSend<void>(record->get(), sel_registerName("setStyle:"), 1L);
        msgSend<void>(record->get(), sel_registerName("setFullAlpha:"), 40L);
        layOutEverything(home);
        auto fill = background->backgroundColor();
        ASSERT_TRUE(fill);
        EXPECT_DOUBLE_EQ(fill->alpha(), 0.4);
        EXPECT_EQ(fill->red(), colour->red());

        // And the same through the settings pages' reload.
        settle(home);
        device.changePreferences(integerEntry("NotificationStyle", 1) + integerEntry("NotifFullAlpha", 60));
        layOutEverything(home);
        EXPECT_DOUBLE_EQ(background->backgroundColor()->alpha(), 0.6);
    });
}

TEST(RepeatedLayoutPasses, TheSystemAppearanceShowsAtTheNextPass)
{
    inFreshHomeScreen({ .preferences = boolEntry("HeaderColor", false) }, [](TweakedHomeScreen& device) {
        auto& home = device.home();
        auto background = settledPlatter(home, home.publishBulletin(music, "Music", "Now playing"));
        auto colour = cachedNotificationColour(music);

        // The painter follows the system's arbiter, before any view hears of the switch.
        UIUserInterfaceStyleArbiter::sharedInstance()->setCurrentStyle(UIUserInterfaceStyleDark);
        layOutEverything(home);
        EXPECT_TRUE(tintedWith(background.get(), colour.get(), true));

        settle(home);
        home.setAppearance(SBHomeScreen::Appearance::Light);
        home.advanceTime(1);
        EXPECT_TRUE(tintedWith(background.get(), colour.get()));
    });
}

TEST(RepeatedLayoutPasses, APlatterGivenAnotherRequestShowsItsNewAppAtTheNextPass)
{
    inFreshHomeScreen([](TweakedHomeScreen& device) {
        auto& home = device.home();
        auto song = home.publishBulletin(music, "Music", "Now playing");
        auto letter = home.publishBulletin(mail, "Mail", "Hello");
        auto background = settledPlatter(home, song);
        ASSERT_TRUE(tintedWith(background.get(), cachedNotificationColour(music).get()));

        // As a reused cell's controller is told its new notification.
        auto controller = shortLook(home, song);
        auto other = shortLook(home, letter);
        ASSERT_TRUE(controller && other);
        msgSend<void>(controller, sel_registerName("setNotificationRequest:"), other->notificationRequest());
        layOutEverything(home);
        EXPECT_TRUE(tintedWith(background.get(), cachedNotificationColour(mail).get()));
    });
}
