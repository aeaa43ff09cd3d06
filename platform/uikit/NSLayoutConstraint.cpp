#include "platform/uikit/NSLayoutConstraint.h"

#include "platform/foundation/NSArray.h"
#include "platform/uikit/UIView.h"

#include <algorithm>
#include <mutex>
#include <vector>

namespace {

// Active constraints in activation order; weak, so a constraint nobody keeps still holds
// while its views live, as the phone's engine keeps them.
struct ActiveList {
    std::mutex mutex;
    std::vector<RefPtr<NSLayoutConstraint>> constraints;
};

ActiveList& activeList()
{
    static auto* list = new ActiveList;
    return *list;
}

// An anchor's position in the coordinates of `space` (a view's superview).
double anchorValue(const UIView& view, long attribute, const UIView* space)
{
    CGRect frame = view.superview() ? view.superview()->convertRectToView(view.frame(), space) : view.frame();
    if (&view == space)
        frame = view.bounds();
    switch (attribute) {
    case NSLayoutAttributeLeft:
    case NSLayoutAttributeLeading:
        return CGRectGetMinX(frame);
    case NSLayoutAttributeRight:
    case NSLayoutAttributeTrailing:
        return CGRectGetMaxX(frame);
    case NSLayoutAttributeTop:
        return CGRectGetMinY(frame);
    case NSLayoutAttributeBottom:
        return CGRectGetMaxY(frame);
    case NSLayoutAttributeWidth:
        return frame.size.width;
    case NSLayoutAttributeHeight:
        return frame.size.height;
    case NSLayoutAttributeCenterX:
        return CGRectGetMidX(frame);
    case NSLayoutAttributeCenterY:
        return CGRectGetMidY(frame);
    default:
        return 0;
    }
}

} // namespace

Class NSLayoutConstraint::classObject()
{
    static Class cls = ClassBuilder<NSLayoutConstraint>("NSLayoutConstraint", Object::classObject())
                           .classMethod<&NSLayoutConstraint::activateConstraintsImpl>("activateConstraints:")
                           .classMethod<&NSLayoutConstraint::deactivateConstraintsImpl>("deactivateConstraints:")
                           .method<&NSLayoutConstraint::isActive>("isActive")
                           .method<&NSLayoutConstraint::setActiveImpl>("setActive:")
                           .method<&NSLayoutConstraint::constant>("constant")
                           .method<&NSLayoutConstraint::setConstantImpl>("setConstant:")
                           .method<&NSLayoutConstraint::firstAnchorImpl>("firstAnchor")
                           .method<&NSLayoutConstraint::secondAnchorImpl>("secondAnchor")
                           .build();
    return cls;
}

NSLayoutConstraint::~NSLayoutConstraint() = default;

RefPtr<NSLayoutConstraint> NSLayoutConstraint::create(NSLayoutAnchor* first, NSLayoutAnchor* second, double constant)
{
    auto constraint = make<NSLayoutConstraint>();
    constraint->m_first = first;
    constraint->m_second = second;
    constraint->m_constant = constant;
    return constraint;
}

void NSLayoutConstraint::activateConstraints(const NSArray* constraints)
{
    if (!constraints)
        return;
    for (auto& object : *constraints)
        msgSendIfResponds<void>(object.get(), SELECTOR("setActive:"), true);
}

void NSLayoutConstraint::deactivateConstraints(const NSArray* constraints)
{
    if (!constraints)
        return;
    for (auto& object : *constraints)
        msgSendIfResponds<void>(object.get(), SELECTOR("setActive:"), false);
}

void NSLayoutConstraint::setActiveImpl(bool active)
{
    if (active == m_active)
        return;
    m_active = active;
    auto& list = activeList();
    {
        std::lock_guard lock(list.mutex);
        if (active)
            list.constraints.push_back(RefPtr<NSLayoutConstraint>(this));
        else
            std::erase_if(list.constraints, [&](auto& entry) { return entry.get() == this; });
    }
    if (active)
        apply();
}

void NSLayoutConstraint::setConstantImpl(double constant)
{
    m_constant = constant;
    if (m_active)
        apply();
}

size_t NSLayoutConstraint::activeConstraintCount()
{
    auto& list = activeList();
    std::lock_guard lock(list.mutex);
    std::erase_if(list.constraints, [](auto& entry) { return !entry->m_first->view() || !entry->m_second->view(); });
    return list.constraints.size();
}

void NSLayoutConstraint::apply() const
{
    auto firstView = m_first->view();
    auto secondView = m_second->view();
    if (!firstView || !secondView)
        return;
    auto space = firstView->superview();
    // Without a common space there is nothing to measure against.
    if (!space || !(secondView.get() == space.get() || secondView->isDescendantOfView(space.get())))
        return;
    double target = anchorValue(*secondView, m_second->attribute(), space.get()) + m_constant;
    CGRect frame = firstView->frame();
    double minX = CGRectGetMinX(frame), maxX = CGRectGetMaxX(frame);
    double minY = CGRectGetMinY(frame), maxY = CGRectGetMaxY(frame);
    switch (m_first->attribute()) {
    case NSLayoutAttributeLeft:
    case NSLayoutAttributeLeading:
        minX = target;
        maxX = std::max(maxX, minX);
        break;
    case NSLayoutAttributeRight:
    case NSLayoutAttributeTrailing:
        maxX = std::max(target, minX);
        break;
    case NSLayoutAttributeTop:
        minY = target;
        maxY = std::max(maxY, minY);
        break;
    case NSLayoutAttributeBottom:
        maxY = std::max(target, minY);
        break;
    case NSLayoutAttributeWidth:
        maxX = minX + std::max(0.0, target);
        break;
    case NSLayoutAttributeHeight:
        maxY = minY + std::max(0.0, target);
        break;
    case NSLayoutAttributeCenterX: {
        double half = (maxX - minX) / 2;
        minX = target - half;
        maxX = target + half;
        break;
    }
    case NSLayoutAttributeCenterY: {
        double half = (maxY - minY) / 2;
        minY = target - half;
        maxY = target + half;
        break;
    }
    default:
        return;
    }
    firstView->setFrame(CGRectMake(minX, minY, maxX - minX, maxY - minY));
}

void NSLayoutConstraint::updateConstraintsInSubtree(UIView* root)
{
    if (!root)
        return;
    std::vector<RefPtr<NSLayoutConstraint>> constraints;
    {
        auto& list = activeList();
        std::lock_guard lock(list.mutex);
        constraints = list.constraints;
    }
    for (auto& constraint : constraints) {
        auto view = constraint->m_first->view();
        if (view && view.get() != root && view->isDescendantOfView(root))
            constraint->apply();
    }
}
