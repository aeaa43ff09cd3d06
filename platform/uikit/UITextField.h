#pragma once

#include "platform/uikit/UIControl.h"
#include "platform/uikit/UILabel.h"

// A single line of editable text, shown right-aligned; the placeholder shows in grey while
// the text is empty. A user's edit sends editing-changed and editing-did-end actions.
class UITextField : public UIControl {
    TW_OBJECT(UITextField)
public:
    static constexpr unsigned long editingChangedEvent = 1 << 17;
    static constexpr unsigned long editingDidEndEvent = 1 << 18;

    static RefPtr<UITextField> create(CGRect frame = CGRectMake(0, 0, 180, 30)) { return UIView::create<UITextField>(frame); }

    RefPtr<NSString> text() const;
    void setText(NSString* text) { msgSend<void>(this, SELECTOR("setText:"), text); }
    RefPtr<NSString> placeholder() const { return m_placeholder; }
    void setPlaceholder(NSString* text) { msgSend<void>(this, SELECTOR("setPlaceholder:"), text); }

    // What typing the whole text and pressing return does.
    void userEnterText(NSString* text);

    ~UITextField() override;

protected:
    UITextField();

private:
    Id initWithFrameImpl(CGRect frame);
    Id textImpl() const { return text(); }
    void setTextImpl(RefPtr<NSString> text);
    void setPlaceholderImpl(RefPtr<NSString> text);
    void layoutSubviewsImpl();
    void updateLook();

    RefPtr<NSString> m_placeholder;
    RefPtr<UILabel> m_label;
    RefPtr<NSString> m_text;
};
