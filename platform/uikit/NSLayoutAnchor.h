#pragma once

#include "platform/foundation/NSObjCRuntime.h"
#include "platform/runtime/WeakPtr.h"

class NSLayoutConstraint;
class UIView;

enum NSLayoutAttribute : long {
    NSLayoutAttributeNotAnAttribute = 0,
    NSLayoutAttributeLeft = 1,
    NSLayoutAttributeRight = 2,
    NSLayoutAttributeTop = 3,
    NSLayoutAttributeBottom = 4,
    NSLayoutAttributeLeading = 5,
    NSLayoutAttributeTrailing = 6,
    NSLayoutAttributeWidth = 7,
    NSLayoutAttributeHeight = 8,
    NSLayoutAttributeCenterX = 9,
    NSLayoutAttributeCenterY = 10,
};

// One edge, centre or dimension of a view, from which equality constraints are made. The
// view is held weakly, as on the phone.
class NSLayoutAnchor : public Object {
    TW_OBJECT(NSLayoutAnchor)
public:
    static RefPtr<NSLayoutAnchor> create(UIView* view, long attribute);

    RefPtr<UIView> view() const { return m_view.get(); }
    long attribute() const { return m_attribute; }

    RefPtr<NSLayoutConstraint> constraintEqualToAnchor(NSLayoutAnchor* other, double constant = 0);

protected:
    NSLayoutAnchor() = default;

private:
    Id constraintEqualToAnchorImpl(NSLayoutAnchor* other);
    Id constraintEqualToAnchorConstantImpl(NSLayoutAnchor* other, double constant);

    WeakPtr<UIView> m_view;
    long m_attribute { NSLayoutAttributeNotAnAttribute };
};
