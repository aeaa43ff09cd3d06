#include "outside/cephei/HBAppearanceSettings.h"

Class HBAppearanceSettings::classObject()
{
    static Class cls = ClassBuilder<HBAppearanceSettings>("HBAppearanceSettings", Object::classObject())
                           .method<&HBAppearanceSettings::nilColour>("tintColor")
                           .method<&HBAppearanceSettings::nilColour>("statusBarTintColor")
                           .method<&HBAppearanceSettings::nilColour>("navigationBarTitleColor")
                           .method<&HBAppearanceSettings::nilColour>("navigationBarTintColor")
                           .method<&HBAppearanceSettings::nilColour>("tableViewCellSeparatorColor")
                           .method<&HBAppearanceSettings::nilColour>("navigationBarBackgroundColor")
                           .method<&HBAppearanceSettings::nilColour>("tableViewBackgroundColor")
                           .method<&HBAppearanceSettings::nilColour>("tableViewCellBackgroundColor")
                           .method<&HBAppearanceSettings::nilColour>("tableViewCellTextColor")
                           .method<&HBAppearanceSettings::translucentNavigationBarImpl>("translucentNavigationBar")
                           .build();
    return cls;
}

RefPtr<HBAppearanceSettings> HBAppearanceSettings::createWithClass(Class cls)
{
    if (!cls || !class_isSubclassOf(cls, classObject()))
        return nullptr;
    return msgSend<RefPtr<HBAppearanceSettings>>(class_createInstance(cls), SELECTOR("init"));
}
