#include "platform/uikit/UITextField.h"

Class UITextField::classObject()
{
    static Class cls = ClassBuilder<UITextField>("UITextField", UIControl::classObject())
                           .method<&UITextField::initWithFrameImpl>("initWithFrame:")
                           .method<&UITextField::textImpl>("text")
                           .method<&UITextField::setTextImpl>("setText:")
                           .method<&UITextField::placeholder>("placeholder")
                           .method<&UITextField::setPlaceholderImpl>("setPlaceholder:")
                           .method<&UITextField::layoutSubviewsImpl>("layoutSubviews")
                           .build();
    return cls;
}

UITextField::UITextField() = default;
UITextField::~UITextField() = default;

Id UITextField::initWithFrameImpl(CGRect frame)
{
    auto self = msgSendSuper<Id>(this, classObject(), SELECTOR("initWithFrame:"), frame);
    if (!self)
        return nullptr;
    m_label = UILabel::create();
    m_label->setTextAlignment(NSTextAlignmentRight);
    addSubview(m_label.get());
    updateLook();
    return self;
}

RefPtr<NSString> UITextField::text() const
{
    // A text field's text is never nil on the phone.
    return m_text ? m_text : NSString::string();
}

void UITextField::setTextImpl(RefPtr<NSString> text)
{
    m_text = std::move(text);
    updateLook();
}

void UITextField::setPlaceholderImpl(RefPtr<NSString> text)
{
    m_placeholder = std::move(text);
    updateLook();
}

void UITextField::userEnterText(NSString* text)
{
    setText(text);
    sendActionsForControlEvents(editingChangedEvent);
    sendActionsForControlEvents(editingDidEndEvent);
}

void UITextField::updateLook()
{
    if (!m_label)
        return;
    bool empty = !m_text || m_text->utf8().empty();
    m_label->setText(empty ? m_placeholder.get() : m_text.get());
    m_label->setTextColor(empty ? UIColor::colorWithWhite(0.7, 1).get() : UIColor::colorWithWhite(0.3, 1).get());
}

void UITextField::layoutSubviewsImpl()
{
    if (m_label)
        m_label->setFrame(bounds());
}
