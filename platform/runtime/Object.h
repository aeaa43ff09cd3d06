#pragma once

#include "platform/runtime/Ref.h"

#include <atomic>
#include <cstdint>

struct objc_class;
struct objc_selector;
using Class = objc_class*;
using SEL = const objc_selector*;

class Object;
using id = Object*;
using Id = RefPtr<Object>;

struct WeakControl;
struct AssociationTable;
template<typename>
class ClassBuilder;

// The root of every runtime object; its runtime class is "NSObject".
// Objects are created through make<T>() or a class's alloc, start with one reference,
// and are destroyed by the dealloc message when the last reference goes.
class Object {
public:
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;

    Class isa() const { return m_isa; }

    void retain() const;
    void release() const;
    // Retains unless the object is already being deallocated.
    bool tryRetain() const;
    uint32_t retainCount() const { return m_refCount.load(std::memory_order_relaxed); }
    bool isDeallocating() const { return m_deallocating.load(std::memory_order_acquire); }

    bool isKindOfClass(Class) const;
    bool isMemberOfClass(Class cls) const { return m_isa == cls; }
    bool respondsToSelector(SEL) const;
    const char* className() const;

    static Class classObject();

    // Number of runtime objects alive in the process, for leak checks.
    static int64_t liveObjectCount();

protected:
    Object();
    virtual ~Object();

private:
    friend struct ObjectAccess;
    template<typename>
    friend class ClassBuilder;
    template<typename TWType, typename... TWArgs>
    friend Ref<TWType> make(TWArgs&&...);

    Class m_isa { nullptr };
    mutable std::atomic<uint32_t> m_refCount { 1 };
    mutable std::atomic<bool> m_deallocating { false };
    WeakControl* m_weakControl { nullptr };
    AssociationTable* m_associations { nullptr };
};

// Runtime-internal access to an object's bookkeeping.
struct ObjectAccess {
    static void setIsa(Object* object, Class cls) { object->m_isa = cls; }
    static WeakControl*& weakControl(Object* object) { return object->m_weakControl; }
    static AssociationTable*& associations(Object* object) { return object->m_associations; }
    static void destroy(Object* object) { delete object; }
};

// Creates an object of the C++ type T with the runtime class registered for T.
template<typename T, typename... Args>
Ref<T> make(Args&&... args);

Class object_getClass(const Object*);
