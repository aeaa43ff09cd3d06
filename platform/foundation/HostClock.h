#pragma once

#include <cstdint>

// The device's clock, owned by the host program. Time stands still until the host
// advances it (through the main run loop), or follows real elapsed time while a live
// host waits for events. Uptime is monotonic; the wall time is a fixed origin plus uptime.
class HostClock {
public:
    static int64_t uptimeNanoseconds();
    static double uptime() { return double(uptimeNanoseconds()) / 1e9; }
    // Seconds since 1970-01-01 00:00:00 UTC.
    static double timeIntervalSince1970();
    // Moves the wall time without touching uptime, so scheduled work keeps its order.
    static void setTimeIntervalSince1970(double seconds);

    // Moves uptime forward; a time in the past leaves the clock alone.
    static void advanceTo(int64_t uptimeNanoseconds);
    // While on, uptime follows real elapsed time from its present value.
    static void setFollowsRealTime(bool);
    static bool followsRealTime();

    // A delay in whole nanoseconds; negative and not-a-number delays are zero, huge ones capped.
    static int64_t delayNanoseconds(double seconds);
};
