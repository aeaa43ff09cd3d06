#pragma once

#include "platform/springboard/NCNotificationListCoalescingControlsView.h"

// The top of an expanded app group: the app's name with its "Show Less" and "Clear"
// toggles.
class NCNotificationListCoalescingHeaderCell : public UIView {
    TW_OBJECT(NCNotificationListCoalescingHeaderCell)
public:
    static constexpr double height = 44;

    static RefPtr<NCNotificationListCoalescingHeaderCell> create(std::string_view title);

    RefPtr<NCNotificationListCoalescingControlsView> coalescingControlsView() const { return m_coalescingControlsView; }

protected:
    NCNotificationListCoalescingHeaderCell() = default;

private:
    void layoutSubviewsImpl();

    RefPtr<NCNotificationListCoalescingControlsView> m_coalescingControlsView;
};
