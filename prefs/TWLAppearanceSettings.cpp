#include "prefs/TWLAppearanceSettings.h"

Class TWLAppearanceSettings::classObject()
{
    static Class cls = ClassBuilder<TWLAppearanceSettings>("TWLAppearanceSettings", HBAppearanceSettings::classObject())
                           .method<&TWLAppearanceSettings::tintColorImpl>("tintColor")
                           .method<&TWLAppearanceSettings::whiteImpl>("statusBarTintColor")
                           .method<&TWLAppearanceSettings::whiteImpl>("navigationBarTitleColor")
                           .method<&TWLAppearanceSettings::whiteImpl>("navigationBarTintColor")
                           .method<&TWLAppearanceSettings::tableViewCellSeparatorColorImpl>("tableViewCellSeparatorColor")
                           .method<&TWLAppearanceSettings::navigationBarBackgroundColorImpl>("navigationBarBackgroundColor")
                           .method<&TWLAppearanceSettings::translucentNavigationBarImpl>("translucentNavigationBar")
                           .build();
    return cls;
}

Id TWLAppearanceSettings::tintColorImpl() const { return UIColor::colorWithRed(0.33, 0.79, 1.0, 1.0); }
Id TWLAppearanceSettings::whiteImpl() const { return UIColor::whiteColor(); }
Id TWLAppearanceSettings::tableViewCellSeparatorColorImpl() const { return UIColor::colorWithWhite(0.0, 0.0); }
Id TWLAppearanceSettings::navigationBarBackgroundColorImpl() const { return UIColor::colorWithRed(0.33, 0.79, 1.0, 1.0); }

// The Settings app finds the bundle's classes by name once it has opened the bundle.
__attribute__((constructor)) static void registerTWLAppearanceSettings() { TWLAppearanceSettings::classObject(); }
