#include "platform/uikit/UISwitch.h"

Class UISwitch::classObject()
{
    static Class cls = ClassBuilder<UISwitch>("UISwitch", UIControl::classObject())
                           .method<&UISwitch::initWithFrameImpl>("initWithFrame:")
                           .method<&UISwitch::isOn>("isOn")
                           .method<&UISwitch::setOnImpl>("setOn:")
                           .method<&UISwitch::setOnAnimatedImpl>("setOn:animated:")
                           .method<&UISwitch::onTintColor>("onTintColor")
                           .method<&UISwitch::setOnTintColorImpl>("setOnTintColor:")
                           .method<&UISwitch::layoutSubviewsImpl>("layoutSubviews")
                           .method<&UISwitch::tintColorDidChangeImpl>("tintColorDidChange")
                           .build();
    return cls;
}

UISwitch::UISwitch() = default;
UISwitch::~UISwitch() = default;

Id UISwitch::initWithFrameImpl(CGRect frame)
{
    // A switch has one size on the phone, whatever frame it is given.
    frame.size = CGSizeMake(51, 31);
    auto self = msgSendSuper<Id>(this, classObject(), SELECTOR("initWithFrame:"), frame);
    if (!self)
        return nullptr;
    layer()->setCornerRadius(15.5);
    m_knob = UIView::create(CGRectMake(2, 2, 27, 27));
    m_knob->setBackgroundColor(UIColor::whiteColor().get());
    m_knob->layer()->setCornerRadius(13.5);
    addSubview(m_knob.get());
    updateLook();
    return self;
}

void UISwitch::setOnImpl(bool on)
{
    m_on = on;
    updateLook();
    setNeedsLayout();
}

void UISwitch::userSetOn(bool on)
{
    setOn(on);
    sendActionsForControlEvents(UIControlEventValueChanged);
}

void UISwitch::setOnTintColorImpl(RefPtr<UIColor> color)
{
    m_onTintColor = std::move(color);
    updateLook();
}

void UISwitch::updateLook()
{
    if (!m_on) {
        setBackgroundColor(UIColor::colorWithWhite(0.88, 1).get());
        return;
    }
    if (m_onTintColor) {
        setBackgroundColor(m_onTintColor.get());
        return;
    }
    // The phone's switch is green unless told otherwise, even under a tint colour.
    setBackgroundColor(UIColor::colorWithRed(0.2, 0.78, 0.35, 1).get());
}

void UISwitch::layoutSubviewsImpl()
{
    if (!m_knob)
        return;
    double x = m_on ? bounds().size.width - 29 : 2;
    m_knob->setFrame(CGRectMake(x, 2, 27, 27));
}
