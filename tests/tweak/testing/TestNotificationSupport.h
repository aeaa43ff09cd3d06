#pragma once

// The home-screen process with the real Tintwell.dylib loaded, and a record of every
// bulletin that reaches the bulletin server. The extension loads once per process and
// finds the server queue once, so each test runs its phone in a forked child.

#include "device/SampleDevice.h"
#include "platform/foundation/HostClock.h"
#include "platform/foundation/NSDate.h"
#include "platform/foundation/NSString.h"
#include "platform/runtime/Substrate.h"
#include "platform/springboard/BBBulletin.h"
#include "platform/springboard/BBServer.h"
#include "platform/springboard/SBHomeScreen.h"
#include "platform/springboard/SpringBoardHost.h"
#include "platform/uikit/UIView.h"

#include "tests/support/HomeScreenProcess.h"
#include "tests/support/Subprocess.h"
#include "tests/support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <dlfcn.h>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <unistd.h>
#include <vector>


namespace testnotifications {

namespace fs = std::filesystem;

inline constexpr const char* testNotificationsName = "com.quillfen.tintwell/TestNotifications";
inline constexpr const char* testBannerName = "com.quillfen.tintwell/TestBanner";

// A sample device with Tintwell alone in the dynamic-libraries folder, removed afterwards.
class TweakDevice {
public:
    TweakDevice()
    {
        if (m_root.empty())
            return;
        m_written = SampleDevice::write(m_root);
        homescreen::installTintwell(m_root);
    }
    bool ready() const { return m_written; }
    const fs::path& root() const { return m_root; }

private:
    TemporaryFolder m_folder { "tintwell-testnotifs" };
    fs::path m_root { m_folder.path() };
    bool m_written { false };
};

using homescreen::inForkedProcess;

using subprocess::runProgram;

// One publish call as it reached a server.
struct Publish {
    std::string selector;
    // Identity only: a record must not keep a server alive.
    const Object* server { nullptr };
    RefPtr<BBBulletin> bulletin;
    unsigned long destinations { 0 };
    bool alwaysToLockScreen { false };
    bool onServerQueue { false };
    int64_t uptime { 0 };
};

struct Lock {
    int source { 0 };
    bool withOptions { false };
    int64_t uptime { 0 };
};

// Watches -[BBServer publishBulletin:...] and -[SBLockScreenManager lockUIFromSource:...]
// through the runtime, passing every call on.
class Recorder {
public:
    static Recorder& shared()
    {
        static auto* recorder = new Recorder;
        return *recorder;
    }

    // Once per process, after the system classes are registered.
    void install()
    {
        Class server = objc_getClass("BBServer");
        MSHookMessageEx(server, sel_registerName("publishBulletin:destinations:"), &publishWithDestinations, &s_previousPublish);
        MSHookMessageEx(server, sel_registerName("publishBulletin:destinations:alwaysToLockScreen:"), &publishAlwaysToLockScreen, &s_previousPublishAlways);
        MSHookMessageEx(objc_getClass("SBLockScreenManager"), sel_registerName("lockUIFromSource:withOptions:"), &lock, &s_previousLock);
    }

    // The queue whose thread counts as the server's.
    void setServerQueue(RefPtr<OS_dispatch_queue> queue)
    {
        std::lock_guard guard(m_mutex);
        m_serverQueue = std::move(queue);
    }

    std::vector<Publish> publishes()
    {
        std::lock_guard guard(m_mutex);
        return m_publishes;
    }
    std::vector<Lock> locks()
    {
        std::lock_guard guard(m_mutex);
        return m_locks;
    }
    void clear()
    {
        std::lock_guard guard(m_mutex);
        m_publishes.clear();
        m_locks.clear();
    }

private:
    void note(id self, const char* selector, id bulletin, unsigned long destinations, bool alwaysToLockScreen)
    {
        std::lock_guard guard(m_mutex);
        m_publishes.push_back({ selector, self, objectCast<BBBulletin>(bulletin), destinations,
            alwaysToLockScreen, m_serverQueue && m_serverQueue->isCurrent(), HostClock::uptimeNanoseconds() });
    }

    // The server's two-argument form sends the three-argument one, as on the phone; only
    // the outer call is the one the caller made.
    static inline thread_local int s_publishDepth = 0;

    static inline void (*s_previousPublish)(id, SEL, id, unsigned long) = nullptr;
    static void publishWithDestinations(id self, SEL sel, id bulletin, unsigned long destinations)
    {
        if (!s_publishDepth)
            shared().note(self, "publishBulletin:destinations:", bulletin, destinations, false);
        ++s_publishDepth;
        s_previousPublish(self, sel, bulletin, destinations);
        --s_publishDepth;
    }

    static inline void (*s_previousPublishAlways)(id, SEL, id, unsigned long, bool) = nullptr;
    static void publishAlwaysToLockScreen(id self, SEL sel, id bulletin, unsigned long destinations, bool always)
    {
        if (!s_publishDepth)
            shared().note(self, "publishBulletin:destinations:alwaysToLockScreen:", bulletin, destinations, always);
        ++s_publishDepth;
        s_previousPublishAlways(self, sel, bulletin, destinations, always);
        --s_publishDepth;
    }

    static inline void (*s_previousLock)(id, SEL, int, id) = nullptr;
    static void lock(id self, SEL sel, int source, id options)
    {
        {
            std::lock_guard guard(shared().m_mutex);
            shared().m_locks.push_back({ source, options != nullptr, HostClock::uptimeNanoseconds() });
        }
        s_previousLock(self, sel, source, options);
    }

    std::mutex m_mutex;
    RefPtr<OS_dispatch_queue> m_serverQueue;
    std::vector<Publish> m_publishes;
    std::vector<Lock> m_locks;
};

// In the child: the host on the device with Tintwell loaded and the calls recorded.
class Phone {
public:
    explicit Phone(const TweakDevice& device)
        : m_host(device.root())
    {
        auto report = m_host.loadExtensions();
        m_loaded = report.loadedCount() == 1;
        Recorder::shared().install();
        m_host.finishLaunching();
        m_host.run(0);
    }

    bool tweakLoaded() const { return m_loaded; }
    void run(double seconds) { m_host.run(seconds); }

private:
    SpringBoardHost m_host;
    bool m_loaded { false };
};

// The extension's exported entry points, found the way a test finds any symbol.
inline void callExported(const char* name)
{
    auto function = reinterpret_cast<void (*)()>(dlsym(RTLD_DEFAULT, name));
    ASSERT_TRUE(function) << name;
    function();
}

inline std::string text(const NSString* string) { return string ? string->utf8() : std::string("(nil)"); }

} // namespace testnotifications
