#include "tweak/hooks/HookRows.h"

// Captures the system's bulletin server so the test requests can publish through it.
namespace BBServerHooks {

namespace {

Id (*previousInitWithQueue)(id, SEL, id);
Id initWithQueue(id self, SEL sel, id queue)
{
    return previousInitWithQueue(self, sel, queue);
}

Id (*previousInitWithQueueAndListeners)(id, SEL, id, id, id, id, id, id, id, id, id);
Id initWithQueueAndListeners(id self, SEL sel, id queue, id dataProviderManager, id syncService, id dismissalSyncCache, id observerListener, id utilitiesListener, id conduitListener, id systemStateListener, id settingsListener)
{
    return previousInitWithQueueAndListeners(self, sel, queue, dataProviderManager, syncService, dismissalSyncCache, observerListener, utilitiesListener, conduitListener, systemStateListener, settingsListener);
}

void (*previousDealloc)(id, SEL);
void dealloc(id self, SEL sel)
{
    previousDealloc(self, sel);
}

} // namespace

InstallationRows rows()
{
    return {
        replaceRow("BBServer", "initWithQueue:", &initWithQueue, &previousInitWithQueue),
        replaceRow("BBServer", "initWithQueue:dataProviderManager:syncService:dismissalSyncCache:observerListener:utilitiesListener:conduitListener:systemStateListener:settingsListener:", &initWithQueueAndListeners, &previousInitWithQueueAndListeners),
        replaceRow("BBServer", "dealloc", &dealloc, &previousDealloc),
    };
}

} // namespace BBServerHooks
