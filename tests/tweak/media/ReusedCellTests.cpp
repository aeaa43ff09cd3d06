// Cells the list reuses as it scrolls, with Tintwell and the three companions loaded: a
// cell that showed one app's notification and now shows another's must show the new
// app's colour, header and texts, and so must its Dayn container.
#include "tests/tweak/media/CompanionTestSupport.h"
#include "tests/tweak/ViewInspection.h"

#include "platform/springboard/NCNotificationStructuredListViewController.h"
#include "platform/uikit/ViewSnapshot.h"

#include <map>
#include <set>

namespace media {
namespace {

using nlohmann::json;

constexpr const char* reuseApps[] = { "com.apple.MobileSMS", "com.apple.mobilemail", "com.apple.mobilecal", "com.apple.Music", "com.apple.AppStore" };

using tweaktest::isKind;
using tweaktest::paintOf;

// The colour a painted view shows: its border where it has one (an outline leaves the
// system's material as it was), else its fill.
RefPtr<UIColor> tintOf(const UIView* view)
{
    if (!view)
        return nullptr;
    auto border = view->layer()->borderColor();
    if (border && view->layer()->borderWidth() > 0)
        return UIColor::colorWithCGColor(border.get());
    return view->backgroundColor();
}

::testing::AssertionResult tintedWith(const UIView* view, const std::string& app)
{
    auto expected = appColour(app);
    auto shown = tintOf(view);
    if (!expected || !shown)
        return ::testing::AssertionFailure() << "no colour shown or expected for " << app;
    if (shown->red() != expected->red() || shown->green() != expected->green() || shown->blue() != expected->blue())
        return ::testing::AssertionFailure() << "shows " << shown->hexString() << ", " << app << " is " << expected->hexString();
    return ::testing::AssertionSuccess();
}

void publishAcrossApps(SBHomeScreen& home, int count)
{
    for (int index = 0; index < count; ++index) {
        std::string message = "Message " + std::to_string(index) + (index % 4 ? "" : ", long enough to take a second line of the platter");
        home.publishBulletin(reuseApps[index % std::size(reuseApps)], "Sender " + std::to_string(index), message);
    }
}

// What a reused cell must agree with: per app, the whole paint of the platter as first
// seen, so opacity, border and appearance are compared too, not only the colour.
struct Expected {
    std::map<std::string, json> platter;
    std::map<const UIView*, std::set<std::string>> appsPerCell;
};

void expectShownCellsRight(CompanionHomeScreen& screen, Expected& expected, const std::string& where)
{
    auto& home = screen.home();
    for (auto& cell : home.listController()->shownCells()) {
        auto controller = cell->contentViewController();
        auto request = controller->notificationRequest();
        std::string app(request->sectionID());
        std::string at = where + ", " + std::string(request->identifier()) + " of " + app;
        expected.appsPerCell[cell.get()].insert(app);

        auto look = controller->lookView();
        auto title = NCNotificationShortLookViewController::displayNameForSection(request->sectionIdentifier().get());
        EXPECT_EQ(look->headerContentView()->titleLabel()->textString(), title->utf8()) << at;
        EXPECT_EQ(look->notificationContentView()->secondaryLabel()->textString(), request->content()->message()->utf8()) << at;
        EXPECT_EQ(look->notificationContentView()->primaryLabel()->textString(), request->content()->title()->utf8()) << at;

        auto background = look->backgroundView();
        EXPECT_TRUE(tintedWith(background.get(), app)) << at;
        auto paint = paintOf(background.get());
        auto [platter, firstOfApp] = expected.platter.try_emplace(app, paint);
        if (!firstOfApp) {
            EXPECT_EQ(paint, platter->second) << at;
        }

        // Dayn paints a container when it joins its cell and not when the appearance
        // changes, so only its colour is the app's for sure, not its light or dark opacity.
        auto container = home.companions().containerInCell(cell.get());
        ASSERT_TRUE(container) << at;
        EXPECT_TRUE(tintedWith(container.get(), app)) << at << " (Dayn)";
    }
}

TEST(ReusedCells, ShowTheirNewAppsColourHeaderAndTextsInEveryStyleAndAppearance)
{
    for (long style : { 0L, 1L, 2L }) {
        std::string preferences = integerEntry("NotificationStyle", style) + integerEntry("DaynColorStyle", 0);
        inCompanionHomeScreen(preferences, { "Axon", "Grupi", "Dayn" }, [&](CompanionHomeScreen& screen) {
            auto& home = screen.home();
            publishAcrossApps(home, 60);
            for (auto* app : reuseApps)
                ASSERT_TRUE(home.expandGroup(app));
            for (auto appearance : { SBHomeScreen::Appearance::Light, SBHomeScreen::Appearance::Dark }) {
                home.setAppearance(appearance);
                // The delayed repaints of the style change.
                home.advanceTime(0.3);
                home.scrollListTo(0);
                Expected expected;
                std::string where = "style " + std::to_string(style) + (appearance == SBHomeScreen::Appearance::Dark ? ", dark" : ", light");
                expectShownCellsRight(screen, expected, where + ", top");
                // Down to the oldest and back up again: every cell that comes on screen was
                // showing another notification, often of another app.
                while (home.listOffset() < home.maximumListOffset()) {
                    home.scrollListBy(280);
                    expectShownCellsRight(screen, expected, where + ", down at " + std::to_string(home.listOffset()));
                }
                while (home.listOffset() > 0) {
                    home.scrollListBy(-410);
                    expectShownCellsRight(screen, expected, where + ", up at " + std::to_string(home.listOffset()));
                }
                size_t reusedAcrossApps = 0;
                for (auto& [cell, apps] : expected.appsPerCell)
                    reusedAcrossApps += apps.size() > 1;
                EXPECT_GT(reusedAcrossApps, 3u) << where << ": the cells were not reused for other apps";
                EXPECT_EQ(expected.platter.size(), std::size(reuseApps)) << where;
            }
        });
    }
}

TEST(ReusedCells, UngroupedPlattersKeepTheirOwnAppsColourWhateverTheListShowsFirst)
{
    // A platter in a list of three or more views follows the list's first visible
    // notification, which in an app group is always its own app's. Ungrouped, the section
    // mixes apps, and each platter keeps its own app's colour while the first visible
    // notification changes. The section header's clear button stays as the system made
    // it: the section's first visible view is a cell.
    inCompanionHomeScreen(integerEntry("NotificationStyle", 1) + integerEntry("NotifFullAlpha", 100) + integerEntry("DaynColorStyle", 0), { "Dayn" },
        [&](CompanionHomeScreen& screen) {
            auto& home = screen.home();
            auto systemHeader = UIView::createWithClass(objc_getClass("NCNotificationListSectionHeaderView"), CGRectMake(0, 0, 300, 40));
            auto clearButtonPaint = [](const UIView* header) {
                json paints = json::array();
                RefPtr<UIView> button = objectCast<UIView>(tweaktest::ivar(header, "_clearButton"));
                for (auto& view : button ? button->subviewList() : std::vector<RefPtr<UIView>> {})
                    paints.push_back(paintOf(view.get()));
                return paints;
            };
            auto untouched = clearButtonPaint(systemHeader.get());

            home.setGrouping(SBHomeScreen::Grouping::Off);
            publishAcrossApps(home, 40);
            std::set<std::string> firstApps;
            auto section = home.listController()->sectionListView();
            do {
                home.scrollListBy(300);
                // Cells that stayed on screen keep their paint until they are laid out again.
                home.layoutNow();
                auto visible = section->visibleViews();
                ASSERT_GT(visible->count(), 2u);
                RefPtr<NCNotificationListCell> first = objectCast<NCNotificationListCell>(visible->objectForKey(visible->allKeys()->objectAtIndex(0).get()));
                ASSERT_TRUE(first);
                std::string firstApp(first->contentViewController()->notificationRequest()->sectionID());
                firstApps.insert(firstApp);
                for (auto& cell : home.listController()->shownCells()) {
                    auto request = cell->contentViewController()->notificationRequest();
                    EXPECT_TRUE(tintedWith(cell->contentViewController()->lookView()->backgroundView().get(), std::string(request->sectionID())))
                        << request->identifier() << " of " << request->sectionID() << " at " << home.listOffset();
                    // Dayn keys its container by the notification's own app.
                    EXPECT_TRUE(tintedWith(home.companions().containerInCell(cell.get()).get(), std::string(request->sectionID())));
                }
                EXPECT_EQ(clearButtonPaint(home.listController()->sectionHeaderView().get()), untouched);
            } while (home.listOffset() < home.maximumListOffset());
            EXPECT_GT(firstApps.size(), 2u) << "scrolling moves the first visible notification to other apps";

            // By app, the section's first visible view is an app group again: the clear
            // button takes that group's colour.
            home.setGrouping(SBHomeScreen::Grouping::ByApp);
            home.scrollListTo(0);
            // The platters' colours are cached by now; the clear button's layout asks again,
            // and its paint is animated.
            home.layoutNow();
            home.advanceTime(0.3);
            RefPtr<NCNotificationListView> firstGroup = objectCast<NCNotificationListView>(section->visibleViews()->objectForKey(section->visibleViews()->allKeys()->objectAtIndex(0).get()));
            ASSERT_TRUE(firstGroup);
            auto header = home.listController()->sectionHeaderView();
            RefPtr<UIView> button = objectCast<UIView>(tweaktest::ivar(header.get(), "_clearButton"));
            ASSERT_TRUE(button);
            size_t materials = 0;
            for (auto& view : button->subviewList()) {
                if (!isKind(view.get(), "MTMaterialView"))
                    continue;
                ++materials;
                EXPECT_TRUE(tintedWith(view.get(), reuseApps[0]));
            }
            EXPECT_GT(materials, 0u);
        });
}

} // namespace
} // namespace media
