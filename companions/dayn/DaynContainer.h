#pragma once

#include "platform/uikit/UIView.h"

// Dayn's decoration beside a notification platter. Its delegate is the short-look
// controller of the notification it decorates; Dayn sets it before the container joins
// the platter. Registered: initWithFrame:, delegate, setDelegate:, didMoveToSuperview.
// Ivars: "_delegate" (weak).
class DaynContainer : public UIView {
    TW_OBJECT(DaynContainer)
public:
    static RefPtr<DaynContainer> create(CGRect frame = CGRectZero) { return UIView::create<DaynContainer>(frame); }

    Id delegate() const { return m_delegate.get(); }
    void setDelegate(Object* delegate) { msgSend<void>(this, SELECTOR("setDelegate:"), delegate); }

protected:
    DaynContainer() = default;

private:
    void setDelegateImpl(Object* delegate) { m_delegate = delegate; }
    void didMoveToSuperviewImpl();

    // Weak: the controller owns the platter this container sits on.
    WeakPtr<Object> m_delegate;
};
