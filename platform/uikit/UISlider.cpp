#include "platform/uikit/UISlider.h"

#include <algorithm>
#include <cmath>

Class UISlider::classObject()
{
    static Class cls = ClassBuilder<UISlider>("UISlider", UIControl::classObject())
                           .method<&UISlider::initWithFrameImpl>("initWithFrame:")
                           .method<&UISlider::value>("value")
                           .method<&UISlider::setValueImpl>("setValue:")
                           .method<&UISlider::setValueAnimatedImpl>("setValue:animated:")
                           .method<&UISlider::minimumValue>("minimumValue")
                           .method<&UISlider::setMinimumValueImpl>("setMinimumValue:")
                           .method<&UISlider::maximumValue>("maximumValue")
                           .method<&UISlider::setMaximumValueImpl>("setMaximumValue:")
                           .method<&UISlider::layoutSubviewsImpl>("layoutSubviews")
                           .method<&UISlider::tintColorDidChangeImpl>("tintColorDidChange")
                           .build();
    return cls;
}

UISlider::UISlider() = default;
UISlider::~UISlider() = default;

Id UISlider::initWithFrameImpl(CGRect frame)
{
    auto self = msgSendSuper<Id>(this, classObject(), SELECTOR("initWithFrame:"), frame);
    if (!self)
        return nullptr;
    m_maximumTrack = UIView::create();
    m_maximumTrack->setBackgroundColor(UIColor::colorWithWhite(0.85, 1).get());
    m_minimumTrack = UIView::create();
    m_thumb = UIView::create();
    m_thumb->setBackgroundColor(UIColor::whiteColor().get());
    m_thumb->layer()->setCornerRadius(13.5);
    m_thumb->layer()->setBorderWidth(0.5);
    m_thumb->layer()->setBorderColor(UIColor::colorWithWhite(0.7, 1)->CGColor().get());
    addSubview(m_maximumTrack.get());
    addSubview(m_minimumTrack.get());
    addSubview(m_thumb.get());
    tintColorDidChangeImpl();
    return self;
}

double UISlider::clamp(double value) const
{
    if (std::isnan(value))
        return m_minimumValue;
    return std::clamp(value, m_minimumValue, std::max(m_minimumValue, m_maximumValue));
}

void UISlider::setValueImpl(double value)
{
    m_value = clamp(value);
    setNeedsLayout();
}

void UISlider::userSetValue(double value)
{
    setValue(value);
    sendActionsForControlEvents(UIControlEventValueChanged);
}

void UISlider::setMinimumValueImpl(double value)
{
    m_minimumValue = value;
    m_value = clamp(m_value);
    setNeedsLayout();
}

void UISlider::setMaximumValueImpl(double value)
{
    m_maximumValue = value;
    m_value = clamp(m_value);
    setNeedsLayout();
}

void UISlider::tintColorDidChangeImpl()
{
    if (m_minimumTrack)
        m_minimumTrack->setBackgroundColor(effectiveTintColor().get());
}

void UISlider::layoutSubviewsImpl()
{
    if (!m_thumb)
        return;
    CGSize size = bounds().size;
    double thumb = 27;
    double span = m_maximumValue - m_minimumValue;
    double fraction = span > 0 ? (m_value - m_minimumValue) / span : 0;
    double travel = std::max(0.0, size.width - thumb);
    double thumbX = travel * fraction;
    double trackY = size.height / 2 - 2;
    m_minimumTrack->setFrame(CGRectMake(0, trackY, thumbX + thumb / 2, 4));
    m_maximumTrack->setFrame(CGRectMake(0, trackY, size.width, 4));
    m_thumb->setFrame(CGRectMake(thumbX, size.height / 2 - thumb / 2, thumb, thumb));
}
