#include "platform/springboard/NCNotificationListCoalescingHeaderCell.h"

Class NCNotificationListCoalescingHeaderCell::classObject()
{
    static Class cls = ClassBuilder<NCNotificationListCoalescingHeaderCell>("NCNotificationListCoalescingHeaderCell", UIView::classObject())
                           .method<&NCNotificationListCoalescingHeaderCell::coalescingControlsView>("coalescingControlsView")
                           .method<&NCNotificationListCoalescingHeaderCell::layoutSubviewsImpl>("layoutSubviews")
                           .ivar<&NCNotificationListCoalescingHeaderCell::m_coalescingControlsView>("_coalescingControlsView")
                           .build();
    return cls;
}

RefPtr<NCNotificationListCoalescingHeaderCell> NCNotificationListCoalescingHeaderCell::create(std::string_view title)
{
    auto cell = UIView::create<NCNotificationListCoalescingHeaderCell>();
    if (!cell)
        return nullptr;
    cell->m_coalescingControlsView = NCNotificationListCoalescingControlsView::create(title, "Show Less", "Clear");
    cell->addSubview(cell->m_coalescingControlsView.get());
    return cell;
}

void NCNotificationListCoalescingHeaderCell::layoutSubviewsImpl()
{
    m_coalescingControlsView->setFrame(bounds());
}
