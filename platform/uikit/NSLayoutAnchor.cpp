#include "platform/uikit/NSLayoutAnchor.h"

#include "platform/uikit/NSLayoutConstraint.h"
#include "platform/uikit/UIView.h"

Class NSLayoutAnchor::classObject()
{
    static Class cls = ClassBuilder<NSLayoutAnchor>("NSLayoutAnchor", Object::classObject())
                           .method<&NSLayoutAnchor::constraintEqualToAnchorImpl>("constraintEqualToAnchor:")
                           .method<&NSLayoutAnchor::constraintEqualToAnchorConstantImpl>("constraintEqualToAnchor:constant:")
                           .build();
    return cls;
}

RefPtr<NSLayoutAnchor> NSLayoutAnchor::create(UIView* view, long attribute)
{
    auto anchor = make<NSLayoutAnchor>();
    anchor->m_view = view;
    anchor->m_attribute = attribute;
    return anchor;
}

RefPtr<NSLayoutConstraint> NSLayoutAnchor::constraintEqualToAnchor(NSLayoutAnchor* other, double constant)
{
    if (!other)
        return nullptr;
    return NSLayoutConstraint::create(this, other, constant);
}

Id NSLayoutAnchor::constraintEqualToAnchorImpl(NSLayoutAnchor* other) { return constraintEqualToAnchor(other); }
Id NSLayoutAnchor::constraintEqualToAnchorConstantImpl(NSLayoutAnchor* other, double constant) { return constraintEqualToAnchor(other, constant); }
