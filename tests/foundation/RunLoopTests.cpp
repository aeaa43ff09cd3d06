#include "platform/foundation/Dispatch.h"
#include "platform/foundation/HostClock.h"
#include "platform/foundation/NSBlock.h"
#include "platform/foundation/NSDate.h"
#include "platform/foundation/NSObject+NSDelayedPerforming.h"
#include "platform/foundation/NSRunLoop.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/NSTimer.h"
#include "platform/foundation/RunLoopClasses.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

namespace {

std::vector<std::string> s_events;

class RunLoopTarget : public Object {
    TW_OBJECT(RunLoopTarget)
public:
    void ping(id argument)
    {
        RefPtr<NSString> text = objectCast<NSString>(argument);
        s_events.push_back("ping:" + (text ? text->utf8() : std::string("nil")));
    }
    void tick() { s_events.push_back("tick"); }

protected:
    RunLoopTarget() = default;
};

Class RunLoopTarget::classObject()
{
    static Class cls = ClassBuilder<RunLoopTarget>("RunLoopTestTarget", Object::classObject())
                           .method<&RunLoopTarget::ping>("ping:")
                           .method<&RunLoopTarget::tick>("tick")
                           .build();
    return cls;
}

class RunLoopTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        registerRunLoopClasses();
        s_events.clear();
        m_start = HostClock::uptimeNanoseconds();
    }
    void TearDown() override { EXPECT_EQ(loop().pendingCount(), 0u); }

    static NSRunLoop& loop() { return NSRunLoop::mainRunLoop(); }
    double elapsed() const { return double(HostClock::uptimeNanoseconds() - m_start) / 1e9; }
    void record(std::string event) { s_events.push_back(std::move(event)); }

    int64_t m_start { 0 };
};

} // namespace

TEST_F(RunLoopTest, EverythingFiresInClockOrderOnlyWhenTheClockReachesIt)
{
    auto target = make<RunLoopTarget>();
    auto timer = NSTimer::scheduledTimerWithTimeInterval(0.3, false, [&](NSTimer*) { record("timer@" + std::to_string(elapsed())); });
    performSelectorAfterDelay(target.get(), SELECTOR("ping:"), NSString::string("later").get(), 0.2);
    performSelectorAfterDelay(target.get(), SELECTOR("ping:"), NSString::string("sooner").get(), 0.1);
    dispatch_after(dispatch_time(DISPATCH_TIME_NOW, 250 * NSEC_PER_MSEC), dispatch_get_main_queue(), [&] { record("after@" + std::to_string(elapsed())); });

    loop().runUntilIdle();
    loop().advanceBy(0.09);
    EXPECT_TRUE(s_events.empty());

    loop().advanceBy(0.41);
    EXPECT_EQ(s_events, (std::vector<std::string> { "ping:sooner", "ping:later", "after@0.250000", "timer@0.300000" }));
    EXPECT_DOUBLE_EQ(elapsed(), 0.5);
    EXPECT_FALSE(timer->isValid());
}

TEST_F(RunLoopTest, TiesKeepSchedulingOrderAndWorkScheduledInsideTheWindowRuns)
{
    for (int i = 0; i < 3; ++i)
        loop().performAfter(0.1, [&, i] { record("tie" + std::to_string(i)); });
    loop().performAfter(0.1, [&] {
        record("chain");
        loop().performAfter(0.1, [&] { record("chained@" + std::to_string(elapsed())); });
        loop().performAfter(0.5, [&] { record("beyond"); });
        loop().perform([&] { record("now"); });
    });

    loop().advanceBy(0.3);
    EXPECT_EQ(s_events, (std::vector<std::string> { "tie0", "tie1", "tie2", "chain", "now", "chained@0.200000" }));
    loop().advanceBy(0.3);
    EXPECT_EQ(s_events.back(), "beyond");
}

TEST_F(RunLoopTest, CancelledWorkNeverRuns)
{
    auto token = loop().performAfter(0.1, [&] { record("cancelled"); });
    loop().performAfter(0.1, [&] { record("kept"); });
    EXPECT_TRUE(loop().cancel(token));
    EXPECT_FALSE(loop().cancel(token));
    loop().advanceBy(1);
    EXPECT_EQ(s_events, (std::vector<std::string> { "kept" }));
}

TEST_F(RunLoopTest, RepeatingTimerFiresOncePerIntervalUntilInvalidated)
{
    int fired = 0;
    auto timer = NSTimer::scheduledTimerWithTimeInterval(1.0, true, [&](NSTimer* self) {
        if (++fired == 5)
            self->invalidate();
    });
    loop().advanceBy(3.5);
    EXPECT_EQ(fired, 3);
    EXPECT_DOUBLE_EQ(timer->fireDate() - double(m_start) / 1e9, 4.0);
    loop().advanceBy(10);
    EXPECT_EQ(fired, 5);
    EXPECT_FALSE(timer->isValid());
}

TEST_F(RunLoopTest, TimerRetainsItsTargetUntilInvalidated)
{
    RefPtr<RunLoopTarget> target = make<RunLoopTarget>();
    WeakPtr<RunLoopTarget> weakTarget(target);
    auto timer = NSTimer::scheduledTimerWithTimeInterval(0.5, target.get(), SELECTOR("tick"), nullptr, true);
    target = nullptr;
    loop().advanceBy(1.2);
    EXPECT_EQ(s_events, (std::vector<std::string> { "tick", "tick" }));
    EXPECT_TRUE(weakTarget.get());

    timer->invalidate();
    EXPECT_FALSE(weakTarget.get());
    loop().advanceBy(1);
    EXPECT_EQ(s_events.size(), 2u);
}

TEST_F(RunLoopTest, DelayedSelectorKeepsTargetAndArgumentAliveUntilItRuns)
{
    RefPtr<RunLoopTarget> target = make<RunLoopTarget>();
    RefPtr<NSString> argument = NSString::string("held");
    WeakPtr<RunLoopTarget> weakTarget(target);
    WeakPtr<NSString> weakArgument(argument);
    msgSend<void>(target.get(), SELECTOR("performSelector:withObject:afterDelay:"), SELECTOR("ping:"), argument.get(), 0.2);
    target = nullptr;
    argument = nullptr;

    loop().advanceBy(0.19);
    EXPECT_TRUE(s_events.empty());
    EXPECT_TRUE(weakTarget.get());
    EXPECT_TRUE(weakArgument.get());

    loop().advanceBy(0.01);
    EXPECT_EQ(s_events, (std::vector<std::string> { "ping:held" }));
    EXPECT_FALSE(weakTarget.get());
    EXPECT_FALSE(weakArgument.get());
}

TEST_F(RunLoopTest, SelectorWithoutArgumentIsSentWithoutOne)
{
    auto target = make<RunLoopTarget>();
    performSelectorAfterDelay(target.get(), SELECTOR("tick"), target.get(), 0);
    EXPECT_TRUE(s_events.empty());
    loop().runUntilIdle();
    EXPECT_EQ(s_events, (std::vector<std::string> { "tick" }));
    EXPECT_EQ(performSelectorWithObject(nullptr, SELECTOR("tick"), nullptr).get(), nullptr);
}

TEST_F(RunLoopTest, CancellingPerformRequestsReleasesTheTargetAndSendsNothing)
{
    RefPtr<RunLoopTarget> target = make<RunLoopTarget>();
    auto other = make<RunLoopTarget>();
    WeakPtr<RunLoopTarget> weakTarget(target);
    performSelectorAfterDelay(target.get(), SELECTOR("tick"), nullptr, 0.2);
    performSelectorAfterDelay(target.get(), SELECTOR("ping:"), nullptr, 0.3);
    performSelectorAfterDelay(other.get(), SELECTOR("ping:"), NSString::string("other").get(), 0.3);
    target = nullptr;

    cancelPreviousPerformRequestsWithTarget(weakTarget.get().get());
    EXPECT_FALSE(weakTarget.get());
    loop().advanceBy(1);
    EXPECT_EQ(s_events, (std::vector<std::string> { "ping:other" }));
}

TEST_F(RunLoopTest, CancellingBySelectorLeavesOtherRequests)
{
    auto target = make<RunLoopTarget>();
    performSelectorAfterDelay(target.get(), SELECTOR("tick"), nullptr, 0.2);
    performSelectorAfterDelay(target.get(), SELECTOR("ping:"), nullptr, 0.2);
    cancelPreviousPerformRequestsWithTarget(target.get(), SELECTOR("tick"), nullptr);
    loop().advanceBy(1);
    EXPECT_EQ(s_events, (std::vector<std::string> { "ping:nil" }));
}

TEST_F(RunLoopTest, DatesFollowTheHostClock)
{
    auto before = NSDate::date();
    loop().advanceBy(90);
    auto after = NSDate::date();
    EXPECT_DOUBLE_EQ(after->timeIntervalSinceDate(before.get()), 90);

    HostClock::setTimeIntervalSince1970(NSTimeIntervalSince1970 + 1000);
    EXPECT_DOUBLE_EQ(NSDate::date()->timeIntervalSinceReferenceDate(), 1000);
}

TEST_F(RunLoopTest, BlocksAreObjectsThatRunTheirBody)
{
    int runs = 0;
    Id block = NSBlock::create([&] { ++runs; });
    msgSend<void>(block, SELECTOR("invoke"));
    EXPECT_EQ(runs, 1);
    EXPECT_TRUE(block->isKindOfClass(NSBlock::classObject()));
}

TEST_F(RunLoopTest, MainQueueBlocksFromOtherThreadsRunOnTheMainThreadWhenIdleRuns)
{
    bool ranOnMain = false;
    std::thread poster([&] { dispatch_async(dispatch_get_main_queue(), [&] { ranOnMain = NSRunLoop::isMainThread(); }); });
    poster.join();
    EXPECT_FALSE(ranOnMain);
    loop().runUntilIdle();
    EXPECT_TRUE(ranOnMain);
    EXPECT_FALSE([] {
        bool result = true;
        std::thread([&] { result = NSRunLoop::isMainThread(); }).join();
        return result;
    }());
}

TEST_F(RunLoopTest, LiveRunWakesForWorkFromAnotherThreadAndLetsRealTimePass)
{
    bool delivered = false;
    std::thread poster([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        dispatch_async(dispatch_get_main_queue(), [&] { delivered = true; });
    });
    EXPECT_TRUE(loop().runUntil([&] { return delivered; }, 30));
    poster.join();
    EXPECT_GT(elapsed(), 0);
    EXPECT_FALSE(HostClock::followsRealTime());

    double before = elapsed();
    bool timerFired = false;
    loop().performAfter(0.01, [&] { timerFired = true; });
    loop().runFor(0.03);
    EXPECT_TRUE(timerFired);
    EXPECT_GE(elapsed() - before, 0.03);
    EXPECT_FALSE(loop().runUntil([] { return false; }, 0.001));
}
