#pragma once

#include "platform/foundation/NSString.h"

enum UIAlertActionStyle : long {
    UIAlertActionStyleDefault = 0,
    UIAlertActionStyleCancel = 1,
    UIAlertActionStyleDestructive = 2,
};

// One button of an alert: a title, a style and an optional handler, a block object run
// through "invoke" after the alert is dismissed.
class UIAlertAction : public Object {
    TW_OBJECT(UIAlertAction)
public:
    static RefPtr<UIAlertAction> actionWithTitle(NSString* title, long style, id handler);

    RefPtr<NSString> title() const { return m_title; }
    long style() const { return m_style; }
    Id handler() const { return m_handler; }
    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool enabled) { msgSend<void>(this, SELECTOR("setEnabled:"), enabled); }

protected:
    UIAlertAction() = default;

private:
    static Id actionWithTitleImpl(NSString* title, long style, Object* handler) { return actionWithTitle(title, style, handler); }
    Id titleImpl() const { return m_title; }
    void setEnabledImpl(bool enabled) { m_enabled = enabled; }

    RefPtr<NSString> m_title;
    long m_style { UIAlertActionStyleDefault };
    Id m_handler;
    bool m_enabled { true };
};
