#include "outside/cephei/PSListController+HBTintAdditions.h"

#include "platform/settings/PSListController.h"

#include <mutex>

namespace {

const char appearanceKey = 0;

Id appearanceSettingsImp(id self, SEL) { return objc_getAssociatedObject(self, &appearanceKey); }

void setAppearanceSettingsImp(id self, SEL, id settings)
{
    objc_setAssociatedObject(self, &appearanceKey, objectCast<HBAppearanceSettings>(settings), OBJC_ASSOCIATION_RETAIN_NONATOMIC);
}

} // namespace

void PSListControllerHBTintAdditions::install()
{
    static std::once_flag once;
    std::call_once(once, [] {
        Class cls = PSListController::classObject();
        class_addMethod(cls, sel_registerName("hb_appearanceSettings"), &appearanceSettingsImp);
        class_addMethod(cls, sel_registerName("hb_setAppearanceSettings:"), &setAppearanceSettingsImp);
    });
}

RefPtr<HBAppearanceSettings> PSListControllerHBTintAdditions::appearanceSettings(const PSListController* controller)
{
    if (!controller)
        return nullptr;
    install();
    return msgSend<RefPtr<HBAppearanceSettings>>(controller, SELECTOR("hb_appearanceSettings"));
}
