#include "platform/foundation/Dispatch.h"

#include "platform/foundation/HostClock.h"
#include "platform/foundation/NSRunLoop.h"

#include <atomic>
#include <condition_variable>
#include <limits>
#include <mutex>

namespace {

constexpr long onceRunning = 1;
constexpr long onceDone = ~0l;

std::mutex& onceMutex()
{
    static auto* mutex = new std::mutex;
    return *mutex;
}

std::condition_variable& onceFinished()
{
    static auto* condition = new std::condition_variable;
    return *condition;
}

} // namespace

dispatch_queue_t dispatch_get_main_queue()
{
    return OS_dispatch_queue::mainQueue();
}

RefPtr<OS_dispatch_queue> dispatch_queue_create(const char* label, dispatch_queue_attr_t)
{
    return OS_dispatch_queue::createSerial(label ? label : "");
}

void dispatch_async(dispatch_queue_t queue, dispatch_block_t block)
{
    if (!queue)
        return;
    queue->async(std::move(block));
}

void dispatch_sync(dispatch_queue_t queue, const dispatch_block_t& block)
{
    if (!queue)
        return;
    queue->sync(block);
}

void dispatch_after(dispatch_time_t when, dispatch_queue_t queue, dispatch_block_t block)
{
    if (!queue || !block || when == DISPATCH_TIME_FOREVER)
        return;
    if (when == DISPATCH_TIME_NOW)
        when = dispatch_time(DISPATCH_TIME_NOW, 0);
    auto due = int64_t(std::min<dispatch_time_t>(when, std::numeric_limits<int64_t>::max()));
    NSRunLoop::mainRunLoop().performAt(due, [queue = RefPtr<OS_dispatch_queue>(queue), block = std::move(block)]() mutable {
        if (queue->isMainQueue())
            block();
        else
            queue->async(std::move(block));
    });
}

dispatch_time_t dispatch_time(dispatch_time_t when, int64_t delta)
{
    if (when == DISPATCH_TIME_FOREVER)
        return DISPATCH_TIME_FOREVER;
    int64_t base = when == DISPATCH_TIME_NOW ? HostClock::uptimeNanoseconds() : int64_t(std::min<dispatch_time_t>(when, std::numeric_limits<int64_t>::max()));
    int64_t result;
    if (__builtin_add_overflow(base, delta, &result))
        return delta > 0 ? DISPATCH_TIME_FOREVER : 1;
    // Zero would read as "now"; the clock's uptime never goes that low.
    return dispatch_time_t(std::max<int64_t>(result, 1));
}

void dispatch_once(dispatch_once_t* predicate, const dispatch_block_t& block)
{
    if (!predicate)
        return;
    std::atomic_ref<long> state(*predicate);
    if (state.load(std::memory_order_acquire) == onceDone)
        return;
    {
        std::unique_lock lock(onceMutex());
        if (state.load(std::memory_order_relaxed) == onceRunning) {
            onceFinished().wait(lock, [&] { return state.load(std::memory_order_acquire) == onceDone; });
            return;
        }
        if (state.load(std::memory_order_relaxed) == onceDone)
            return;
        state.store(onceRunning, std::memory_order_relaxed);
    }
    if (block)
        block();
    {
        std::lock_guard lock(onceMutex());
        state.store(onceDone, std::memory_order_release);
    }
    onceFinished().notify_all();
}
