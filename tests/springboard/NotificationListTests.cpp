#include "NotificationTestSupport.h"

#include "platform/foundation/Dispatch.h"
#include "platform/foundation/DynamicLoader.h"
#include "platform/springboard/BBServer.h"
#include "platform/springboard/NCNotificationListCell.h"
#include "platform/springboard/NCNotificationListView.h"
#include "platform/springboard/NCNotificationLongLookViewController.h"
#include "platform/springboard/NCNotificationMasterList.h"
#include "platform/springboard/NCNotificationStructuredListViewController.h"
#include "platform/uikit/UIWindow.h"

#include <set>

#include <dlfcn.h>

namespace {

class NotificationList : public HomeScreenTest { };

std::string summaryOf(SBHomeScreen& home, const std::string& identifier)
{
    auto look = home.cellForNotification(identifier)->contentViewController()->lookView();
    return look->notificationContentView()->summaryLabel()->textString();
}

// The header and texts of a platter, as faded (0) or shown (1); the platter's material stays.
double contentAlpha(SBHomeScreen& home, const std::string& identifier)
{
    auto look = home.cellForNotification(identifier)->contentViewController()->lookView();
    EXPECT_EQ(look->headerContentView()->alpha(), look->notificationContentView()->alpha());
    EXPECT_EQ(look->backgroundView()->alpha(), 1);
    EXPECT_FALSE(look->backgroundView()->isHidden());
    return look->notificationContentView()->alpha();
}

TEST_F(NotificationList, CollapsedGroupStacksTheNewestOverTwoAndHidesItsControls)
{
    SBHomeScreen home;
    std::vector<std::string> identifiers;
    for (int index = 0; index < 5; ++index)
        identifiers.push_back(home.publishBulletin("com.apple.MobileSMS", "Tintwell", "Message " + std::to_string(index)));

    auto group = home.groupListView("com.apple.MobileSMS");
    ASSERT_TRUE(group->isGrouped());
    // Only the stack's three are shown, still keyed in insertion order.
    auto visible = keyTexts(group->visibleViews().get());
    EXPECT_EQ(visible, std::vector<std::string>(identifiers.begin() + 2, identifiers.end()));
    EXPECT_TRUE(group->headerView()->isHidden());
    EXPECT_TRUE(group->footerView()->isHidden());
    auto front = home.cellForNotification(identifiers[4]);
    auto behind = home.cellForNotification(identifiers[3]);
    EXPECT_EQ(front->frame().origin.y, 0);
    EXPECT_GT(behind->frame().origin.y, 0);
    EXPECT_LT(behind->frame().size.width, front->frame().size.width);
    EXPECT_EQ(summaryOf(home, identifiers[4]), "4 more notifications");
    // Behind the front platter only the edges of the others show, not their texts.
    EXPECT_EQ(contentAlpha(home, identifiers[4]), 1);
    EXPECT_EQ(contentAlpha(home, identifiers[3]), 0);
    EXPECT_EQ(contentAlpha(home, identifiers[2]), 0);

    home.expandGroup("com.apple.MobileSMS");
    for (auto& identifier : identifiers)
        EXPECT_EQ(contentAlpha(home, identifier), 1) << identifier;
    EXPECT_EQ(keyTexts(group->visibleViews().get()), identifiers);
    EXPECT_FALSE(group->headerView()->isHidden());
    EXPECT_EQ(summaryOf(home, identifiers[4]), "");
    // Newest on top, under the coalescing header.
    EXPECT_GT(front->frame().origin.y, 0);
    EXPECT_LT(front->frame().origin.y, behind->frame().origin.y);

    home.collapseGroup("com.apple.MobileSMS");
    EXPECT_TRUE(group->isGrouped());
    EXPECT_EQ(group->visibleViews()->count(), 3u);
    EXPECT_EQ(contentAlpha(home, identifiers[3]), 0);
    // A newer notification goes in front; the one it covers fades.
    identifiers.push_back(home.publishBulletin("com.apple.MobileSMS", "Tintwell", "Message 5"));
    EXPECT_EQ(contentAlpha(home, identifiers[5]), 1);
    EXPECT_EQ(contentAlpha(home, identifiers[4]), 0);
    EXPECT_FALSE(home.collapseGroup("com.example.none"));
}

// The shown views are kept between questions; hiding or showing any view must still reach
// the next answer, whoever changes it and however often it is asked in between.
TEST_F(NotificationList, VisibleViewsFollowHiddenChangesBetweenQuestions)
{
    SBHomeScreen home;
    std::vector<std::string> identifiers;
    for (int index = 0; index < 4; ++index)
        identifiers.push_back(home.publishBulletin("com.apple.Music", "Tintwell", "Song " + std::to_string(index)));
    home.expandGroup("com.apple.Music");
    auto group = home.groupListView("com.apple.Music");
    auto before = group->visibleViews();
    EXPECT_EQ(group->visibleViews(), before);

    auto cell = home.cellForNotification(identifiers[1]);
    msgSend<void>(cell, SELECTOR("setHidden:"), true);
    auto hidden = keyTexts(group->visibleViews().get());
    EXPECT_EQ(hidden, (std::vector<std::string> { identifiers[0], identifiers[2], identifiers[3] }));
    // Setting the same value again changes nothing and keeps the answer.
    auto kept = group->visibleViews();
    cell->setHidden(true);
    EXPECT_EQ(group->visibleViews(), kept);

    cell->setHidden(false);
    EXPECT_EQ(keyTexts(group->visibleViews().get()), identifiers);
    // A view of another list changing says nothing about this one's views.
    auto other = home.publishBulletin("com.apple.MobileSMS", "Tintwell", "Hello");
    home.cellForNotification(other)->setHidden(true);
    EXPECT_EQ(keyTexts(group->visibleViews().get()), identifiers);
}

TEST_F(NotificationList, RemovingTheLastNotificationsDropsGroupAndHeader)
{
    SBHomeScreen home;
    auto first = home.publishBulletin("com.apple.Music", "Tintwell", "one");
    auto second = home.publishBulletin("com.apple.Music", "Tintwell", "two");
    auto other = home.publishBulletin("com.apple.AppStore", "Tintwell", "three");
    WeakPtr<UIView> header(home.listController()->sectionHeaderView().get());
    ASSERT_TRUE(header.get());

    EXPECT_TRUE(home.removeNotification(second));
    EXPECT_FALSE(home.cellForNotification(second));
    auto music = home.groupListView("com.apple.Music");
    ASSERT_TRUE(music);
    // A group of one has no coalescing cells among its subviews.
    EXPECT_EQ(music->subviewList().size(), 1u);
    EXPECT_EQ(summaryOf(home, first), "");

    EXPECT_TRUE(home.removeNotification(first));
    EXPECT_FALSE(home.groupListView("com.apple.Music"));
    EXPECT_TRUE(header.get());
    EXPECT_TRUE(home.removeNotification(other));
    EXPECT_FALSE(header.get());
    EXPECT_TRUE(home.notificationIdentifiers().empty());
    EXPECT_FALSE(home.removeNotification(other));
}

TEST_F(NotificationList, BannerShowsOnTopWhileUnlockedAndRetracts)
{
    SBHomeScreen home;
    auto identifier = home.publishBulletin("com.apple.MobileSMS", "Tintwell", "Test banner!", SBHomeScreen::destinationBanner);
    EXPECT_FALSE(identifier.empty());
    EXPECT_TRUE(home.notificationIdentifiers().empty());
    auto banner = home.bannerView();
    ASSERT_TRUE(banner);
    ASSERT_EQ(banner->subviewList().size(), 1u);
    auto platter = banner->subviewList()[0];
    EXPECT_TRUE(isKind(platter.get(), "NCNotificationShortLookView"));
    EXPECT_EQ(platter->window(), home.window());
    EXPECT_LT(platter->convertRectToView(platter->bounds(), nullptr).origin.y, 100);
    // Its colouring takes the lone-notification path.
    EXPECT_LE(ancestor(platter.get(), 3)->subviewList().size(), 2u);

    home.advanceTime(6.5);
    EXPECT_FALSE(home.bannerView());
    EXPECT_FALSE(platter->window());
}

TEST_F(NotificationList, LockedPhoneListsBannersAndAllDestinationsReachBoth)
{
    SBHomeScreen home;
    home.publishBulletin("com.apple.MobileSMS", "Tintwell", "both", 15);
    EXPECT_EQ(home.notificationIdentifiers().size(), 1u);
    EXPECT_TRUE(home.bannerView());

    home.lock();
    EXPECT_TRUE(home.isLocked());
    home.setBannerView(nullptr);
    home.publishBulletin("com.apple.MobileSMS", "Tintwell", "banner while locked", SBHomeScreen::destinationBanner);
    EXPECT_FALSE(home.bannerView());
    EXPECT_EQ(home.notificationIdentifiers().size(), 2u);
    home.unlock();
}

TEST_F(NotificationList, RepublishedBulletinReplacesItsNotification)
{
    SBHomeScreen home;
    auto bulletin = BBBulletin::create();
    bulletin->setSectionID(NSString::string("com.apple.MobileSMS").get());
    bulletin->setBulletinID(NSString::string("same").get());
    bulletin->setMessage(NSString::string("first").get());
    auto server = home.server();
    dispatch_sync(home.serverQueue().get(), [&] { server->publishBulletin(bulletin.get(), 4); });
    bulletin->setMessage(NSString::string("second").get());
    dispatch_sync(home.serverQueue().get(), [&] { server->publishBulletin(bulletin.get(), 4); });
    home.layoutNow();

    EXPECT_EQ(home.notificationIdentifiers(), std::vector<std::string> { "same" });
    auto look = home.cellForNotification("same")->contentViewController()->lookView();
    EXPECT_EQ(look->notificationContentView()->secondaryLabel()->textString(), "second");
}

TEST_F(NotificationList, BulletinsWithoutSectionOrServerEndQuietly)
{
    SBHomeScreen home;
    auto server = home.server();
    auto nameless = BBBulletin::create();
    dispatch_sync(home.serverQueue().get(), [&] {
        server->publishBulletin(nameless.get(), 4);
        server->publishBulletin(nullptr, 4, true);
    });
    home.layoutNow();
    EXPECT_TRUE(home.notificationIdentifiers().empty());
    EXPECT_FALSE(home.expandNotification("missing"));
    EXPECT_FALSE(home.swipeCell("missing"));
    EXPECT_FALSE(home.removeNotification("missing"));
    // A message with nil arguments answers nothing rather than failing.
    msgSend<void>(home.masterList(), SELECTOR("insertNotificationRequest:"), nullptr);
    msgSend<void>(home.rootListView(), SELECTOR("removeViewAtIndex:animated:"), 99ul, false);
    EXPECT_EQ(home.rootListView()->count(), 1u);
}

TEST_F(NotificationList, ServerQueueIsExportedWeaklyUnderItsSymbol)
{
    WeakPtr<OS_dispatch_queue> queue;
    {
        SBHomeScreen home;
        // As an extension looks it up: the process's own image, global mode alone.
        void* process = dlopenDevice(nullptr, RTLD_GLOBAL);
        ASSERT_TRUE(process);
        auto* exported = static_cast<WeakId*>(dlsym(process, "__BBServerQueue"));
        ASSERT_TRUE(exported);
        auto found = objc_loadWeakRetained(exported);
        EXPECT_EQ(found.get(), home.serverQueue().get());
        EXPECT_EQ(objectCast<OS_dispatch_queue>(found)->label(), BBServer::queueLabel);
        queue = home.serverQueue().get();
        dlclose(process);
    }
    // The export holds the queue weakly: it goes with its server.
    EXPECT_FALSE(queue.get());
    EXPECT_FALSE(objc_loadWeakRetained(&__BBServerQueue));
}

TEST_F(NotificationList, SlotsPlaceMediaAboveTheListAndWidgetsOverIt)
{
    SBHomeScreen home;
    auto media = UIView::create(CGRectMake(0, 0, 10, 120));
    home.setMediaControlsView(media);
    auto listView = home.listController()->view();
    EXPECT_EQ(media->frame().size.height, 120);
    EXPECT_GE(listView->frame().origin.y, media->convertRectToView(media->bounds(), nullptr).origin.y + 120);

    auto widgets = UIView::create();
    home.setWidgetsPageView(widgets);
    EXPECT_TRUE(widgets->superview()->isHidden());
    home.showWidgetsPage(true);
    EXPECT_FALSE(widgets->superview()->isHidden());
    EXPECT_EQ(widgets->frame().size.height, SBHomeScreen::screenSize.height);
    home.setMediaControlsView(nullptr);
    EXPECT_FALSE(media->superview());
}

TEST_F(NotificationList, PublishingAndRemovingAThousandLeavesNoObjectsBehind)
{
    SBHomeScreen home;
    // Warm the process-wide caches and singletons first.
    home.removeNotification(home.publishBulletin("com.apple.MobileSMS", "Tintwell", "warm-up"));
    home.expandNotification(home.publishBulletin("com.apple.Music", "Tintwell", "warm-up"));
    home.swipeCell(home.notificationIdentifiers().front());
    home.removeNotification(home.notificationIdentifiers().front());
    // Spare cells are kept for reuse until memory runs short.
    auto dropSpareCells = [&] { msgSend<void>(home.listController(), SELECTOR("didReceiveMemoryWarning")); };
    dropSpareCells();
    int64_t before = Object::liveObjectCount();

    // Published back to back on the server's queue, as a data provider does, and shown
    // in one run-loop turn.
    auto server = home.server();
    const char* sections[] = { "com.apple.MobileSMS", "com.apple.Music", "com.apple.AppStore", "com.example.app" };
    dispatch_sync(home.serverQueue().get(), [&] {
        for (int index = 0; index < 1000; ++index) {
            auto bulletin = BBBulletin::create();
            bulletin->setSectionID(NSString::string(sections[index % 4]).get());
            bulletin->setBulletinID(NSString::string("bulletin-" + std::to_string(index)).get());
            bulletin->setMessage(NSString::string("Message " + std::to_string(index)).get());
            server->publishBulletin(bulletin.get(), SBHomeScreen::destinationLockScreen, true);
        }
    });
    home.layoutNow();
    auto identifiers = home.notificationIdentifiers();
    ASSERT_EQ(identifiers.size(), 1000u);
    home.expandGroup("com.apple.Music");
    home.expandNotification(identifiers[5]);
    home.swipeCell(identifiers[9]);
    home.collapseLongLook();
    // Cleared in one go, like the clear-all button.
    auto masterList = home.masterList();
    for (auto& request : std::vector(masterList->requests()))
        msgSend<void>(masterList, SELECTOR("removeNotificationRequest:"), request);
    home.layoutNow();
    EXPECT_TRUE(home.notificationIdentifiers().empty());
    EXPECT_FALSE(home.groupListView("com.apple.Music"));

    dropSpareCells();
    EXPECT_EQ(Object::liveObjectCount(), before);
}

// ---- A list that scales: cells for what is on screen, reused as it scrolls ------------

constexpr const char* scrollApps[] = { "com.apple.MobileSMS", "com.apple.mobilemail", "com.apple.mobilecal", "com.apple.Music" };

std::vector<std::string> publishMany(SBHomeScreen& home, int count)
{
    std::vector<std::string> identifiers;
    for (int index = 0; index < count; ++index) {
        // Every third message wraps, so the cells differ in height.
        std::string message = "Message " + std::to_string(index) + (index % 3 ? "" : " that is long enough to wrap onto a second line");
        identifiers.push_back(home.publishBulletin(scrollApps[index % 4], "Sender " + std::to_string(index), message));
    }
    return identifiers;
}

size_t cellsInWindow(const UIView* view)
{
    size_t count = objectCast<const NCNotificationListCell>(view) ? 1 : 0;
    for (auto& child : view->subviewList())
        count += cellsInWindow(child.get());
    return count;
}

// The notification a shown cell stands for must be the one its texts and header show.
void expectCellsShowTheirNotifications(SBHomeScreen& home, const std::string& where)
{
    auto list = home.listController();
    for (auto& cell : list->shownCells()) {
        auto request = cell->contentViewController()->notificationRequest();
        ASSERT_TRUE(request) << where;
        auto identifier = std::string(request->identifier());
        EXPECT_EQ(home.cellForNotification(identifier), cell) << where;
        auto look = cell->contentViewController()->lookView();
        auto content = request->content();
        EXPECT_EQ(look->notificationContentView()->primaryLabel()->textString(), content->title()->utf8()) << where;
        EXPECT_EQ(look->notificationContentView()->secondaryLabel()->textString(), content->message()->utf8()) << where;
        auto title = NCNotificationShortLookViewController::displayNameForSection(request->sectionIdentifier().get());
        EXPECT_EQ(look->headerContentView()->titleLabel()->textString(), title->utf8()) << where;
        EXPECT_EQ(cell->frame().size.height, NCNotificationListCell::heightForRequest(request.get(), false)) << where;
        EXPECT_FALSE(cell->isSwipedOpen()) << where << ": " << identifier;
    }
}

TEST_F(NotificationList, OnlyNotificationsOnScreenHaveCellsWhichScrollingReuses)
{
    SBHomeScreen home;
    home.setGrouping(SBHomeScreen::Grouping::Off);
    auto identifiers = publishMany(home, 200);
    ASSERT_EQ(home.notificationIdentifiers().size(), 200u);
    size_t onScreen = cellsInWindow(home.window().get());
    // At most what fits in the list and the margins, the smallest cells counted.
    double reach = home.rootListView()->bounds().size.height + 2 * NCNotificationListView::visibleMargin;
    auto mostOnScreen = size_t(reach / NCNotificationListCell::heightForRequest(nullptr, false)) + 2;
    EXPECT_GT(onScreen, 5u);
    EXPECT_LE(onScreen, mostOnScreen);
    EXPECT_TRUE(home.cellForNotification(identifiers.back()));
    EXPECT_FALSE(home.cellForNotification(identifiers.front())) << "the oldest is far below the screen";

    std::set<const UIView*> cellsSeen;
    std::set<std::string> notificationsSeen;
    auto look = [&](const std::string& where) {
        expectCellsShowTheirNotifications(home, where);
        EXPECT_LE(cellsInWindow(home.window().get()), mostOnScreen) << where;
        for (auto& cell : home.listController()->shownCells()) {
            cellsSeen.insert(cell.get());
            notificationsSeen.insert(std::string(cell->contentViewController()->notificationRequest()->identifier()));
        }
    };
    look("at the top");
    while (home.listOffset() < home.maximumListOffset()) {
        home.scrollListBy(333);
        look("at " + std::to_string(home.listOffset()));
    }
    EXPECT_TRUE(home.cellForNotification(identifiers.front()));
    EXPECT_EQ(notificationsSeen.size(), 200u) << "scrolling through shows every notification";
    EXPECT_LE(cellsSeen.size(), mostOnScreen + NCNotificationStructuredListViewController::maximumReusableCells) << "cells are reused, not made per notification";
    // Back up, the newest again, in cells that showed others meanwhile.
    home.scrollListBy(-1e6);
    EXPECT_EQ(home.listOffset(), 0);
    look("back at the top");
    EXPECT_TRUE(home.cellForNotification(identifiers.back()));
}

TEST_F(NotificationList, ScrollingStaysWithinTheContentAndFollowsChanges)
{
    SBHomeScreen home;
    home.scrollListBy(200);
    EXPECT_EQ(home.listOffset(), 0) << "a list that fits does not scroll";
    auto identifiers = publishMany(home, 40);
    home.setGrouping(SBHomeScreen::Grouping::Off);
    home.scrollListTo(1e7);
    double bottom = home.listOffset();
    EXPECT_EQ(bottom, home.maximumListOffset());
    EXPECT_GT(bottom, 0);
    // What the list shows at the bottom ends with the oldest, fully on screen.
    auto oldest = home.cellForNotification(identifiers.front());
    ASSERT_TRUE(oldest);
    CGRect inList = oldest->convertRectToView(oldest->bounds(), home.rootListView().get());
    EXPECT_LE(CGRectGetMaxY(inList), bottom + home.rootListView()->bounds().size.height);

    EXPECT_TRUE(home.scrollToNotification(identifiers[20]));
    auto middle = home.cellForNotification(identifiers[20]);
    ASSERT_TRUE(middle);
    EXPECT_EQ(middle->convertRectToView(middle->bounds(), home.rootListView().get()).origin.y, home.listOffset());
    EXPECT_FALSE(home.scrollToNotification("not-listed"));

    // Removing notifications shortens the content: the list shows its new end, not a
    // screen scrolled past it.
    home.scrollListTo(1e7);
    for (int index = 0; index < 30; ++index)
        home.removeNotification(identifiers[size_t(index)]);
    EXPECT_EQ(home.listOffset(), home.maximumListOffset());
    EXPECT_TRUE(home.cellForNotification(identifiers[30]));
    expectCellsShowTheirNotifications(home, "after removals");
}

TEST_F(NotificationList, SwipingReachesCellsOffScreenAndReusedCellsComeClosed)
{
    SBHomeScreen home;
    home.setGrouping(SBHomeScreen::Grouping::Off);
    auto identifiers = publishMany(home, 60);
    ASSERT_FALSE(home.cellForNotification(identifiers.front()));
    ASSERT_TRUE(home.swipeCell(identifiers.front()));
    auto swiped = home.cellForNotification(identifiers.front());
    ASSERT_TRUE(swiped);
    EXPECT_TRUE(swiped->isSwipedOpen());
    // Away and back: whichever cell shows it now, it is closed, and so is every other.
    home.scrollListTo(0);
    expectCellsShowTheirNotifications(home, "after the swiped cell left");
    home.scrollListTo(home.maximumListOffset());
    EXPECT_FALSE(home.cellForNotification(identifiers.front())->isSwipedOpen());
    // The long look needs no cell on screen.
    home.scrollListTo(0);
    EXPECT_TRUE(home.expandNotification(identifiers.front()));
    EXPECT_TRUE(home.longLookViewController());
}

TEST_F(NotificationList, GroupingOffListsEveryNotificationOnItsOwnAndByAppRegroups)
{
    SBHomeScreen home;
    auto identifiers = publishMany(home, 8);
    auto section = home.listController()->sectionListView();
    EXPECT_EQ(section->count(), 4u) << "one group per app";

    home.setGrouping(SBHomeScreen::Grouping::Off);
    EXPECT_EQ(home.grouping(), SBHomeScreen::Grouping::Off);
    EXPECT_EQ(home.notificationIdentifiers(), identifiers);
    EXPECT_EQ(keyTexts(section->visibleViews().get()), identifiers) << "cells in the section, keyed oldest first";
    EXPECT_FALSE(home.groupListView(scrollApps[0]));
    EXPECT_FALSE(home.collapseGroup(scrollApps[0]));
    // The section's first visible view is a single cell; the one beside it another app's.
    auto visible = section->visibleViews();
    RefPtr<NCNotificationListCell> first = objectCast<NCNotificationListCell>(visible->objectForKey(visible->allKeys()->objectAtIndex(0).get()));
    RefPtr<NCNotificationListCell> second = objectCast<NCNotificationListCell>(visible->objectForKey(visible->allKeys()->objectAtIndex(1).get()));
    ASSERT_TRUE(first && second);
    EXPECT_NE(first->contentViewController()->notificationRequest()->sectionID(), second->contentViewController()->notificationRequest()->sectionID());
    EXPECT_TRUE(home.listController()->sectionHeaderView());
    // Newest on top, whatever the app.
    EXPECT_LT(home.cellForNotification(identifiers[7])->frame().origin.y, home.cellForNotification(identifiers[6])->frame().origin.y);
    expectCellsShowTheirNotifications(home, "ungrouped");

    auto late = home.publishBulletin(scrollApps[0], "Late", "Newest of all");
    EXPECT_EQ(keyTexts(section->visibleViews().get()).back(), late);
    home.removeNotification(identifiers[0]);

    home.setGrouping(SBHomeScreen::Grouping::ByApp);
    EXPECT_EQ(section->count(), 4u);
    auto messages = home.groupListView(scrollApps[0]);
    ASSERT_TRUE(messages);
    EXPECT_TRUE(messages->isGrouped()) << "groups made anew start stacked";
    EXPECT_EQ(messages->count(), 2u);
    EXPECT_EQ(summaryOf(home, late), "1 more notification");
    // An app's newest arrival decides nothing here: groups keep the order they were made in.
    EXPECT_EQ(home.listController()->appsInListOrder(), (std::vector<std::string> { scrollApps[0], scrollApps[3], scrollApps[2], scrollApps[1] }));
    for (auto& identifier : home.notificationIdentifiers())
        home.removeNotification(identifier);
    EXPECT_FALSE(home.listController()->sectionHeaderView());
}

TEST_F(NotificationList, KeysFindTheirItemsThroughRemovalsAndInsertions)
{
    // The list renumbers its keys lazily; every answer must still be the item's place.
    auto list = NCNotificationListView::create();
    std::vector<std::string> keys;
    int next = 0;
    auto append = [&] {
        keys.push_back("item-" + std::to_string(next++));
        list->insertItem(NSString::string(keys.back()).get(), 64, list->count(), false);
    };
    auto check = [&](const std::string& step) {
        ASSERT_EQ(list->count(), keys.size()) << step;
        for (size_t index = 0; index < keys.size(); ++index)
            ASSERT_EQ(list->indexOfKey(keys[index]), long(index)) << step << ": " << keys[index];
        // The content keeps the height of what is left.
        EXPECT_EQ(list->contentHeight(), keys.empty() ? 0 : double(keys.size()) * (64 + NCNotificationListView::spacing) - NCNotificationListView::spacing) << step;
    };
    for (int count = 0; count < 100; ++count)
        append();
    check("appended");
    std::vector<std::string> removed;
    for (int round = 0; round < 90; ++round) {
        // Oldest, newest and somewhere between, with arrivals in between.
        size_t index = round % 3 == 0 ? 0 : round % 3 == 1 ? keys.size() - 1 : (keys.size() * 7 / 13);
        removed.push_back(keys[index]);
        list->removeViewAtIndex(index, false);
        keys.erase(keys.begin() + long(index));
        if (round % 4 == 0)
            append();
        check("round " + std::to_string(round));
    }
    // One put further in renumbers every later one.
    keys.insert(keys.begin() + 5, "inserted");
    list->insertItem(NSString::string("inserted").get(), 64, 5, false);
    check("inserted at 5");
    for (auto& key : removed)
        EXPECT_EQ(list->indexOfKey(key), -1) << key;
    EXPECT_EQ(list->indexOfKey("never"), -1);
}

} // namespace
