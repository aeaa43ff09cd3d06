#include "platform/springboard/NCNotificationLongLookViewController.h"

#include "platform/springboard/NCNotificationShortLookViewController.h"

#include <algorithm>

namespace {

constexpr double margin = 8;
constexpr double topInset = 60;

} // namespace

Class NCNotificationLongLookViewController::classObject()
{
    static Class cls = ClassBuilder<NCNotificationLongLookViewController>("NCNotificationLongLookViewController", UIViewController::classObject())
                           .method<&NCNotificationLongLookViewController::initWithNotificationRequestImpl>("initWithNotificationRequest:")
                           .method<&NCNotificationLongLookViewController::notificationRequest>("notificationRequest")
                           .method<&NCNotificationLongLookViewController::loadViewImpl>("loadView")
                           .method<&NCNotificationLongLookViewController::viewDidLoadImpl>("viewDidLoad")
                           .method<&NCNotificationLongLookViewController::viewWillLayoutSubviewsImpl>("viewWillLayoutSubviews")
                           .ivar<&NCNotificationLongLookViewController::m_notificationRequest>("_notificationRequest")
                           .ivar<&NCNotificationLongLookViewController::m_lookView>("_lookView")
                           .ivar<&NCNotificationLongLookViewController::m_scrollView>("_scrollView")
                           .build();
    return cls;
}

RefPtr<NCNotificationLongLookViewController> NCNotificationLongLookViewController::createForRequest(NCNotificationRequest* request)
{
    auto object = class_createInstance(classObject());
    return msgSend<RefPtr<NCNotificationLongLookViewController>>(object, SELECTOR("initWithNotificationRequest:"), request);
}

Id NCNotificationLongLookViewController::initWithNotificationRequestImpl(RefPtr<NCNotificationRequest> request)
{
    Id self = msgSendSuper<Id>(this, classObject(), SELECTOR("init"));
    if (!self)
        return nullptr;
    m_notificationRequest = std::move(request);
    return self;
}

void NCNotificationLongLookViewController::loadViewImpl()
{
    auto root = UIView::create();
    root->setBackgroundColor(UIColor::colorWithWhite(0, 0.35).get());
    m_scrollView = UIScrollView::create();
    root->addSubview(m_scrollView.get());
    m_lookView = UIView::create<NCNotificationLongLookView>();
    m_scrollView->addSubview(m_lookView.get());
    setView(root.get());
}

void NCNotificationLongLookViewController::viewDidLoadImpl()
{
    if (!m_lookView)
        return;
    NCNotificationShortLookViewController::configureHeader(m_lookView->headerContentView().get(), m_notificationRequest.get());
    auto content = m_notificationRequest ? m_notificationRequest->content() : nullptr;
    if (auto texts = m_lookView->notificationContentView()) {
        texts->setPrimaryText(content ? content->title().get() : nullptr);
        texts->setSecondaryText(content ? content->message().get() : nullptr);
    }
}

void NCNotificationLongLookViewController::viewWillLayoutSubviewsImpl()
{
    auto root = viewIfLoaded();
    if (!root || !m_scrollView || !m_lookView)
        return;
    CGSize size = root->bounds().size;
    m_scrollView->setFrame(root->bounds());
    double width = std::max(0.0, size.width - 2 * margin);
    double height = m_lookView->preferredHeight();
    m_lookView->setFrame(CGRectMake(margin, topInset, width, height));
    m_scrollView->setContentSize(CGSizeMake(size.width, topInset + height + margin));
}
