#include "platform/springboard/NCNotificationLongLookView.h"

#include <algorithm>

namespace {

constexpr double dismissSide = 28;
constexpr double customContentHeight = 200;

} // namespace

Class NCNotificationLongLookView::classObject()
{
    static Class cls = ClassBuilder<NCNotificationLongLookView>("NCNotificationLongLookView", UIView::classObject())
                           .method<&NCNotificationLongLookView::initWithFrameImpl>("initWithFrame:")
                           .method<&NCNotificationLongLookView::dismissControl>("dismissControl")
                           .method<&NCNotificationLongLookView::headerContentView>("headerContentView")
                           .method<&NCNotificationLongLookView::notificationContentView>("notificationContentView")
                           .method<&NCNotificationLongLookView::customContentView>("customContentView")
                           .method<&NCNotificationLongLookView::setCustomContentViewImpl>("setCustomContentView:")
                           .method<&NCNotificationLongLookView::layoutSubviewsImpl>("layoutSubviews")
                           .method<&NCNotificationLongLookView::updateTopMarginImpl>("_updateTopMargin")
                           .ivar<&NCNotificationLongLookView::m_backgroundView>("_backgroundView")
                           .ivar<&NCNotificationLongLookView::m_headerContentView>("_headerContentView")
                           .ivar<&NCNotificationLongLookView::m_notificationContentView>("_notificationContentView")
                           .ivar<&NCNotificationLongLookView::m_customContentView>("_customContentView")
                           .ivar<&NCNotificationLongLookView::m_headerTintView>("_headerTintView")
                           .ivar<&NCNotificationLongLookView::m_actionsBackgroundView>("_actionsBackgroundView")
                           .ivar<&NCNotificationLongLookView::m_dismissControl>("_dismissControl")
                           .build();
    return cls;
}

Id NCNotificationLongLookView::initWithFrameImpl(CGRect frame)
{
    Id self = msgSendSuper<Id>(this, classObject(), SELECTOR("initWithFrame:"), frame);
    if (!self)
        return nullptr;
    m_backgroundView = MTMaterialView::create(MTMaterialView::RecipePlatter);
    addSubview(m_backgroundView.get());
    m_headerTintView = UIView::create();
    m_headerTintView->setBackgroundColor(UIColor::colorWithWhite(0.5, 0.12).get());
    // The system fades the tint in only while the header scrolls over content.
    m_headerTintView->setAlpha(0);
    addSubview(m_headerTintView.get());
    m_headerContentView = UIView::create<PLPlatterHeaderContentView>();
    addSubview(m_headerContentView.get());
    m_notificationContentView = UIView::create<NCNotificationContentView>();
    addSubview(m_notificationContentView.get());
    m_actionsBackgroundView = MTMaterialView::create(MTMaterialView::RecipeControl);
    m_actionsBackgroundView->layer()->setCornerRadius(0);
    addSubview(m_actionsBackgroundView.get());
    m_dismissControl = NCToggleControl::create("\u00d7");
    addSubview(m_dismissControl.get());
    return self;
}

void NCNotificationLongLookView::setCustomContentViewImpl(RefPtr<UIView> view)
{
    if (m_customContentView)
        m_customContentView->removeFromSuperview();
    m_customContentView = std::move(view);
    if (m_customContentView) {
        m_notificationContentView->removeFromSuperview();
        m_notificationContentView = nullptr;
        insertSubviewAtIndex(m_customContentView.get(), 3);
    }
    setNeedsLayout();
}

double NCNotificationLongLookView::preferredHeight() const
{
    double content = m_notificationContentView ? m_notificationContentView->preferredHeight() : customContentHeight;
    return PLPlatterHeaderContentView::height + content + 16 + actionsHeight;
}

void NCNotificationLongLookView::layoutSubviewsImpl()
{
    CGSize size = bounds().size;
    m_backgroundView->setFrame(bounds());
    m_headerTintView->setFrame(CGRectMake(0, 0, size.width, PLPlatterHeaderContentView::height));
    m_headerContentView->setFrame(CGRectMake(0, 0, std::max(0.0, size.width - dismissSide - 8), PLPlatterHeaderContentView::height));
    m_dismissControl->setFrame(CGRectMake(std::max(0.0, size.width - dismissSide - 8), 4, dismissSide, dismissSide));
    msgSend<void>(this, SELECTOR("_updateTopMargin"));
    double contentHeight = m_notificationContentView ? m_notificationContentView->preferredHeight() : customContentHeight;
    CGRect contentFrame = CGRectMake(0, m_topMargin, size.width, contentHeight);
    if (m_notificationContentView)
        m_notificationContentView->setFrame(contentFrame);
    if (m_customContentView)
        m_customContentView->setFrame(contentFrame);
    double actionsY = std::max(m_topMargin + contentHeight + 16, size.height - actionsHeight);
    m_actionsBackgroundView->setFrame(CGRectMake(0, actionsY, size.width, std::max(0.0, size.height - actionsY)));
}

void NCNotificationLongLookView::updateTopMarginImpl()
{
    m_topMargin = PLPlatterHeaderContentView::height;
}
