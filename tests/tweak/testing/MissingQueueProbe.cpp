// A process without the bulletin board's exported queue: a server class of its own, no
// "__BBServerQueue" symbol. Loads Tintwell.dylib, makes the requests and prints how often
// the server was asked and how often something was published to it.
#include "platform/foundation/DeviceRoot.h"
#include "platform/foundation/NSRunLoop.h"
#include "platform/runtime/ClassBuilder.h"

#include <cstdio>
#include <dlfcn.h>

namespace {

int questions = 0;
int publishes = 0;

bool respondsToSelector(id self, SEL, SEL asked)
{
    ++questions;
    return self->respondsToSelector(asked);
}
Id initWithQueue(id self, SEL, id) { return Id(self); }
void publish(id, SEL, id, unsigned long) { ++publishes; }
void publishAlways(id, SEL, id, unsigned long, bool) { ++publishes; }

Class registerServerClass()
{
    Class cls = objc_allocateClassPair(Object::classObject(), "BBServer");
    class_addMethod(cls, sel_registerName("initWithQueue:"), &initWithQueue);
    class_addMethod(cls, sel_registerName("respondsToSelector:"), &respondsToSelector);
    class_addMethod(cls, sel_registerName("publishBulletin:destinations:"), &publish);
    class_addMethod(cls, sel_registerName("publishBulletin:destinations:alwaysToLockScreen:"), &publishAlways);
    objc_registerClassPair(cls);
    return cls;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3)
        return 2;
    DeviceRoot::set(argv[1]);
    NSRunLoop::mainRunLoop();
    Class serverClass = registerServerClass();
    void* library = dlopen(argv[2], RTLD_NOW | RTLD_GLOBAL);
    if (!library) {
        std::fprintf(stderr, "%s\n", dlerror());
        return 1;
    }
    id none = nullptr;
    auto server = msgSend<Id>(class_createInstance(serverClass), SELECTOR("initWithQueue:"), none);

    for (const char* name : { "TWLTestBanner", "TWLTestNotifications" }) {
        if (auto function = reinterpret_cast<void (*)()>(dlsym(library, name)))
            function();
    }
    NSRunLoop::mainRunLoop().advanceBy(2);
    std::printf("{\"asked\": %d, \"published\": %d}\n", questions, publishes);
    return 0;
}
