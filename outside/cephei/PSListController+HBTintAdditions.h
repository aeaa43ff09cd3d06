#pragma once

#include "outside/cephei/HBAppearanceSettings.h"

class PSListController;

// Cephei's category on the Settings app's list pages: hb_appearanceSettings and
// hb_setAppearanceSettings:, added to PSListController at run time. The settings are
// kept with the page (an associated value) for it to apply when it appears.
struct PSListControllerHBTintAdditions {
    // Idempotent; HBListController's registration calls it.
    static void install();

    static RefPtr<HBAppearanceSettings> appearanceSettings(const PSListController* controller);
};
