#include "platform/uikit/UIView+UIConstraintBasedLayout.h"

#include "platform/foundation/NSNumber.h"
#include "platform/uikit/NSLayoutConstraint.h"
#include "platform/uikit/UIView.h"

#include <mutex>

namespace {

const char translatesKey = 0;

template<NSLayoutAttribute attribute>
Id anchorImp(id self, SEL)
{
    return UIViewConstraintBasedLayout::anchor(objectCast<UIView>(self), attribute);
}

bool translatesImp(id self, SEL) { return UIViewConstraintBasedLayout::translatesAutoresizingMaskIntoConstraints(objectCast<UIView>(self)); }

void setTranslatesImp(id self, SEL, bool translates)
{
    objc_setAssociatedObject(self, &translatesKey, NSNumber::numberWithBool(translates).get(), OBJC_ASSOCIATION_RETAIN_NONATOMIC);
}

} // namespace

void UIViewConstraintBasedLayout::install()
{
    static std::once_flag once;
    std::call_once(once, [] {
        Class view = UIView::classObject();
        NSLayoutAnchor::classObject();
        NSLayoutConstraint::classObject();
        class_addMethod(view, sel_registerName("topAnchor"), &anchorImp<NSLayoutAttributeTop>);
        class_addMethod(view, sel_registerName("bottomAnchor"), &anchorImp<NSLayoutAttributeBottom>);
        class_addMethod(view, sel_registerName("leadingAnchor"), &anchorImp<NSLayoutAttributeLeading>);
        class_addMethod(view, sel_registerName("trailingAnchor"), &anchorImp<NSLayoutAttributeTrailing>);
        class_addMethod(view, sel_registerName("leftAnchor"), &anchorImp<NSLayoutAttributeLeft>);
        class_addMethod(view, sel_registerName("rightAnchor"), &anchorImp<NSLayoutAttributeRight>);
        class_addMethod(view, sel_registerName("widthAnchor"), &anchorImp<NSLayoutAttributeWidth>);
        class_addMethod(view, sel_registerName("heightAnchor"), &anchorImp<NSLayoutAttributeHeight>);
        class_addMethod(view, sel_registerName("centerXAnchor"), &anchorImp<NSLayoutAttributeCenterX>);
        class_addMethod(view, sel_registerName("centerYAnchor"), &anchorImp<NSLayoutAttributeCenterY>);
        class_addMethod(view, sel_registerName("translatesAutoresizingMaskIntoConstraints"), &translatesImp);
        class_addMethod(view, sel_registerName("setTranslatesAutoresizingMaskIntoConstraints:"), &setTranslatesImp);
    });
}

RefPtr<NSLayoutAnchor> UIViewConstraintBasedLayout::anchor(UIView* view, NSLayoutAttribute attribute)
{
    if (!view)
        return nullptr;
    return NSLayoutAnchor::create(view, attribute);
}

bool UIViewConstraintBasedLayout::translatesAutoresizingMaskIntoConstraints(const UIView* view)
{
    if (!view)
        return false;
    RefPtr<NSNumber> value = objectCast<NSNumber>(objc_getAssociatedObject(const_cast<UIView*>(view), &translatesKey));
    return !value || value->boolValue();
}
