#pragma once

#include "platform/runtime/MessageSend.h"

// The hooking framework's entry point: makes `replacement` the class's implementation of
// `selector` and stores the implementation in force before into `result`. A method the
// class only inherits is installed on that class alone, and `result` receives the
// superclass's implementation. A missing class or selector leaves `result` untouched.
void MSHookMessageEx(Class, SEL, IMP replacement, IMP* result);

template<typename R, typename... Args>
void MSHookMessageEx(Class cls, SEL selector, R (*replacement)(id, SEL, Args...), R (**result)(id, SEL, Args...))
{
    if (!cls || !selector)
        return;
#ifndef NDEBUG
    if (Method method = lookupMethod(cls, selector))
        objc_checkSignature(method, selector, signatureEncoding<R, Args...>());
#endif
    MSHookMessageEx(cls, selector, reinterpret_cast<IMP>(replacement), reinterpret_cast<IMP*>(result));
}

// Class methods: pass the metaclass, as on the phone (MSHookMessageEx(object_getClass(cls), ...)).
template<typename R, typename... Args>
void MSHookMessageEx(Class metaclass, SEL selector, R (*replacement)(Class, SEL, Args...), R (**result)(Class, SEL, Args...))
{
    if (!metaclass || !selector)
        return;
#ifndef NDEBUG
    if (Method method = lookupMethod(metaclass, selector))
        objc_checkSignature(method, selector, signatureEncoding<R, Args...>());
#endif
    MSHookMessageEx(metaclass, selector, reinterpret_cast<IMP>(replacement), reinterpret_cast<IMP*>(result));
}
