#include "platform/springboard/NCNotificationListCellActionButton.h"

#include "platform/foundation/NSString.h"

Class NCNotificationListCellActionButton::classObject()
{
    static Class cls = ClassBuilder<NCNotificationListCellActionButton>("NCNotificationListCellActionButton", UIButton::classObject())
                           .method<&NCNotificationListCellActionButton::initWithFrameImpl>("initWithFrame:")
                           .method<&NCNotificationListCellActionButton::backgroundView>("backgroundView")
                           .method<&NCNotificationListCellActionButton::layoutSubviewsImpl>("layoutSubviews")
                           .ivar<&NCNotificationListCellActionButton::m_backgroundView>("_backgroundView")
                           .build();
    return cls;
}

RefPtr<NCNotificationListCellActionButton> NCNotificationListCellActionButton::create(std::string_view title, double cornerRadius)
{
    auto button = UIView::create<NCNotificationListCellActionButton>(CGRectMake(0, 0, 80, 80));
    if (!button)
        return nullptr;
    button->setTitle(NSString::string(title).get());
    button->setTitleColor(UIColor::colorWithWhite(0.15, 1).get());
    button->layer()->setCornerRadius(cornerRadius);
    return button;
}

Id NCNotificationListCellActionButton::initWithFrameImpl(CGRect frame)
{
    Id self = msgSendSuper<Id>(this, classObject(), SELECTOR("initWithFrame:"), frame);
    if (!self)
        return nullptr;
    m_backgroundView = MTMaterialView::create(MTMaterialView::RecipeControl, bounds());
    m_backgroundView->layer()->setCornerRadius(0);
    insertSubviewAtIndex(m_backgroundView.get(), 0);
    return self;
}

void NCNotificationListCellActionButton::layoutSubviewsImpl()
{
    msgSendSuper<void>(this, classObject(), SELECTOR("layoutSubviews"));
    m_backgroundView->setFrame(bounds());
}
