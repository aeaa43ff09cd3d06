#include "NotificationTestSupport.h"

#include "platform/foundation/NSRunLoop.h"
#include "platform/runtime/Substrate.h"
#include "platform/springboard/BBServer.h"
#include "platform/springboard/NCNotificationListCell.h"
#include "platform/springboard/NCNotificationStructuredListViewController.h"
#include "platform/springboard/NotificationClasses.h"
#include "platform/uikit/UITraitCollection.h"

#include <gmock/gmock.h>

#include <map>
#include <mutex>

using testing::ElementsAre;

namespace {

// What the replacements saw. They always call through, so other tests are unaffected.
struct Record {
    std::mutex mutex;
    std::map<std::string, int> calls;
    std::vector<std::string> order;
    std::vector<long> previousStyles;
    Object* capturedServer { nullptr };
    bool insertedOnMainThread { true };
    bool publishedOnServerQueue { true };
    bool blankDates { false };
    // Per short-look controller: the notification last sent to it by setNotificationRequest:,
    // and whether it was laid out after that.
    std::map<const Object*, std::string> requestSent;
    std::map<const Object*, bool> laidOutSinceRequest;

    void note(const std::string& name)
    {
        std::lock_guard lock(mutex);
        ++calls[name];
        order.push_back(name);
    }
    int count(const std::string& name)
    {
        std::lock_guard lock(mutex);
        return calls[name];
    }
    void reset()
    {
        std::lock_guard lock(mutex);
        calls.clear();
        order.clear();
        previousStyles.clear();
        requestSent.clear();
        laidOutSinceRequest.clear();
    }
};

Record& record()
{
    static auto* shared = new Record;
    return *shared;
}

Id (*previousServerInit)(id, SEL, id, id, id, id, id, id, id, id, id);
Id serverInit(id self, SEL sel, id queue, id a, id b, id c, id d, id e, id f, id g, id h)
{
    Id result = previousServerInit(self, sel, queue, a, b, c, d, e, f, g, h);
    record().note("BBServer init");
    record().capturedServer = result.get();
    return result;
}

void (*previousPublish)(id, SEL, id, unsigned long, bool);
void publish(id self, SEL sel, id bulletin, unsigned long destinations, bool always)
{
    auto queue = uncheckedObjectCast<BBServer>(self)->queue();
    if (!queue || !queue->isCurrent())
        record().publishedOnServerQueue = false;
    record().note("publishBulletin");
    previousPublish(self, sel, bulletin, destinations, always);
}

void (*previousInsertRequest)(id, SEL, id);
void insertRequest(id self, SEL sel, id request)
{
    if (!NSRunLoop::isMainThread())
        record().insertedOnMainThread = false;
    record().note("insertNotificationRequest:");
    previousInsertRequest(self, sel, request);
}

void (*previousRemoveRequest)(id, SEL, id);
void removeRequest(id self, SEL sel, id request)
{
    record().note("removeNotificationRequest:");
    previousRemoveRequest(self, sel, request);
}

#define PASS_THROUGH_0(name, label)                \
    void (*previous##name)(id, SEL);               \
    void name(id self, SEL sel)                    \
    {                                              \
        record().note(label);                      \
        previous##name(self, sel);                 \
    }

void (*previousshortLookDidLayout)(id, SEL);
void shortLookDidLayout(id self, SEL sel)
{
    record().note("viewDidLayoutSubviews");
    record().laidOutSinceRequest[self] = true;
    previousshortLookDidLayout(self, sel);
}

void (*previousSetRequest)(id, SEL, id);
void setRequest(id self, SEL sel, id request)
{
    record().note("setNotificationRequest:");
    RefPtr<NSString> identifier = objectCast<NSString>(msgSend<Id>(request, sel_registerName("notificationIdentifier")));
    record().requestSent[self] = identifier ? identifier->utf8() : std::string();
    record().laidOutSinceRequest[self] = false;
    previousSetRequest(self, sel, request);
}
PASS_THROUGH_0(layoutClearButton, "_layoutClearButton")
PASS_THROUGH_0(headerDealloc, "header dealloc")
PASS_THROUGH_0(layoutRevealHint, "_layoutRevealHintTitle")
PASS_THROUGH_0(listLayout, "list layoutSubviews")
PASS_THROUGH_0(contentLayout, "content layoutSubviews")
PASS_THROUGH_0(updateTopMargin, "_updateTopMargin")
PASS_THROUGH_0(buttonsLayout, "buttons layoutSubviews")

Id (*previousHeaderInit)(id, SEL, CGRect);
Id headerInit(id self, SEL sel, CGRect frame)
{
    record().note("header initWithFrame:");
    return previousHeaderInit(self, sel, frame);
}

void (*previousShortLookTraits)(id, SEL, id);
void shortLookTraits(id self, SEL sel, id previous)
{
    record().note("short look traitCollectionDidChange:");
    {
        std::lock_guard lock(record().mutex);
        auto* traits = objectCast<UITraitCollection>(previous);
        record().previousStyles.push_back(traits ? traits->userInterfaceStyle() : 0);
    }
    previousShortLookTraits(self, sel, previous);
}

void (*previousListTraits)(id, SEL, id);
void listTraits(id self, SEL sel, id previous)
{
    record().note("list traitCollectionDidChange:");
    previousListTraits(self, sel, previous);
}

void (*previousHeaderTraits)(id, SEL, id);
void headerTraits(id self, SEL sel, id previous)
{
    record().note("header traitCollectionDidChange:");
    previousHeaderTraits(self, sel, previous);
}

void (*previousInsertView)(id, SEL, unsigned long, bool);
void insertView(id self, SEL sel, unsigned long index, bool animated)
{
    record().note("insertViewAtIndex:animated:");
    previousInsertView(self, sel, index, animated);
}

void (*previousRemoveView)(id, SEL, unsigned long, bool);
void removeView(id self, SEL sel, unsigned long index, bool animated)
{
    record().note("removeViewAtIndex:animated:");
    previousRemoveView(self, sel, index, animated);
}

void (*previousReveal)(id, SEL, bool, bool);
void reveal(id self, SEL sel, bool revealed, bool animated)
{
    record().note("revealNotificationHistory:animated:");
    previousReveal(self, sel, revealed, animated);
}

void (*previousSetDate)(id, SEL, id);
void setDate(id self, SEL sel, id date)
{
    record().note("setDate:");
    // Like the extension's date hiding: the system must show what the replacement passes.
    previousSetDate(self, sel, record().blankDates ? nullptr : date);
}

void (*previousLayoutTitle)(id, SEL, double);
void layoutTitle(id self, SEL sel, double scale)
{
    record().note("_layoutTitleLabelWithScale:");
    previousLayoutTitle(self, sel, scale);
}

void (*previousConfigureOpen)(id, SEL, id, id);
void configureOpen(id self, SEL sel, id request, id cell)
{
    record().note("configureOpen");
    previousConfigureOpen(self, sel, request, cell);
}

void (*previousConfigureCell)(id, SEL, id, id, id);
void configureCell(id self, SEL sel, id request, id settings, id cell)
{
    record().note("configureCell");
    previousConfigureCell(self, sel, request, settings, cell);
}

// Installed once, before any home screen exists, as an extension is loaded before launch.
void installHooks()
{
    static bool installed = [] {
        registerNotificationClasses();
        MSHookMessageEx(objc_getClass("BBServer"), sel_registerName("initWithQueue:dataProviderManager:syncService:dismissalSyncCache:observerListener:utilitiesListener:conduitListener:systemStateListener:settingsListener:"), &serverInit, &previousServerInit);
        MSHookMessageEx(objc_getClass("BBServer"), sel_registerName("publishBulletin:destinations:alwaysToLockScreen:"), &publish, &previousPublish);
        MSHookMessageEx(objc_getClass("NCNotificationMasterList"), sel_registerName("insertNotificationRequest:"), &insertRequest, &previousInsertRequest);
        MSHookMessageEx(objc_getClass("NCNotificationMasterList"), sel_registerName("removeNotificationRequest:"), &removeRequest, &previousRemoveRequest);
        MSHookMessageEx(objc_getClass("NCNotificationShortLookViewController"), sel_registerName("viewDidLayoutSubviews"), &shortLookDidLayout, &previousshortLookDidLayout);
        MSHookMessageEx(objc_getClass("NCNotificationShortLookViewController"), sel_registerName("traitCollectionDidChange:"), &shortLookTraits, &previousShortLookTraits);
        MSHookMessageEx(objc_getClass("NCNotificationShortLookViewController"), sel_registerName("setNotificationRequest:"), &setRequest, &previousSetRequest);
        MSHookMessageEx(objc_getClass("NCNotificationListSectionHeaderView"), sel_registerName("_layoutClearButton"), &layoutClearButton, &previouslayoutClearButton);
        MSHookMessageEx(objc_getClass("NCNotificationListSectionHeaderView"), sel_registerName("initWithFrame:"), &headerInit, &previousHeaderInit);
        MSHookMessageEx(objc_getClass("NCNotificationListSectionHeaderView"), sel_registerName("dealloc"), &headerDealloc, &previousheaderDealloc);
        MSHookMessageEx(objc_getClass("NCNotificationListSectionHeaderView"), sel_registerName("traitCollectionDidChange:"), &headerTraits, &previousHeaderTraits);
        MSHookMessageEx(objc_getClass("NCNotificationListSectionRevealHintView"), sel_registerName("_layoutRevealHintTitle"), &layoutRevealHint, &previouslayoutRevealHint);
        MSHookMessageEx(objc_getClass("NCNotificationListView"), sel_registerName("layoutSubviews"), &listLayout, &previouslistLayout);
        MSHookMessageEx(objc_getClass("NCNotificationListView"), sel_registerName("traitCollectionDidChange:"), &listTraits, &previousListTraits);
        MSHookMessageEx(objc_getClass("NCNotificationListView"), sel_registerName("insertViewAtIndex:animated:"), &insertView, &previousInsertView);
        MSHookMessageEx(objc_getClass("NCNotificationListView"), sel_registerName("removeViewAtIndex:animated:"), &removeView, &previousRemoveView);
        MSHookMessageEx(objc_getClass("NCNotificationStructuredListViewController"), sel_registerName("revealNotificationHistory:animated:"), &reveal, &previousReveal);
        MSHookMessageEx(objc_getClass("NCNotificationContentView"), sel_registerName("layoutSubviews"), &contentLayout, &previouscontentLayout);
        MSHookMessageEx(objc_getClass("NCNotificationLongLookView"), sel_registerName("_updateTopMargin"), &updateTopMargin, &previousupdateTopMargin);
        MSHookMessageEx(objc_getClass("PLPlatterHeaderContentView"), sel_registerName("setDate:"), &setDate, &previousSetDate);
        MSHookMessageEx(objc_getClass("PLPlatterHeaderContentView"), sel_registerName("_layoutTitleLabelWithScale:"), &layoutTitle, &previousLayoutTitle);
        MSHookMessageEx(objc_getClass("NCNotificationListCellActionButtonsView"), sel_registerName("configureOpenActionButtonForNotificationRequest:cell:"), &configureOpen, &previousConfigureOpen);
        MSHookMessageEx(objc_getClass("NCNotificationListCellActionButtonsView"), sel_registerName("configureCellActionButtonsForNotificationRequest:sectionSettings:cell:"), &configureCell, &previousConfigureCell);
        MSHookMessageEx(objc_getClass("NCNotificationListCellActionButtonsView"), sel_registerName("layoutSubviews"), &buttonsLayout, &previousbuttonsLayout);
        return true;
    }();
    (void)installed;
    record().reset();
}

class SystemCallsThroughTheRuntime : public HomeScreenTest {
protected:
    void SetUp() override
    {
        HomeScreenTest::SetUp();
        installHooks();
    }
};

TEST_F(SystemCallsThroughTheRuntime, ServerIsMadeThroughItsInitialiserAndPublishesOnItsQueue)
{
    SBHomeScreen home;
    EXPECT_EQ(record().count("BBServer init"), 1);
    EXPECT_EQ(record().capturedServer, home.server().get());
    int insertionsAtLaunch = record().count("insertViewAtIndex:animated:");

    auto identifier = home.publishBulletin("com.apple.MobileSMS", "Tintwell", "hello");
    EXPECT_EQ(record().count("publishBulletin"), 1);
    EXPECT_TRUE(record().publishedOnServerQueue);
    EXPECT_EQ(record().count("insertNotificationRequest:"), 1);
    EXPECT_TRUE(record().insertedOnMainThread);
    // The app's group, then its cell.
    EXPECT_EQ(record().count("insertViewAtIndex:animated:") - insertionsAtLaunch, 2);

    home.removeNotification(identifier);
    EXPECT_EQ(record().count("removeNotificationRequest:"), 1);
    EXPECT_EQ(record().count("removeViewAtIndex:animated:"), 2);
}

TEST_F(SystemCallsThroughTheRuntime, LayoutPassesReachTheReplacedMethods)
{
    SBHomeScreen home;
    auto identifier = home.publishBulletin("com.apple.MobileSMS", "Tintwell", "hello");
    EXPECT_EQ(record().count("header initWithFrame:"), 1);
    EXPECT_GE(record().count("viewDidLayoutSubviews"), 1);
    EXPECT_GE(record().count("_layoutClearButton"), 1);
    EXPECT_GE(record().count("list layoutSubviews"), 3);
    EXPECT_GE(record().count("content layoutSubviews"), 1);
    EXPECT_GE(record().count("_layoutTitleLabelWithScale:"), 1);
    EXPECT_GE(record().count("setDate:"), 1);

    home.revealHistory();
    EXPECT_EQ(record().count("revealNotificationHistory:animated:"), 1);
    EXPECT_GE(record().count("_layoutRevealHintTitle"), 1);

    home.expandNotification(identifier);
    EXPECT_GE(record().count("_updateTopMargin"), 1);

    home.swipeCell(identifier);
    std::vector<std::string> configures;
    for (auto& name : record().order) {
        if (name.starts_with("configure"))
            configures.push_back(name);
    }
    EXPECT_THAT(configures, ElementsAre("configureOpen", "configureCell"));
    EXPECT_GE(record().count("buttons layoutSubviews"), 1);

    home.removeNotification(identifier);
    EXPECT_EQ(record().count("header dealloc"), 1);
}

TEST_F(SystemCallsThroughTheRuntime, AppearanceChangeSendsThePreviousTraits)
{
    SBHomeScreen home;
    home.publishBulletin("com.apple.MobileSMS", "Tintwell", "one");
    home.publishBulletin("com.apple.MobileSMS", "Tintwell", "two");
    record().reset();

    home.setAppearance(SBHomeScreen::Appearance::Dark);
    EXPECT_EQ(record().count("short look traitCollectionDidChange:"), 2);
    EXPECT_THAT(record().previousStyles, ElementsAre(UIUserInterfaceStyleLight, UIUserInterfaceStyleLight));
    EXPECT_GE(record().count("list traitCollectionDidChange:"), 3);
    EXPECT_EQ(record().count("header traitCollectionDidChange:"), 1);
    // Then everything is laid out again.
    EXPECT_GE(record().count("viewDidLayoutSubviews"), 2);

    record().reset();
    home.setAppearance(SBHomeScreen::Appearance::Dark);
    EXPECT_EQ(record().count("short look traitCollectionDidChange:"), 0);
}

TEST_F(SystemCallsThroughTheRuntime, HeaderShowsWhatTheReplacementPasses)
{
    SBHomeScreen home;
    record().blankDates = true;
    auto identifier = home.publishBulletin("com.apple.MobileSMS", "Tintwell", "no date");
    record().blankDates = false;
    auto header = home.cellForNotification(identifier)->contentViewController()->lookView()->headerContentView();
    EXPECT_FALSE(header->date());
    EXPECT_EQ(header->dateLabel()->textString(), "");

    auto dated = home.publishBulletin("com.apple.Music", "Tintwell", "dated");
    auto datedHeader = home.cellForNotification(dated)->contentViewController()->lookView()->headerContentView();
    EXPECT_EQ(datedHeader->dateLabel()->textString(), "now");
    home.advanceTime(125);
    home.layoutNow();
    EXPECT_EQ(datedHeader->dateLabel()->textString(), "2m ago");
}

TEST_F(SystemCallsThroughTheRuntime, ReusedCellsAreToldTheirNewNotificationAndLaidOut)
{
    SBHomeScreen home;
    home.setGrouping(SBHomeScreen::Grouping::Off);
    for (int index = 0; index < 60; ++index)
        home.publishBulletin(index % 2 ? "com.apple.MobileSMS" : "com.apple.Music", "Tintwell", "Message " + std::to_string(index));
    // Each new one on top pushed the lowest out of reach; its cell came back on top.
    int reusedWhilePublishing = record().count("setNotificationRequest:");
    EXPECT_GT(reusedWhilePublishing, 0);

    while (home.listOffset() < home.maximumListOffset()) {
        home.scrollListBy(250);
        // Every cell on screen that was reused got its notification through the runtime and
        // was laid out after, which is where an extension repaints it.
        for (auto& cell : home.listController()->shownCells()) {
            auto controller = cell->contentViewController();
            auto sent = record().requestSent.find(controller.get());
            if (sent == record().requestSent.end())
                continue;
            EXPECT_EQ(sent->second, controller->notificationRequest()->identifier());
            EXPECT_TRUE(record().laidOutSinceRequest[controller.get()]);
        }
    }
    EXPECT_GE(record().count("setNotificationRequest:") - reusedWhilePublishing, 40);
}

} // namespace
