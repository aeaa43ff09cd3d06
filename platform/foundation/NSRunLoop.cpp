#include "platform/foundation/NSRunLoop.h"

#include "platform/foundation/HostClock.h"
#include "platform/foundation/RunLoopClasses.h"

#include <atomic>
#include <cmath>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

namespace {

constexpr int64_t predicateRecheckMilliseconds = 50;

} // namespace

NSRunLoop& NSRunLoop::mainRunLoop()
{
    static NSRunLoop* loop = new NSRunLoop;
    // Delayed selectors must be answerable from the first scheduled work on.
    static std::atomic<bool> registered { false };
    if (!registered.exchange(true))
        registerRunLoopClasses();
    return *loop;
}

bool NSRunLoop::isMainThread()
{
    return mainRunLoop().m_mainThread == std::this_thread::get_id();
}

NSRunLoop::NSRunLoop()
    : m_wakeFd(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC))
    , m_mainThread(std::this_thread::get_id())
{
}

NSRunLoop::Token NSRunLoop::performAfter(double delaySeconds, std::function<void()> work)
{
    return performAt(HostClock::uptimeNanoseconds() + HostClock::delayNanoseconds(delaySeconds), std::move(work));
}

NSRunLoop::Token NSRunLoop::performAt(int64_t uptime, std::function<void()> work)
{
    bool waiting;
    Token token;
    {
        std::lock_guard lock(m_mutex);
        token = m_nextToken++;
        m_queue.emplace(Key { uptime, token }, std::move(work));
        m_dueByToken.emplace(token, uptime);
        waiting = m_waiting;
    }
    if (waiting)
        wake();
    return token;
}

bool NSRunLoop::cancel(Token token)
{
    Work doomed;
    {
        std::lock_guard lock(m_mutex);
        auto due = m_dueByToken.find(token);
        if (due == m_dueByToken.end())
            return false;
        auto entry = m_queue.find(Key { due->second, token });
        doomed = std::move(entry->second);
        m_queue.erase(entry);
        m_dueByToken.erase(due);
    }
    // The work's captures are released here, outside the lock: their deallocs may schedule.
    return true;
}

size_t NSRunLoop::pendingCount() const
{
    std::lock_guard lock(m_mutex);
    return m_queue.size();
}

double NSRunLoop::nextDueIn() const
{
    int64_t now = HostClock::uptimeNanoseconds();
    std::lock_guard lock(m_mutex);
    if (m_queue.empty())
        return -1;
    return std::max<double>(0, double(m_queue.begin()->first.first - now) / 1e9);
}

void NSRunLoop::addSource(int fd, std::function<void()> onReadable)
{
    if (fd < 0 || !onReadable)
        return;
    bool waiting;
    {
        std::lock_guard lock(m_mutex);
        m_sources[fd] = std::make_shared<std::function<void()>>(std::move(onReadable));
        waiting = m_waiting;
    }
    if (waiting)
        wake();
}

void NSRunLoop::removeSource(int fd)
{
    Handler doomed;
    std::lock_guard lock(m_mutex);
    auto source = m_sources.find(fd);
    if (source == m_sources.end())
        return;
    doomed = std::move(source->second);
    m_sources.erase(source);
}

bool NSRunLoop::runOneDue(int64_t limit)
{
    Work work;
    int64_t due;
    {
        std::lock_guard lock(m_mutex);
        if (m_queue.empty() || m_queue.begin()->first.first > limit)
            return false;
        auto entry = m_queue.begin();
        due = entry->first.first;
        work = std::move(entry->second);
        m_dueByToken.erase(entry->first.second);
        m_queue.erase(entry);
    }
    HostClock::advanceTo(due);
    if (work)
        work();
    return true;
}

void NSRunLoop::serviceSources(int timeoutMilliseconds)
{
    std::vector<pollfd> fds;
    {
        std::lock_guard lock(m_mutex);
        fds.push_back({ m_wakeFd, POLLIN, 0 });
        for (auto& [fd, handler] : m_sources)
            fds.push_back({ fd, POLLIN, 0 });
    }
    int ready = poll(fds.data(), fds.size(), timeoutMilliseconds);
    if (ready <= 0)
        return;
    if (fds[0].revents) {
        uint64_t count;
        while (read(m_wakeFd, &count, sizeof count) > 0) { }
    }
    for (size_t i = 1; i < fds.size(); ++i) {
        if (!fds[i].revents)
            continue;
        Handler handler;
        {
            std::lock_guard lock(m_mutex);
            auto source = m_sources.find(fds[i].fd);
            if (source != m_sources.end())
                handler = source->second;
        }
        // A source removed by an earlier handler is not serviced.
        if (handler)
            (*handler)();
    }
}

void NSRunLoop::wake()
{
    uint64_t one = 1;
    [[maybe_unused]] ssize_t written = write(m_wakeFd, &one, sizeof one);
}

void NSRunLoop::runUntilIdle()
{
    do
        serviceSources(0);
    while (runOneDue(HostClock::uptimeNanoseconds()));
}

void NSRunLoop::advanceBy(double seconds)
{
    int64_t target = HostClock::uptimeNanoseconds() + HostClock::delayNanoseconds(seconds);
    do
        serviceSources(0);
    while (runOneDue(target));
    HostClock::advanceTo(target);
    runUntilIdle();
}

void NSRunLoop::runFor(double seconds)
{
    runUntil([] { return false; }, seconds);
}

bool NSRunLoop::runUntil(const std::function<bool()>& predicate, double timeoutSeconds)
{
    bool wasLive = HostClock::followsRealTime();
    HostClock::setFollowsRealTime(true);
    int64_t deadline = HostClock::uptimeNanoseconds() + HostClock::delayNanoseconds(timeoutSeconds);
    bool satisfied = false;
    while (true) {
        runUntilIdle();
        if (predicate && predicate()) {
            satisfied = true;
            break;
        }
        int64_t now = HostClock::uptimeNanoseconds();
        if (now >= deadline)
            break;
        int64_t wakeAt = deadline;
        {
            std::lock_guard lock(m_mutex);
            if (!m_queue.empty())
                wakeAt = std::min(wakeAt, m_queue.begin()->first.first);
            m_waiting = true;
        }
        int64_t waitMs = (std::max<int64_t>(0, wakeAt - now) + 999'999) / 1'000'000;
        // The predicate may watch state that other threads change without waking us.
        serviceSources(int(std::min<int64_t>(waitMs, predicateRecheckMilliseconds)));
        std::lock_guard lock(m_mutex);
        m_waiting = false;
    }
    HostClock::setFollowsRealTime(wasLive);
    return satisfied;
}
