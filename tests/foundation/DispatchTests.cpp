#include "platform/foundation/Dispatch.h"
#include "platform/foundation/HostClock.h"
#include "platform/foundation/NSRunLoop.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <mutex>
#include <thread>
#include <vector>

namespace {

bool threadExists(pid_t tid)
{
    return std::filesystem::exists("/proc/self/task/" + std::to_string(tid));
}

// A joined thread can linger in /proc for a moment after it has been reaped.
bool threadEnds(pid_t tid)
{
    for (int i = 0; i < 5000 && threadExists(tid); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return !threadExists(tid);
}

class DispatchTest : public ::testing::Test {
protected:
    void SetUp() override { NSRunLoop::mainRunLoop(); }
    void TearDown() override { EXPECT_EQ(NSRunLoop::mainRunLoop().pendingCount(), 0u); }
};

} // namespace

TEST_F(DispatchTest, SerialQueueRunsBlocksOneAtATimeInSubmissionOrderOnItsOwnThread)
{
    auto queue = dispatch_queue_create("com.tintwell.test.serial", DISPATCH_QUEUE_SERIAL);
    std::vector<int> order;
    std::atomic<int> running { 0 };
    std::atomic<bool> overlapped { false };
    std::thread::id queueThread;
    auto block = [&](int i) {
        return [&, i] {
            if (running.fetch_add(1) != 0)
                overlapped = true;
            std::this_thread::yield();
            order.push_back(i);
            queueThread = std::this_thread::get_id();
            running.fetch_sub(1);
        };
    };
    for (int i = 0; i < 50; ++i) {
        if (i % 3)
            dispatch_async(queue.get(), block(i));
        else
            dispatch_sync(queue.get(), block(i));
    }
    dispatch_sync(queue.get(), [] { });

    std::vector<int> expected(50);
    for (int i = 0; i < 50; ++i)
        expected[i] = i;
    EXPECT_EQ(order, expected);
    EXPECT_FALSE(overlapped);
    EXPECT_NE(queueThread, std::this_thread::get_id());
}

TEST_F(DispatchTest, SyncFromManyThreadsNeverOverlapsAndSyncOnItsOwnQueueRunsInPlace)
{
    auto queue = dispatch_queue_create("com.tintwell.test.contended");
    int counter = 0;
    bool nestedRan = false;
    std::vector<std::thread> callers;
    for (int t = 0; t < 4; ++t) {
        callers.emplace_back([&] {
            for (int i = 0; i < 200; ++i)
                dispatch_sync(queue.get(), [&] { ++counter; });
        });
    }
    for (auto& caller : callers)
        caller.join();
    dispatch_sync(queue.get(), [&] { dispatch_sync(queue.get(), [&] { nestedRan = true; }); });
    EXPECT_EQ(counter, 800);
    EXPECT_TRUE(nestedRan);
}

TEST_F(DispatchTest, DispatchAfterOnTheMainQueueFollowsTheHostClock)
{
    auto& loop = NSRunLoop::mainRunLoop();
    int64_t start = HostClock::uptimeNanoseconds();
    int64_t ranAt = 0;
    dispatch_after(dispatch_time(DISPATCH_TIME_NOW, NSEC_PER_SEC), dispatch_get_main_queue(), [&] { ranAt = HostClock::uptimeNanoseconds(); });
    dispatch_after(DISPATCH_TIME_FOREVER, dispatch_get_main_queue(), [] { FAIL() << "forever never comes"; });

    loop.advanceBy(0.999);
    EXPECT_EQ(ranAt, 0);
    loop.advanceBy(0.5);
    EXPECT_EQ(ranAt - start, NSEC_PER_SEC);
    EXPECT_EQ(dispatch_time(dispatch_time(DISPATCH_TIME_NOW, 0), 5), dispatch_time_t(HostClock::uptimeNanoseconds() + 5));
}

TEST_F(DispatchTest, DispatchAfterOnASerialQueueSubmitsWhenTheClockArrives)
{
    auto queue = dispatch_queue_create("com.tintwell.test.after");
    std::atomic<bool> ran { false };
    std::thread::id ranOn;
    dispatch_after(dispatch_time(DISPATCH_TIME_NOW, 2 * NSEC_PER_SEC), queue.get(), [&] {
        ranOn = std::this_thread::get_id();
        ran = true;
    });
    NSRunLoop::mainRunLoop().advanceBy(1);
    dispatch_sync(queue.get(), [] { });
    EXPECT_FALSE(ran);

    NSRunLoop::mainRunLoop().advanceBy(1);
    dispatch_sync(queue.get(), [] { });
    EXPECT_TRUE(ran);
    EXPECT_NE(ranOn, std::this_thread::get_id());
}

TEST_F(DispatchTest, OnceRunsOnceWhileConcurrentCallersWaitForIt)
{
    static dispatch_once_t once;
    std::atomic<int> runs { 0 };
    std::atomic<bool> go { false };
    bool ready = false;
    std::atomic<int> sawUnready { 0 };
    std::vector<std::thread> callers;
    for (int t = 0; t < 8; ++t) {
        callers.emplace_back([&] {
            while (!go) { }
            dispatch_once(&once, [&] {
                ++runs;
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
                ready = true;
            });
            if (!ready)
                ++sawUnready;
        });
    }
    go = true;
    for (auto& caller : callers)
        caller.join();
    dispatch_once(&once, [&] { ++runs; });
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(sawUnready, 0);
}

TEST_F(DispatchTest, SyncToTheMainQueueFromAWorkerRunsOnTheMainRunLoop)
{
    auto queue = dispatch_queue_create("com.tintwell.test.to-main");
    std::atomic<bool> done { false };
    bool ranOnMain = false;
    dispatch_async(queue.get(), [&] {
        dispatch_sync(dispatch_get_main_queue(), [&] { ranOnMain = NSRunLoop::isMainThread(); });
        dispatch_async(dispatch_get_main_queue(), [&] { done = true; });
    });
    EXPECT_TRUE(NSRunLoop::mainRunLoop().runUntil([&] { return done.load(); }, 30));
    EXPECT_TRUE(ranOnMain);
}

TEST_F(DispatchTest, QueuesAreObjectsThatStopTheirThreadWhenReleased)
{
    WeakId weakQueue;
    pid_t worker = 0;
    {
        auto queue = dispatch_queue_create("com.tintwell.test.weak");
        objc_storeWeak(&weakQueue, queue.get());
        EXPECT_EQ(objc_loadWeakRetained(&weakQueue).get(), queue.get());
        EXPECT_EQ(queue->label(), "com.tintwell.test.weak");
        dispatch_sync(queue.get(), [&] { worker = gettid(); });
    }
    EXPECT_EQ(objc_loadWeakRetained(&weakQueue).get(), nullptr);
    ASSERT_NE(worker, gettid());
    EXPECT_TRUE(threadEnds(worker));

    WeakId weakMain;
    objc_storeWeak(&weakMain, dispatch_get_main_queue());
    EXPECT_EQ(objc_loadWeakRetained(&weakMain).get(), dispatch_get_main_queue());
}

TEST_F(DispatchTest, AQueueReleasedWithWorkPendingFinishesItFirst)
{
    std::atomic<int> ran { 0 };
    std::atomic<pid_t> worker { 0 };
    std::mutex gate;
    std::unique_lock hold(gate);
    WeakId weakQueue;
    {
        auto queue = dispatch_queue_create("com.tintwell.test.pending");
        objc_storeWeak(&weakQueue, queue.get());
        dispatch_async(queue.get(), [&] { std::lock_guard wait(gate); ++ran; });
        dispatch_async(queue.get(), [&] { worker = gettid(); ++ran; });
    }
    EXPECT_TRUE(objc_loadWeakRetained(&weakQueue));
    hold.unlock();
    while (objc_loadWeakRetained(&weakQueue))
        std::this_thread::yield();
    EXPECT_EQ(ran, 2);
    // Released by its own last block, the queue's thread still ends.
    EXPECT_TRUE(threadEnds(worker));
}

TEST_F(DispatchTest, NilQueuesAndBlocksAreIgnored)
{
    dispatch_async(nullptr, [] { FAIL(); });
    dispatch_sync(nullptr, [] { FAIL(); });
    dispatch_after(dispatch_time(DISPATCH_TIME_NOW, 0), nullptr, [] { FAIL(); });
    dispatch_async(dispatch_get_main_queue(), nullptr);
    dispatch_once(nullptr, [] { FAIL(); });
    NSRunLoop::mainRunLoop().runUntilIdle();
}
