#pragma once

#include "platform/runtime/Runtime.h"

#include <array>
#include <cstdint>

// The hooks ask for the same few classes and instance variables on every layout pass.
// Classes never go away and a class's variables never change once found, so answers are
// remembered by the class and the name's address (the names are literals).

inline Class classNamed(const char* className)
{
    struct Remembered {
        const char* name { nullptr };
        Class cls { nullptr };
    };
    thread_local std::array<Remembered, 16> remembered;
    auto& slot = remembered[(reinterpret_cast<uintptr_t>(className) >> 3) % remembered.size()];
    if (slot.name == className)
        return slot.cls;
    Class cls = objc_getClass(className);
    if (cls)
        slot = { className, cls };
    return cls;
}

inline bool isKindOfClassNamed(const Object* object, const char* className)
{
    if (!object)
        return false;
    Class cls = classNamed(className);
    return cls && object->isKindOfClass(cls);
}

inline Ivar ivarOfClassNamed(Class cls, const char* name)
{
    struct Remembered {
        Class cls { nullptr };
        const char* name { nullptr };
        Ivar ivar { nullptr };
    };
    thread_local std::array<Remembered, 32> remembered;
    auto& slot = remembered[((reinterpret_cast<uintptr_t>(cls) >> 4) ^ (reinterpret_cast<uintptr_t>(name) >> 3)) % remembered.size()];
    if (slot.cls == cls && slot.name == name)
        return slot.ivar;
    Ivar ivar = class_getInstanceVariable(cls, name);
    if (ivar)
        slot = { cls, name, ivar };
    return ivar;
}

// A system view's instance variable by name; nil when the object or the variable is missing.
inline Id ivarNamed(const Object* object, const char* name)
{
    if (!object)
        return nullptr;
    return object_getIvar(const_cast<Object*>(object), ivarOfClassNamed(object->isa(), name));
}
