#pragma once

#include "platform/foundation/NSString.h"
#include "platform/uikit/UIFont.h"
#include "platform/uikit/UIView.h"

#include <string>

enum NSTextAlignment : long {
    NSTextAlignmentLeft = 0,
    NSTextAlignmentCenter = 1,
    NSTextAlignmentRight = 2,
    NSTextAlignmentJustified = 3,
    NSTextAlignmentNatural = 4,
};

// A view that shows text.
class UILabel : public UIView {
    TW_OBJECT(UILabel)
public:
    static RefPtr<UILabel> create(CGRect frame = CGRectZero) { return UIView::create<UILabel>(frame); }

    RefPtr<NSString> text() const { return m_text; }
    // The text as UTF-8, empty when there is none.
    std::string textString() const;
    void setText(NSString* text) { msgSend<void>(this, SELECTOR("setText:"), text); }
    void setText(std::string_view text);
    long textAlignment() const { return m_textAlignment; }
    void setTextAlignment(long alignment) { msgSend<void>(this, SELECTOR("setTextAlignment:"), alignment); }
    // Never nil: nil resets the system font of size 17.
    RefPtr<UIFont> font() const { return m_font; }
    void setFont(UIFont* font) { msgSend<void>(this, SELECTOR("setFont:"), font); }
    // Never nil: nil resets black.
    RefPtr<UIColor> textColor() const { return m_textColor; }
    void setTextColor(UIColor* color) { msgSend<void>(this, SELECTOR("setTextColor:"), color); }
    // 0 means as many lines as the text needs.
    long numberOfLines() const { return m_numberOfLines; }
    void setNumberOfLines(long lines) { msgSend<void>(this, SELECTOR("setNumberOfLines:"), lines); }

    ~UILabel() override;

protected:
    UILabel();

private:
    void setTextImpl(RefPtr<NSString> text) { m_text = std::move(text); }
    void setTextAlignmentImpl(long alignment) { m_textAlignment = alignment; }
    void setFontImpl(RefPtr<UIFont> font);
    void setTextColorImpl(RefPtr<UIColor> color);
    void setNumberOfLinesImpl(long lines) { m_numberOfLines = lines; }

    RefPtr<NSString> m_text;
    long m_textAlignment { NSTextAlignmentNatural };
    RefPtr<UIFont> m_font;
    RefPtr<UIColor> m_textColor;
    long m_numberOfLines { 1 };
};
