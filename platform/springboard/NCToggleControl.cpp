#include "platform/springboard/NCToggleControl.h"

#include "platform/foundation/NSString.h"

Class NCToggleControl::classObject()
{
    static Class cls = ClassBuilder<NCToggleControl>("NCToggleControl", UIButton::classObject())
                           .method<&NCToggleControl::initWithFrameImpl>("initWithFrame:")
                           .method<&NCToggleControl::backgroundMaterialView>("_backgroundMaterialView")
                           .method<&NCToggleControl::layoutSubviewsImpl>("layoutSubviews")
                           .ivar<&NCToggleControl::m_backgroundMaterialView>("_backgroundMaterialView")
                           .build();
    return cls;
}

RefPtr<NCToggleControl> NCToggleControl::create(std::string_view title)
{
    auto control = UIView::create<NCToggleControl>(CGRectMake(0, 0, 88, 28));
    if (!control)
        return nullptr;
    control->setTitle(NSString::string(title).get());
    control->setTitleColor(UIColor::colorWithWhite(0.2, 1).get());
    return control;
}

Id NCToggleControl::initWithFrameImpl(CGRect frame)
{
    Id self = msgSendSuper<Id>(this, classObject(), SELECTOR("initWithFrame:"), frame);
    if (!self)
        return nullptr;
    m_backgroundMaterialView = MTMaterialView::create(MTMaterialView::RecipeControl, bounds());
    m_backgroundMaterialView->layer()->setCornerRadius(14);
    insertSubviewAtIndex(m_backgroundMaterialView.get(), 0);
    return self;
}

void NCToggleControl::layoutSubviewsImpl()
{
    msgSendSuper<void>(this, classObject(), SELECTOR("layoutSubviews"));
    m_backgroundMaterialView->setFrame(bounds());
    m_backgroundMaterialView->layer()->setCornerRadius(bounds().size.height / 2);
}
