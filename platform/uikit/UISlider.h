#pragma once

#include "platform/uikit/UIControl.h"

// A horizontal slider between a minimum and a maximum: the track left of the thumb in the
// tint colour, the rest light grey, a white round thumb. Values are clamped to the range.
class UISlider : public UIControl {
    TW_OBJECT(UISlider)
public:
    static RefPtr<UISlider> create(CGRect frame = CGRectMake(0, 0, 200, 31)) { return UIView::create<UISlider>(frame); }

    double value() const { return m_value; }
    void setValue(double value) { msgSend<void>(this, SELECTOR("setValue:"), value); }
    double minimumValue() const { return m_minimumValue; }
    void setMinimumValue(double value) { msgSend<void>(this, SELECTOR("setMinimumValue:"), value); }
    double maximumValue() const { return m_maximumValue; }
    void setMaximumValue(double value) { msgSend<void>(this, SELECTOR("setMaximumValue:"), value); }

    // What a person's drag ending at the value does: the clamped value, then the
    // value-changed actions.
    void userSetValue(double value);

    ~UISlider() override;

protected:
    UISlider();

private:
    Id initWithFrameImpl(CGRect frame);
    void setValueImpl(double value);
    void setValueAnimatedImpl(double value, bool) { setValueImpl(value); }
    void setMinimumValueImpl(double value);
    void setMaximumValueImpl(double value);
    void layoutSubviewsImpl();
    void tintColorDidChangeImpl();
    double clamp(double value) const;

    double m_value { 0 };
    double m_minimumValue { 0 };
    double m_maximumValue { 1 };
    RefPtr<UIView> m_minimumTrack;
    RefPtr<UIView> m_maximumTrack;
    RefPtr<UIView> m_thumb;
};
