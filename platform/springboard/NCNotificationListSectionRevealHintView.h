#pragma once

#include "platform/springboard/SBUILegibilityLabel.h"

// The hint under the notification list once the history is revealed ("No Older
// Notifications"). Its layout sends _layoutRevealHintTitle, which places the label; the
// text is set once, when the view is made.
class NCNotificationListSectionRevealHintView : public UIView {
    TW_OBJECT(NCNotificationListSectionRevealHintView)
public:
    static constexpr double height = 44;
    static constexpr std::string_view defaultHint = "No Older Notifications";

    RefPtr<SBUILegibilityLabel> revealHintTitle() const { return m_revealHintTitle; }

protected:
    NCNotificationListSectionRevealHintView() = default;

private:
    Id initWithFrameImpl(CGRect frame);
    void layoutSubviewsImpl();
    void layoutRevealHintTitleImpl();

    RefPtr<SBUILegibilityLabel> m_revealHintTitle;
};
