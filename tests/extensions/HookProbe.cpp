// A test extension: replaces -[SpringBoard applicationDidFinishLaunching:], the inherited
// -[SpringBoard dealloc] and the class method +[NSNotificationCenter defaultCenter], adds
// an instance method, a class method and a class, observes a system-wide
// notification, makes a value at load as settings code does, and says when its
// replacement or observer runs.
#include "platform/foundation/CFNotificationCenter.h"
#include "platform/foundation/NSNumber.h"
#include "platform/runtime/Substrate.h"

#include <cstdio>

namespace {

void (*originalApplicationDidFinishLaunching)(id, SEL, id);
void (*originalDealloc)(id, SEL);
Id (*originalDefaultCenter)(Class, SEL);
long interceptedLaunches;

void replacedApplicationDidFinishLaunching(id self, SEL selector, id application)
{
    originalApplicationDidFinishLaunching(self, selector, application);
    ++interceptedLaunches;
    std::printf("HookProbe: -[SpringBoard applicationDidFinishLaunching:] intercepted\n");
    std::fflush(stdout);
}

void replacedDealloc(id self, SEL selector)
{
    originalDealloc(self, selector);
}

long interceptedLaunchCount(id, SEL)
{
    return interceptedLaunches;
}

Id replacedDefaultCenter(Class cls, SEL selector)
{
    return originalDefaultCenter(cls, selector);
}

long probeVersion(Class, SEL)
{
    return 1;
}

void pingReceived(CFNotificationCenterRef, void*, CFStringRef, const void*, CFDictionaryRef)
{
    std::printf("HookProbe: ping received\n");
    std::fflush(stdout);
}

__attribute__((constructor)) void installHookProbe()
{
    Class springBoard = objc_getClass("SpringBoard");
    MSHookMessageEx(springBoard, sel_registerName("applicationDidFinishLaunching:"), &replacedApplicationDidFinishLaunching, &originalApplicationDidFinishLaunching);
    MSHookMessageEx(springBoard, sel_registerName("dealloc"), &replacedDealloc, &originalDealloc);
    class_addMethod(springBoard, sel_registerName("HKPinterceptedLaunchCount"), &interceptedLaunchCount);
    MSHookMessageEx(objc_getMetaClass(objc_getClass("NSNotificationCenter")), sel_registerName("defaultCenter"), &replacedDefaultCenter, &originalDefaultCenter);
    class_addClassMethod(springBoard, sel_registerName("HKPprobeVersion"), &probeVersion);
    CFNotificationCenterAddObserver(CFNotificationCenterGetDarwinNotifyCenter(), nullptr, &pingReceived, CFSTR("com.tintwell.hookprobe/Ping"), nullptr, 0);
    // The system's own classes, used at load, are never reported as the extension's.
    [[maybe_unused]] auto defaultCount = NSNumber::numberWithInteger(0);
    // Loaded a second time under another name, the class already exists.
    if (!objc_getClass("HKPProbe"))
        objc_registerClassPair(objc_allocateClassPair(objc_getClass("NSObject"), "HKPProbe"));
}

} // namespace
