// The short-look platter takes its app's colour: where the colour comes from, and that it
// is decided once per app.
#include "PlatterTestSupport.h"

using namespace platters;

namespace {

constexpr const char* music = "com.apple.Music";
constexpr const char* safari = "com.apple.mobilesafari";
constexpr const char* mail = "com.apple.mobilemail";
constexpr const char* phone = "com.apple.mobilephone";

RefPtr<UIColor> stockColour(const std::string& bundleID, long mode) { return colourForMode(stockIcon(bundleID).get(), mode, bundleID); }

RefPtr<UIImage> systemIcon(const std::string& bundleID)
{
    return msgSendClass<RefPtr<UIImage>>(UIImage::classObject(), sel_registerName("_applicationIconImageForBundleIdentifier:format:scale:"),
        NSString::string(bundleID), 1, 2.0);
}

bool sameColour(const UIColor* a, const UIColor* b) { return a && b && a->isEqual(const_cast<UIColor*>(b)); }

// Painted with no colour: the width of the style, both colours cleared.
::testing::AssertionResult paintedWithoutColour(const UIView* view)
{
    if (view->backgroundColor() || view->layer()->borderColor() || view->layer()->borderWidth() != 3.0)
        return ::testing::AssertionFailure() << "fill " << bool(view->backgroundColor()) << ", border " << bool(view->layer()->borderColor())
                                             << ", width " << view->layer()->borderWidth();
    return ::testing::AssertionSuccess();
}

} // namespace

TEST(ShortLookColour, StockIconAppIsTintedWithTheColourOfItsMode)
{
    // Safari's icon is near-white with a blue ring: the modes disagree about it.
    for (long mode : { 0L, 2L, 3L }) {
        SCOPED_TRACE("mode " + std::to_string(mode));
        inFreshHomeScreen({ .preferences = integerEntry("NotifColorCalc", mode) }, [mode](TweakedHomeScreen& device) {
            auto& home = device.home();
            auto notification = home.publishBulletin(safari, "Safari", "Reading list");
            auto expected = stockColour(safari, mode);
            EXPECT_TRUE(tintedWith(platterBackground(home, notification).get(), expected.get()));
            for (long other : { 0L, 2L, 3L }) {
                if (other == mode)
                    continue;
                EXPECT_FALSE(sameColour(expected.get(), stockColour(safari, other).get())) << "mode " << other << " gives the same colour";
            }
        });
    }
}

TEST(ShortLookColour, SecondPlatterOfAnAppUsesTheCacheWithoutAnalysingTheIconAgain)
{
    inFreshHomeScreen([](TweakedHomeScreen& device) {
        auto& home = device.home();
        auto before = stockColour(music, 0);
        auto first = home.publishBulletin(music, "Music", "Now playing");
        ASSERT_TRUE(tintedWith(platterBackground(home, first).get(), before.get()));

        // An analysis now would see the App Store's icon.
        device.replaceAppIcons(music, "com.apple.AppStore");
        ASSERT_FALSE(sameColour(stockColour(music, 0).get(), before.get()));
        auto second = home.publishBulletin(music, "Music", "Up next");
        EXPECT_TRUE(tintedWith(platterBackground(home, second).get(), before.get()));
        EXPECT_TRUE(tintedWith(platterBackground(home, first).get(), before.get()));
    });
}

TEST(ShortLookColour, ChangedCustomColourAndModeReachOnlyAppsNotYetCached)
{
    DeviceSetup setup { .preferences = integerEntry("NotifImageCalc", 2) };
    inFreshHomeScreen(setup, [](TweakedHomeScreen& device) {
        auto& home = device.home();
        device.writeCustomColour("#336699");
        auto first = home.publishBulletin(music, "Music", "One");
        ASSERT_TRUE(tintedWith(platterBackground(home, first).get(), colourFromText("#336699").get()));

        device.writeCustomColour("#CC3300");
        device.changePreferences(integerEntry("NotifImageCalc", 2));
        auto again = home.publishBulletin(music, "Music", "Two");
        auto other = home.publishBulletin(phone, "Phone", "Missed call");
        EXPECT_TRUE(tintedWith(platterBackground(home, again).get(), colourFromText("#336699").get()));
        EXPECT_TRUE(tintedWith(platterBackground(home, other).get(), colourFromText("#CC3300").get()));

        device.changePreferences(integerEntry("NotifImageCalc", 0) + integerEntry("NotifColorCalc", 2));
        home.layoutNow();
        auto fresh = home.publishBulletin(mail, "Mail", "Inbox");
        EXPECT_TRUE(tintedWith(platterBackground(home, first).get(), colourFromText("#336699").get()));
        EXPECT_TRUE(tintedWith(platterBackground(home, other).get(), colourFromText("#CC3300").get()));
        EXPECT_TRUE(tintedWith(platterBackground(home, fresh).get(), stockColour(mail, 2).get()));
    });
}

TEST(ShortLookColour, HeaderIconSectionsTakeTheMergedHeaderIconWhateverTheImageSource)
{
    DeviceSetup setup { .preferences = integerEntry("NotifImageCalc", 2) + integerEntry("NotifColorCalc", 2) };
    inFreshHomeScreen(setup, [](TweakedHomeScreen& device) {
        auto& home = device.home();
        device.writeCustomColour("#FF00FF");
        for (const char* section : { "com.apple.powerui.lowpowermode", "com.apple.ReplayKitNotifications", "com.apple.ScreenTimeNotifications" }) {
            SCOPED_TRACE(section);
            auto notification = home.publishBulletin(section, "System", "Notice");
            auto controller = shortLook(home, notification);
            auto header = headerIcon(controller.get());
            ASSERT_TRUE(header);
            auto expected = mergedColourOf(header.get());
            EXPECT_FALSE(sameColour(expected.get(), colourFromText("#FF00FF").get()));
            EXPECT_TRUE(tintedWith(platterBackground(home, notification).get(), expected.get()));
            EXPECT_TRUE(sameColour(cachedNotificationColour(section).get(), expected.get()));
        }
    });
}

TEST(ShortLookColour, HeaderIconSectionWithoutHeaderIconFallsBackToTheCustomColour)
{
    inFreshHomeScreen([](TweakedHomeScreen& device) {
        auto& home = device.home();
        device.writeCustomColour("#FF00FF");
        // Unknown apps draw the generic icon; without it the header has none.
        device.deleteGenericIcon();
        auto notification = home.publishBulletin("com.apple.ReplayKitNotifications", "Screen Recording", "Saved");
        ASSERT_FALSE(headerIcon(shortLook(home, notification).get()));
        EXPECT_TRUE(tintedWith(platterBackground(home, notification).get(), colourFromText("#FF00FF").get()));
    });
}

TEST(ShortLookColour, CustomColourSectionsShowTheCustomColourAndNothingWithoutTheColoursFile)
{
    inFreshHomeScreen([](TweakedHomeScreen& device) {
        auto& home = device.home();
        // No colours file: the colour library gives no colour, nothing is cached.
        auto alert = home.publishBulletin("com.apple.springboard.SBUserNotificationAlert", "Alert", "Hello");
        EXPECT_TRUE(paintedWithoutColour(platterBackground(home, alert).get()));
        EXPECT_FALSE(cachedNotificationColour("com.apple.springboard.SBUserNotificationAlert"));

        // The next pass tries again and finds the file.
        device.writeCustomColour("#20C040");
        home.layoutNow();
        EXPECT_TRUE(tintedWith(platterBackground(home, alert).get(), colourFromText("#20C040").get()));
        auto quiet = home.publishBulletin("com.apple.donotdisturb", "Focus", "On");
        EXPECT_TRUE(tintedWith(platterBackground(home, quiet).get(), colourFromText("#20C040").get()));
    });
}

TEST(ShortLookColour, ImageSourceTwoGivesEveryOtherAppTheCustomColourCachedPerApp)
{
    DeviceSetup setup { .preferences = integerEntry("NotifImageCalc", 2) };
    inFreshHomeScreen(setup, [](TweakedHomeScreen& device) {
        auto& home = device.home();
        device.writeCustomColour("#123456");
        auto musicNote = home.publishBulletin(music, "Music", "One");
        auto mailNote = home.publishBulletin(mail, "Mail", "Two");
        auto custom = colourFromText("#123456");
        EXPECT_TRUE(tintedWith(platterBackground(home, musicNote).get(), custom.get()));
        EXPECT_TRUE(tintedWith(platterBackground(home, mailNote).get(), custom.get()));
        EXPECT_TRUE(sameColour(cachedNotificationColour(music).get(), custom.get()));
        EXPECT_TRUE(sameColour(cachedNotificationColour(mail).get(), custom.get()));
    });
}

TEST(ShortLookColour, ImageSourceOneAnalysesTheSystemIconImage)
{
    DeviceSetup setup { .preferences = integerEntry("NotifImageCalc", 1) };
    inFreshHomeScreen(setup, [](TweakedHomeScreen& device) {
        auto& home = device.home();
        auto notification = home.publishBulletin(music, "Music", "Now playing");
        auto expected = colourForMode(systemIcon(music).get(), 0, music);
        // The rounded system image has dark corners the icon file lacks.
        ASSERT_FALSE(sameColour(expected.get(), stockColour(music, 0).get()));
        EXPECT_TRUE(tintedWith(platterBackground(home, notification).get(), expected.get()));
    });
}

// With no icon to be found any more, the header icon the platter already shows is analysed.
TEST(ShortLookColour, MissingIconFallsBackToTheHeaderIcon)
{
    for (long source : { 0L, 1L }) {
        SCOPED_TRACE("image source " + std::to_string(source));
        DeviceSetup setup { .preferences = boolEntry("EnabledNotifs", false) + integerEntry("NotifImageCalc", source) + integerEntry("NotifColorCalc", 2) };
        inFreshHomeScreen(setup, [source](TweakedHomeScreen& device) {
            auto& home = device.home();
            device.writeCustomColour("#FF00FF");
            auto shown = home.publishBulletin(music, "Music", "Shown before the icons went");
            auto header = headerIcon(shortLook(home, shown).get());
            ASSERT_TRUE(header);

            device.deleteAppIcons(music);
            device.deleteGenericIcon();
            ASSERT_FALSE(stockIcon(music));
            device.changePreferences(integerEntry("NotifImageCalc", source) + integerEntry("NotifColorCalc", 2));
            home.layoutNow();
            auto expected = colourForMode(header.get(), 2, music);
            EXPECT_TRUE(tintedWith(platterBackground(home, shown).get(), expected.get()));
        });
    }
}

TEST(ShortLookColour, PlatterWithoutAnyIconTakesTheCustomColour)
{
    DeviceSetup setup { .prepare = [](const fs::path& root) {
        fs::remove_all(root / "System/Library/PrivateFrameworks/MobileIcons.framework");
    } };
    inFreshHomeScreen(setup, [](TweakedHomeScreen& device) {
        auto& home = device.home();
        device.writeCustomColour("#FF00FF");
        auto notification = home.publishBulletin("com.example.unknown", "Unknown", "No icon anywhere");
        ASSERT_FALSE(headerIcon(shortLook(home, notification).get()));
        EXPECT_TRUE(tintedWith(platterBackground(home, notification).get(), colourFromText("#FF00FF").get()));
        EXPECT_TRUE(sameColour(cachedNotificationColour("com.example.unknown").get(), colourFromText("#FF00FF").get()));
    });
}

TEST(ShortLookColour, NotificationsSwitchedOffLeaveTheSystemMaterial)
{
    DeviceSetup setup { .preferences = boolEntry("EnabledNotifs", false) };
    inFreshHomeScreen(setup, [](TweakedHomeScreen& device) {
        auto& home = device.home();
        auto notification = home.publishBulletin(music, "Music", "Now playing");
        home.setAppearance(SBHomeScreen::Appearance::Dark);
        home.advanceTime(1);
        EXPECT_TRUE(showsSystemMaterial(platterBackground(home, notification).get(), UIUserInterfaceStyleDark));
        EXPECT_FALSE(cachedNotificationColour(music));

        // The switch is read live.
        device.changePreferences(boolEntry("EnabledNotifs", true));
        home.layoutNow();
        EXPECT_TRUE(tintedWith(platterBackground(home, notification).get(), stockColour(music, 0).get(), true));
    });
}
