#pragma once

#include "platform/foundation/NSRunLoop.h"
#include "platform/runtime/ClassBuilder.h"

#include <atomic>
#include <functional>

// A timer on the main run loop. While scheduled it is retained by the run loop and
// retains its target and user info; invalidate() (or the last firing of a one-shot
// timer) lets them go.
class NSTimer : public Object {
    TW_OBJECT(NSTimer)
public:
    static RefPtr<NSTimer> scheduledTimerWithTimeInterval(double interval, bool repeats, std::function<void(NSTimer*)> block);
    // The selector takes the timer ("v@:@") or nothing ("v@:").
    static RefPtr<NSTimer> scheduledTimerWithTimeInterval(double interval, id target, SEL selector, id userInfo, bool repeats);

    void invalidate();
    bool isValid() const { return m_valid.load(); }
    // Fires now, outside the schedule; a one-shot timer is then invalidated.
    void fire();
    double timeInterval() const { return m_interval; }
    // Host uptime in seconds of the next scheduled firing.
    double fireDate() const;
    Id userInfo() const { return m_userInfo; }

protected:
    NSTimer() = default;

private:
    void schedule(int64_t dueNanoseconds);
    void fireScheduled(int64_t dueNanoseconds);
    void sendFire();

    double m_interval { 0 };
    bool m_repeats { false };
    std::function<void(NSTimer*)> m_block;
    RefPtr<Object> m_target;
    SEL m_selector { nullptr };
    RefPtr<Object> m_userInfo;
    std::atomic<bool> m_valid { false };
    std::atomic<NSRunLoop::Token> m_token { 0 };
    std::atomic<int64_t> m_due { 0 };
};
