#include "platform/springboard/BBServer.h"

#include "platform/foundation/Dispatch.h"

WeakId __BBServerQueue;

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
    m_queue = dynamic_cast<OS_dispatch_queue*>(queue);
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
    msgSend<void>(this, SELECTOR("publishBulletin:destinations:alwaysToLockScreen:"), static_cast<Object*>(bulletin.get()), destinations, false);
}

void BBServer::publishBulletinDestinationsAlwaysToLockScreenImpl(RefPtr<BBBulletin> bulletin, unsigned long destinations, bool alwaysToLockScreen)
{
    if (!bulletin)
        return;
    Observer observer;
    {
        std::lock_guard lock(m_observerMutex);
        observer = m_observer;
    }
    if (observer)
        observer(std::move(bulletin), destinations, alwaysToLockScreen);
}
