#include "TweakedHomeScreen.h"

#include "platform/springboard/NCNotificationListCell.h"
#include "platform/springboard/WGWidgetListViewController.h"

using namespace tweaktest;

namespace {

// The sample page: Up Next (no app), Calendar, Music and the app-less Batteries widget.
enum Widget { UpNext, Calendar, Music, Batteries };

class WidgetsPage {
public:
    explicit WidgetsPage(SBHomeScreen& home, std::vector<RefPtr<WGWidgetHostingViewController>> widgets = WGWidgetListViewController::sampleWidgets())
        : m_home(home)
        , m_controller(WGWidgetListViewController::create())
    {
        for (auto& widget : widgets)
            m_controller->addWidget(widget.get());
        home.setWidgetsPageView(m_controller->view());
        home.showWidgetsPage(true);
        home.layoutNow();
    }

    RefPtr<WGWidgetPlatterView> platter(size_t index) const { return m_controller->platters().at(index); }
    // Both materials of a platter are painted alike; the test looks at each.
    std::vector<nlohmann::json> paints(size_t index) const
    {
        auto widget = platter(index);
        return { paintOf(widget->backgroundView().get()), paintOf(widget->headerBackgroundView().get()) };
    }
    nlohmann::json paint(size_t index) const
    {
        auto both = paints(index);
        EXPECT_TRUE(samePaint(both[0], both[1])) << "the platter's two materials differ";
        return both[0];
    }
    // The painter always sets a border width in the default style; the system never does.
    bool untouched(size_t index) const
    {
        for (auto& paint : paints(index)) {
            if (paint["borderWidth"].get<double>() != 0 || !paint["borderColor"].is_null())
                return false;
        }
        return true;
    }
    void relayout()
    {
        for (auto& widget : m_controller->platters())
            widget->headerContentView()->setNeedsLayout();
        m_home.layoutNow();
    }

private:
    SBHomeScreen& m_home;
    RefPtr<WGWidgetListViewController> m_controller;
};

// Default widget style: both, 3 points, light outline 50 % and body 70 %.
nlohmann::json paintedWith(double red, double green, double blue)
{
    return { { "borderWidth", 3.0 },
        { "borderColor", ViewSnapshot::colorJSON(UIColor::colorWithRed(red, green, blue, 0.5).get()) },
        { "background", ViewSnapshot::colorJSON(UIColor::colorWithRed(red, green, blue, 0.7).get()) } };
}

const nlohmann::json paintedWithNoColour { { "borderWidth", 3.0 }, { "borderColor", nullptr }, { "background", nullptr } };

RefPtr<UIImage> solidIcon(uint8_t red, uint8_t green, uint8_t blue)
{
    auto bitmap = CGImage::create(20, 20);
    for (size_t y = 0; y < 20; ++y) {
        for (size_t x = 0; x < 20; ++x)
            bitmap->setPixelAt(x, y, { red, green, blue, 255 });
    }
    return UIImage::imageWithCGImage(bitmap);
}

RefPtr<WGWidgetHostingViewController> appLessWidget(const std::string& identifier, RefPtr<UIImage> icon)
{
    return WGWidgetHostingViewController::create(WGWidgetInfo::create(identifier, "Gadget", std::move(icon)), "", "Gadget text");
}

RefPtr<PLPlatterHeaderContentView> notificationHeader(SBHomeScreen& home, const std::string& identifier)
{
    auto cell = home.cellForNotification(identifier);
    auto lookView = ivar(ask(cell.get(), "contentViewController").get(), "_lookView");
    return objectCast<PLPlatterHeaderContentView>(ivar(lookView.get(), "_headerContentView"));
}

} // namespace

TEST(WidgetTint, AppWidgetsShareTheirAppsColourAndUpNextIsCalendar)
{
    TweakDevice device;
    inForkedProcess([&] {
        Phone phone(device);
        ASSERT_TRUE(phone.tweakLoaded());
        WidgetsPage page(phone.home());

        auto calendar = page.paint(Calendar);
        ASSERT_NE(calendar["background"], nullptr);
        EXPECT_FALSE(page.untouched(Calendar));
        EXPECT_EQ(page.paint(UpNext), calendar);
        EXPECT_NE(page.paint(Music), calendar);
        EXPECT_DOUBLE_EQ(calendar["background"]["alpha"].get<double>(), 0.7);
    });
}

// App-less widgets take the second colour mode of their icon, whatever the user's mode.
TEST(WidgetTint, AppLessWidgetTakesItsIconsColourEvenWithoutTheHeaderIcon)
{
    TweakDevice device({ { "WidgetColorCalc", 1L }, { "NoWidgetIcon", true } });
    inForkedProcess([&] {
        Phone phone(device);
        WidgetsPage page(phone.home(), { appLessWidget("com.example.gadget", solidIcon(51, 102, 153)) });

        EXPECT_FALSE(page.platter(0)->headerContentView()->icons());
        auto paint = page.paint(0);
        ASSERT_NE(paint["background"], nullptr);
        EXPECT_NEAR(paint["background"]["red"].get<double>(), 0.2, 0.01);
        EXPECT_NEAR(paint["background"]["green"].get<double>(), 0.4, 0.01);
        EXPECT_NEAR(paint["background"]["blue"].get<double>(), 0.6, 0.01);
    });
}

TEST(WidgetTint, AppLessWidgetWithoutAnyIconIsNotPaintedEvenWithTheCustomColour)
{
    TweakDevice device({ { "WidgetImageCalc", 2L } });
    inForkedProcess([&] {
        Phone phone(device);
        WidgetsPage page(phone.home(), { appLessWidget("com.example.blank", nullptr) });
        EXPECT_TRUE(page.untouched(0));
    });
}

TEST(WidgetTint, CustomColourWithoutAColoursFileIsWhiteForEveryWidgetWithAnIcon)
{
    TweakDevice device({ { "WidgetImageCalc", 2L } });
    inForkedProcess([&] {
        Phone phone(device);
        WidgetsPage page(phone.home());
        for (int widget : { UpNext, Calendar, Music, Batteries })
            EXPECT_TRUE(samePaint(page.paint(widget), paintedWith(1, 1, 1))) << "widget " << widget;
    });
}

// Apps keep the colour they were given first; app-less widgets follow the file.
TEST(WidgetTint, CustomColourIsCachedForAppsAndReadAfreshForAppLessWidgets)
{
    TweakDevice device({ { "WidgetImageCalc", 2L } });
    inForkedProcess([&] {
        Phone phone(device);
        device.writeColours("WidgetCustomHEX", "#3366cc");
        WidgetsPage page(phone.home());
        auto blue = paintedWith(0x33 / 255.0, 0x66 / 255.0, 0xcc / 255.0);
        EXPECT_TRUE(samePaint(page.paint(Calendar), blue));
        EXPECT_TRUE(samePaint(page.paint(Batteries), blue));

        device.writeColours("WidgetCustomHEX", "#ff0000");
        page.relayout();
        EXPECT_TRUE(samePaint(page.paint(Calendar), blue));
        EXPECT_TRUE(samePaint(page.paint(UpNext), blue));
        EXPECT_TRUE(samePaint(page.paint(Batteries), paintedWith(1, 0, 0)));
    });
}

// An image source beyond the known ones gives apps no colour, but the painter is still called.
TEST(WidgetTint, UnknownImageSourcePaintsAppWidgetsWithNoColour)
{
    TweakDevice device({ { "WidgetImageCalc", 3L } });
    inForkedProcess([&] {
        Phone phone(device);
        device.writeColours("WidgetCustomHEX", "#3366cc");
        WidgetsPage page(phone.home());
        EXPECT_TRUE(samePaint(page.paint(Calendar), paintedWithNoColour));
        EXPECT_TRUE(samePaint(page.paint(UpNext), paintedWithNoColour));
        // The app-less path ignores the source unless it asks for the custom colour.
        EXPECT_NE(page.paint(Batteries)["background"], nullptr);
    });
}

TEST(WidgetTint, SwitchedOffLeavesPlattersAloneAndSwitchedOnTintsAtTheNextLayout)
{
    TweakDevice device({ { "EnabledWidgets", false } });
    inForkedProcess([&] {
        Phone phone(device);
        WidgetsPage page(phone.home());
        for (int widget : { UpNext, Calendar, Music, Batteries })
            EXPECT_TRUE(page.untouched(widget));

        phone.changeSettings({ { "EnabledWidgets", true } });
        page.relayout();
        EXPECT_FALSE(page.untouched(Calendar));
    });
}

// Each switch hides its own part on its own kind of header only.
TEST(HeaderHiding, TitleAndIconSwitchesActOnTheirOwnHeadersDateOnBoth)
{
    TweakDevice device({ { "NoNotifTitle", true }, { "NoWidgetIcon", true }, { "NoDate", true } });
    inForkedProcess([&] {
        Phone phone(device);
        auto& home = phone.home();
        auto identifier = home.publishBulletin("com.apple.MobileSMS", "Anna", "Lunch?");
        WidgetsPage page(home);

        auto notification = notificationHeader(home, identifier);
        ASSERT_TRUE(notification);
        EXPECT_FALSE(notification->title());
        EXPECT_TRUE(notification->icons() && notification->icons()->count());
        EXPECT_FALSE(notification->date());
        EXPECT_EQ(notification->dateLabel()->textString(), "");

        auto widget = page.platter(Calendar)->headerContentView();
        EXPECT_EQ(widget->title()->view(), "Calendar");
        EXPECT_FALSE(widget->icons());
        EXPECT_FALSE(widget->iconImageView()->image());
    });
}

TEST(HeaderHiding, WidgetTitleAndNotificationIconSwitchesLeaveTheOtherKindAlone)
{
    TweakDevice device({ { "NoWidgetTitle", true }, { "NoNotifIcon", true } });
    inForkedProcess([&] {
        Phone phone(device);
        auto& home = phone.home();
        auto identifier = home.publishBulletin("com.apple.MobileSMS", "Anna", "Lunch?");
        WidgetsPage page(home);

        auto notification = notificationHeader(home, identifier);
        ASSERT_TRUE(notification);
        EXPECT_TRUE(notification->title());
        EXPECT_FALSE(notification->icons());
        EXPECT_TRUE(notification->date());

        auto widget = page.platter(Music)->headerContentView();
        EXPECT_FALSE(widget->title());
        EXPECT_EQ(widget->titleLabel()->textString(), "");
        EXPECT_TRUE(widget->icons() && widget->icons()->count());
    });
}
