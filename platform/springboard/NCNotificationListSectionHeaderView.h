#pragma once

#include "platform/springboard/NCToggleControl.h"

// The header over a section of the notification list: its title ("Notification Center") and
// a clear button. Made with alloc + initWithFrame: through the runtime; its layout sends
// _layoutClearButton. A style change recolours the title.
class NCNotificationListSectionHeaderView : public UIView {
    TW_OBJECT(NCNotificationListSectionHeaderView)
public:
    static constexpr double height = 44;

    RefPtr<NSString> title() const { return m_titleLabel->text(); }
    void setTitle(NSString* title) { msgSend<void>(this, SELECTOR("setTitle:"), title); }
    RefPtr<UILabel> titleLabel() const { return m_titleLabel; }
    RefPtr<NCToggleControl> clearButton() const { return m_clearButton; }

protected:
    NCNotificationListSectionHeaderView() = default;

private:
    Id initWithFrameImpl(CGRect frame);
    void deallocImpl();
    Id titleImpl() const { return title(); }
    void setTitleImpl(RefPtr<NSString> title);
    void layoutSubviewsImpl();
    void layoutClearButtonImpl();
    void traitCollectionDidChangeImpl(UITraitCollection* previous);

    RefPtr<UILabel> m_titleLabel;
    RefPtr<NCToggleControl> m_clearButton;
};
