#pragma once

#include "platform/runtime/Object.h"

#include <array>
#include <atomic>
#include <cassert>
#include <type_traits>

// The two casts between runtime classes. objectCast checks and answers nil for an object
// of another class; uncheckedObjectCast is for an object known to be a T, checked only in
// debug builds. Both follow the argument's ownership: a borrowed pointer or a RefPtr kept
// by the caller gives a borrowed T*, a RefPtr given up gives a RefPtr<T> that takes the
// reference over.

template<typename T>
bool isObjectOfType(const Object* object)
{
    using Plain = std::remove_cv_t<T>;
    if (!object)
        return false;
    // Most objects are of exactly the class asked for, which their runtime class tells at
    // once; the full test walks the C++ hierarchy and, across libraries, compares type names.
    Class cls = object->isa();
    if constexpr (requires { Plain::classObject(); }) {
        if (cls == Plain::classObject())
            return true;
    }
    // Every object of one runtime class is of one C++ type, so a class the full test once
    // accepted is accepted at sight after. The few subclasses a type meets (hooked or
    // companion classes on every layout pass) fit; a slot only ever holds an accepted
    // class, so any thread may read it.
    static std::array<std::atomic<Class>, 4> accepted {};
    static std::atomic<size_t> next { 0 };
    for (const auto& known : accepted) {
        if (known.load(std::memory_order_relaxed) == cls)
            return true;
    }
    if (!dynamic_cast<const Plain*>(object))
        return false;
    accepted[next.fetch_add(1, std::memory_order_relaxed) % accepted.size()].store(cls, std::memory_order_relaxed);
    return true;
}

template<typename T>
T* uncheckedObjectCast(const Object* object)
{
    assert(!object || isObjectOfType<T>(object));
    return static_cast<T*>(const_cast<Object*>(object));
}

template<typename T, typename U>
T* uncheckedObjectCast(const RefPtr<U>& object) { return uncheckedObjectCast<T>(object.get()); }

template<typename T, typename U>
RefPtr<T> uncheckedObjectCast(RefPtr<U>&& object) { return adoptRef(uncheckedObjectCast<T>(object.leakRef())); }

template<typename T, typename U>
T* uncheckedObjectCast(const Ref<U>& object) { return uncheckedObjectCast<T>(object.get()); }

template<typename T>
T* objectCast(const Object* object)
{
    return isObjectOfType<T>(object) ? uncheckedObjectCast<T>(object) : nullptr;
}

template<typename T, typename U>
T* objectCast(const RefPtr<U>& object) { return objectCast<T>(object.get()); }

template<typename T, typename U>
RefPtr<T> objectCast(RefPtr<U>&& object)
{
    if (!isObjectOfType<T>(object.get()))
        return nullptr;
    return uncheckedObjectCast<T>(std::move(object));
}

template<typename T, typename U>
T* objectCast(const Ref<U>& object) { return objectCast<T>(object.get()); }

template<typename T, typename U>
RefPtr<T> objectCast(Ref<U>&& object) { return objectCast<T>(RefPtr<U>(std::move(object))); }
