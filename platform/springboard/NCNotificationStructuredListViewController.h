#pragma once

#include "platform/springboard/NCNotificationListCell.h"
#include "platform/springboard/NCNotificationListSectionHeaderView.h"
#include "platform/springboard/NCNotificationListSectionRevealHintView.h"
#include "platform/springboard/NCNotificationListView.h"
#include "platform/uikit/UIViewController.h"

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// The notification list on the lock screen. Its view holds the top list view, whose one
// section ("NCNotificationListSectionIncoming") holds the notifications as the grouping
// setting says:
// - by app (the default): an app group per app, keyed by the section identifier, each
//   holding the app's notifications; a lone one too (a group of one, without coalescing
//   cells). New groups are stacked (grouped).
// - off: every notification on its own in the section, newest on top, whatever its app.
// The section header ("Notification Center") exists while the section holds anything,
// made with alloc + initWithFrame: through the runtime. The reveal hint follows the
// section once the history is revealed.
//
// Notifications are data until they come on screen: the controller is the lists' data
// source, handing them a cell for a notification when it scrolls into view and taking it
// back when it leaves, to show another one (see NCNotificationListCell). Spare cells are
// let go on didReceiveMemoryWarning, as the phone empties its reuse queues.
class NCNotificationStructuredListViewController : public UIViewController {
    TW_OBJECT(NCNotificationStructuredListViewController)
public:
    static constexpr std::string_view incomingSectionIdentifier = "NCNotificationListSectionIncoming";
    static constexpr std::string_view sectionTitle = "Notification Center";
    static constexpr double horizontalMargin = 8;
    // Cells kept for reuse beyond those on screen; more are let go.
    static constexpr size_t maximumReusableCells = 24;

    enum class Grouping { ByApp, Off };

    static RefPtr<NCNotificationStructuredListViewController> create() { return UIViewController::create<NCNotificationStructuredListViewController>(); }

    // Show and drop requests; the master list sends these.
    void insertNotificationRequest(NCNotificationRequest* request) { msgSend<void>(this, SELECTOR("insertNotificationRequest:"), request); }
    void removeNotificationRequest(NCNotificationRequest* request) { msgSend<void>(this, SELECTOR("removeNotificationRequest:"), request); }

    void revealNotificationHistory(bool revealed, bool animated) { msgSend<void>(this, SELECTOR("revealNotificationHistory:animated:"), revealed, animated); }
    bool isNotificationHistoryRevealed() const { return m_historyRevealed; }

    // Regroups what is listed; new app groups start stacked.
    void setGrouping(Grouping);
    Grouping grouping() const { return m_grouping; }

    // The view loads on first use.
    RefPtr<NCNotificationListView> rootListView();
    RefPtr<NCNotificationListView> sectionListView();
    RefPtr<NCNotificationListSectionHeaderView> sectionHeaderView() const;
    RefPtr<NCNotificationListSectionRevealHintView> revealHintView() const { return m_revealHintView; }
    // Nil when grouping is off or the app has nothing listed.
    RefPtr<NCNotificationListView> groupListView(std::string_view sectionID);
    // The cell showing the notification now; nil while it is off screen.
    RefPtr<NCNotificationListCell> cellForNotification(std::string_view identifier);
    // The cells on screen, in the section's order.
    std::vector<RefPtr<NCNotificationListCell>> shownCells();
    bool isListed(std::string_view identifier) const { return m_listed.contains(std::string(identifier)); }
    // The apps with notifications, as the list shows them: newest group (or, ungrouped,
    // newest notification) first.
    std::vector<std::string> appsInListOrder();
    // Where the notification's top lies in the top list's content, as laid out; nullopt
    // when it is not listed.
    std::optional<double> contentOriginOfNotification(std::string_view identifier);

    // False when the app has no group.
    bool setGroupCollapsed(std::string_view sectionID, bool collapsed);

    ~NCNotificationStructuredListViewController() override;

protected:
    NCNotificationStructuredListViewController() = default;

private:
    struct Listed {
        RefPtr<NCNotificationRequest> request;
        uint64_t arrival { 0 };
    };

    void loadViewImpl();
    void didReceiveMemoryWarningImpl();
    void letGo(NCNotificationListCell&);
    void viewWillLayoutSubviewsImpl();
    void insertNotificationRequestImpl(RefPtr<NCNotificationRequest> request);
    void removeNotificationRequestImpl(RefPtr<NCNotificationRequest> request);
    void revealNotificationHistoryImpl(bool revealed, bool animated);
    Id rootListViewImpl() { return rootListView(); }

    class CellSource final : public NCNotificationListView::DataSource {
    public:
        explicit CellSource(NCNotificationStructuredListViewController& owner)
            : m_owner(owner)
        {
        }
        RefPtr<UIView> listViewViewForKey(NCNotificationListView& list, const NSString* key) override { return m_owner.cellForKey(list, key); }
        void listViewDidEndDisplayingView(NCNotificationListView&, UIView* view) override { m_owner.reuseLater(view); }

    private:
        NCNotificationStructuredListViewController& m_owner;
    };

    RefPtr<UIView> cellForKey(NCNotificationListView& list, const NSString* key);
    void reuseLater(UIView* view);

    void list(NCNotificationRequest* request);
    void unlist(const Listed& listed);
    void ensureSectionHeader(NCNotificationListView& section);
    RefPtr<NCNotificationListView> makeGroup(NCNotificationRequest* request);
    // The stack's front shows how many notifications hide behind it: its height and the
    // summary of the cells on screen follow the group's count and state.
    void updateSummaries(NCNotificationListView& group);
    RefPtr<NSString> summaryFor(const NCNotificationListView& list, size_t index) const;
    // Layout must reach every list from the changed one up, since their heights depend on it.
    void invalidate(UIView* view);

    RefPtr<NCNotificationListView> m_rootListView;
    RefPtr<NCNotificationListView> m_sectionListView;
    RefPtr<NCNotificationListSectionRevealHintView> m_revealHintView;
    bool m_historyRevealed { false };
    Grouping m_grouping { Grouping::ByApp };

    std::unordered_map<std::string, Listed> m_listed;
    std::map<uint64_t, RefPtr<NCNotificationRequest>> m_arrivals;
    // Per app, the arrivals of its listed notifications: the newest tells where it shows.
    std::unordered_map<std::string, std::set<uint64_t>> m_appArrivals;
    uint64_t m_nextArrival { 0 };
    std::vector<RefPtr<NCNotificationListCell>> m_reusableCells;
    CellSource m_cellSource { *this };
};
