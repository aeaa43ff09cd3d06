#include "tools/preview/HomeScreenChild.h"

#include "platform/foundation/CFNotificationCenter.h"
#include "platform/foundation/DeviceRoot.h"
#include "platform/settings/HomeScreenRestarter.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <functional>
#include <iterator>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// A sanitised host on a busy machine takes seconds to launch; a restarted one as long.
constexpr auto launchPatience = std::chrono::seconds(60);
constexpr auto answerPatience = std::chrono::seconds(20);
// A post sent before the host observes the name is lost: sent again until answered.
constexpr auto repostEvery = std::chrono::milliseconds(700);
// Long enough for a preview left open all day; a host left behind by a killed preview ends by itself.
constexpr const char* hostLifetimeSeconds = "86400";

std::string readWholeFile(const fs::path& path)
{
    std::ifstream stream(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(stream), {});
}

bool gone(pid_t pid)
{
    if (::kill(pid, 0) != 0 && errno == ESRCH)
        return true;
    auto stat = readWholeFile("/proc/" + std::to_string(pid) + "/stat");
    auto close = stat.rfind(')');
    return close != std::string::npos && close + 2 < stat.size() && stat[close + 2] == 'Z';
}

void stopProcess(pid_t pid)
{
    ::kill(pid, SIGTERM);
    auto deadline = Clock::now() + std::chrono::seconds(5);
    while (!gone(pid) && Clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    if (!gone(pid))
        ::kill(pid, SIGKILL);
}

} // namespace

HomeScreenChild::HomeScreenChild(fs::path executable, fs::path workFolder, double pictureScale)
    : m_executable(std::move(executable))
    , m_workFolder(std::move(workFolder))
    , m_pictureScale(pictureScale)
{
}

HomeScreenChild::~HomeScreenChild()
{
    if (auto host = HomeScreenRestarter::runningHost(); host && *host != m_child)
        stopProcess(*host);
    if (m_child > 0) {
        stopProcess(m_child);
        ::waitpid(m_child, nullptr, 0);
    }
}

fs::path HomeScreenChild::logFile()
{
    return DeviceRoot::resolve(HomeScreenRestarter::logFile).value_or(fs::path());
}

bool HomeScreenChild::start(std::string& error)
{
    std::error_code fileError;
    fs::create_directories(inboxFolder(), fileError);
    auto log = logFile();
    fs::create_directories(log.parent_path(), fileError);
    if (HomeScreenRestarter::runningHost()) {
        error = "a home screen already runs on " + DeviceRoot::get().string() + " (see " + HomeScreenRestarter::pidFile + ")";
        return false;
    }

    std::vector<std::string> arguments { m_executable.string(), "--root", DeviceRoot::get().string(), "--run-for", hostLifetimeSeconds,
        "--snapshot", (m_workFolder / "screen.json").string(), "--picture", (m_workFolder / "screen.png").string(),
        "--picture-scale", std::to_string(m_pictureScale), "--snapshot-on", snapshotRequest,
        "--inbox", inboxFolder().string(), "--play-on", playRequest };
    std::vector<char*> argv;
    for (auto& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    std::string logPath = log.string();
    pid_t child = ::fork();
    if (child < 0) {
        error = "cannot start the home screen";
        return false;
    }
    if (child == 0) {
        // The first host ends with the preview even when the preview is killed.
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        HomeScreenRestarter::redirectChildOutput(logPath.c_str());
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    m_child = child;
    if (!waitForScreen(std::nullopt, launchPatience)) {
        error = "the home screen did not come up; its output is in " + logPath;
        return false;
    }
    return true;
}

std::optional<HomeScreenChild::FileStamp> HomeScreenChild::stampOf(const fs::path& path)
{
    struct stat status;
    if (::stat(path.c_str(), &status) != 0)
        return std::nullopt;
    std::error_code error;
    return FileStamp { status.st_ino, fs::last_write_time(path, error) };
}

void HomeScreenChild::reapChild()
{
    if (m_child > 0 && ::waitpid(m_child, nullptr, WNOHANG) == m_child)
        m_child = -1;
}

bool HomeScreenChild::postUntil(const char* request, Clock::duration patience, Clock::duration poll, const std::function<bool()>& done)
{
    auto deadline = Clock::now() + patience;
    auto nextPost = Clock::now();
    while (Clock::now() < deadline) {
        reapChild();
        if (Clock::now() >= nextPost) {
            CFNotificationCenter::post(request);
            nextPost = Clock::now() + repostEvery;
        }
        std::this_thread::sleep_for(poll);
        if (done())
            return true;
    }
    return false;
}

bool HomeScreenChild::waitForScreen(std::optional<FileStamp> before, Clock::duration patience)
{
    auto picture = m_workFolder / "screen.png";
    bool changed = postUntil(snapshotRequest, patience, std::chrono::milliseconds(10), [&] {
        auto now = stampOf(picture);
        return now && now != before;
    });
    if (!changed)
        return false;
    // The snapshot is renamed into place before the picture.
    m_snapshot = readWholeFile(m_workFolder / "screen.json");
    m_picture = readWholeFile(picture);
    return true;
}

bool HomeScreenChild::playFile(const nlohmann::json& events)
{
    char name[32];
    std::snprintf(name, sizeof name, "%012lu.json", ++m_played);
    auto file = inboxFolder() / name;
    auto partial = inboxFolder() / ("." + std::string(name) + ".partial");
    std::ofstream(partial) << nlohmann::json { { "events", events } }.dump();
    std::error_code error;
    fs::rename(partial, file, error);
    if (error)
        return false;
    // Played files are removed: once it is gone, so is every post sent before it.
    if (postUntil(playRequest, launchPatience, std::chrono::milliseconds(5), [&] { return !fs::exists(file, error); }))
        return true;
    // Not played late by a host that comes back.
    fs::remove(file, error);
    return false;
}

bool HomeScreenChild::play(const nlohmann::json& events)
{
    return playFile(events) && waitForScreen(stampOf(m_workFolder / "screen.png"), answerPatience);
}

bool HomeScreenChild::refreshScreen()
{
    if (!playFile(nlohmann::json::array()))
        return false;
    return waitForScreen(stampOf(m_workFolder / "screen.png"), answerPatience);
}
