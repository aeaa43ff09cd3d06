#pragma once

#include "platform/foundation/OS_dispatch_queue.h"
#include "platform/runtime/WeakPtr.h"
#include "platform/springboard/BBBulletin.h"

#include <functional>
#include <mutex>
#include <string_view>

// The process exports the bulletin server's queue under this name, held weakly, so
// dlsym(dlopen(NULL, RTLD_GLOBAL), "__BBServerQueue") finds it.
extern "C" WeakId __BBServerQueue;

// The bulletin board: data providers publish bulletins to it on its serial queue, and it
// hands each one to its observer (the home screen's notification dispatcher), still on its
// queue. Initialising a server exports its queue as "__BBServerQueue".
class BBServer : public Object {
    TW_OBJECT(BBServer)
public:
    // Called on the server's queue for every published bulletin, with the publish call the
    // publisher sent.
    using Observer = std::function<void(RefPtr<BBBulletin>, unsigned long destinations, bool alwaysToLockScreen, std::string_view call)>;

    static constexpr const char* queueLabel = "com.apple.bulletinboard.BBServerQueue";
    static constexpr const char* destinationsCall = "publishBulletin:destinations:";
    static constexpr const char* lockScreenCall = "publishBulletin:destinations:alwaysToLockScreen:";

    // The publish calls a server answers to respondsToSelector:. Servers of other system
    // versions have only one of the two.
    enum PublishCalls : unsigned {
        NoPublishCall = 0,
        DestinationsCall = 1,
        LockScreenCall = 2,
        BothPublishCalls = DestinationsCall | LockScreenCall,
    };
    // BBServer for both calls; otherwise a registered subclass whose instances answer only
    // the given ones ("BBServerWithoutLockScreenCall", "BBServerWithoutDestinationsCall",
    // "BBServerWithoutPublishCalls").
    static Class classAnswering(unsigned calls);
    // Empties the process's "__BBServerQueue", as in a process that exports no queue.
    static void withdrawExportedQueue();

    // What the system does at launch: a new serial queue, then alloc and the long
    // initialiser sent through the runtime. Nil when an initialiser replacement answers nil
    // or something that is not a server.
    static RefPtr<BBServer> createForSystem();
    // The same with an instance of `serverClass` (BBServer or a subclass; nil is BBServer).
    static RefPtr<BBServer> createForSystem(Class serverClass);

    RefPtr<OS_dispatch_queue> queue() const { return m_queue; }
    // Replaces the observer; an empty one stops delivery.
    void setObserver(Observer);

    void publishBulletin(BBBulletin* bulletin, unsigned long destinations)
    {
        msgSend<void>(this, SELECTOR("publishBulletin:destinations:"), bulletin, destinations);
    }
    void publishBulletin(BBBulletin* bulletin, unsigned long destinations, bool alwaysToLockScreen)
    {
        msgSend<void>(this, SELECTOR("publishBulletin:destinations:alwaysToLockScreen:"), bulletin, destinations, alwaysToLockScreen);
    }

protected:
    BBServer() = default;

private:
    Id initWithQueueImpl(id queue);
    Id initWithQueueAndListenersImpl(id queue, id dataProviderManager, id syncService, id dismissalSyncCache,
        id observerListener, id utilitiesListener, id conduitListener, id systemStateListener, id settingsListener);
    void deallocImpl();
    Id queueImpl() const { return m_queue; }
    void publishBulletinDestinationsImpl(RefPtr<BBBulletin> bulletin, unsigned long destinations);
    void publishBulletinDestinationsAlwaysToLockScreenImpl(RefPtr<BBBulletin> bulletin, unsigned long destinations, bool alwaysToLockScreen);

    RefPtr<OS_dispatch_queue> m_queue;
    Id m_dataProviderManager;
    // Set on the server's queue while the two-argument call forwards to the three-argument one.
    std::string_view m_forwardingCall;
    std::mutex m_observerMutex;
    Observer m_observer;
};
