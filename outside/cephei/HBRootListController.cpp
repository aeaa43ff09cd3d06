#include "outside/cephei/HBRootListController.h"

#include "outside/cephei/HBRespringController.h"

Class HBRootListController::classObject()
{
    static Class cls = ClassBuilder<HBRootListController>("HBRootListController", HBListController::classObject()).build();
    return cls;
}

// Like the phone's framework, the classes are known by name once the library is loaded,
// so specifier lists and bundles can name them before any code touches them.
__attribute__((constructor)) static void registerCepheiPageClasses()
{
    HBAppearanceSettings::classObject();
    HBListController::classObject();
    HBRootListController::classObject();
    HBRespringController::classObject();
}
