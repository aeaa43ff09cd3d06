#pragma once

#include "platform/uikit/UIView.h"

#include <vector>

enum UIControlState : unsigned long {
    UIControlStateNormal = 0,
    UIControlStateHighlighted = 1,
    UIControlStateDisabled = 2,
    UIControlStateSelected = 4,
};

enum UIControlEvents : unsigned long {
    UIControlEventTouchUpInside = 1 << 6,
    UIControlEventValueChanged = 1 << 12,
};

// A view that reports user changes through target-action pairs. Buttons and the settings
// controls (switch, slider, segmented control, text field) are controls. Each action goes
// out as sendAction:to:forEvent: (a message, so a hook sees every tap and change). A new
// tint colour sends tintColorDidChange (UIView's), which controls whose look follows the
// tint implement.
class UIControl : public UIView {
    TW_OBJECT(UIControl)
public:
    void addTarget(id target, SEL action, unsigned long events) { msgSend<void>(this, SELECTOR("addTarget:action:forControlEvents:"), target, action, events); }
    // Each matching action goes to its target with the control as argument; targets that
    // died or do not implement the action are skipped.
    void sendActionsForControlEvents(unsigned long events) { msgSend<void>(this, SELECTOR("sendActionsForControlEvents:"), events); }
    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool enabled) { msgSend<void>(this, SELECTOR("setEnabled:"), enabled); }
    // Nil: the system blue.
    RefPtr<UIColor> tintColor() const { return m_tintColor; }
    void setTintColor(UIColor* color) { msgSend<void>(this, SELECTOR("setTintColor:"), color); }
    RefPtr<UIColor> effectiveTintColor() const;

    // Sends an action method the way the phone's target-action does: with the sender when
    // the method takes one ("v@:@"), without when it takes none ("v@:"). False when the
    // target is missing, does not implement it, or the method has another signature.
    static bool sendAction(id target, SEL action, id sender);

    ~UIControl() override;

protected:
    UIControl();

private:
    struct Action {
        WeakId target;
        SEL action;
        unsigned long events;
    };

    void addTargetImpl(id target, SEL action, unsigned long events);
    void removeTargetImpl(id target, SEL action, unsigned long events);
    void sendActionToForEventImpl(SEL action, id target, id) { sendAction(target, action, this); }
    void sendActionsForControlEventsImpl(unsigned long events);
    void setEnabledImpl(bool enabled) { m_enabled = enabled; }
    void setTintColorImpl(RefPtr<UIColor> color);

    std::vector<Action> m_actions;
    RefPtr<UIColor> m_tintColor;
    bool m_enabled { true };
};
