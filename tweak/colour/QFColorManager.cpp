#include "tweak/colour/QFColorManager.h"

#include <atomic>
#include <mutex>

namespace {

// @synchronized on the class object: one recursive lock for the class.
std::recursive_mutex& classLock()
{
    static auto* lock = new std::recursive_mutex;
    return *lock;
}

// Once made it never changes, so later callers, at every layout pass, need not take the lock.
std::atomic<QFColorManager*> sharedInstance;

} // namespace

Class QFColorManager::classObject()
{
    static Class cls = ClassBuilder<QFColorManager>("QFColorManager", Object::classObject())
                           .classMethod<&QFColorManager::sharedManagerImpl>("sharedManager")
                           .method<&QFColorManager::initImpl>("init")
#define TINTWELL_QFCOLORMANAGER_REGISTER(name, Name) .method<&QFColorManager::name>(#name).method<&QFColorManager::set##Name>("set" #Name ":")
                           TINTWELL_QFCOLORMANAGER_FIELDS(TINTWELL_QFCOLORMANAGER_REGISTER)
#undef TINTWELL_QFCOLORMANAGER_REGISTER
#define TINTWELL_QFCOLORMANAGER_IVAR(name, Name) .ivar<&QFColorManager::m_##name>("_" #name)
                           TINTWELL_QFCOLORMANAGER_FIELDS(TINTWELL_QFCOLORMANAGER_IVAR)
#undef TINTWELL_QFCOLORMANAGER_IVAR
                           .build();
    return cls;
}

QFColorManager* QFColorManager::sharedManager()
{
    if (auto* made = sharedInstance.load(std::memory_order_acquire))
        return made;
    std::lock_guard lock(classLock());
    if (!sharedInstance.load(std::memory_order_relaxed)) {
        auto allocated = class_createInstance(classObject());
        sharedInstance.store(objectCast<QFColorManager>(msgSend<Id>(allocated, SELECTOR("init"))).leakRef(), std::memory_order_release);
    }
    return sharedInstance.load(std::memory_order_relaxed);
}

Id QFColorManager::initImpl()
{
    auto self = msgSendSuper<Id>(this, classObject(), SELECTOR("init"));
    if (!self)
        return nullptr;
#define TINTWELL_QFCOLORMANAGER_FILL(name, Name) m_##name = NSMutableDictionary::dictionary();
    TINTWELL_QFCOLORMANAGER_FIELDS(TINTWELL_QFCOLORMANAGER_FILL)
#undef TINTWELL_QFCOLORMANAGER_FILL
    return self;
}
