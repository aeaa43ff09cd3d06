#include "outside/cephei/HBRootListController.h"

Class HBRootListController::classObject()
{
    static Class cls = ClassBuilder<HBRootListController>("HBRootListController", HBListController::classObject()).build();
    return cls;
}
