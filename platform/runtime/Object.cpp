#include "platform/runtime/ClassBuilder.h"

#include <map>
#include <mutex>

struct WeakControl {
    std::atomic<uint32_t> references { 1 };
    Object* object { nullptr }; // guarded by weakMutex()
};

struct AssociationTable {
    std::map<const void*, std::pair<objc_AssociationPolicy, Object*>> entries;
};

namespace {

std::atomic<int64_t> s_liveObjects { 0 };

std::mutex& weakMutex()
{
    static auto* mutex = new std::mutex;
    return *mutex;
}

std::mutex& associationMutex()
{
    static auto* mutex = new std::mutex;
    return *mutex;
}

bool retainsValue(objc_AssociationPolicy policy) { return policy != OBJC_ASSOCIATION_ASSIGN; }

} // namespace

Object::Object() { s_liveObjects.fetch_add(1, std::memory_order_relaxed); }
Object::~Object() { s_liveObjects.fetch_sub(1, std::memory_order_relaxed); }

int64_t Object::liveObjectCount() { return s_liveObjects.load(); }

void Object::retain() const { m_refCount.fetch_add(1, std::memory_order_relaxed); }

bool Object::tryRetain() const
{
    uint32_t count = m_refCount.load(std::memory_order_relaxed);
    while (count > 0 && !m_deallocating.load(std::memory_order_acquire)) {
        if (m_refCount.compare_exchange_weak(count, count + 1, std::memory_order_acq_rel))
            return true;
    }
    return false;
}

void Object::release() const
{
    uint32_t previous = m_refCount.fetch_sub(1, std::memory_order_acq_rel);
    if (previous != 1) {
#ifndef NDEBUG
        if (previous == 0 && !m_deallocating.load())
            objc_fatal(std::string("over-release of an instance of ") + className());
#endif
        return;
    }
    // Retains and releases made by dealloc itself must not start a second dealloc.
    if (m_deallocating.exchange(true, std::memory_order_acq_rel))
        return;
    msgSend<void>(this, SELECTOR("dealloc"));
}

bool Object::isKindOfClass(Class cls) const { return class_isSubclassOf(m_isa, cls); }
bool Object::respondsToSelector(SEL sel) const { return lookupMethod(m_isa, sel); }
const char* Object::className() const { return class_getName(m_isa); }

Class object_getClass(const Object* object) { return object ? object->isa() : nullptr; }

WeakControl* weakControlFor(const Object* object)
{
    std::lock_guard lock(weakMutex());
    auto& control = ObjectAccess::weakControl(const_cast<Object*>(object));
    if (!control) {
        control = new WeakControl;
        control->object = const_cast<Object*>(object);
    }
    control->references.fetch_add(1, std::memory_order_relaxed);
    return control;
}

void weakControlRetain(WeakControl* control) { control->references.fetch_add(1, std::memory_order_relaxed); }

void weakControlRelease(WeakControl* control)
{
    if (control->references.fetch_sub(1, std::memory_order_acq_rel) == 1)
        delete control;
}

RefPtr<Object> weakControlLoad(WeakControl* control)
{
    std::lock_guard lock(weakMutex());
    Object* object = control->object;
    if (object && object->tryRetain())
        return adoptRef(object);
    return nullptr;
}

void objc_storeWeak(WeakId* location, id object)
{
    if (location)
        *location = object;
}

RefPtr<Object> objc_loadWeakRetained(WeakId* location)
{
    return location ? location->get() : nullptr;
}

void objc_setAssociatedObject(id object, const void* key, id value, objc_AssociationPolicy policy)
{
    if (!object || !key)
        return;
    Object* previous = nullptr;
    bool releasePrevious = false;
    {
        std::lock_guard lock(associationMutex());
        auto& table = ObjectAccess::associations(object);
        if (!table)
            table = new AssociationTable;
        auto it = table->entries.find(key);
        if (it != table->entries.end()) {
            previous = it->second.second;
            releasePrevious = retainsValue(it->second.first);
            table->entries.erase(it);
        }
        if (value) {
            if (retainsValue(policy))
                value->retain();
            table->entries[key] = { policy, value };
        }
    }
    if (previous && releasePrevious)
        previous->release();
}

RefPtr<Object> objc_getAssociatedObject(id object, const void* key)
{
    if (!object || !key)
        return nullptr;
    std::lock_guard lock(associationMutex());
    auto* table = ObjectAccess::associations(object);
    if (!table)
        return nullptr;
    auto it = table->entries.find(key);
    return it == table->entries.end() ? nullptr : RefPtr<Object>(it->second.second);
}

void objc_removeAssociatedObjects(id object)
{
    if (!object)
        return;
    AssociationTable* table = nullptr;
    {
        std::lock_guard lock(associationMutex());
        table = std::exchange(ObjectAccess::associations(object), nullptr);
    }
    if (!table)
        return;
    for (auto& [key, entry] : table->entries) {
        if (retainsValue(entry.first))
            entry.second->release();
    }
    delete table;
}

namespace {

// -[NSObject dealloc]: the end of every dealloc chain.
void rootDealloc(id self, SEL)
{
    {
        std::lock_guard lock(weakMutex());
        if (auto* control = std::exchange(ObjectAccess::weakControl(self), nullptr)) {
            control->object = nullptr;
            weakControlRelease(control);
        }
    }
    objc_removeAssociatedObjects(self);
    ObjectAccess::destroy(self);
}

Id rootInit(id self, SEL) { return Id(self); }
Class rootClass(id self, SEL) { return self->isa(); }
bool rootIsKindOfClass(id self, SEL, Class cls) { return self->isKindOfClass(cls); }
bool rootRespondsToSelector(id self, SEL, SEL sel) { return self->respondsToSelector(sel); }
bool rootIsEqual(id self, SEL, id other) { return self == other; }
unsigned long rootHash(id self, SEL) { return reinterpret_cast<uintptr_t>(self); }

} // namespace

Class Object::classObject()
{
    static Class cls = ClassBuilder<Object>("NSObject", nullptr)
                           .function("dealloc", &rootDealloc)
                           .function("init", &rootInit)
                           .function("class", &rootClass)
                           .function("isKindOfClass:", &rootIsKindOfClass)
                           .function("respondsToSelector:", &rootRespondsToSelector)
                           .function("isEqual:", &rootIsEqual)
                           .function("hash", &rootHash)
                           .build();
    return cls;
}
