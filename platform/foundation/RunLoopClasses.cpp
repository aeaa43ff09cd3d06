#include "platform/foundation/RunLoopClasses.h"

#include "platform/foundation/HostClock.h"
#include "platform/foundation/NSBlock.h"
#include "platform/foundation/NSDate.h"
#include "platform/foundation/NSNotificationCenter.h"
#include "platform/foundation/NSObject+NSDelayedPerforming.h"
#include "platform/foundation/NSRunLoop.h"
#include "platform/foundation/NSTimer.h"
#include "platform/foundation/OS_dispatch_queue.h"

namespace {

double hostClockSinceReferenceDate()
{
    return HostClock::timeIntervalSince1970() - NSTimeIntervalSince1970;
}

} // namespace

void registerRunLoopClasses()
{
    NSRunLoop::mainRunLoop();
    NSBlock::classObject();
    NSTimer::classObject();
    NSNotification::classObject();
    NSNotificationCenter::classObject();
    OS_dispatch_queue::classObject();
    registerDelayedPerforming();
    NSDate::setClockSource(&hostClockSinceReferenceDate);
}
