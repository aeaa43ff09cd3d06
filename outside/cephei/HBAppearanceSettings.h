#pragma once

#include "platform/graphics/UIColor.h"

// Cephei's colours for a settings page. Every accessor answers nil (NO for the bar's
// translucency is not the default: YES) until a subclass overrides it; pages read them
// through the runtime, so a subclass's overrides are what the pages show.
// Registered: init, tintColor, statusBarTintColor, navigationBarTitleColor,
// navigationBarTintColor, tableViewCellSeparatorColor, navigationBarBackgroundColor,
// translucentNavigationBar, tableViewBackgroundColor, tableViewCellBackgroundColor,
// tableViewCellTextColor.
class HBAppearanceSettings : public Object {
    TW_OBJECT(HBAppearanceSettings)
public:
    // alloc + init of the class (a subclass of HBAppearanceSettings).
    static RefPtr<HBAppearanceSettings> createWithClass(Class cls);

    // The values as a page sees them: sent through the runtime.
    RefPtr<UIColor> tintColor() const { return colour("tintColor"); }
    RefPtr<UIColor> statusBarTintColor() const { return colour("statusBarTintColor"); }
    RefPtr<UIColor> navigationBarTitleColor() const { return colour("navigationBarTitleColor"); }
    RefPtr<UIColor> navigationBarTintColor() const { return colour("navigationBarTintColor"); }
    RefPtr<UIColor> tableViewCellSeparatorColor() const { return colour("tableViewCellSeparatorColor"); }
    RefPtr<UIColor> navigationBarBackgroundColor() const { return colour("navigationBarBackgroundColor"); }
    RefPtr<UIColor> tableViewBackgroundColor() const { return colour("tableViewBackgroundColor"); }
    RefPtr<UIColor> tableViewCellBackgroundColor() const { return colour("tableViewCellBackgroundColor"); }
    RefPtr<UIColor> tableViewCellTextColor() const { return colour("tableViewCellTextColor"); }
    bool translucentNavigationBar() const { return msgSend<bool>(this, SELECTOR("translucentNavigationBar")); }

protected:
    HBAppearanceSettings() = default;

private:
    RefPtr<UIColor> colour(const char* selector) const { return msgSend<RefPtr<UIColor>>(this, sel_registerName(selector)); }
    Id nilColour() const { return nullptr; }
    bool translucentNavigationBarImpl() const { return true; }
};
