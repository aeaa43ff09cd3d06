#include "tweak/hooks/testing/BBServer.h"

#include "tweak/hooks/HookRows.h"

#include <mutex>
#include <utility>

// Captures the system's bulletin server so the test requests can publish through it.
namespace BBServerHooks {

namespace {

// The server may be initialised or released on any thread while the server queue reads it.
// Never destroyed: a server released at exit would re-enter the hooks after their statics.
std::mutex& captureMutex()
{
    static auto* mutex = new std::mutex;
    return *mutex;
}

// Holds one reference.
Object* s_captured = nullptr;

void capture(Id server)
{
    Object* previous;
    {
        std::lock_guard lock(captureMutex());
        previous = std::exchange(s_captured, server.leakRef());
    }
    // Outside the lock: its dealloc comes back through forget().
    if (previous)
        previous->release();
}

void forget(id server)
{
    std::lock_guard lock(captureMutex());
    // No release: the object is already deallocating.
    if (s_captured == server)
        s_captured = nullptr;
}

Id (*previousInitWithQueue)(id, SEL, id);
Id initWithQueue(id self, SEL sel, id queue)
{
    Id server = previousInitWithQueue(self, sel, queue);
    capture(server);
    return server;
}

Id (*previousInitWithQueueAndListeners)(id, SEL, id, id, id, id, id, id, id, id, id);
Id initWithQueueAndListeners(id self, SEL sel, id queue, id dataProviderManager, id syncService, id dismissalSyncCache, id observerListener, id utilitiesListener, id conduitListener, id systemStateListener, id settingsListener)
{
    Id server = previousInitWithQueueAndListeners(self, sel, queue, dataProviderManager, syncService, dismissalSyncCache, observerListener, utilitiesListener, conduitListener, systemStateListener, settingsListener);
    capture(server);
    return server;
}

void (*previousDealloc)(id, SEL);
void dealloc(id self, SEL sel)
{
    forget(self);
    previousDealloc(self, sel);
}

} // namespace

RefPtr<Object> capturedServer()
{
    std::lock_guard lock(captureMutex());
    return RefPtr<Object>(s_captured);
}

InstallationRows rows()
{
    return {
        replaceRow("BBServer", "initWithQueue:", &initWithQueue, &previousInitWithQueue),
        replaceRow("BBServer", "initWithQueue:dataProviderManager:syncService:dismissalSyncCache:observerListener:utilitiesListener:conduitListener:systemStateListener:settingsListener:", &initWithQueueAndListeners, &previousInitWithQueueAndListeners),
        replaceRow("BBServer", "dealloc", &dealloc, &previousDealloc),
    };
}

} // namespace BBServerHooks
