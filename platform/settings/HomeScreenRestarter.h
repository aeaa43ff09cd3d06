#pragma once

#include <optional>
#include <string>
#include <sys/types.h>

// The home-screen restart tool ("/usr/bin/sbreload"): stops the home-screen host of the
// current device root and starts it again with the same command line. The host records
// its process in "/private/var/run/springboard.pid"; the process is trusted only while it
// still runs the host executable with "--root" naming this device root, so a stale file
// never stops a stranger. The new host is detached, its output appended to
// "/private/var/log/springboard.log".
class HomeScreenRestarter {
public:
    static constexpr const char* pidFile = "/private/var/run/springboard.pid";
    static constexpr const char* logFile = "/private/var/log/springboard.log";

    struct Result {
        bool restarted { false };
        pid_t previous { 0 };
        pid_t current { 0 };
        std::string problem;
    };

    static Result restart();
    // The pid of the running home-screen host of this root, or nullopt.
    static std::optional<pid_t> runningHost();
    // In a forked child before exec: no input, output appended to the log. Only calls that
    // are safe between fork and exec.
    static void redirectChildOutput(const char* logPath);
};
