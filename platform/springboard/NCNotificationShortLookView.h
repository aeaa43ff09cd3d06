#pragma once

#include "platform/springboard/MTMaterialView.h"
#include "platform/springboard/NCNotificationContentView.h"
#include "platform/springboard/PLPlatterHeaderContentView.h"

// A notification platter: a material background, the header strip and the content texts.
class NCNotificationShortLookView : public UIView {
    TW_OBJECT(NCNotificationShortLookView)
public:
    static constexpr double bottomPadding = 12;

    RefPtr<MTMaterialView> backgroundView() const { return m_backgroundView; }
    RefPtr<PLPlatterHeaderContentView> headerContentView() const { return m_headerContentView; }
    RefPtr<NCNotificationContentView> notificationContentView() const { return m_notificationContentView; }

    double preferredHeight() const;

protected:
    NCNotificationShortLookView() = default;

private:
    Id initWithFrameImpl(CGRect frame);
    void layoutSubviewsImpl();

    RefPtr<MTMaterialView> m_backgroundView;
    RefPtr<PLPlatterHeaderContentView> m_headerContentView;
    RefPtr<NCNotificationContentView> m_notificationContentView;
};
