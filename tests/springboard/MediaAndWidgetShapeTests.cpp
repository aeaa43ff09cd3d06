// The shapes of the widgets page and the media controls that an extension finds by name:
// classes, selectors, instance variables and the view ancestry it walks.
#include "NotificationTestSupport.h"
#include "ScenarioTestSupport.h"

#include "platform/runtime/Substrate.h"
#include "platform/springboard/MTMaterialView.h"
#include "platform/springboard/SBMediaController.h"
#include "platform/uikit/UIWindow.h"

namespace {

size_t materialSubviewCount(const UIView* view)
{
    size_t count = 0;
    for (auto& subview : view->subviewList())
        count += isKind(subview.get(), "MTMaterialView");
    return count;
}

RefPtr<UIImage> sampleArtwork() { return UIImage::imageWithContentsOfHostFile(scenarioFolder() / "artwork/sunset.png"); }

// Hooks stay for the life of the test program, so each records only while a test asks.
int s_titleLayouts = 0;
bool s_blankWidgetTitles = false;
void (*s_layoutTitleSlot)(id, SEL, double);
void (*s_setTitleSlot)(id, SEL, id);

void countTitleLayout(id self, SEL cmd, double scale)
{
    s_layoutTitleSlot(self, cmd, scale);
    ++s_titleLayouts;
}

void blankTitle(id self, SEL cmd, id title)
{
    s_setTitleSlot(self, cmd, s_blankWidgetTitles ? nullptr : title);
}

std::vector<RefPtr<UIImage>> s_artworkSeenAtLayout;
bool s_recordHeaderLayouts = false;
void (*s_headerLayoutSlot)(id, SEL);

void recordHeaderLayout(id self, SEL cmd)
{
    s_headerLayoutSlot(self, cmd);
    if (!s_recordHeaderLayouts)
        return;
    auto artworkView = ivar(self, "_artworkView");
    s_artworkSeenAtLayout.push_back(objectCast<UIImage>(ask(artworkView.get(), "image")));
}

} // namespace

class WidgetShapes : public SampleDeviceTest { };

TEST_F(WidgetShapes, EveryPlatterIsHeadedByAWidgetHeaderOverMaterials)
{
    m_runner->showWidgets(true);
    auto& platters = m_runner->widgetsPage().platters();
    ASSERT_EQ(platters.size(), 4u);
    for (auto& platter : platters) {
        RefPtr<UIView> header = objectCast<UIView>(ivar(platter.get(), "_headerContentView"));
        ASSERT_TRUE(isKind(header.get(), "WGPlatterHeaderContentView"));
        EXPECT_TRUE(isKind(header.get(), "PLPlatterHeaderContentView"));
        EXPECT_EQ(header->superview(), platter);
        EXPECT_GE(materialSubviewCount(header->superview().get()), 2u);
        EXPECT_TRUE(isKind(ask(header->superview().get(), "widgetHost").get(), "WGWidgetHostingViewController"));
        // Shown on screen, over the lock screen.
        EXPECT_EQ(platter->window(), m_home->window());
    }
}

TEST_F(WidgetShapes, HostsNameTheirAppOrOnlyTheirWidget)
{
    m_runner->showWidgets(true);
    std::map<std::string, Id> hosts;
    for (auto& platter : m_runner->widgetsPage().platters()) {
        Id host = ask(platter.get(), "widgetHost");
        hosts[objectCast<NSString>(ask(host.get(), "widgetIdentifier"))->utf8()] = host;
    }
    auto appOf = [&](const char* widget) { return objectCast<NSString>(ask(hosts[widget].get(), "appBundleID")); };
    auto iconOf = [&](const char* widget) {
        Id info = ask(hosts[widget].get(), "widgetInfo");
        EXPECT_EQ(ivar(info.get(), "_icon"), ask(info.get(), "_icon"));
        return objectCast<UIImage>(ivar(info.get(), "_icon"));
    };

    ASSERT_TRUE(hosts.contains("com.apple.UpNextWidget.extension"));
    EXPECT_FALSE(appOf("com.apple.UpNextWidget.extension"));
    EXPECT_TRUE(iconOf("com.apple.UpNextWidget.extension"));

    ASSERT_TRUE(hosts.contains("com.apple.mobilecal.CalendarWidget"));
    ASSERT_TRUE(appOf("com.apple.mobilecal.CalendarWidget"));
    EXPECT_EQ(appOf("com.apple.mobilecal.CalendarWidget")->utf8(), "com.apple.mobilecal");

    ASSERT_TRUE(hosts.contains("com.apple.BatteryCenter.BatteryWidget"));
    EXPECT_FALSE(appOf("com.apple.BatteryCenter.BatteryWidget"));
    auto glyph = iconOf("com.apple.BatteryCenter.BatteryWidget");
    ASSERT_TRUE(glyph);
    EXPECT_TRUE(glyph->cgImage());
}

TEST_F(WidgetShapes, HeadersAreConfiguredAndLaidOutThroughTheRuntime)
{
    Class headerClass = objc_getClass("WGPlatterHeaderContentView");
    ASSERT_TRUE(headerClass);
    static bool hooked = false;
    if (!hooked) {
        MSHookMessageEx(headerClass, sel_registerName("_layoutTitleLabelWithScale:"), &countTitleLayout, &s_layoutTitleSlot);
        MSHookMessageEx(headerClass, sel_registerName("setTitle:"), &blankTitle, &s_setTitleSlot);
        hooked = true;
    }
    s_titleLayouts = 0;
    s_blankWidgetTitles = true;
    m_runner->showWidgets(true);
    s_blankWidgetTitles = false;

    EXPECT_GE(s_titleLayouts, 4);
    for (auto& platter : m_runner->widgetsPage().platters()) {
        auto header = platter->headerContentView();
        // The replacement's empty title is what the header shows.
        EXPECT_FALSE(header->title());
        EXPECT_EQ(header->titleLabel()->textString(), "");
        EXPECT_TRUE(header->icons());
    }
}

TEST_F(WidgetShapes, ScenarioWidgetsTakeTheirIconFromAFileAnAppOrNothing)
{
    run(R"([{ "showWidgets": { "widgets": [
        { "identifier": "com.example.tides.widget", "name": "Tides", "icon": "artwork/ocean.png" },
        { "identifier": "com.example.quotes.widget", "name": "Quotes" },
        { "identifier": "com.example.broken.widget", "icon": "artwork/corrupt.png" },
        { "identifier": "com.apple.stocks.StocksWidget", "name": "Stocks", "app": "com.apple.stocks" } ] } }])");
    auto& platters = m_runner->widgetsPage().platters();
    ASSERT_EQ(platters.size(), 4u);
    auto icon = [&](size_t index) { return platters[index]->widgetHost()->widgetInfo()->icon(); };
    ASSERT_TRUE(icon(0));
    EXPECT_EQ(icon(0)->size().width, 120);
    EXPECT_FALSE(icon(1));
    EXPECT_FALSE(icon(2));
    EXPECT_TRUE(icon(3));
    EXPECT_EQ(platters[2]->headerContentView()->titleLabel()->textString(), "com.example.broken.widget");
    EXPECT_EQ(platters[3]->widgetHost()->appBundleID()->utf8(), "com.apple.stocks");
}

class MediaShapes : public SampleDeviceTest { };

TEST_F(MediaShapes, HeaderIvarsAreFoundByName)
{
    auto artwork = sampleArtwork();
    ASSERT_TRUE(artwork);
    m_runner->mediaController().play({ "Golden Hour", "The Sunsets", artwork });
    auto header = m_runner->mediaController().panelViewController()->headerView();
    ASSERT_TRUE(isKind(header.get(), "MediaControlsHeaderView"));
    EXPECT_TRUE(isKind(ivar(header.get(), "_routingButton").get(), "UIButton"));
    EXPECT_TRUE(isKind(ivar(header.get(), "_routeLabel").get(), "UILabel"));
    Id artworkView = ivar(header.get(), "_artworkView");
    ASSERT_TRUE(isKind(artworkView.get(), "UIImageView"));
    EXPECT_EQ(ask(artworkView.get(), "image").get(), artwork.get());

    m_runner->mediaController().changeTrack({ "Silence", "Nobody", nullptr });
    EXPECT_FALSE(ask(artworkView.get(), "image"));
}

TEST_F(MediaShapes, FifthAncestorHoldsTheMaterialsBesideOtherViews)
{
    m_runner->mediaController().play({ "Golden Hour", "The Sunsets", sampleArtwork() });
    auto header = m_runner->mediaController().panelViewController()->headerView();
    auto holder = ancestor(header.get(), 5);
    ASSERT_TRUE(holder);
    EXPECT_EQ(materialSubviewCount(holder.get()), 2u);
    EXPECT_GT(holder->subviewList().size(), materialSubviewCount(holder.get()));
    // No nearer ancestor holds the materials: the extension must walk exactly five.
    for (int depth = 1; depth < 5; ++depth)
        EXPECT_EQ(materialSubviewCount(ancestor(header.get(), depth).get()), 0u) << depth;
    EXPECT_EQ(header->window(), m_home->window());
}

TEST_F(MediaShapes, ControlsLeaveTheLockScreenWhenPlayingStops)
{
    m_runner->mediaController().play({ "Golden Hour", "The Sunsets", nullptr });
    auto panel = m_runner->mediaController().panelViewController();
    ASSERT_TRUE(panel->view()->window());
    m_runner->mediaController().stop();
    EXPECT_FALSE(panel->view()->window());
    EXPECT_FALSE(m_runner->mediaController().isPlaying());
    // Playing again brings the same controls back.
    m_runner->mediaController().play({ "Deep Water", "Tidal", nullptr });
    EXPECT_EQ(m_runner->mediaController().panelViewController(), panel);
    EXPECT_TRUE(panel->view()->window());
}

TEST_F(MediaShapes, SystemLaysTheHeaderOutAfterEachTrackChange)
{
    static bool hooked = false;
    if (!hooked) {
        MSHookMessageEx(objc_getClass("MediaControlsHeaderView"), sel_registerName("layoutSubviews"), &recordHeaderLayout, &s_headerLayoutSlot);
        hooked = true;
    }
    auto sunset = sampleArtwork();
    auto ocean = UIImage::imageWithContentsOfHostFile(scenarioFolder() / "artwork/ocean.png");
    s_artworkSeenAtLayout.clear();
    s_recordHeaderLayouts = true;
    m_runner->mediaController().play({ "Golden Hour", "The Sunsets", sunset });
    ASSERT_FALSE(s_artworkSeenAtLayout.empty());
    EXPECT_EQ(s_artworkSeenAtLayout.back(), sunset);
    m_runner->mediaController().changeTrack({ "Deep Water", "Tidal", ocean });
    EXPECT_EQ(s_artworkSeenAtLayout.back(), ocean);
    s_recordHeaderLayouts = false;
}
