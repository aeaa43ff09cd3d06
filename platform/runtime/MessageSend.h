#pragma once

#include "platform/runtime/ObjectCast.h"
#include "platform/runtime/TypeEncoding.h"

#include <string>
#include <type_traits>

// Resolves a selector through the class's method table (cached); null when no class
// in the hierarchy implements it.
Method lookupMethod(Class, SEL);
[[noreturn]] void objc_unrecognizedSelector(const Object*, SEL);
[[noreturn]] void objc_unrecognizedClassSelector(Class, SEL);
void objc_checkSignature(Method, SEL, const std::string& sendEncoding);

// @selector(name), interned once per call site.
#define SELECTOR(name) ([]() -> SEL { static const SEL s = sel_registerName(name); return s; }())

template<typename R, typename Result>
R convertResult(Result&& result)
{
    if constexpr (IsRefPtr<R>::value && !std::is_same_v<R, Id>) {
        using T = typename IsRefPtr<R>::Pointee;
        return objectCast<T>(Id(std::forward<Result>(result)));
    } else {
        return std::forward<Result>(result);
    }
}

template<typename R, typename... Args>
R invokeMethod(Method method, const Object* self, SEL sel, Args&&... args)
{
    using CR = CanonicalRet<R>;
    using Fn = CR (*)(id, SEL, CanonicalArg<Args>...);
#ifndef NDEBUG
    objc_checkSignature(method, sel, signatureEncoding<CR, CanonicalArg<Args>...>());
#endif
    auto fn = reinterpret_cast<Fn>(method->imp.load(std::memory_order_acquire));
    id receiver = const_cast<Object*>(self);
    if constexpr (std::is_void_v<R>)
        fn(receiver, sel, toCanonicalArg(std::forward<Args>(args))...);
    else
        return convertResult<R>(fn(receiver, sel, toCanonicalArg(std::forward<Args>(args))...));
}

// Sends a message through the receiver's method table. A message to nil answers the
// zero value of its result. R is the result type; object results are RefPtr<T>.
template<typename R = void, typename... Args>
R msgSend(const Object* self, SEL sel, Args&&... args)
{
    if (!self) {
        if constexpr (std::is_void_v<R>)
            return;
        else
            return R {};
    }
    Method method = lookupMethod(self->isa(), sel);
    if (!method)
        objc_unrecognizedSelector(self, sel);
    return invokeMethod<R>(method, self, sel, std::forward<Args>(args)...);
}

template<typename R = void, typename T, typename... Args>
R msgSend(const RefPtr<T>& self, SEL sel, Args&&... args)
{
    return msgSend<R>(static_cast<const Object*>(self.get()), sel, std::forward<Args>(args)...);
}

template<typename R = void, typename T, typename... Args>
R msgSend(const Ref<T>& self, SEL sel, Args&&... args)
{
    return msgSend<R>(static_cast<const Object*>(self.ptr()), sel, std::forward<Args>(args)...);
}

// [super sel]: the lookup starts at the superclass of the class that implements the caller.
template<typename R = void, typename... Args>
R msgSendSuper(const Object* self, Class currentClass, SEL sel, Args&&... args)
{
    if (!self) {
        if constexpr (std::is_void_v<R>)
            return;
        else
            return R {};
    }
    Method method = lookupMethod(class_getSuperclass(currentClass), sel);
    if (!method)
        objc_unrecognizedSelector(self, sel);
    return invokeMethod<R>(method, self, sel, std::forward<Args>(args)...);
}

// Sends only when the receiver implements the selector; otherwise answers zero.
template<typename R = void, typename... Args>
R msgSendIfResponds(const Object* self, SEL sel, Args&&... args)
{
    Method method = self ? lookupMethod(self->isa(), sel) : nullptr;
    if (!method) {
        if constexpr (std::is_void_v<R>)
            return;
        else
            return R {};
    }
    return invokeMethod<R>(method, self, sel, std::forward<Args>(args)...);
}

// Sends a class method: [cls sel ...]. A class method's C++ signature is
// R imp(Class cls, SEL _cmd, Args...). A nil class answers zero.
template<typename R = void, typename... Args>
R msgSendClass(Class cls, SEL sel, Args&&... args)
{
    if (!cls) {
        if constexpr (std::is_void_v<R>)
            return;
        else
            return R {};
    }
    Method method = lookupMethod(objc_getMetaClass(cls), sel);
    if (!method)
        objc_unrecognizedClassSelector(cls, sel);
    using CR = CanonicalRet<R>;
    using Fn = CR (*)(Class, SEL, CanonicalArg<Args>...);
#ifndef NDEBUG
    objc_checkSignature(method, sel, signatureEncoding<CR, CanonicalArg<Args>...>());
#endif
    auto fn = reinterpret_cast<Fn>(method->imp.load(std::memory_order_acquire));
    if constexpr (std::is_void_v<R>)
        fn(cls, sel, toCanonicalArg(std::forward<Args>(args))...);
    else
        return convertResult<R>(fn(cls, sel, toCanonicalArg(std::forward<Args>(args))...));
}

inline bool class_respondsToClassSelector(Class cls, SEL sel) { return cls && lookupMethod(objc_getMetaClass(cls), sel); }

// Typed method registration and replacement, checked against the encoding.
template<typename R, typename... Args>
bool class_addMethod(Class cls, SEL sel, R (*imp)(id, SEL, Args...))
{
    return class_addMethod(cls, sel, reinterpret_cast<IMP>(imp), signatureEncoding<R, Args...>().c_str());
}

template<typename R, typename... Args>
bool class_addClassMethod(Class cls, SEL sel, R (*imp)(Class, SEL, Args...))
{
    return class_addMethod(objc_getMetaClass(cls), sel, reinterpret_cast<IMP>(imp), signatureEncoding<R, Args...>().c_str());
}
