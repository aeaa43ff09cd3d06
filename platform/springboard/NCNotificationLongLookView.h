#pragma once

#include "platform/springboard/NCNotificationContentView.h"
#include "platform/springboard/NCToggleControl.h"
#include "platform/springboard/PLPlatterHeaderContentView.h"

// The expanded notification: a header with a tint strip behind it, the content (or an app's
// custom content view), and the actions area, with a dismiss control at the top right. Its
// layout sends _updateTopMargin through the runtime.
class NCNotificationLongLookView : public UIView {
    TW_OBJECT(NCNotificationLongLookView)
public:
    static constexpr double actionsHeight = 120;

    RefPtr<NCToggleControl> dismissControl() const { return m_dismissControl; }
    RefPtr<PLPlatterHeaderContentView> headerContentView() const { return m_headerContentView; }
    RefPtr<NCNotificationContentView> notificationContentView() const { return m_notificationContentView; }
    RefPtr<UIView> customContentView() const { return m_customContentView; }
    // An app's own content replaces the standard content view, as on the phone.
    void setCustomContentView(UIView* view) { msgSend<void>(this, SELECTOR("setCustomContentView:"), view); }
    RefPtr<UIView> headerTintView() const { return m_headerTintView; }
    RefPtr<MTMaterialView> actionsBackgroundView() const { return m_actionsBackgroundView; }
    double topMargin() const { return m_topMargin; }

    double preferredHeight() const;

protected:
    NCNotificationLongLookView() = default;

private:
    Id initWithFrameImpl(CGRect frame);
    void setCustomContentViewImpl(RefPtr<UIView> view);
    void layoutSubviewsImpl();
    void updateTopMarginImpl();

    RefPtr<MTMaterialView> m_backgroundView;
    RefPtr<UIView> m_headerTintView;
    RefPtr<PLPlatterHeaderContentView> m_headerContentView;
    RefPtr<NCNotificationContentView> m_notificationContentView;
    RefPtr<UIView> m_customContentView;
    RefPtr<MTMaterialView> m_actionsBackgroundView;
    RefPtr<NCToggleControl> m_dismissControl;
    double m_topMargin { 0 };
};
