#include "platform/springboard/MTMaterialView.h"

#include "platform/foundation/NSRunLoop.h"
#include "platform/runtime/WeakPtr.h"
#include "platform/uikit/UITraitCollection.h"
#include "platform/uikit/UIWindow.h"

Class MTMaterialView::classObject()
{
    static Class cls = ClassBuilder<MTMaterialView>("MTMaterialView", UIView::classObject())
                           .method<&MTMaterialView::initWithFrameImpl>("initWithFrame:")
                           .method<&MTMaterialView::recipe>("recipe")
                           .method<&MTMaterialView::traitCollectionDidChangeImpl>("traitCollectionDidChange:")
                           .ivar<&MTMaterialView::m_recipe>("_recipe")
                           .build();
    return cls;
}

RefPtr<MTMaterialView> MTMaterialView::create(Recipe recipe, CGRect frame)
{
    auto view = UIView::create<MTMaterialView>(frame);
    if (!view)
        return nullptr;
    view->m_recipe = recipe;
    view->applyMaterial();
    return view;
}

RefPtr<UIColor> MTMaterialView::materialColor(long recipe, long userInterfaceStyle)
{
    bool dark = userInterfaceStyle == UIUserInterfaceStyleDark;
    if (recipe == RecipeControl)
        return dark ? UIColor::colorWithWhite(0.25, 0.55) : UIColor::colorWithWhite(0.92, 0.55);
    return dark ? UIColor::colorWithRed(0.11, 0.11, 0.12, 0.78) : UIColor::colorWithWhite(1, 0.78);
}

Id MTMaterialView::initWithFrameImpl(CGRect frame)
{
    Id self = msgSendSuper<Id>(this, classObject(), SELECTOR("initWithFrame:"), frame);
    if (!self)
        return nullptr;
    layer()->setCornerRadius(13);
    applyMaterial();
    return self;
}

void MTMaterialView::traitCollectionDidChangeImpl(UITraitCollection* previous)
{
    msgSendSuper<void>(this, classObject(), SELECTOR("traitCollectionDidChange:"), previous);
    if (!previous || previous->userInterfaceStyle() == UIUserInterfaceStyleUnspecified || !UIWindow::isSwitchingAppearance()) {
        applyMaterial();
        return;
    }
    NSRunLoop::mainRunLoop().perform([weakView = WeakPtr<MTMaterialView>(this)] {
        if (auto view = weakView.get())
            view->applyMaterial();
    });
}

void MTMaterialView::applyMaterial()
{
    setBackgroundColor(materialColor(m_recipe, effectiveUserInterfaceStyle()).get());
}
