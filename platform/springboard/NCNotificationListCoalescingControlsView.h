#pragma once

#include "platform/springboard/NCToggleControlPair.h"

// The controls of an app group: a title and a pair of toggles ("Show Less", "Clear").
class NCNotificationListCoalescingControlsView : public UIView {
    TW_OBJECT(NCNotificationListCoalescingControlsView)
public:
    static RefPtr<NCNotificationListCoalescingControlsView> create(std::string_view title, std::string_view leadingToggle, std::string_view trailingToggle);

    RefPtr<NCToggleControlPair> toggleControlPair() const { return m_toggleControlPair; }
    RefPtr<UILabel> titleLabel() const { return m_titleLabel; }

protected:
    NCNotificationListCoalescingControlsView() = default;

private:
    void layoutSubviewsImpl();

    RefPtr<UILabel> m_titleLabel;
    RefPtr<NCToggleControlPair> m_toggleControlPair;
};
