#include "platform/foundation/HostClock.h"

#include <chrono>
#include <cmath>
#include <limits>
#include <mutex>

namespace {

struct ClockState {
    std::mutex mutex;
    // Uptime starts above zero: a dispatch time of zero means "now".
    int64_t frozenUptime { 1'000'000'000 };
    bool live { false };
    std::chrono::steady_clock::time_point liveStart;
    double wallOrigin { 0 };

    ClockState()
    {
        using namespace std::chrono;
        wallOrigin = duration<double>(system_clock::now().time_since_epoch()).count() - double(frozenUptime) / 1e9;
    }

    int64_t uptimeLocked() const
    {
        if (!live)
            return frozenUptime;
        auto elapsed = std::chrono::steady_clock::now() - liveStart;
        return frozenUptime + std::chrono::duration_cast<std::chrono::nanoseconds>(elapsed).count();
    }
};

ClockState& state()
{
    static auto* clock = new ClockState;
    return *clock;
}

} // namespace

int64_t HostClock::uptimeNanoseconds()
{
    auto& clock = state();
    std::lock_guard lock(clock.mutex);
    return clock.uptimeLocked();
}

double HostClock::timeIntervalSince1970()
{
    auto& clock = state();
    std::lock_guard lock(clock.mutex);
    return clock.wallOrigin + double(clock.uptimeLocked()) / 1e9;
}

void HostClock::setTimeIntervalSince1970(double seconds)
{
    if (!std::isfinite(seconds))
        return;
    auto& clock = state();
    std::lock_guard lock(clock.mutex);
    clock.wallOrigin = seconds - double(clock.uptimeLocked()) / 1e9;
}

void HostClock::advanceTo(int64_t uptime)
{
    auto& clock = state();
    std::lock_guard lock(clock.mutex);
    int64_t now = clock.uptimeLocked();
    if (uptime <= now)
        return;
    if (clock.live) {
        // Real time keeps running from the new point.
        clock.frozenUptime = uptime;
        clock.liveStart = std::chrono::steady_clock::now();
        return;
    }
    clock.frozenUptime = uptime;
}

void HostClock::setFollowsRealTime(bool follows)
{
    auto& clock = state();
    std::lock_guard lock(clock.mutex);
    if (clock.live == follows)
        return;
    clock.frozenUptime = clock.uptimeLocked();
    clock.live = follows;
    clock.liveStart = std::chrono::steady_clock::now();
}

bool HostClock::followsRealTime()
{
    auto& clock = state();
    std::lock_guard lock(clock.mutex);
    return clock.live;
}

int64_t HostClock::delayNanoseconds(double seconds)
{
    if (!(seconds > 0))
        return 0;
    constexpr double limit = double(std::numeric_limits<int64_t>::max() / 4);
    double ns = seconds * 1e9;
    if (ns >= limit)
        return int64_t(limit);
    return std::llround(ns);
}
