#pragma once

#include "platform/springboard/NCNotificationListCoalescingControlsView.h"

// The foot of an expanded app group: "Show Less" and "Clear All" toggles under the last
// notification.
class NCNotificationListCoalescingControlsCell : public UIView {
    TW_OBJECT(NCNotificationListCoalescingControlsCell)
public:
    static constexpr double height = 44;

    static RefPtr<NCNotificationListCoalescingControlsCell> create(std::string_view title);

    RefPtr<NCNotificationListCoalescingControlsView> coalescingControlsView() const { return m_coalescingControlsView; }

protected:
    NCNotificationListCoalescingControlsCell() = default;

private:
    void layoutSubviewsImpl();

    RefPtr<NCNotificationListCoalescingControlsView> m_coalescingControlsView;
};
