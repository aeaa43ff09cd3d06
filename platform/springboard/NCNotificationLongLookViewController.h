#pragma once

#include "platform/springboard/NCNotificationLongLookView.h"
#include "platform/springboard/NCNotificationRequest.h"
#include "platform/uikit/UIScrollView.h"
#include "platform/uikit/UIViewController.h"

// The controller of an expanded notification. Its view dims the screen and holds a scroll
// view holding the long look, so the long look's third next responder is this controller.
// The header and content are configured through the runtime when the view loads.
class NCNotificationLongLookViewController : public UIViewController {
    TW_OBJECT(NCNotificationLongLookViewController)
public:
    // alloc + initWithNotificationRequest: through the runtime.
    static RefPtr<NCNotificationLongLookViewController> createForRequest(NCNotificationRequest* request);

    RefPtr<NCNotificationRequest> notificationRequest() const { return m_notificationRequest; }
    RefPtr<NCNotificationLongLookView> lookView() const { return m_lookView; }

protected:
    NCNotificationLongLookViewController() = default;

private:
    Id initWithNotificationRequestImpl(RefPtr<NCNotificationRequest> request);
    void loadViewImpl();
    void viewDidLoadImpl();
    void viewWillLayoutSubviewsImpl();

    RefPtr<NCNotificationRequest> m_notificationRequest;
    RefPtr<UIScrollView> m_scrollView;
    RefPtr<NCNotificationLongLookView> m_lookView;
};
