// The requests crossing processes: the real home-screen host with Tintwell.dylib, the
// notify command a person types, and a process that lacks the server queue.
#include "TestNotificationSupport.h"
#include "tests/support/Subprocess.h"

#include <cmath>
#include <fstream>
#include <nlohmann/json.hpp>
#include <optional>

namespace {

using namespace testnotifications;
using nlohmann::json;
using subprocess::runProgram;

// The host in live mode; ends by itself after --run-for.
struct LiveHost : subprocess::LiveProcess {
    explicit LiveHost(std::vector<std::string> arguments)
        : LiveProcess((arguments.insert(arguments.begin(), TINTWELL_SPRINGBOARD_EXECUTABLE), arguments))
    {
    }
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
    // On screen: the Messages stack's three newest, Music's and the App Store's; the ten
    // messages behind the stack are not views, and its front says how many it holds.
    std::multiset<std::string> messages;
    for (auto& label : labelsWithText(snapshot, "Test notification "))
        messages.insert(label["text"].get<std::string>());
    std::multiset<std::string> expected;
    for (int number = 11; number <= 15; ++number)
        expected.insert("Test notification " + std::to_string(number) + "!");
    EXPECT_EQ(messages, expected);
    EXPECT_EQ(labelsWithText(snapshot, "12 more notifications").size(), 1u);
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
    // The five on screen: Music, the App Store and the Messages stack's three newest.
    EXPECT_EQ(run(TINTWELL_SCENARIO_DIR "/test-notifications.json"), 5u);

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
