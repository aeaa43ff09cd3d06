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
                           .method<&QFColorManager::notificationColors>("notificationColors")
                           .method<&QFColorManager::setNotificationColors>("setNotificationColors:")
                           .method<&QFColorManager::widgetColors>("widgetColors")
                           .method<&QFColorManager::setWidgetColors>("setWidgetColors:")
                           .method<&QFColorManager::axonColors>("axonColors")
                           .method<&QFColorManager::setAxonColors>("setAxonColors:")
                           .method<&QFColorManager::grupiColors>("grupiColors")
                           .method<&QFColorManager::setGrupiColors>("setGrupiColors:")
                           .method<&QFColorManager::daynColors>("daynColors")
                           .method<&QFColorManager::setDaynColors>("setDaynColors:")
                           .ivar<&QFColorManager::m_notificationColors>("_notificationColors")
                           .ivar<&QFColorManager::m_widgetColors>("_widgetColors")
                           .ivar<&QFColorManager::m_axonColors>("_axonColors")
                           .ivar<&QFColorManager::m_grupiColors>("_grupiColors")
                           .ivar<&QFColorManager::m_daynColors>("_daynColors")
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
    m_notificationColors = NSMutableDictionary::dictionary();
    m_widgetColors = NSMutableDictionary::dictionary();
    m_axonColors = NSMutableDictionary::dictionary();
    m_grupiColors = NSMutableDictionary::dictionary();
    m_daynColors = NSMutableDictionary::dictionary();
    return self;
}
