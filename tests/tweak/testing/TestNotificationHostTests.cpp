// The requests crossing processes: the real home-screen host with Tintwell.dylib, the
// notify command a person types, and a process that lacks the server queue.
#include "TestNotificationSupport.h"

#include <array>
#include <cmath>
#include <fstream>
#include <nlohmann/json.hpp>
#include <optional>
#include <signal.h>

namespace {

using namespace testnotifications;
using nlohmann::json;

// The host in live mode, read line by line; ends by itself after --run-for.
class LiveHost {
public:
    explicit LiveHost(const std::vector<std::string>& arguments)
    {
        int fds[2];
        if (pipe(fds) != 0)
            return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
        posix_spawn_file_actions_adddup2(&actions, fds[1], STDERR_FILENO);
        posix_spawn_file_actions_addclose(&actions, fds[0]);
        std::vector<std::string> storage { TINTWELL_SPRINGBOARD_EXECUTABLE };
        storage.insert(storage.end(), arguments.begin(), arguments.end());
        std::vector<char*> argv;
        for (auto& argument : storage)
            argv.push_back(argument.data());
        argv.push_back(nullptr);
        if (posix_spawn(&m_pid, argv[0], &actions, nullptr, argv.data(), environ) != 0)
            m_pid = -1;
        posix_spawn_file_actions_destroy(&actions);
        close(fds[1]);
        m_output = fdopen(fds[0], "r");
    }
    ~LiveHost()
    {
        if (m_pid > 0) {
            kill(m_pid, SIGTERM);
            waitpid(m_pid, nullptr, 0);
        }
        if (m_output)
            fclose(m_output);
    }

    // Reads until a line holds the text; false when the output ends first.
    bool waitForLine(const std::string& text)
    {
        std::array<char, 1024> line;
        while (m_output && fgets(line.data(), line.size(), m_output)) {
            if (std::string(line.data()).find(text) != std::string::npos)
                return true;
        }
        return false;
    }

    int wait()
    {
        int status = 0;
        if (m_pid <= 0 || waitpid(std::exchange(m_pid, -1), &status, 0) < 0)
            return -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }

private:
    pid_t m_pid { -1 };
    FILE* m_output { nullptr };
};

json readSnapshot(const fs::path& path)
{
    std::ifstream file(path);
    return json::parse(file, nullptr, false);
}

std::vector<json> labelsWithText(const json& snapshot, std::string_view prefix)
{
    std::vector<json> labels;
    if (!snapshot.is_object())
        return labels;
    for (auto& view : snapshot["views"]) {
        if (view.contains("text") && view["text"].is_string() && view["text"].get<std::string>().starts_with(prefix) && !view["hidden"].get<bool>())
            labels.push_back(view);
    }
    return labels;
}

// Platters painted in the extension's default style: a 3-point outline and a 70 % fill.
size_t tintedPlatters(const json& snapshot)
{
    size_t count = 0;
    for (auto& view : snapshot["views"]) {
        if (view["class"] != "MTMaterialView" || view["layer"]["borderWidth"] != 3 || !view["backgroundColor"].is_object())
            continue;
        // Percent times 0.01, as the painter builds it.
        if (std::abs(view["backgroundColor"]["alpha"].get<double>() - 0.7) < 1e-9)
            ++count;
    }
    return count;
}

class TestNotificationHost : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_device.ready());
        m_snapshot = m_device.root() / "snapshot.json";
    }

    // The host live for a while, the request typed in a shell once the extension is loaded.
    json runHostAndPost(const char* name, const char* runFor)
    {
        LiveHost host({ "--root", m_device.root().string(), "--run-for", runFor, "--snapshot", m_snapshot.string() });
        EXPECT_TRUE(host.waitForLine("Tintwell.dylib: loaded"));
        EXPECT_EQ(runProgram({ TINTWELL_NOTIFY_EXECUTABLE, "--root", m_device.root().string(), name }), 0);
        EXPECT_EQ(host.wait(), 0);
        return readSnapshot(m_snapshot);
    }

    TweakDevice m_device;
    fs::path m_snapshot;
};

TEST_F(TestNotificationHost, RunningHostListsTheFifteenWhenTheShellAsks)
{
    json snapshot = runHostAndPost(testNotificationsName, "4");
    ASSERT_TRUE(snapshot.is_object());
    std::multiset<std::string> messages;
    for (auto& label : labelsWithText(snapshot, "Test notification "))
        messages.insert(label["text"].get<std::string>());
    std::multiset<std::string> expected;
    for (int number = 1; number <= 15; ++number)
        expected.insert("Test notification " + std::to_string(number) + "!");
    EXPECT_EQ(messages, expected);
    EXPECT_GE(tintedPlatters(snapshot), 3u) << "one platter per app at least";
}

TEST_F(TestNotificationHost, RunningHostShowsTheBannerAtTheTop)
{
    json snapshot = runHostAndPost(testBannerName, "2");
    auto banners = labelsWithText(snapshot, "Test banner!");
    // The banner at the top, and the same notification in the list below it.
    ASSERT_EQ(banners.size(), 2u);
    std::vector<double> tops;
    for (auto& label : banners)
        tops.push_back(label["windowFrame"]["y"].get<double>());
    std::sort(tops.begin(), tops.end());
    EXPECT_LT(tops[0], 150);
    EXPECT_GT(tops[1], tops[0]);
    EXPECT_GE(tintedPlatters(snapshot), 2u);
}

TEST_F(TestNotificationHost, ScenarioWaitsOutTheDelayByAdvancingTheClock)
{
    auto run = [&](const char* scenario) {
        EXPECT_EQ(runProgram({ TINTWELL_SPRINGBOARD_EXECUTABLE, "--root", m_device.root().string(), "--quiet",
                      "--scenario", scenario, "--snapshot", m_snapshot.string() }),
            0);
        return labelsWithText(readSnapshot(m_snapshot), "Test notification ").size();
    };
    EXPECT_EQ(run(TINTWELL_SCENARIO_DIR "/test-notifications.json"), 15u);

    fs::path early = m_device.root() / "early.json";
    std::ofstream(early) << R"({ "events": [ { "post": "com.quillfen.tintwell/TestNotifications" }, { "advance": 0.99 } ] })";
    EXPECT_EQ(run(early.c_str()), 0u);
}

TEST_F(TestNotificationHost, MissingServerQueueDropsTheRequestsQuietly)
{
    std::string command = std::string(MISSING_QUEUE_PROBE) + " '" + m_device.root().string() + "' '" + TINTWELL_DYLIB + "'";
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_TRUE(pipe);
    std::array<char, 256> line {};
    bool read = fgets(line.data(), line.size(), pipe);
    int status = pclose(pipe);
    ASSERT_TRUE(WIFEXITED(status)) << "the probe crashed";
    EXPECT_EQ(WEXITSTATUS(status), 0);
    ASSERT_TRUE(read);
    json report = json::parse(line.data(), nullptr, false);
    // The server was captured and asked, so only the missing queue kept the bulletins back.
    EXPECT_GT(report["asked"].get<int>(), 0) << line.data();
    EXPECT_EQ(report["published"], 0) << line.data();
}

TEST(NotifyCommand, BadUsageExitsTwoAndAGoodPostZero)
{
    TweakDevice device;
    fs::path file = device.root() / "file";
    std::ofstream(file) << "not a folder";
    const std::string root = device.root().string();
    const std::vector<std::vector<std::string>> badUsages {
        {},
        { "--root", root },
        { testBannerName },
        { "--root", (device.root() / "missing").string(), testBannerName },
        { "--root", file.string(), testBannerName },
        { "--root", root, "" },
        { "--root", root, std::string(1025, 'n') },
        { "--root", root, testBannerName, "extra" },
        { "--root", root, "--loud", testBannerName },
    };
    for (auto arguments : badUsages) {
        arguments.insert(arguments.begin(), TINTWELL_NOTIFY_EXECUTABLE);
        EXPECT_EQ(runProgram(arguments), 2) << testing::PrintToString(arguments);
    }
    // Nobody listening is no error.
    EXPECT_EQ(runProgram({ TINTWELL_NOTIFY_EXECUTABLE, "--root", root, testBannerName }), 0);
    EXPECT_EQ(runProgram({ TINTWELL_NOTIFY_EXECUTABLE, "--help" }), 0);
}

} // namespace
