#pragma once

#include "platform/uikit/UIViewController.h"

// Modal presentation, added to UIViewController at run time like the phone's category:
// presentViewController:animated:completion:, dismissViewControllerAnimated:completion:,
// presentedViewController, presentingViewController.
// A presentation belongs to the outermost controller of the presenter (its presentation
// context): the presented controller's view covers that controller's window, and any
// controller of the same tree answers it as presentedViewController. One presentation at
// a time: presenting while another is shown does nothing, as the phone refuses it.
struct UIViewControllerPresentation {
    // Idempotent; registerUIKitClasses() calls it.
    static void install();

    static RefPtr<UIViewController> presentedViewController(const UIViewController* controller);
    static RefPtr<UIViewController> presentingViewController(const UIViewController* controller);
};
