#include "platform/springboard/NCNotificationListCoalescingControlsView.h"

#include "platform/uikit/UIFont.h"

#include <algorithm>

Class NCNotificationListCoalescingControlsView::classObject()
{
    static Class cls = ClassBuilder<NCNotificationListCoalescingControlsView>("NCNotificationListCoalescingControlsView", UIView::classObject())
                           .method<&NCNotificationListCoalescingControlsView::toggleControlPair>("toggleControlPair")
                           .method<&NCNotificationListCoalescingControlsView::titleLabel>("titleLabel")
                           .method<&NCNotificationListCoalescingControlsView::layoutSubviewsImpl>("layoutSubviews")
                           .ivar<&NCNotificationListCoalescingControlsView::m_toggleControlPair>("_toggleControlPair")
                           .ivar<&NCNotificationListCoalescingControlsView::m_titleLabel>("_titleLabel")
                           .build();
    return cls;
}

RefPtr<NCNotificationListCoalescingControlsView> NCNotificationListCoalescingControlsView::create(std::string_view title, std::string_view leadingToggle, std::string_view trailingToggle)
{
    auto view = UIView::create<NCNotificationListCoalescingControlsView>();
    if (!view)
        return nullptr;
    view->m_titleLabel = UILabel::create();
    view->m_titleLabel->setFont(UIFont::boldSystemFontOfSize(20).get());
    view->m_titleLabel->setText(title);
    view->addSubview(view->m_titleLabel.get());
    view->m_toggleControlPair = NCToggleControlPair::create(leadingToggle, trailingToggle);
    view->addSubview(view->m_toggleControlPair.get());
    return view;
}

void NCNotificationListCoalescingControlsView::layoutSubviewsImpl()
{
    constexpr double pairWidth = 184;
    constexpr double controlHeight = 28;
    CGSize size = bounds().size;
    double pairX = std::max(0.0, size.width - pairWidth);
    m_titleLabel->setFrame(CGRectMake(4, 0, pairX, size.height));
    m_toggleControlPair->setFrame(CGRectMake(pairX, (size.height - controlHeight) / 2, size.width - pairX, controlHeight));
}
