#include "ListProbe.h"

#include "platform/foundation/NSNotificationCenter.h"
#include "platform/runtime/WeakPtr.h"
#include "platform/springboard/NCNotificationListCell.h"
#include "platform/springboard/NCNotificationListCoalescingControlsCell.h"
#include "platform/springboard/NCNotificationListCoalescingHeaderCell.h"
#include "platform/springboard/NCNotificationStructuredListViewController.h"
#include "platform/springboard/NCNotificationListView.h"

#include <dlfcn.h>

using namespace tweaktest;

namespace {

const Settings headerOff { { "HeaderColor", false } };
const Settings notifsOff { { "EnabledNotifs", false } };

RefPtr<NCNotificationListSectionHeaderView> sectionHeader(SBHomeScreen& home) { return home.listController()->sectionHeaderView(); }

RefPtr<UIView> clearButtonMaterial(SBHomeScreen& home)
{
    auto header = sectionHeader(home);
    return header ? header->clearButton()->backgroundMaterialView() : nullptr;
}

// The view the short-look colouring paints, for the notification's platter.
RefPtr<UIView> platterBackground(SBHomeScreen& home, const std::string& identifier)
{
    auto cell = home.cellForNotification(identifier);
    auto lookView = ivar(ask(cell.get(), "contentViewController").get(), "_lookView");
    return objectCast<UIView>(ivar(lookView.get(), "_backgroundView"));
}

// Both toggles of both coalescing cells of the app's group.
std::vector<RefPtr<UIView>> toggleMaterials(SBHomeScreen& home, const std::string& sectionID)
{
    std::vector<RefPtr<UIView>> materials;
    auto group = home.groupListView(sectionID);
    for (auto& subview : group->subviewList()) {
        RefPtr<NCNotificationListCoalescingControlsView> controls;
        if (RefPtr<NCNotificationListCoalescingHeaderCell> header = objectCast<NCNotificationListCoalescingHeaderCell>(subview))
            controls = header->coalescingControlsView();
        else if (RefPtr<NCNotificationListCoalescingControlsCell> footer = objectCast<NCNotificationListCoalescingControlsCell>(subview))
            controls = footer->coalescingControlsView();
        if (!controls)
            continue;
        for (auto& toggle : controls->toggleControlPair()->toggleControlList())
            materials.push_back(toggle->backgroundMaterialView());
    }
    return materials;
}

nlohmann::json systemMaterial(long style)
{
    auto material = MTMaterialView::create(MTMaterialView::RecipeControl);
    return { { "borderWidth", 0.0 }, { "borderColor", nullptr },
        { "background", ViewSnapshot::colorJSON(MTMaterialView::materialColor(MTMaterialView::RecipeControl, style).get()) } };
}

} // namespace

// The first group is the oldest (the first key of the section's views), though the newest shows on top.
TEST(SectionHeaderColour, ClearButtonTakesTheColourOfTheFirstKeysApp)
{
    TweakDevice device;
    inForkedProcess([&] {
        Phone phone(device);
        ASSERT_TRUE(phone.tweakLoaded());
        auto& home = phone.home();
        auto message = home.publishBulletin("com.apple.MobileSMS", "Anna", "Lunch?");
        auto song = home.publishBulletin("com.apple.Music", "Now playing", "Northern Lights");
        home.layoutNow();

        auto smsPaint = paintOf(platterBackground(home, message).get());
        ASSERT_NE(smsPaint["background"], nullptr);
        EXPECT_NE(smsPaint, paintOf(platterBackground(home, song).get()));
        EXPECT_EQ(paintOf(clearButtonMaterial(home).get()), smsPaint);
    });
}

TEST(SectionHeaderColour, EachPostRecoloursWithOneAnimationOfTwoTenthsPerMaterial)
{
    TweakDevice device;
    inForkedProcess([&] {
        Phone phone(device);
        auto& home = phone.home();
        home.publishBulletin("com.apple.MobileSMS", "Anna", "Lunch?");
        home.layoutNow();
        auto& probe = installListProbe();
        probe.reset();
        long animationsBefore = UIView::animationCount();

        // One registered header, one material in its clear button.
        home.revealHistory();
        ASSERT_GT(probe.postsTotal, 0);
        EXPECT_EQ(UIView::animationCount() - animationsBefore, probe.postsTotal);
        EXPECT_DOUBLE_EQ(UIView::lastAnimationDuration(), 0.2);
    });
}

TEST(SectionHeaderColour, NoCachedColourLeavesTheClearButtonAndPaintsTogglesWithNoColour)
{
    // The custom colour with no colours file gives no colour, so nothing is ever cached.
    TweakDevice device({ { "NotifImageCalc", 2L } });
    inForkedProcess([&] {
        Phone phone(device);
        auto& home = phone.home();
        home.publishBulletin("com.apple.MobileSMS", "Anna", "Lunch?");
        home.publishBulletin("com.apple.MobileSMS", "Anna", "At one?");
        long animationsBefore = UIView::animationCount();
        home.expandGroup("com.apple.MobileSMS");
        home.layoutNow();

        EXPECT_EQ(UIView::animationCount(), animationsBefore);
        EXPECT_EQ(paintOf(clearButtonMaterial(home).get()), systemMaterial(UIUserInterfaceStyleLight));
        auto toggles = toggleMaterials(home, "com.apple.MobileSMS");
        ASSERT_EQ(toggles.size(), 4u);
        for (auto& toggle : toggles)
            EXPECT_EQ(paintOf(toggle.get()), (nlohmann::json { { "borderWidth", 3.0 }, { "borderColor", nullptr }, { "background", nullptr } }));
    });
}

// Posters, by the system method running when the post is made.
TEST(HeaderRecolouringTriggers, EveryListChangePostsWhileBothSwitchesAreOn)
{
    TweakDevice device;
    inForkedProcess([&] {
        Phone phone(device);
        auto& home = phone.home();
        auto& probe = installListProbe();

        auto first = home.publishBulletin("com.apple.MobileSMS", "Anna", "Lunch?");
        // A new app: its group into the section, its cell into the group.
        EXPECT_EQ(probe.postsBy("insertViewAtIndex:animated:"), 2);
        EXPECT_EQ(probe.postsBy("insertNotificationRequest:"), 1);
        EXPECT_GE(probe.postsBy("_layoutClearButton"), 1);

        probe.reset();
        home.revealHistory();
        EXPECT_EQ(probe.postsBy("revealNotificationHistory:animated:"), 1);

        probe.reset();
        home.publishBulletin("com.apple.MobileSMS", "Anna", "At one?");
        ASSERT_TRUE(home.removeNotification(first));
        EXPECT_EQ(probe.postsBy("removeViewAtIndex:animated:"), 1);
        EXPECT_EQ(probe.postsBy("removeNotificationRequest:"), 1);
        EXPECT_EQ(probe.postsBy("(nothing watched)"), 0);
    });
}

TEST(HeaderRecolouringTriggers, WithNotificationsOffOnlyTheMasterListPostsAndNoHeaderListens)
{
    TweakDevice device(notifsOff);
    inForkedProcess([&] {
        Phone phone(device);
        auto& home = phone.home();
        auto& probe = installListProbe();
        size_t observersBefore = NSNotificationCenter::defaultCenter()->observerCount();

        auto identifier = home.publishBulletin("com.apple.MobileSMS", "Anna", "Lunch?");
        home.revealHistory();
        home.removeNotification(identifier);
        EXPECT_EQ(probe.postsBy("insertNotificationRequest:"), 1);
        EXPECT_EQ(probe.postsBy("removeNotificationRequest:"), 1);
        EXPECT_EQ(probe.postsTotal, 2);
        home.publishBulletin("com.apple.MobileSMS", "Anna", "Lunch?");
        EXPECT_EQ(NSNotificationCenter::defaultCenter()->observerCount(), observersBefore);
    });
}

TEST(HeaderRecolouringTriggers, WithHeaderColourOffNothingPostsOrPaints)
{
    TweakDevice device(headerOff);
    inForkedProcess([&] {
        Phone phone(device);
        auto& home = phone.home();
        auto& probe = installListProbe();
        home.publishBulletin("com.apple.MobileSMS", "Anna", "Lunch?");
        home.publishBulletin("com.apple.MobileSMS", "Anna", "At one?");
        home.expandGroup("com.apple.MobileSMS");
        home.revealHistory();
        home.setAppearance(SBHomeScreen::Appearance::Dark);
        home.advanceTime(1);

        EXPECT_EQ(probe.postsTotal, 0);
        EXPECT_EQ(probe.delayedHeaderRecolours, 0);
        EXPECT_EQ(probe.delayedToggleRecolours, 0);
        EXPECT_EQ(paintOf(clearButtonMaterial(home).get()), systemMaterial(UIUserInterfaceStyleDark));
        for (auto& toggle : toggleMaterials(home, "com.apple.MobileSMS"))
            EXPECT_EQ(paintOf(toggle.get()), systemMaterial(UIUserInterfaceStyleDark));
    });
}

// Registered while the switches were on, destroyed after they went off: the explicit
// removal is skipped then, and a later post must not reach the freed header.
TEST(HeaderRecolouringTriggers, HeaderDestroyedAfterTheSwitchesWentOffIsNeverCalledAgain)
{
    TweakDevice device;
    inForkedProcess([&] {
        Phone phone(device);
        auto& home = phone.home();
        auto identifier = home.publishBulletin("com.apple.MobileSMS", "Anna", "Lunch?");
        WeakPtr<NCNotificationListSectionHeaderView> firstHeader(sectionHeader(home).get());
        ASSERT_TRUE(firstHeader.get());

        phone.changeSettings(headerOff);
        ASSERT_TRUE(home.removeNotification(identifier));
        // The delayed recolouring of its first style holds it until it has run.
        home.advanceTime(0.5);
        ASSERT_FALSE(firstHeader.get()) << "the section header outlived its last group";
        size_t observersAfterDestruction = NSNotificationCenter::defaultCenter()->observerCount();

        phone.changeSettings({ { "HeaderColor", true } });
        auto& probe = installListProbe();
        home.publishBulletin("com.apple.Music", "Now playing", "Northern Lights");
        home.revealHistory();
        home.layoutNow();
        EXPECT_GT(probe.postsTotal, 0);
        // Only the new header listens.
        EXPECT_EQ(NSNotificationCenter::defaultCenter()->observerCount(), observersAfterDestruction + 1);
        EXPECT_EQ(paintOf(clearButtonMaterial(home).get()), paintOf(platterBackground(home, home.notificationIdentifiers().back()).get()));
    });
}

TEST(HeaderStyleChange, EachChangeRecoloursOnceTwoTenthsLater)
{
    TweakDevice device;
    inForkedProcess([&] {
        Phone phone(device);
        auto& home = phone.home();
        auto& probe = installListProbe();
        home.publishBulletin("com.apple.MobileSMS", "Anna", "Lunch?");
        // The new header's first trait collection counts as a change from unspecified.
        EXPECT_EQ(probe.delayedHeaderRecolours, 0);
        home.advanceTime(0.2);
        EXPECT_EQ(probe.delayedHeaderRecolours, 1);

        home.advanceTime(1);
        probe.reset();
        home.setAppearance(SBHomeScreen::Appearance::Dark);
        home.advanceTime(0.19);
        EXPECT_EQ(probe.delayedHeaderRecolours, 0);
        home.advanceTime(0.01);
        EXPECT_EQ(probe.delayedHeaderRecolours, 1);
        // Root, section and the app's group.
        EXPECT_EQ(probe.delayedToggleRecolours, 3);

        probe.reset();
        home.setAppearance(SBHomeScreen::Appearance::Light);
        home.setAppearance(SBHomeScreen::Appearance::Dark);
        home.advanceTime(0.2);
        EXPECT_EQ(probe.delayedHeaderRecolours, 2) << "changes are not merged";

        probe.reset();
        home.setAppearance(SBHomeScreen::Appearance::Dark);
        home.advanceTime(0.5);
        EXPECT_EQ(probe.delayedHeaderRecolours, 0) << "the same style is no change";
    });
}

// The delayed repaint brings back the colour the material's own style change took away.
TEST(HeaderStyleChange, DarkAppearanceRepaintsClearButtonWithTheDarkOpacities)
{
    TweakDevice device({ { "NotifDBodyAlpha", 40L } });
    inForkedProcess([&] {
        Phone phone(device);
        auto& home = phone.home();
        auto message = home.publishBulletin("com.apple.MobileSMS", "Anna", "Lunch?");
        home.advanceTime(0.5);
        home.setAppearance(SBHomeScreen::Appearance::Dark);
        home.advanceTime(0.2);

        auto paint = paintOf(clearButtonMaterial(home).get());
        EXPECT_EQ(paint, paintOf(platterBackground(home, message).get()));
        EXPECT_DOUBLE_EQ(paint["background"]["alpha"].get<double>(), 0.4);
    });
}

TEST(GroupToggleColour, ExpandedGroupsTogglesTakeTheFirstNotificationsColourCollapsedOnesWait)
{
    TweakDevice device;
    inForkedProcess([&] {
        Phone phone(device);
        auto& home = phone.home();
        auto message = home.publishBulletin("com.apple.MobileSMS", "Anna", "Lunch?");
        home.publishBulletin("com.apple.MobileSMS", "Anna", "At one?");
        home.publishBulletin("com.apple.Music", "Now playing", "Northern Lights");
        home.layoutNow();
        for (auto& toggle : toggleMaterials(home, "com.apple.MobileSMS"))
            EXPECT_EQ(paintOf(toggle.get()), systemMaterial(UIUserInterfaceStyleLight)) << "a collapsed stack is left alone";

        ASSERT_TRUE(home.expandGroup("com.apple.MobileSMS"));
        auto expected = paintOf(platterBackground(home, message).get());
        auto toggles = toggleMaterials(home, "com.apple.MobileSMS");
        ASSERT_EQ(toggles.size(), 4u);
        for (auto& toggle : toggles)
            EXPECT_EQ(paintOf(toggle.get()), expected);
    });
}

// Lists are laid out again and again; toggles that nothing changed since are left as they
// are, and these changes still show at the next pass.
TEST(GroupToggleColour, LaterPassesPaintOverChangedTogglesAndFollowTheRecord)
{
    TweakDevice device;
    inForkedProcess([&] {
        Phone phone(device);
        auto& home = phone.home();
        auto message = home.publishBulletin("com.apple.MobileSMS", "Anna", "Lunch?");
        home.publishBulletin("com.apple.MobileSMS", "Anna", "At one?");
        ASSERT_TRUE(home.expandGroup("com.apple.MobileSMS"));
        auto passes = [&](int count) {
            for (int pass = 0; pass < count; ++pass) {
                home.rootListView()->setNeedsLayoutInSubtree();
                home.rootListView()->layoutIfNeeded();
            }
        };
        passes(4);
        auto expected = paintOf(platterBackground(home, message).get());
        auto toggles = toggleMaterials(home, "com.apple.MobileSMS");
        ASSERT_EQ(toggles.size(), 4u);

        toggles[0]->setBackgroundColor(nullptr);
        passes(1);
        EXPECT_EQ(paintOf(toggles[0].get()), expected);
        passes(4);
        toggles[1]->layer()->setBorderWidth(0);
        passes(1);
        EXPECT_EQ(paintOf(toggles[1].get()), expected);

        // A wider outline, written into the record in place as a settings reload does.
        passes(4);
        auto* record = static_cast<RefPtr<Object>*>(dlsym(RTLD_DEFAULT, "NotifsConfig"));
        ASSERT_TRUE(record && *record);
        msgSend<void>(record->get(), sel_registerName("setBothThickness:"), 5L);
        passes(1);
        for (auto& toggle : toggles)
            EXPECT_EQ(paintOf(toggle.get())["borderWidth"], 5.0);
    });
}

TEST(SectionHeaderTitle, NoCenterEmptiesTheTitleEvenWithACustomOne)
{
    TweakDevice device({ { "NoCenter", true }, { "UseCustomCenter", true }, { "CustomCenter", std::string("Inbox") } });
    inForkedProcess([&] {
        Phone phone(device);
        phone.home().publishBulletin("com.apple.MobileSMS", "Anna", "Lunch?");
        auto title = sectionHeader(phone.home())->title();
        ASSERT_TRUE(title);
        EXPECT_EQ(title->view(), "");
    });
}

// Titles follow the switches whatever the notification switches say.
TEST(SectionHeaderTitle, CustomTitleReplacesTheSystemsEvenWithNotificationsOff)
{
    TweakDevice device({ { "EnabledNotifs", false }, { "UseCustomCenter", true }, { "CustomCenter", std::string("Inbox") } });
    inForkedProcess([&] {
        Phone phone(device);
        phone.home().publishBulletin("com.apple.MobileSMS", "Anna", "Lunch?");
        EXPECT_EQ(sectionHeader(phone.home())->title()->view(), "Inbox");
    });
}

TEST(SectionHeaderTitle, DefaultCustomTitleReadsNotificationCenter)
{
    TweakDevice device({ { "UseCustomCenter", true } });
    inForkedProcess([&] {
        Phone phone(device);
        phone.home().publishBulletin("com.apple.MobileSMS", "Anna", "Lunch?");
        EXPECT_EQ(sectionHeader(phone.home())->title()->view(), "Notification Center");
    });
}
