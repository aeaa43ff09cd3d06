#include "NotificationTestSupport.h"

#include "platform/springboard/NCNotificationListCell.h"
#include "platform/springboard/NCNotificationListView.h"
#include "platform/springboard/NCNotificationLongLookViewController.h"
#include "platform/springboard/NCNotificationMasterList.h"
#include "platform/springboard/NCNotificationStructuredListViewController.h"
#include "platform/uikit/UIWindow.h"

#include <gmock/gmock.h>

using testing::ElementsAre;
using testing::ElementsAreArray;

namespace {

// What an extension walks from a short look: the chain of Part-style ancestors.
struct ShortLookChain {
    RefPtr<UIView> view;
    RefPtr<UIView> a2;
    RefPtr<UIView> a3;
};

ShortLookChain chainOf(SBHomeScreen& home, const std::string& identifier)
{
    auto cell = home.cellForNotification(identifier);
    auto controller = ask(cell.get(), "contentViewController");
    auto view = msgSend<RefPtr<UIView>>(controller, SELECTOR("view"));
    return { view, ancestor(view.get(), 2), ancestor(view.get(), 3) };
}

class NotificationShapes : public HomeScreenTest { };

TEST_F(NotificationShapes, EveryClassTheExtensionNamesIsRegistered)
{
    SBHomeScreen home;
    for (const char* name : { "BBServer", "BBBulletin", "BBAction", "SBLockScreenManager", "NCNotificationRequest",
             "NCNotificationMasterList", "NCNotificationStructuredListViewController", "NCNotificationListView",
             "NCNotificationListCell", "NCNotificationListCoalescingHeaderCell", "NCNotificationListCoalescingControlsCell",
             "NCNotificationListSectionHeaderView", "NCNotificationListSectionRevealHintView", "MTMaterialView",
             "NCNotificationShortLookViewController", "NCNotificationShortLookView", "PLPlatterHeaderContentView",
             "NCNotificationContentView", "NCNotificationLongLookView", "NCNotificationLongLookViewController",
             "NCNotificationListCellActionButtonsView" })
        EXPECT_NE(objc_getClass(name), nullptr) << name;
    EXPECT_TRUE(class_isSubclassOf(objc_getClass("MTMaterialView"), objc_getClass("UIView")));
}

TEST_F(NotificationShapes, FifteenSampleNotificationsFormOneSectionOfThreeAppGroups)
{
    SBHomeScreen home;
    auto identifiers = publishFifteen(home);
    ASSERT_TRUE(home.expandGroup("com.apple.MobileSMS"));

    EXPECT_EQ(home.notificationIdentifiers(), identifiers);
    auto root = home.rootListView();
    ASSERT_EQ(root->count(), 1u);
    RefPtr<NCNotificationListView> section = objectCast<NCNotificationListView>(root->entries()[0].view);
    ASSERT_TRUE(section);
    // Keys in the list's own (insertion) order, though the newest group is shown on top.
    EXPECT_THAT(keyTexts(msgSend<RefPtr<NSDictionary>>(section, SELECTOR("visibleViews")).get()),
        ElementsAre("com.apple.MobileSMS", "com.apple.Music", "com.apple.AppStore"));
    EXPECT_LT(section->viewForKey("com.apple.AppStore")->frame().origin.y, section->viewForKey("com.apple.MobileSMS")->frame().origin.y);

    auto messages = home.groupListView("com.apple.MobileSMS");
    EXPECT_FALSE(msgSend<bool>(messages, SELECTOR("isGrouped")));
    // Thirteen do not fit on screen: the newest are shown, still keyed oldest first, the
    // others are data until the list scrolls to them.
    auto shown = keyTexts(msgSend<RefPtr<NSDictionary>>(messages, SELECTOR("visibleViews")).get());
    ASSERT_GE(shown.size(), 3u);
    ASSERT_LT(shown.size(), 13u);
    EXPECT_EQ(shown, std::vector<std::string>(identifiers.begin() + long(13 - shown.size()), identifiers.begin() + 13));
    // The shown cells between the coalescing header and controls cells.
    ASSERT_EQ(messages->subviewList().size(), shown.size() + 2);
    EXPECT_TRUE(isKind(messages->subviewList().front().get(), "NCNotificationListCoalescingHeaderCell"));
    EXPECT_TRUE(isKind(messages->subviewList().back().get(), "NCNotificationListCoalescingControlsCell"));
    home.scrollListTo(home.maximumListOffset());
    shown = keyTexts(msgSend<RefPtr<NSDictionary>>(messages, SELECTOR("visibleViews")).get());
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown.front(), identifiers.front());
    EXPECT_EQ(messages->subviewList().size(), shown.size() + 2);

    // An app group sits two levels under a list view; the section and the top list do not.
    EXPECT_TRUE(isKind(ancestor(messages.get(), 2).get(), "NCNotificationListView"));
    EXPECT_FALSE(isKind(ancestor(section.get(), 2).get(), "NCNotificationListView"));
    EXPECT_FALSE(isKind(ancestor(root.get(), 2).get(), "NCNotificationListView"));
}

TEST_F(NotificationShapes, ShortLookAncestorsGiveTheFirstNotificationRuleItsShapes)
{
    SBHomeScreen home;
    auto identifiers = publishFifteen(home);
    home.expandGroup("com.apple.MobileSMS");

    for (int index : { 0, 7, 12 }) {
        home.scrollToNotification(identifiers[size_t(index)]);
        auto grouped = chainOf(home, identifiers[size_t(index)]);
        ASSERT_TRUE(grouped.view);
        EXPECT_TRUE(isKind(grouped.view.get(), "NCNotificationShortLookView"));
        EXPECT_TRUE(isKind(grouped.a2.get(), "NCNotificationListCell"));
        ASSERT_TRUE(isKind(grouped.a3.get(), "NCNotificationListView"));
        EXPECT_GT(msgSend<RefPtr<NSArray>>(grouped.a3, SELECTOR("subviews"))->count(), 2u);
        // The group's first visible view is a cell of the same app.
        auto visible = msgSend<RefPtr<NSDictionary>>(grouped.a3, SELECTOR("visibleViews"));
        auto first = visible->objectForKey(visible->allKeys()->objectAtIndex(0).get());
        ASSERT_TRUE(isKind(first.get(), "NCNotificationListCell"));
        auto request = ask(ask(first.get(), "contentViewController").get(), "notificationRequest");
        EXPECT_EQ(objectCast<NSString>(ask(request.get(), "sectionIdentifier"))->utf8(), "com.apple.MobileSMS");
    }

    for (int index : { 13, 14 }) {
        home.scrollToNotification(identifiers[size_t(index)]);
        auto lone = chainOf(home, identifiers[size_t(index)]);
        EXPECT_TRUE(isKind(lone.a2.get(), "NCNotificationListCell"));
        ASSERT_TRUE(lone.a3);
        EXPECT_LE(lone.a3->subviewList().size(), 2u);
    }
}

TEST_F(NotificationShapes, PlattersCarryTheInstanceVariablesTheExtensionReads)
{
    SBHomeScreen home;
    auto identifiers = publishFifteen(home);
    auto controller = ask(home.cellForNotification(identifiers[13]).get(), "contentViewController");
    auto request = ask(controller.get(), "notificationRequest");
    EXPECT_EQ(objectCast<NSString>(ask(ask(request.get(), "bulletin").get(), "sectionID"))->utf8(), "com.apple.Music");
    EXPECT_EQ(objectCast<NSString>(ask(request.get(), "notificationIdentifier"))->utf8(), identifiers[13]);
    EXPECT_EQ(objectCast<NSString>(ask(ask(request.get(), "content").get(), "message"))->utf8(), "Test notification 14!");

    auto look = ivar(controller.get(), "_lookView");
    EXPECT_EQ(look, ask(controller.get(), "view"));
    EXPECT_TRUE(isKind(ivar(look.get(), "_backgroundView").get(), "MTMaterialView"));
    auto header = ivar(look.get(), "_headerContentView");
    ASSERT_TRUE(isKind(header.get(), "PLPlatterHeaderContentView"));
    EXPECT_TRUE(isKind(ask(header.get(), "superview").get(), "NCNotificationShortLookView"));
    EXPECT_EQ(objectCast<NSString>(ask(header.get(), "title"))->utf8(), "MUSIC");
    EXPECT_TRUE(ask(header.get(), "date"));

    auto content = ivar(look.get(), "_notificationContentView");
    for (const char* label : { "_primaryLabel", "_secondaryLabel", "_summaryLabel" })
        EXPECT_TRUE(isKind(ask(content.get(), label).get(), "UILabel")) << label;
    EXPECT_EQ(objectCast<UILabel>(ask(content.get(), "_secondaryLabel"))->textString(), "Test notification 14!");
}

TEST_F(NotificationShapes, SectionHeaderAndCoalescingCellsHoldMaterialButtons)
{
    SBHomeScreen home;
    publishFifteen(home);
    home.expandGroup("com.apple.MobileSMS");
    home.revealHistory();

    auto header = home.listController()->sectionHeaderView();
    ASSERT_TRUE(header);
    EXPECT_EQ(objectCast<NSString>(ask(header.get(), "title"))->utf8(), "Notification Center");
    auto holder = header->superview();
    auto visible = msgSend<RefPtr<NSDictionary>>(holder, SELECTOR("visibleViews"));
    ASSERT_GT(visible->count(), 0u);
    EXPECT_TRUE(isKind(visible->objectForKey(visible->allKeys()->objectAtIndex(0).get()).get(), "NCNotificationListView"));
    RefPtr<UIView> clearButton = objectCast<UIView>(ivar(header.get(), "_clearButton"));
    ASSERT_TRUE(clearButton);
    EXPECT_TRUE(isKind(clearButton->subviewList().front().get(), "MTMaterialView"));

    auto messages = home.groupListView("com.apple.MobileSMS");
    int coalescingCells = 0;
    for (auto& subview : messages->subviewList()) {
        if (!isKind(subview.get(), "NCNotificationListCoalescingHeaderCell") && !isKind(subview.get(), "NCNotificationListCoalescingControlsCell"))
            continue;
        ++coalescingCells;
        EXPECT_FALSE(subview->isHidden());
        auto toggles = msgSend<RefPtr<NSArray>>(ask(ask(subview.get(), "coalescingControlsView").get(), "toggleControlPair"), SELECTOR("toggleControls"));
        ASSERT_EQ(toggles->count(), 2u);
        for (auto& toggle : *toggles) {
            auto views = objectCast<UIView>(toggle)->subviewList();
            EXPECT_TRUE(std::any_of(views.begin(), views.end(), [](auto& view) { return isKind(view.get(), "MTMaterialView"); }));
        }
    }
    EXPECT_EQ(coalescingCells, 2);

    auto hint = home.listController()->revealHintView();
    ASSERT_TRUE(hint);
    EXPECT_FALSE(hint->isHidden());
    auto hintLabel = ivar(hint.get(), "_revealHintTitle");
    for (const char* selector : { "setHidden:", "setString:", "setTextAlignment:" })
        EXPECT_TRUE(hintLabel->respondsToSelector(sel_registerName(selector))) << selector;
    EXPECT_EQ(objectCast<UILabel>(hintLabel)->textString(), "No Older Notifications");
}

TEST_F(NotificationShapes, LongLookReachesItsControllerThroughThreeResponders)
{
    SBHomeScreen home;
    auto identifiers = publishFifteen(home);
    ASSERT_TRUE(home.expandNotification(identifiers[2]));

    auto controller = home.longLookViewController();
    ASSERT_TRUE(controller);
    auto look = controller->lookView();
    Id responder = look;
    for (int step = 0; step < 3; ++step)
        responder = ask(responder.get(), "nextResponder");
    EXPECT_EQ(responder.get(), controller.get());
    auto request = ask(responder.get(), "notificationRequest");
    EXPECT_EQ(objectCast<NSString>(ask(request.get(), "notificationIdentifier"))->utf8(), identifiers[2]);

    for (const char* name : { "_headerContentView", "_notificationContentView", "_headerTintView", "_actionsBackgroundView" })
        EXPECT_TRUE(ivar(look.get(), name)) << name;
    EXPECT_FALSE(ivar(look.get(), "_customContentView"));
    EXPECT_TRUE(isKind(ask(ask(look.get(), "dismissControl").get(), "_backgroundMaterialView").get(), "MTMaterialView"));
    // Shown above the list, inside the window.
    EXPECT_EQ(controller->view()->window(), home.window());

    home.collapseLongLook();
    EXPECT_FALSE(home.longLookViewController());
    EXPECT_FALSE(look->window());
}

TEST_F(NotificationShapes, SwipedCellShowsActionButtonsWithDifferingCorners)
{
    SBHomeScreen home;
    auto identifier = home.publishBulletin("com.apple.MobileSMS", "Tintwell", "Swipe me");
    ASSERT_TRUE(home.swipeCell(identifier));

    auto buttons = home.cellForNotification(identifier)->cellActionButtonsView();
    ASSERT_TRUE(buttons);
    auto arranged = msgSend<RefPtr<NSArray>>(ask(buttons.get(), "buttonsStackView"), SELECTOR("arrangedSubviews"));
    ASSERT_EQ(arranged->count(), 3u);
    std::vector<double> radii;
    for (auto& button : *arranged) {
        EXPECT_TRUE(isKind(ask(button.get(), "backgroundView").get(), "MTMaterialView"));
        radii.push_back(objectCast<UIView>(button)->layer()->cornerRadius());
        EXPECT_GT(objectCast<UIView>(button)->frame().size.width, 0);
    }
    EXPECT_TRUE(std::count(radii.begin(), radii.end(), 0.0) > 0);
    EXPECT_TRUE(std::any_of(radii.begin(), radii.end(), [](double radius) { return radius > 0; }));
    EXPECT_EQ(buttons->notificationRequest(), home.cellForNotification(identifier)->contentViewController()->notificationRequest());
}

} // namespace
