#include "platform/springboard/NCNotificationListCoalescingControlsCell.h"

Class NCNotificationListCoalescingControlsCell::classObject()
{
    static Class cls = ClassBuilder<NCNotificationListCoalescingControlsCell>("NCNotificationListCoalescingControlsCell", UIView::classObject())
                           .method<&NCNotificationListCoalescingControlsCell::coalescingControlsView>("coalescingControlsView")
                           .method<&NCNotificationListCoalescingControlsCell::layoutSubviewsImpl>("layoutSubviews")
                           .ivar<&NCNotificationListCoalescingControlsCell::m_coalescingControlsView>("_coalescingControlsView")
                           .build();
    return cls;
}

RefPtr<NCNotificationListCoalescingControlsCell> NCNotificationListCoalescingControlsCell::create(std::string_view title)
{
    auto cell = UIView::create<NCNotificationListCoalescingControlsCell>();
    if (!cell)
        return nullptr;
    cell->m_coalescingControlsView = NCNotificationListCoalescingControlsView::create(title, "Show Less", "Clear All");
    cell->addSubview(cell->m_coalescingControlsView.get());
    return cell;
}

void NCNotificationListCoalescingControlsCell::layoutSubviewsImpl()
{
    m_coalescingControlsView->setFrame(bounds());
}
