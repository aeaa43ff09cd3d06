#pragma once

#include "platform/foundation/NSArray.h"
#include "platform/foundation/NSString.h"

#include <string>
#include <sys/types.h>

// A program started from a device path with arguments. "/usr/bin/sbreload", the home-screen
// restart tool the jailbreak installs ("/var/jb/usr/bin/sbreload" on a rootless device,
// where "/usr/bin/sbreload" does not exist), is part of the platform (HomeScreenRestarter)
// and runs in the calling process; any other launch path is an executable file of the
// device root, started as a child process. A launch path that is missing or not executable
// starts nothing and is reported, where the phone would raise.
class NSTask : public Object {
    TW_OBJECT(NSTask)
public:
    // Beneath the device's install prefix (DeviceRoot::installPrefix).
    static constexpr const char* sbreloadPath = "/usr/bin/sbreload";

    static RefPtr<NSTask> create();

    RefPtr<NSString> launchPath() const { return m_launchPath; }
    void setLaunchPath(NSString* path) { msgSend<void>(this, SELECTOR("setLaunchPath:"), path); }
    RefPtr<NSArray> arguments() const { return m_arguments; }
    void setArguments(NSArray* arguments) { msgSend<void>(this, SELECTOR("setArguments:"), arguments); }
    void launch() { msgSend<void>(this, SELECTOR("launch")); }
    void waitUntilExit() { msgSend<void>(this, SELECTOR("waitUntilExit")); }
    bool isRunning();
    int terminationStatus() const { return m_terminationStatus; }
    int processIdentifier() const { return static_cast<int>(m_pid); }

    ~NSTask() override;

protected:
    NSTask() = default;

private:
    Id launchPathImpl() const { return m_launchPath; }
    void setLaunchPathImpl(RefPtr<NSString> path) { m_launchPath = std::move(path); }
    Id argumentsImpl() const { return m_arguments; }
    void setArgumentsImpl(RefPtr<NSArray> arguments) { m_arguments = std::move(arguments); }
    void launchImpl();
    void waitUntilExitImpl();
    bool isRunningImpl() { return isRunning(); }

    RefPtr<NSString> m_launchPath;
    RefPtr<NSArray> m_arguments;
    pid_t m_pid { 0 };
    bool m_launched { false };
    bool m_exited { false };
    int m_terminationStatus { 0 };
};
