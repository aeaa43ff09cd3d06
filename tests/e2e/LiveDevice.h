#pragma once

// One device root with both hosts running on it as separate processes, as on the phone:
// the home screen with Tintwell loaded, and the Settings app with TintwellPrefs. The test
// reaches them only the way they reach each other, through the root's files and
// system-wide notifications.

#include "platform/foundation/CFNotificationCenter.h"
#include "platform/foundation/DeviceRoot.h"
#include "tests/support/Subprocess.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace e2e {

namespace fs = std::filesystem;
using nlohmann::json;
using Clock = std::chrono::steady_clock;

// Generous: a sanitised host on a busy machine takes a while to launch.
inline constexpr auto patience = std::chrono::seconds(30);

inline constexpr const char* domain = "com.quillfen.tintwellprefs";
inline constexpr const char* snapshotRequest = "com.tintwell.e2e/Snapshot";

inline bool waitUntil(const std::function<bool()>& condition, Clock::duration timeout = patience)
{
    auto deadline = Clock::now() + timeout;
    while (true) {
        if (condition())
            return true;
        if (Clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

inline std::string readFile(const fs::path& path)
{
    std::ifstream stream(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(stream), {});
}

inline bool processGone(pid_t pid)
{
    if (::kill(pid, 0) != 0)
        return true;
    // Reaped by nobody (a detached host whose parent is gone) still counts as stopped.
    auto stat = readFile("/proc/" + std::to_string(pid) + "/stat");
    auto close = stat.rfind(')');
    return close != std::string::npos && close + 2 < stat.size() && stat[close + 2] == 'Z';
}

// A copy of the build's sample device in a fresh folder. Whatever home screen runs on it
// at the end (the one the test started, or one the restart tool started) is stopped, and
// the folder removed.
class LiveDevice {
public:
    LiveDevice()
    {
        std::string pattern = (fs::temp_directory_path() / "tintwell-e2e-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            return;
        m_root = pattern;
        std::error_code error;
        fs::copy(TINTWELL_SAMPLE_DEVICE_ROOT, m_root, fs::copy_options::recursive, error);
        if (error) {
            m_root.clear();
            return;
        }
        // Every test starts from the stored defaults.
        fs::remove(host("/var/mobile/Library/Preferences/com.quillfen.tintwellprefs.plist"), error);
        fs::remove(host("/var/mobile/Library/Preferences/com.quillfen.tintwellprefs.colors.plist"), error);
        m_output = m_root / "e2e";
        fs::create_directories(m_output, error);
    }

    ~LiveDevice()
    {
        m_homeScreen.reset();
        if (auto pid = restartedHomeScreen()) {
            ::kill(*pid, SIGTERM);
            waitUntil([&] { return processGone(*pid); }, std::chrono::seconds(10));
        }
        if (m_root.empty())
            return;
        // A failure keeps the root, with both hosts' logs, for a look.
        if (::testing::Test::HasFailure()) {
            std::cerr << "device root kept: " << m_root << '\n';
            return;
        }
        std::error_code error;
        fs::remove_all(m_root, error);
    }

    bool ready() const { return !m_root.empty(); }
    const fs::path& root() const { return m_root; }
    fs::path host(const std::string& devicePath) const { return m_root / fs::path(devicePath).relative_path(); }
    fs::path output(const std::string& name) const { return m_output / name; }
    fs::path snapshotFile() const { return output("screen.json"); }

    // A scenario file for the home screen, written into the output folder.
    fs::path writeScenario(const std::string& name, const json& events) const
    {
        auto path = output(name);
        std::ofstream(path) << json { { "events", events } }.dump(2);
        return path;
    }

    // The home screen as a child process, asked for its screen with snapshotRequest; its
    // output goes to a log file beside the snapshot.
    void startHomeScreen(const fs::path& scenario, const std::vector<std::string>& moreArguments = {})
    {
        std::string command = "exec " + subprocess::quoted(TINTWELL_SPRINGBOARD_EXECUTABLE)
            + " --root " + subprocess::quoted(m_root.string()) + " --quiet"
            + " --scenario " + subprocess::quoted(scenario.string())
            + " --snapshot " + subprocess::quoted(snapshotFile().string())
            + " --snapshot-on " + snapshotRequest;
        for (auto& argument : moreArguments)
            command += " " + subprocess::quoted(argument);
        command += " >>" + subprocess::quoted(output("springboard.log").string()) + " 2>&1";
        m_homeScreen = std::make_unique<subprocess::LiveProcess>(std::vector<std::string> { "/bin/sh", "-c", command });
    }

    subprocess::LiveProcess* homeScreen() { return m_homeScreen.get(); }

    // What the home screens printed: the one started here and any restarted one.
    std::string homeScreenLog() const
    {
        return readFile(output("springboard.log")) + readFile(host("/private/var/log/springboard.log"));
    }

    long recordedHomeScreen() const
    {
        long pid = 0;
        std::ifstream(host("/private/var/run/springboard.pid")) >> pid;
        return pid;
    }

    void post(const std::string& name) const
    {
        DeviceRoot::set(m_root);
        postDarwinNotification(name);
    }

    // The running home screen's screen of the moment: the old file goes, the request is
    // posted and the new file awaited. A host still launching misses a post, so it is
    // repeated while nothing comes.
    std::optional<json> requestScreen(Clock::duration timeout = patience) const
    {
        std::error_code error;
        fs::remove(snapshotFile(), error);
        auto deadline = Clock::now() + timeout;
        while (Clock::now() < deadline) {
            post(snapshotRequest);
            if (waitUntil([&] { return fs::exists(snapshotFile()); }, std::chrono::milliseconds(500)))
                return json::parse(readFile(snapshotFile()), nullptr, false);
        }
        return std::nullopt;
    }

    // Asks again until the screen shows what the test waits for; the last screen either way.
    json screenWhen(const std::function<bool(const json&)>& condition, Clock::duration timeout = patience) const
    {
        json screen;
        auto deadline = Clock::now() + timeout;
        while (Clock::now() < deadline) {
            auto next = requestScreen(deadline - Clock::now());
            if (!next)
                break;
            screen = std::move(*next);
            if (condition(screen))
                break;
        }
        return screen;
    }

    // The Settings host, doing what a person would, to its end.
    subprocess::Run settings(const std::vector<std::string>& actions) const
    {
        std::vector<std::string> arguments { "--root", m_root.string() };
        for (auto& action : actions) {
            arguments.push_back("--do");
            arguments.push_back(action);
        }
        return subprocess::run(TINTWELL_SETTINGS_EXECUTABLE, arguments, true);
    }

private:
    // A home screen recorded in the pid file that is not the child started here and runs on
    // this root.
    std::optional<pid_t> restartedHomeScreen() const
    {
        long pid = recordedHomeScreen();
        if (pid <= 0 || processGone(static_cast<pid_t>(pid)))
            return std::nullopt;
        auto commandLine = readFile("/proc/" + std::to_string(pid) + "/cmdline");
        if (commandLine.find(m_root.string()) == std::string::npos)
            return std::nullopt;
        return static_cast<pid_t>(pid);
    }

    fs::path m_root;
    fs::path m_output;
    std::unique_ptr<subprocess::LiveProcess> m_homeScreen;
};

// ---- Reading a screen ------------------------------------------------------------------

inline bool isVisibleLabel(const json& view, const std::string& text)
{
    return view.contains("text") && view["text"] == text && !view["hidden"].get<bool>();
}

// The window frame of the visible label showing the text, or null.
inline const json* labelShowing(const json& screen, const std::string& text)
{
    if (!screen.is_object())
        return nullptr;
    for (auto& view : screen["views"]) {
        if (isVisibleLabel(view, text))
            return &view;
    }
    return nullptr;
}

// The platter (the material view) behind the notification showing the text: the material
// view of the short look whose path leads to that label.
inline const json* platterOf(const json& screen, const std::string& text)
{
    auto* label = labelShowing(screen, text);
    if (!label)
        return nullptr;
    std::string labelPath = (*label)["path"];
    const json* best = nullptr;
    size_t bestLength = 0;
    for (auto& view : screen["views"]) {
        if (view["class"] != "MTMaterialView")
            continue;
        // The material view is a sibling of the label's ancestors: share the longest prefix.
        std::string path = view["path"];
        auto parent = path.substr(0, path.rfind('/'));
        if (labelPath.starts_with(parent + "/") && parent.size() > bestLength) {
            best = &view;
            bestLength = parent.size();
        }
    }
    return best;
}

inline double alphaOf(const json& colour) { return colour.is_object() ? colour["alpha"].get<double>() : 0; }

} // namespace e2e
