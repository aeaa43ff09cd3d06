#pragma once

#include "platform/graphics/CGGeometry.h"
#include "platform/runtime/Object.h"
#include "platform/springboard/NCNotificationStructuredListViewController.h"
#include "platform/springboard/SBHomeScreenCompanions.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class BBServer;
class NCNotificationListCell;
class NCNotificationListView;
class NCNotificationLongLookViewController;
class NCNotificationMasterList;
class OS_dispatch_queue;
class UIView;
class UIViewController;
class UIWindow;

// The home screen's notification side as the host, scenarios and tests drive it: one
// phone-sized window showing the lock screen (cover sheet) with, top to bottom, the
// media-controls slot, the notification list, and the widgets page over it when shown;
// banners and the expanded notification float above. Creating it makes the system's
// objects the way the phone does at launch: the bulletin server through the runtime
// (alloc + initWithQueue:dataProviderManager:... so an extension's replacement sees it),
// its queue exported as "__BBServerQueue", the master list and the structured list.
//
// Notifications are named by their request's notificationIdentifier (the bulletin's
// bulletinID). Everything runs on the main thread; each action ends with the main queue
// drained and a layout pass, so a snapshot taken after it shows the settled screen.
class SBHomeScreen {
public:
    // What a bulletin the server handed to the home screen said when it arrived. Copied
    // out, so the record holds no object of the run.
    struct PublishedBulletin {
        std::optional<std::string> title;
        std::optional<std::string> message;
        std::optional<std::string> sectionID;
        std::optional<std::string> bulletinID;
        std::optional<std::string> recordID;
        std::optional<std::string> publisherBulletinID;
        std::optional<std::string> launchBundleID;
        // Seconds since the reference date.
        std::optional<double> date;
        std::optional<double> publicationDate;
        std::optional<double> lastInterruptDate;
        bool clearable { false };
        bool showsMessagePreview { false };
        unsigned long destinations { 0 };
        bool alwaysToLockScreen { false };
        // The publish call the publisher sent.
        std::string call;
        // 1 for the server made at launch, counting up with each replacement.
        int server { 0 };
    };

    static constexpr CGSize screenSize { 390, 844 };

    // Bits of publishBulletin:destinations:.
    static constexpr unsigned long destinationBanner = 2;
    static constexpr unsigned long destinationLockScreen = 4;

    // Unspecified is the arbiter's style 0, which the system holds before it has settled on
    // one; views draw it as light.
    enum class Appearance { Light, Dark, Unspecified };

    SBHomeScreen();
    // With a bulletin server of another class (a BBServer subclass), for tests of servers
    // that answer differently; a class that is no BBServer leaves the home screen without one.
    explicit SBHomeScreen(Class serverClass);
    ~SBHomeScreen();
    SBHomeScreen(const SBHomeScreen&) = delete;
    SBHomeScreen& operator=(const SBHomeScreen&) = delete;

    // The live instance (the last one created and not yet destroyed), or null.
    static SBHomeScreen* current();

    // Builds a BBBulletin (fresh identifiers, the host clock's date, an action launching
    // the section's app), publishes it with publishBulletin:destinations:alwaysToLockScreen:
    // on the server's queue, as the phone's data providers do, then drains the main queue.
    // A server that answers only publishBulletin:destinations: gets that call. Answers the
    // bulletin's identifier, empty when there was no server to publish to.
    std::string publishBulletin(std::string_view sectionID, std::string_view title, std::string_view message,
        unsigned long destinations = destinationLockScreen);
    // The same for a bulletin without a section identifier, as system alerts have; its
    // request has none either, so the master list (which files by section) refuses it. On
    // the lock screen it shows only as the companions' cell without an app, until removed.
    std::string publishSectionlessBulletin(std::string_view title, std::string_view message, unsigned long destinations);
    // Every bulletin the servers delivered, oldest first.
    const std::vector<PublishedBulletin>& publishedBulletins() const;
    // Lets the bulletin server go and makes a new one of this class the way launch does
    // (through the runtime, so an extension's hooks see both). Without exportQueue the
    // process's "__BBServerQueue" is left empty. False when no server could be made.
    bool replaceServer(Class serverClass, bool exportQueue = true);
    // False when no such notification is in the list.
    bool removeNotification(std::string_view identifier);
    // Every notification of the list, oldest first.
    std::vector<std::string> notificationIdentifiers() const;

    struct LongLookOptions {
        // The app's own content view in place of the standard one (a notification content
        // extension's), through setCustomContentView:.
        bool customContent { false };
        // A Dayn container at the long look's leading edge, its delegate the long-look
        // controller (when Dayn is loaded).
        bool daynContainer { false };
    };
    // Presents the long look of a listed notification, on screen or not; false when it is not listed.
    bool expandNotification(std::string_view identifier) { return expandNotification(identifier, {}); }
    bool expandNotification(std::string_view identifier, const LongLookOptions&);
    // Dismisses the long look, if one is shown.
    void collapseLongLook();
    // Swipes the notification's cell open: its action buttons are created, configured for
    // the request and laid out; the list scrolls to it first when it is off screen. False
    // when it is not listed.
    bool swipeCell(std::string_view identifier);
    // Collapses (stacks) or expands an app's group; false when the app has no group.
    bool collapseGroup(std::string_view sectionID);
    bool expandGroup(std::string_view sectionID);
    // Reveals the notification history (revealNotificationHistory:animated: through the runtime).
    void revealHistory();

    // The list scrolls as a finger moves it: the offset is the distance from the top of its
    // content, kept between 0 and the content's height less the list's. Cells that leave
    // the screen are reused for those that come on.
    double listOffset() const;
    double maximumListOffset() const;
    void scrollListTo(double offset);
    void scrollListBy(double distance);
    // Scrolls so the notification's top is at the top of the list (as far as the list
    // goes); false when it is not listed.
    bool scrollToNotification(std::string_view identifier);

    // The phone's notification grouping setting: by app (groups, as new ones arrive
    // stacked) or off (every notification on its own, newest on top). Changing it
    // regroups what is listed.
    using Grouping = NCNotificationStructuredListViewController::Grouping;
    void setGrouping(Grouping);
    Grouping grouping() const;

    // Axon's and Grupi's app cells and Dayn's containers, when those libraries are loaded.
    const SBHomeScreenCompanions& companions() const;
    // Taps (or untaps) the app's cell in a companion's row; false when the row has no
    // cell for the app, or the companion is not loaded.
    bool selectCompanionCell(SBHomeScreenCompanions::AppCellRow, std::string_view bundleIdentifier, bool selected);

    // Locks the device through -[SBLockScreenManager lockUIFromSource:withOptions:].
    void lock();
    void unlock();
    bool isLocked() const;

    // The system's light/dark switch: traitCollectionDidChange: reaches every view and
    // controller whose style changed, then the screen is laid out, then the main queue is
    // drained (the materials reload their colours for the new style there).
    void setAppearance(Appearance);
    // Lays the whole window out now (every layoutSubviews / viewDidLayoutSubviews through
    // the runtime), after draining the main queue.
    void layoutNow();
    // Runs what is due on the main run loop without moving the clock.
    void drainMainQueue();
    // Moves the host clock forward, running timers and delayed selectors, then lays out.
    void advanceTime(double seconds);

    RefPtr<UIWindow> window() const;

    // Slots for other surfaces. A nil view empties the slot.
    // Above the notification list, full width, keeping the view's height.
    void setMediaControlsView(RefPtr<UIView>);
    // Fills the screen over the list while shown; hidden until showWidgetsPage(true).
    void setWidgetsPageView(RefPtr<UIView>);
    void showWidgetsPage(bool);
    // Puts a view in the banner container at the top of the screen, replacing the banner.
    void setBannerView(RefPtr<UIView>);

    // The system's objects, for tests.
    RefPtr<BBServer> server() const;
    RefPtr<OS_dispatch_queue> serverQueue() const;
    RefPtr<NCNotificationMasterList> masterList() const;
    RefPtr<NCNotificationStructuredListViewController> listController() const;
    // The top list view: sections inside it, app groups inside those.
    RefPtr<NCNotificationListView> rootListView() const;
    RefPtr<NCNotificationListView> groupListView(std::string_view sectionID) const;
    // The cell showing the notification now; nil while it is off screen.
    RefPtr<NCNotificationListCell> cellForNotification(std::string_view identifier) const;
    RefPtr<NCNotificationLongLookViewController> longLookViewController() const;
    // The banner container's current content, or nil.
    RefPtr<UIView> bannerView() const;

private:
    struct State;
    std::shared_ptr<State> m_state;
};
