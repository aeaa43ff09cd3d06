#include "platform/settings/HomeScreenRestarter.h"

#include "platform/foundation/DeviceRoot.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

constexpr std::string_view hostExecutable = "tintwell-springboard";
constexpr auto stopTimeout = std::chrono::seconds(5);

std::string readWholeFile(const std::filesystem::path& path)
{
    std::ifstream stream(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(stream), {});
}

std::vector<std::string> commandLine(pid_t pid)
{
    std::string bytes = readWholeFile("/proc/" + std::to_string(pid) + "/cmdline");
    std::vector<std::string> arguments;
    std::string current;
    for (char c : bytes) {
        if (c) {
            current += c;
            continue;
        }
        arguments.push_back(std::move(current));
        current.clear();
    }
    if (!current.empty())
        arguments.push_back(std::move(current));
    return arguments;
}

std::optional<std::string> executableOf(pid_t pid)
{
    std::error_code error;
    auto target = std::filesystem::read_symlink("/proc/" + std::to_string(pid) + "/exe", error);
    if (error)
        return std::nullopt;
    std::string path = target.string();
    // A host rebuilt while it ran still names its file, marked as replaced.
    constexpr std::string_view deleted = " (deleted)";
    if (path.ends_with(deleted))
        path.resize(path.size() - deleted.size());
    return path;
}

bool sameFolder(const std::filesystem::path& a, const std::filesystem::path& b)
{
    std::error_code error;
    return std::filesystem::equivalent(a, b, error);
}

std::optional<std::string> rootArgument(const std::vector<std::string>& arguments)
{
    for (size_t index = 1; index < arguments.size(); ++index) {
        if (arguments[index] == "--root" && index + 1 < arguments.size())
            return arguments[index + 1];
        if (arguments[index].starts_with("--root="))
            return arguments[index].substr(7);
    }
    return std::nullopt;
}

bool isGone(pid_t pid)
{
    if (::kill(pid, 0) != 0 && errno == ESRCH)
        return true;
    // A host whose parent has not reaped it yet has stopped all the same.
    std::string stat = readWholeFile("/proc/" + std::to_string(pid) + "/stat");
    auto close = stat.rfind(')');
    return close != std::string::npos && close + 2 < stat.size() && stat[close + 2] == 'Z';
}

bool stop(pid_t pid)
{
    ::kill(pid, SIGTERM);
    auto deadline = std::chrono::steady_clock::now() + stopTimeout;
    while (std::chrono::steady_clock::now() < deadline) {
        if (isGone(pid))
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ::kill(pid, SIGKILL);
    for (int attempt = 0; attempt < 100 && !isGone(pid); ++attempt)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return isGone(pid);
}

// Starts the program detached from this process (its own session, reaped by init) and
// answers its pid, or 0.
pid_t startDetached(const std::string& executable, const std::vector<std::string>& arguments, const std::filesystem::path& log)
{
    int channel[2];
    if (::pipe2(channel, O_CLOEXEC) != 0)
        return 0;
    std::vector<char*> argv;
    for (auto& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    std::string logPath = log.string();
    pid_t child = ::fork();
    if (child < 0) {
        ::close(channel[0]);
        ::close(channel[1]);
        return 0;
    }
    if (child == 0) {
        ::setsid();
        pid_t grandchild = ::fork();
        if (grandchild == 0) {
            HomeScreenRestarter::redirectChildOutput(logPath.c_str());
            ::execv(executable.c_str(), argv.data());
            ::_exit(127);
        }
        ssize_t written = ::write(channel[1], &grandchild, sizeof grandchild);
        ::_exit(written == sizeof grandchild ? 0 : 1);
    }
    ::close(channel[1]);
    pid_t started = 0;
    if (::read(channel[0], &started, sizeof started) != sizeof started)
        started = 0;
    ::close(channel[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    return started > 0 ? started : 0;
}

} // namespace

void HomeScreenRestarter::redirectChildOutput(const char* logPath)
{
    int input = ::open("/dev/null", O_RDONLY);
    int output = ::open(logPath, O_WRONLY | O_CREAT | O_APPEND, 0644);
    if (input >= 0)
        ::dup2(input, STDIN_FILENO);
    if (output >= 0) {
        ::dup2(output, STDOUT_FILENO);
        ::dup2(output, STDERR_FILENO);
    }
}

std::optional<pid_t> HomeScreenRestarter::runningHost()
{
    auto file = DeviceRoot::resolve(pidFile);
    if (!file)
        return std::nullopt;
    std::istringstream text(readWholeFile(*file));
    long pid = 0;
    if (!(text >> pid) || pid <= 0)
        return std::nullopt;
    if (isGone(static_cast<pid_t>(pid)))
        return std::nullopt;
    auto executable = executableOf(static_cast<pid_t>(pid));
    if (!executable || std::filesystem::path(*executable).filename() != hostExecutable)
        return std::nullopt;
    auto root = rootArgument(commandLine(static_cast<pid_t>(pid)));
    if (!root || !sameFolder(*root, DeviceRoot::get()))
        return std::nullopt;
    return static_cast<pid_t>(pid);
}

HomeScreenRestarter::Result HomeScreenRestarter::restart()
{
    Result result;
    auto pid = runningHost();
    if (!pid) {
        result.problem = "no home-screen host runs on this device root";
        return result;
    }
    result.previous = *pid;
    auto executable = executableOf(*pid);
    auto arguments = commandLine(*pid);
    if (!executable || arguments.empty()) {
        result.problem = "the home-screen host's command line cannot be read";
        return result;
    }
    if (!stop(*pid)) {
        result.problem = "the home-screen host did not stop";
        return result;
    }
    auto log = DeviceRoot::resolve(logFile);
    if (!log) {
        result.problem = "no place for the home-screen host's log";
        return result;
    }
    std::error_code error;
    std::filesystem::create_directories(log->parent_path(), error);
    result.current = startDetached(*executable, arguments, *log);
    result.restarted = result.current != 0;
    if (!result.restarted)
        result.problem = "the home-screen host could not be started again";
    return result;
}
