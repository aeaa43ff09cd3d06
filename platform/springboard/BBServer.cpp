#include "platform/springboard/BBServer.h"

#include "platform/foundation/Dispatch.h"

WeakId __BBServerQueue;

namespace {

template<unsigned Calls>
bool answersOnly(id self, SEL, SEL asked)
{
    std::string_view name = sel_getName(asked);
    if (name == BBServer::destinationsCall && !(Calls & BBServer::DestinationsCall))
        return false;
    if (name == BBServer::lockScreenCall && !(Calls & BBServer::LockScreenCall))
        return false;
    return self->respondsToSelector(asked);
}

template<unsigned Calls>
Class variantClass(const char* name)
{
    static Class cls = [name] {
        if (Class existing = objc_getClass(name))
            return existing;
        Class variant = objc_allocateClassPair(BBServer::classObject(), name);
        class_addMethod(variant, sel_registerName("respondsToSelector:"), &answersOnly<Calls>);
        objc_registerClassPair(variant);
        return variant;
    }();
    return cls;
}

} // namespace

Class BBServer::classObject()
{
    static Class cls = ClassBuilder<BBServer>("BBServer", Object::classObject())
                           .method<&BBServer::initWithQueueImpl>("initWithQueue:")
                           .method<&BBServer::initWithQueueAndListenersImpl>("initWithQueue:dataProviderManager:syncService:dismissalSyncCache:observerListener:utilitiesListener:conduitListener:systemStateListener:settingsListener:")
                           .method<&BBServer::deallocImpl>("dealloc")
                           .method<&BBServer::queueImpl>("queue")
                           .method<&BBServer::publishBulletinDestinationsImpl>("publishBulletin:destinations:")
                           .method<&BBServer::publishBulletinDestinationsAlwaysToLockScreenImpl>("publishBulletin:destinations:alwaysToLockScreen:")
                           .ivar<&BBServer::m_queue>("_queue")
                           .build();
    return cls;
}

Class BBServer::classAnswering(unsigned calls)
{
    switch (calls & BothPublishCalls) {
    case DestinationsCall:
        return variantClass<DestinationsCall>("BBServerWithoutLockScreenCall");
    case LockScreenCall:
        return variantClass<LockScreenCall>("BBServerWithoutDestinationsCall");
    case NoPublishCall:
        return variantClass<NoPublishCall>("BBServerWithoutPublishCalls");
    default:
        return classObject();
    }
}

void BBServer::withdrawExportedQueue()
{
    objc_storeWeak(&__BBServerQueue, nullptr);
}

RefPtr<BBServer> BBServer::createForSystem()
{
    return createForSystem(nullptr);
}

RefPtr<BBServer> BBServer::createForSystem(Class serverClass)
{
    if (!serverClass)
        serverClass = classObject();
    if (!class_isSubclassOf(serverClass, classObject()))
        return nullptr;
    auto queue = dispatch_queue_create(queueLabel);
    auto object = class_createInstance(serverClass);
    id none = nullptr;
    return msgSend<RefPtr<BBServer>>(object,
        SELECTOR("initWithQueue:dataProviderManager:syncService:dismissalSyncCache:observerListener:utilitiesListener:conduitListener:systemStateListener:settingsListener:"),
        static_cast<id>(queue.get()), none, none, none, none, none, none, none, none);
}

Id BBServer::initWithQueueImpl(id queue)
{
    m_queue = objectCast<OS_dispatch_queue>(queue);
    objc_storeWeak(&__BBServerQueue, m_queue.get());
    return Id(this);
}

Id BBServer::initWithQueueAndListenersImpl(id queue, id dataProviderManager, id, id, id, id, id, id, id)
{
    m_dataProviderManager = dataProviderManager;
    return initWithQueueImpl(queue);
}

void BBServer::deallocImpl()
{
    setObserver({});
    msgSendSuper<void>(this, classObject(), SELECTOR("dealloc"));
}

void BBServer::setObserver(Observer observer)
{
    std::lock_guard lock(m_observerMutex);
    m_observer = std::move(observer);
}

void BBServer::publishBulletinDestinationsImpl(RefPtr<BBBulletin> bulletin, unsigned long destinations)
{
    // A send, as the phone's server does: a hook on the three-argument form sees this one too.
    m_forwardingCall = destinationsCall;
    msgSend<void>(this, SELECTOR("publishBulletin:destinations:alwaysToLockScreen:"), bulletin, destinations, false);
    m_forwardingCall = {};
}

void BBServer::publishBulletinDestinationsAlwaysToLockScreenImpl(RefPtr<BBBulletin> bulletin, unsigned long destinations, bool alwaysToLockScreen)
{
    std::string_view call = m_forwardingCall.empty() ? std::string_view(lockScreenCall) : m_forwardingCall;
    m_forwardingCall = {};
    if (!bulletin)
        return;
    Observer observer;
    {
        std::lock_guard lock(m_observerMutex);
        observer = m_observer;
    }
    if (observer)
        observer(std::move(bulletin), destinations, alwaysToLockScreen, call);
}
