#include "outside/cephei/HBRespringController.h"

#include "platform/foundation/NSString.h"
#include "platform/foundation/rootless.h"
#include "platform/settings/NSTask.h"
#include "platform/settings/PreferencesAppController.h"

Class HBRespringController::classObject()
{
    static Class cls = ClassBuilder<HBRespringController>("HBRespringController", Object::classObject())
                           .classMethod<&HBRespringController::respring>("respring")
                           .classMethod<&HBRespringController::respringAndReturnTo>("respringAndReturnTo:")
                           .build();
    return cls;
}

void HBRespringController::respring()
{
    auto task = NSTask::create();
    task->setLaunchPath(NSString::string(ROOT_PATH("/usr/bin/sbreload")).get());
    task->launch();
}

void HBRespringController::respringAndReturnTo(Object* address)
{
    respring();
    if (!address)
        return;
    // Reached by name, as Cephei asks the running Settings app to open the address.
    auto app = msgSendClass<Id>(objc_getClass("PreferencesAppController"), SELECTOR("sharedApplication"));
    msgSendIfResponds<bool>(app.get(), SELECTOR("openURL:"), address);
}
