#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <unordered_map>
#include <vector>

// The main thread's run loop: timers, delayed selectors, main-queue blocks and file
// descriptors (system-wide notifications) all run here, on the host clock
// (HostClock). The host drives it: advanceBy() and runUntilIdle() never sleep;
// runFor() and runUntil() wait on the descriptors with real time passing.
class NSRunLoop {
public:
    using Token = uint64_t;

    // Created on first call; the calling thread becomes the main thread.
    static NSRunLoop& mainRunLoop();
    static bool isMainThread();

    // Scheduling is safe from any thread; work always runs on the main thread.
    Token performAfter(double delaySeconds, std::function<void()>);
    Token performAt(int64_t uptimeNanoseconds, std::function<void()>);
    Token perform(std::function<void()> work) { return performAfter(0, std::move(work)); }
    // False when the work already ran or was cancelled.
    bool cancel(Token);
    size_t pendingCount() const;
    // Seconds until the earliest scheduled work, or a negative number when none.
    double nextDueIn() const;

    // A descriptor watched for reading; the handler runs on the main thread.
    void addSource(int fd, std::function<void()> onReadable);
    void removeSource(int fd);

    // Runs everything due now, including work it schedules for now and ready descriptors.
    void runUntilIdle();
    // Moves the clock forward, running what falls due in due-time order (ties in scheduling
    // order) with the clock set to each item's time.
    void advanceBy(double seconds);
    // Live: real time passes while waiting for descriptors and timers.
    void runFor(double seconds);
    // Live until the predicate holds (true) or the timeout passes (false).
    bool runUntil(const std::function<bool()>& predicate, double timeoutSeconds);

private:
    NSRunLoop();
    ~NSRunLoop() = delete;

    using Work = std::function<void()>;
    using Key = std::pair<int64_t, Token>;
    using Handler = std::shared_ptr<std::function<void()>>;

    bool runOneDue(int64_t limit);
    void serviceSources(int timeoutMilliseconds);
    void wake();

    mutable std::mutex m_mutex;
    std::map<Key, Work> m_queue;
    std::unordered_map<Token, int64_t> m_dueByToken;
    Token m_nextToken { 1 };
    bool m_waiting { false };
    std::map<int, Handler> m_sources;
    int m_wakeFd { -1 };
    std::thread::id m_mainThread;
};
