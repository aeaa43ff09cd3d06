#include "platform/uikit/UILabel.h"

#include "platform/foundation/NSString.h"

Class UILabel::classObject()
{
    static Class cls = ClassBuilder<UILabel>("UILabel", UIView::classObject())
                           .method<&UILabel::text>("text")
                           .method<&UILabel::setTextImpl>("setText:")
                           .method<&UILabel::textAlignment>("textAlignment")
                           .method<&UILabel::setTextAlignmentImpl>("setTextAlignment:")
                           .method<&UILabel::font>("font")
                           .method<&UILabel::setFontImpl>("setFont:")
                           .method<&UILabel::textColor>("textColor")
                           .method<&UILabel::setTextColorImpl>("setTextColor:")
                           .method<&UILabel::numberOfLines>("numberOfLines")
                           .method<&UILabel::setNumberOfLinesImpl>("setNumberOfLines:")
                           .ivar<&UILabel::m_text>("_text")
                           .ivar<&UILabel::m_textColor>("_textColor")
                           .build();
    return cls;
}

UILabel::UILabel()
    : m_font(UIFont::systemFontOfSize(17))
    , m_textColor(UIColor::blackColor())
{
}

UILabel::~UILabel() = default;

std::string UILabel::textString() const
{
    return m_text ? m_text->utf8() : std::string();
}

void UILabel::setText(std::string_view text)
{
    setText(NSString::string(text).get());
}

void UILabel::setFontImpl(RefPtr<UIFont> font)
{
    m_font = font ? std::move(font) : UIFont::systemFontOfSize(17);
}

void UILabel::setTextColorImpl(RefPtr<UIColor> color)
{
    m_textColor = color ? std::move(color) : UIColor::blackColor();
}
