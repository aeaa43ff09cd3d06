#pragma once

#include "platform/uikit/UIControl.h"

// An on/off switch, 51 × 31 points: a rounded track (the on tint when on, light grey when
// off) with a white knob at the right or left. A user's flip sends value-changed actions.
class UISwitch : public UIControl {
    TW_OBJECT(UISwitch)
public:
    static RefPtr<UISwitch> create(CGRect frame = CGRectMake(0, 0, 51, 31)) { return UIView::create<UISwitch>(frame); }

    bool isOn() const { return m_on; }
    void setOn(bool on) { msgSend<void>(this, SELECTOR("setOn:"), on); }
    RefPtr<UIColor> onTintColor() const { return m_onTintColor; }
    void setOnTintColor(UIColor* color) { msgSend<void>(this, SELECTOR("setOnTintColor:"), color); }

    // What a person's flip does: the new state, then the value-changed actions.
    void userSetOn(bool on);

    ~UISwitch() override;

protected:
    UISwitch();

private:
    Id initWithFrameImpl(CGRect frame);
    void setOnImpl(bool on);
    void setOnAnimatedImpl(bool on, bool) { setOnImpl(on); }
    void setOnTintColorImpl(RefPtr<UIColor> color);
    void layoutSubviewsImpl();
    void tintColorDidChangeImpl() { updateLook(); }
    void updateLook();

    bool m_on { false };
    RefPtr<UIColor> m_onTintColor;
    RefPtr<UIView> m_knob;
};
