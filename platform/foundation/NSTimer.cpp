#include "platform/foundation/NSTimer.h"

#include "platform/foundation/HostClock.h"
#include "platform/foundation/NSObject+NSDelayedPerforming.h"

#include <algorithm>

namespace {

// The phone's floor for repeating timers; also keeps advanceBy() finite.
constexpr double minimumRepeatInterval = 0.0001;

} // namespace

Class NSTimer::classObject()
{
    static Class cls = ClassBuilder<NSTimer>("NSTimer", Object::classObject())
                           .method<&NSTimer::invalidate>("invalidate")
                           .method<&NSTimer::fire>("fire")
                           .method<&NSTimer::isValid>("isValid")
                           .method<&NSTimer::timeInterval>("timeInterval")
                           .method<&NSTimer::userInfo>("userInfo")
                           .build();
    return cls;
}

RefPtr<NSTimer> NSTimer::scheduledTimerWithTimeInterval(double interval, bool repeats, std::function<void(NSTimer*)> block)
{
    auto timer = make<NSTimer>();
    timer->m_interval = std::max(interval > 0 ? interval : 0.0, repeats ? minimumRepeatInterval : 0.0);
    timer->m_repeats = repeats;
    timer->m_block = std::move(block);
    timer->m_valid = true;
    timer->schedule(HostClock::uptimeNanoseconds() + HostClock::delayNanoseconds(timer->m_interval));
    return timer;
}

RefPtr<NSTimer> NSTimer::scheduledTimerWithTimeInterval(double interval, id target, SEL selector, id userInfo, bool repeats)
{
    auto timer = scheduledTimerWithTimeInterval(interval, repeats, nullptr);
    timer->m_target = target;
    timer->m_selector = selector;
    timer->m_userInfo = userInfo;
    return timer;
}

void NSTimer::schedule(int64_t due)
{
    m_due = due;
    m_token = NSRunLoop::mainRunLoop().performAt(due, [timer = RefPtr<NSTimer>(this), due] { timer->fireScheduled(due); });
}

void NSTimer::fireScheduled(int64_t due)
{
    if (!m_valid)
        return;
    if (!m_repeats) {
        sendFire();
        invalidate();
        return;
    }
    // Rescheduled before the callback, so an invalidate() inside it cancels the next firing.
    int64_t step = HostClock::delayNanoseconds(m_interval);
    int64_t next = due + step;
    for (int64_t now = HostClock::uptimeNanoseconds(); next <= now;)
        next += step;
    schedule(next);
    sendFire();
}

void NSTimer::fire()
{
    if (!m_valid)
        return;
    sendFire();
    if (!m_repeats)
        invalidate();
}

void NSTimer::sendFire()
{
    // Copies: the callback may invalidate the timer, which lets go of the originals.
    RefPtr<NSTimer> protect(this);
    if (auto block = m_block) {
        block(this);
        return;
    }
    if (RefPtr<Object> target = m_target)
        performSelectorWithObject(target.get(), m_selector, this);
}

void NSTimer::invalidate()
{
    if (!m_valid.exchange(false))
        return;
    // The run loop's reference may be the last one.
    RefPtr<NSTimer> protect(this);
    NSRunLoop::mainRunLoop().cancel(m_token.exchange(0));
    m_block = nullptr;
    m_target = nullptr;
    m_userInfo = nullptr;
}

double NSTimer::fireDate() const
{
    return double(m_due.load()) / 1e9;
}
