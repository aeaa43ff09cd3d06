#pragma once

#include "platform/springboard/NCNotificationListCell.h"
#include "platform/springboard/NCNotificationListSectionHeaderView.h"
#include "platform/springboard/NCNotificationListSectionRevealHintView.h"
#include "platform/springboard/NCNotificationListView.h"
#include "platform/uikit/UIViewController.h"

#include <string_view>

// The notification list on the lock screen. Its view holds the top list view, whose one
// section ("NCNotificationListSectionIncoming") holds an app group per app, keyed by the
// section identifier; each group holds the app's cells. Every notification sits in its
// app's group, a lone one too (a group of one cell, without coalescing cells). New groups
// are stacked (grouped); the section header ("Notification Center") exists while the
// section has groups, made with alloc + initWithFrame: through the runtime. The reveal
// hint follows the section once the history is revealed.
// Registered: loadView, viewWillLayoutSubviews, insertNotificationRequest:,
// removeNotificationRequest:, revealNotificationHistory:animated: ("v@:BB"),
// isNotificationHistoryRevealed, rootListView.
class NCNotificationStructuredListViewController : public UIViewController {
    TW_OBJECT(NCNotificationStructuredListViewController)
public:
    static constexpr std::string_view incomingSectionIdentifier = "NCNotificationListSectionIncoming";
    static constexpr std::string_view sectionTitle = "Notification Center";
    static constexpr double horizontalMargin = 8;

    static RefPtr<NCNotificationStructuredListViewController> create() { return UIViewController::create<NCNotificationStructuredListViewController>(); }

    // Show and drop requests; the master list sends these.
    void insertNotificationRequest(NCNotificationRequest* request) { msgSend<void>(this, SELECTOR("insertNotificationRequest:"), request); }
    void removeNotificationRequest(NCNotificationRequest* request) { msgSend<void>(this, SELECTOR("removeNotificationRequest:"), request); }

    void revealNotificationHistory(bool revealed, bool animated) { msgSend<void>(this, SELECTOR("revealNotificationHistory:animated:"), revealed, animated); }
    bool isNotificationHistoryRevealed() const { return m_historyRevealed; }

    // The view loads on first use.
    RefPtr<NCNotificationListView> rootListView();
    RefPtr<NCNotificationListView> sectionListView();
    RefPtr<NCNotificationListSectionHeaderView> sectionHeaderView() const;
    RefPtr<NCNotificationListSectionRevealHintView> revealHintView() const { return m_revealHintView; }
    RefPtr<NCNotificationListView> groupListView(std::string_view sectionID);
    RefPtr<NCNotificationListCell> cellForNotification(std::string_view identifier);

    // False when the app has no group.
    bool setGroupCollapsed(std::string_view sectionID, bool collapsed);

protected:
    NCNotificationStructuredListViewController() = default;

private:
    void loadViewImpl();
    void viewWillLayoutSubviewsImpl();
    void insertNotificationRequestImpl(RefPtr<NCNotificationRequest> request);
    void removeNotificationRequestImpl(RefPtr<NCNotificationRequest> request);
    void revealNotificationHistoryImpl(bool revealed, bool animated);
    Id rootListViewImpl() { return rootListView(); }

    RefPtr<NCNotificationListView> makeGroup(NCNotificationRequest* request);
    void updateSummaries(NCNotificationListView* group);
    // Layout must reach every list from the group up, since their heights depend on it.
    void invalidate(UIView* view);

    RefPtr<NCNotificationListView> m_rootListView;
    RefPtr<NCNotificationListView> m_sectionListView;
    RefPtr<NCNotificationListSectionRevealHintView> m_revealHintView;
    bool m_historyRevealed { false };
};
