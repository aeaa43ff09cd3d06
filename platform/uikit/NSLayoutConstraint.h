#pragma once

#include "platform/uikit/NSLayoutAnchor.h"

class NSArray;

// "first anchor = second anchor + constant". Active constraints are solved in the order
// they were activated, each moving one edge (or the centre, or the size) of the first view,
// in its superview's coordinates: when activated, and again whenever a container (a table
// for its header, a navigation bar for its title view) resizes the view they hang from.
// Views the constraints move keep their frames otherwise, so a frame set by hand stays
// until the next such pass.
class NSLayoutConstraint : public Object {
    TW_OBJECT(NSLayoutConstraint)
public:
    static RefPtr<NSLayoutConstraint> create(NSLayoutAnchor* first, NSLayoutAnchor* second, double constant);
    static void activateConstraints(const NSArray* constraints);
    static void deactivateConstraints(const NSArray* constraints);
    // Solves the active constraints whose first view lies in the subtree (root excluded).
    static void updateConstraintsInSubtree(UIView* root);
    static size_t activeConstraintCount();

    bool isActive() const { return m_active; }
    void setActive(bool active) { msgSend<void>(this, SELECTOR("setActive:"), active); }
    double constant() const { return m_constant; }
    void setConstant(double constant) { msgSend<void>(this, SELECTOR("setConstant:"), constant); }
    RefPtr<NSLayoutAnchor> firstAnchor() const { return m_first; }
    RefPtr<NSLayoutAnchor> secondAnchor() const { return m_second; }

    ~NSLayoutConstraint() override;

protected:
    NSLayoutConstraint() = default;

private:
    static void activateConstraintsImpl(NSArray* constraints) { activateConstraints(constraints); }
    static void deactivateConstraintsImpl(NSArray* constraints) { deactivateConstraints(constraints); }
    void setActiveImpl(bool active);
    void setConstantImpl(double constant);
    Id firstAnchorImpl() const { return m_first; }
    Id secondAnchorImpl() const { return m_second; }
    void apply() const;

    RefPtr<NSLayoutAnchor> m_first;
    RefPtr<NSLayoutAnchor> m_second;
    double m_constant { 0 };
    bool m_active { false };
};
