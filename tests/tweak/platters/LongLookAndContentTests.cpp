// The expanded notification takes the short look's colour (or its own header icon's), and
// notification texts can be centred.
#include "PlatterTestSupport.h"

#include "platform/springboard/NCNotificationLongLookViewController.h"

using namespace platters;

namespace {

constexpr const char* safari = "com.apple.mobilesafari";
constexpr long textAlignmentCenter = 1;

RefPtr<NCNotificationLongLookView> expanded(SBHomeScreen& home, const std::string& identifier)
{
    if (!home.expandNotification(identifier))
        return nullptr;
    auto controller = home.longLookViewController();
    return controller ? controller->lookView() : nullptr;
}

RefPtr<UIImage> longLookHeaderIcon(const NCNotificationLongLookView* look)
{
    auto icons = look->headerContentView()->icons();
    return icons ? objectCast<UIImage>(icons->firstObject()) : nullptr;
}

bool sameColour(const UIColor* a, const UIColor* b) { return a && b && a->isEqual(const_cast<UIColor*>(b)); }

struct LongLookViews {
    RefPtr<UIView> content;
    RefPtr<UIView> headerTint;
    RefPtr<UIView> dismissBackground;
    RefPtr<UIView> actionsBackground;
};

LongLookViews viewsOf(const NCNotificationLongLookView* look)
{
    RefPtr<UIView> content = look->notificationContentView();
    if (!content)
        content = look->customContentView();
    return { content, look->headerTintView(), look->dismissControl()->backgroundMaterialView(), look->actionsBackgroundView() };
}

bool untinted(const UIView* view) { return view->layer()->borderWidth() == 0 && !view->layer()->borderColor(); }

void scrub(UIView* view)
{
    view->layer()->setBorderColor(nullptr);
    view->layer()->setBorderWidth(0);
}

} // namespace

TEST(LongLook, SeenAppUsesTheCachedColourOverItsOwnHeaderIcon)
{
    // Mode 3 is the icon's most frequent colour, not the merged one the header would give.
    DeviceSetup setup { .preferences = integerEntry("NotifColorCalc", 3) };
    inFreshHomeScreen(setup, [](TweakedHomeScreen& device) {
        auto& home = device.home();
        auto notification = home.publishBulletin(safari, "Safari", "Reading list");
        auto cached = cachedNotificationColour(safari);
        ASSERT_TRUE(cached);
        auto look = expanded(home, notification);
        ASSERT_TRUE(look);
        ASSERT_FALSE(sameColour(cached.get(), mergedColourOf(longLookHeaderIcon(look.get()).get()).get()));
        auto views = viewsOf(look.get());
        EXPECT_EQ(views.headerTint->alpha(), 1.0);
        for (auto& view : { views.content, views.headerTint, views.dismissBackground, views.actionsBackground })
            EXPECT_TRUE(tintedWith(view.get(), cached.get()));
    });
}

TEST(LongLook, UnseenAppTakesTheMergedHeaderIconWithoutCachingIt)
{
    // The custom colour without a colours file gives the short look nothing to cache.
    DeviceSetup setup { .preferences = integerEntry("NotifImageCalc", 2) };
    inFreshHomeScreen(setup, [](TweakedHomeScreen& device) {
        auto& home = device.home();
        auto notification = home.publishBulletin(safari, "Safari", "Reading list");
        ASSERT_FALSE(cachedNotificationColour(safari));
        auto look = expanded(home, notification);
        ASSERT_TRUE(look);
        auto expected = mergedColourOf(longLookHeaderIcon(look.get()).get());
        auto views = viewsOf(look.get());
        for (auto& view : { views.content, views.headerTint, views.dismissBackground, views.actionsBackground })
            EXPECT_TRUE(tintedWith(view.get(), expected.get()));
        EXPECT_FALSE(cachedNotificationColour(safari));
    });
}

TEST(LongLook, CustomContentIsPaintedAndPaintingStopsAtTheFirstAbsentView)
{
    inFreshHomeScreen([](TweakedHomeScreen& device) {
        auto& home = device.home();
        auto notification = home.publishBulletin(safari, "Safari", "Reading list");
        auto colour = cachedNotificationColour(safari);
        auto look = expanded(home, notification);
        ASSERT_TRUE(look);
        auto custom = UIView::create();
        look->setCustomContentView(custom.get());
        home.layoutNow();
        EXPECT_TRUE(tintedWith(custom.get(), colour.get()));

        // Neither content view: the header tint is made opaque, and nothing is painted.
        look->setCustomContentView(nullptr);
        ASSERT_FALSE(look->notificationContentView() || look->customContentView());
        auto views = viewsOf(look.get());
        for (auto& view : { views.headerTint, views.dismissBackground, views.actionsBackground })
            scrub(view.get());
        views.headerTint->setAlpha(0.3);
        home.layoutNow();
        EXPECT_EQ(views.headerTint->alpha(), 1.0);
        for (auto& view : { views.headerTint, views.dismissBackground, views.actionsBackground })
            EXPECT_TRUE(untinted(view.get()));
    });
}

TEST(LongLook, LeftAsTheSystemDrawsItWhenEitherSwitchIsOff)
{
    for (auto preferences : { boolEntry("LongLookColoring", false), boolEntry("EnabledNotifs", false) }) {
        SCOPED_TRACE(preferences);
        inFreshHomeScreen({ .preferences = preferences }, [](TweakedHomeScreen& device) {
            auto& home = device.home();
            auto notification = home.publishBulletin(safari, "Safari", "Reading list");
            auto look = expanded(home, notification);
            ASSERT_TRUE(look);
            auto views = viewsOf(look.get());
            for (auto& view : { views.content, views.headerTint, views.dismissBackground, views.actionsBackground })
                EXPECT_TRUE(untinted(view.get()));
            EXPECT_NE(views.headerTint->alpha(), 1.0);
        });
    }
}

TEST(ContentCentring, CentresEveryTextWithoutNotificationColouring)
{
    DeviceSetup setup { .preferences = boolEntry("CenterNotifContents", true) + boolEntry("EnabledNotifs", false) };
    inFreshHomeScreen(setup, [](TweakedHomeScreen& device) {
        auto& home = device.home();
        auto first = home.publishBulletin(safari, "Safari", "One");
        home.publishBulletin(safari, "Safari", "Two");
        auto content = shortLook(home, first)->lookView()->notificationContentView();
        for (auto& label : { content->primaryLabel(), content->secondaryLabel(), content->summaryLabel() })
            EXPECT_EQ(label->textAlignment(), textAlignmentCenter);
        auto look = expanded(home, first);
        ASSERT_TRUE(look);
        EXPECT_EQ(look->notificationContentView()->primaryLabel()->textAlignment(), textAlignmentCenter);
    });
}

TEST(ContentCentring, TextsKeepTheSystemAlignmentByDefault)
{
    inFreshHomeScreen([](TweakedHomeScreen& device) {
        auto& home = device.home();
        auto notification = home.publishBulletin(safari, "Safari", "One");
        auto content = shortLook(home, notification)->lookView()->notificationContentView();
        EXPECT_NE(content->primaryLabel()->textAlignment(), textAlignmentCenter);
        EXPECT_NE(content->secondaryLabel()->textAlignment(), textAlignmentCenter);
    });
}
