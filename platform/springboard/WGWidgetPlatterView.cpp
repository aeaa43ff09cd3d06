#include "platform/springboard/WGWidgetPlatterView.h"

Class WGWidgetPlatterView::classObject()
{
    static Class cls = ClassBuilder<WGWidgetPlatterView>("WGWidgetPlatterView", UIView::classObject())
                           .method<&WGWidgetPlatterView::initWithFrameImpl>("initWithFrame:")
                           .method<&WGWidgetPlatterView::widgetHost>("widgetHost")
                           .method<&WGWidgetPlatterView::setWidgetHostImpl>("setWidgetHost:")
                           .method<&WGWidgetPlatterView::layoutSubviewsImpl>("layoutSubviews")
                           .ivar<&WGWidgetPlatterView::m_widgetHost>("_widgetHost")
                           .ivar<&WGWidgetPlatterView::m_backgroundView>("_backgroundView")
                           .ivar<&WGWidgetPlatterView::m_headerBackgroundView>("_headerBackgroundView")
                           .ivar<&WGWidgetPlatterView::m_headerContentView>("_headerContentView")
                           .build();
    return cls;
}

Id WGWidgetPlatterView::initWithFrameImpl(CGRect frame)
{
    Id self = msgSendSuper<Id>(this, classObject(), SELECTOR("initWithFrame:"), frame);
    if (!self)
        return nullptr;
    layer()->setCornerRadius(13);
    setClipsToBounds(true);
    m_backgroundView = MTMaterialView::create(MTMaterialView::RecipePlatter);
    addSubview(m_backgroundView.get());
    m_headerBackgroundView = MTMaterialView::create(MTMaterialView::RecipeControl);
    // Only the strip's top corners are rounded on the phone; a square strip inside the
    // rounded platter reads the same.
    m_headerBackgroundView->layer()->setCornerRadius(0);
    addSubview(m_headerBackgroundView.get());
    m_headerContentView = WGPlatterHeaderContentView::create();
    addSubview(m_headerContentView.get());
    return self;
}

void WGWidgetPlatterView::setWidgetHostImpl(RefPtr<WGWidgetHostingViewController> host)
{
    if (m_widgetHost) {
        if (auto old = m_widgetHost->viewIfLoaded(); old && old->superview().get() == this)
            old->removeFromSuperview();
    }
    m_widgetHost = std::move(host);
    if (!m_widgetHost) {
        m_headerContentView->setTitle(nullptr);
        m_headerContentView->setIcons(nullptr);
        return;
    }
    auto info = m_widgetHost->widgetInfo();
    m_headerContentView->setTitle(info ? info->displayName().get() : nullptr);
    auto icon = info ? info->icon() : nullptr;
    m_headerContentView->setIcons(icon ? NSArray::arrayWithObjects({ Id(icon.get()) }).get() : nullptr);
    addSubview(m_widgetHost->view().get());
    setNeedsLayout();
}

double WGWidgetPlatterView::preferredHeight() const
{
    double content = m_widgetHost ? m_widgetHost->preferredContentHeight() : 0;
    return PLPlatterHeaderContentView::height + content;
}

void WGWidgetPlatterView::layoutSubviewsImpl()
{
    CGRect bounds = this->bounds();
    double headerHeight = PLPlatterHeaderContentView::height;
    m_backgroundView->setFrame(bounds);
    m_headerBackgroundView->setFrame(CGRectMake(0, 0, bounds.size.width, headerHeight));
    m_headerContentView->setFrame(CGRectMake(0, 0, bounds.size.width, headerHeight));
    if (!m_widgetHost)
        return;
    if (auto content = m_widgetHost->viewIfLoaded())
        content->setFrame(CGRectMake(0, headerHeight, bounds.size.width, std::max(0.0, bounds.size.height - headerHeight)));
}
