#pragma once

#include "platform/springboard/NCNotificationRequest.h"
#include "platform/springboard/NCNotificationShortLookView.h"
#include "platform/uikit/UIViewController.h"

// The controller of one notification platter. Its view is the platter
// (NCNotificationShortLookView, also held in "_lookView"); when the view loads, the header
// is configured with setTitle:, setIcons: and setDate: and the content with its texts, all
// sent through the runtime. The layout pass of its view sends viewDidLayoutSubviews, and
// style changes traitCollectionDidChange:, through the runtime. A list cell reused for
// another notification sends setNotificationRequest:, which configures the header and
// content again the same way and lays the platter out anew.
class NCNotificationShortLookViewController : public UIViewController {
    TW_OBJECT(NCNotificationShortLookViewController)
public:
    // alloc + initWithNotificationRequest: through the runtime.
    static RefPtr<NCNotificationShortLookViewController> createForRequest(NCNotificationRequest* request);

    RefPtr<NCNotificationRequest> notificationRequest() const { return m_notificationRequest; }
    RefPtr<NCNotificationShortLookView> lookView() const { return m_lookView; }
    void setNotificationRequest(NCNotificationRequest* request) { msgSend<void>(this, SELECTOR("setNotificationRequest:"), request); }

    // What the system shows in a notification's header: the app's name, its icon from
    // +[UIImage _applicationIconImageForBundleIdentifier:format:scale:] when the process
    // has it, and the request's time.
    static void configureHeader(PLPlatterHeaderContentView* header, const NCNotificationRequest* request);
    static RefPtr<NSString> displayNameForSection(const NSString* sectionIdentifier);

protected:
    NCNotificationShortLookViewController() = default;

private:
    Id initWithNotificationRequestImpl(RefPtr<NCNotificationRequest> request);
    void loadViewImpl();
    void viewDidLoadImpl();
    void setNotificationRequestImpl(RefPtr<NCNotificationRequest> request);
    void configureLookView();
    void viewDidLayoutSubviewsImpl();
    void traitCollectionDidChangeImpl(UITraitCollection* previous);

    RefPtr<NCNotificationRequest> m_notificationRequest;
    RefPtr<NCNotificationShortLookView> m_lookView;
};
