#include "platform/settings/NSTask.h"

#include "platform/foundation/DeviceRoot.h"
#include "platform/settings/HomeScreenRestarter.h"
#include "platform/settings/PreferencesAppController.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

Class NSTask::classObject()
{
    static Class cls = ClassBuilder<NSTask>("NSTask", Object::classObject())
                           .method<&NSTask::launchPathImpl>("launchPath")
                           .method<&NSTask::setLaunchPathImpl>("setLaunchPath:")
                           .method<&NSTask::argumentsImpl>("arguments")
                           .method<&NSTask::setArgumentsImpl>("setArguments:")
                           .method<&NSTask::launchImpl>("launch")
                           .method<&NSTask::waitUntilExitImpl>("waitUntilExit")
                           .method<&NSTask::isRunningImpl>("isRunning")
                           .method<&NSTask::terminationStatus>("terminationStatus")
                           .method<&NSTask::processIdentifier>("processIdentifier")
                           .build();
    return cls;
}

NSTask::~NSTask()
{
    // Reap a finished child so it does not linger; a running one is left to run.
    if (m_pid > 0 && !m_exited)
        ::waitpid(m_pid, nullptr, WNOHANG);
}

RefPtr<NSTask> NSTask::create()
{
    return msgSend<RefPtr<NSTask>>(class_createInstance(classObject()), SELECTOR("init"));
}

void NSTask::launchImpl()
{
    // A task runs once, as on the phone.
    if (m_launched)
        return;
    m_launched = true;
    if (!m_launchPath) {
        PreferencesAppController::reportProblem("NSTask: launched without a launch path");
        m_exited = true;
        m_terminationStatus = 127;
        return;
    }
    if (m_launchPath->view() == DeviceRoot::installPrefix() + sbreloadPath) {
        auto result = HomeScreenRestarter::restart();
        if (!result.restarted)
            PreferencesAppController::reportProblem(std::string("sbreload: ") + result.problem);
        m_exited = true;
        m_terminationStatus = result.restarted ? 0 : 1;
        return;
    }
    auto host = DeviceRoot::resolve(m_launchPath->view());
    if (!host || ::access(host->c_str(), X_OK) != 0) {
        PreferencesAppController::reportProblem("NSTask: launch path not accessible: " + m_launchPath->utf8());
        m_exited = true;
        m_terminationStatus = 127;
        return;
    }
    std::vector<std::string> arguments { host->string() };
    if (m_arguments) {
        for (auto& argument : *m_arguments) {
            if (RefPtr<NSString> text = objectCast<NSString>(argument))
                arguments.push_back(text->utf8());
        }
    }
    std::vector<char*> argv;
    for (auto& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    if (::posix_spawn(&m_pid, host->c_str(), nullptr, nullptr, argv.data(), environ) != 0) {
        PreferencesAppController::reportProblem("NSTask: cannot start " + m_launchPath->utf8());
        m_pid = 0;
        m_exited = true;
        m_terminationStatus = 127;
    }
}

bool NSTask::isRunning()
{
    if (!m_launched || m_exited || m_pid <= 0)
        return false;
    int status = 0;
    if (::waitpid(m_pid, &status, WNOHANG) == m_pid) {
        m_exited = true;
        m_terminationStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    return !m_exited;
}

void NSTask::waitUntilExitImpl()
{
    if (!m_launched || m_exited || m_pid <= 0)
        return;
    int status = 0;
    if (::waitpid(m_pid, &status, 0) == m_pid)
        m_terminationStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    m_exited = true;
}
