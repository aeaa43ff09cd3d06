#pragma once

#include "platform/springboard/NCNotificationListCellActionButtonsView.h"
#include "platform/springboard/NCNotificationShortLookViewController.h"

// One notification in a list: its content view holds the short-look controller's view, so
// that view, the content view, the cell and the app group's list are ancestors in that
// order. Swiping opens the action buttons beside the content. The list reuses cells: a cell
// that left the screen shows the next notification after its controller is sent
// setNotificationRequest:, closed if it was swiped open.
class NCNotificationListCell : public UIView {
    TW_OBJECT(NCNotificationListCell)
public:
    static RefPtr<NCNotificationListCell> create() { return UIView::create<NCNotificationListCell>(); }

    RefPtr<NCNotificationShortLookViewController> contentViewController() const { return m_contentViewController; }
    void setContentViewController(NCNotificationShortLookViewController* controller)
    {
        msgSend<void>(this, SELECTOR("setContentViewController:"), controller);
    }
    RefPtr<UIView> contentView() const { return m_contentView; }
    RefPtr<NCNotificationListCellActionButtonsView> cellActionButtonsView() const { return m_cellActionButtonsView; }

    // Creates the action buttons (alloc + initWithFrame: through the runtime) on the first
    // swipe, configures them for the request with both configure messages and slides the
    // content aside; the next layout pass lays them out.
    void swipeOpen();
    void closeSwipe();
    bool isSwipedOpen() const { return m_swipedOpen; }

    double preferredHeight(double width) const;
    // The height a cell showing the request takes, known without making one: the texts
    // decide it, with the stack summary line below them or not.
    static double heightForRequest(const NCNotificationRequest* request, bool withSummary);

    // A cell stacked behind the front one of a collapsed group shows only the edges of its
    // platter: its header and texts fade out, and come back when it is in front again.
    void setStackedBehind(bool behind);

protected:
    NCNotificationListCell() = default;

private:
    Id initWithFrameImpl(CGRect frame);
    void setContentViewControllerImpl(RefPtr<NCNotificationShortLookViewController> controller);
    void layoutSubviewsImpl();

    RefPtr<NCNotificationShortLookViewController> m_contentViewController;
    RefPtr<UIView> m_contentView;
    RefPtr<NCNotificationListCellActionButtonsView> m_cellActionButtonsView;
    bool m_swipedOpen { false };
};
