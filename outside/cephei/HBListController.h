#pragma once

#include "outside/cephei/HBAppearanceSettings.h"
#include "platform/settings/PSListController.h"

// Cephei's list page. With appearance settings (hb_setAppearanceSettings:) it colours
// what it shows when it appears (viewWillAppear:, before a subclass's own code after
// the superclass call): the table's tint and separators, and the bar it is shown under
// (the bar of the navigation controller that contains the page's navigation controller,
// else its own): bar tint from navigationBarBackgroundColor, button tint from
// navigationBarTintColor, title colour from navigationBarTitleColor, translucency.
// Colours left nil change nothing.
// Registered: viewWillAppear:, realNavigationController.
// Added to PSListController (Cephei's category): hb_appearanceSettings,
// hb_setAppearanceSettings:.
class HBListController : public PSListController {
    TW_OBJECT(HBListController)
public:
    static RefPtr<HBAppearanceSettings> appearanceSettingsOf(const PSListController* controller);
    // The navigation controller whose bar the page tints.
    RefPtr<UIViewController> realNavigationController() const;

protected:
    HBListController() = default;

private:
    void viewWillAppearImpl(bool animated);
    Id realNavigationControllerImpl() const { return realNavigationController(); }
    void applyAppearance();
};
