#include "platform/springboard/NCNotificationShortLookView.h"

Class NCNotificationShortLookView::classObject()
{
    static Class cls = ClassBuilder<NCNotificationShortLookView>("NCNotificationShortLookView", UIView::classObject())
                           .method<&NCNotificationShortLookView::initWithFrameImpl>("initWithFrame:")
                           .method<&NCNotificationShortLookView::backgroundView>("backgroundView")
                           .method<&NCNotificationShortLookView::headerContentView>("headerContentView")
                           .method<&NCNotificationShortLookView::notificationContentView>("notificationContentView")
                           .method<&NCNotificationShortLookView::layoutSubviewsImpl>("layoutSubviews")
                           .ivar<&NCNotificationShortLookView::m_backgroundView>("_backgroundView")
                           .ivar<&NCNotificationShortLookView::m_headerContentView>("_headerContentView")
                           .ivar<&NCNotificationShortLookView::m_notificationContentView>("_notificationContentView")
                           .build();
    return cls;
}

Id NCNotificationShortLookView::initWithFrameImpl(CGRect frame)
{
    Id self = msgSendSuper<Id>(this, classObject(), SELECTOR("initWithFrame:"), frame);
    if (!self)
        return nullptr;
    m_backgroundView = MTMaterialView::create(MTMaterialView::RecipePlatter);
    addSubview(m_backgroundView.get());
    m_headerContentView = UIView::create<PLPlatterHeaderContentView>();
    addSubview(m_headerContentView.get());
    m_notificationContentView = UIView::create<NCNotificationContentView>();
    addSubview(m_notificationContentView.get());
    return self;
}

double NCNotificationShortLookView::preferredHeight() const
{
    return PLPlatterHeaderContentView::height + m_notificationContentView->preferredHeight() + bottomPadding;
}

void NCNotificationShortLookView::layoutSubviewsImpl()
{
    CGSize size = bounds().size;
    m_backgroundView->setFrame(bounds());
    m_headerContentView->setFrame(CGRectMake(0, 0, size.width, PLPlatterHeaderContentView::height));
    m_notificationContentView->setFrame(CGRectMake(0, PLPlatterHeaderContentView::height, size.width, m_notificationContentView->preferredHeight()));
}
