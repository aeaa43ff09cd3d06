#pragma once

#include "platform/runtime/Runtime.h"

// A system view's instance variable by name; nil when the object or the variable is missing.
inline Id ivarNamed(const Object* object, const char* name)
{
    if (!object)
        return nullptr;
    return object_getIvar(const_cast<Object*>(object), class_getInstanceVariable(object->isa(), name));
}
