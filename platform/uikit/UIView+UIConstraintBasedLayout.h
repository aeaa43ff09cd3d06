#pragma once

#include "platform/uikit/NSLayoutAnchor.h"

class UIView;

// The layout-anchor methods of UIView, added to the class at run time like the phone's
// category: topAnchor, bottomAnchor, leadingAnchor, trailingAnchor, leftAnchor,
// rightAnchor, widthAnchor, heightAnchor, centerXAnchor, centerYAnchor,
// translatesAutoresizingMaskIntoConstraints, setTranslatesAutoresizingMaskIntoConstraints:.
struct UIViewConstraintBasedLayout {
    // Idempotent; registerUIKitClasses() calls it.
    static void install();

    static RefPtr<NSLayoutAnchor> anchor(UIView* view, NSLayoutAttribute attribute);
    // YES until set otherwise, as on the phone.
    static bool translatesAutoresizingMaskIntoConstraints(const UIView* view);
};
