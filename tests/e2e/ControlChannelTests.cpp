// How another process drives a running home screen: scenarios that wait for a system-wide
// notification, and snapshots written on request.
#include "LiveDevice.h"

#include "platform/springboard/Scenario.h"

#include <gmock/gmock.h>

using namespace e2e;
using testing::HasSubstr;

namespace {

std::string parseError(const std::string& text)
{
    std::string error;
    auto scenario = Scenario::parseText(text, ".", error);
    return scenario ? std::string() : error;
}

class ControlChannel : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_device.ready()); }

    LiveDevice m_device;
};

} // namespace

TEST(WaitForEvent, IsCheckedWithTheRestOfTheScenario)
{
    struct Case {
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        { R"([ { "waitFor": "" } ])", "must not be empty" },
        { R"([ { "waitFor": 3 } ])", "must be a string" },
        { R"([ { "waitFor": "a/b", "timeout": -1 } ])", "\"timeout\" must be between 0 and 86400" },
        { R"([ { "waitFor": "a/b", "timeout": "soon" } ])", "\"timeout\" must be a number" },
        { R"([ { "post": "a/b", "timeout": 2 } ])", "\"timeout\" does not belong to a \"post\" event" },
        { R"([ { "timeout": 2 } ])", "no event type" },
    };
    for (auto& testCase : cases)
        EXPECT_THAT(parseError(testCase.text), HasSubstr(testCase.message)) << testCase.text;

    std::string error;
    auto scenario = Scenario::parseText(R"([ { "waitFor": "a/first" }, { "at": 2, "waitFor": "a/second", "timeout": 0.5, "note": "n" }, { "waitFor": "a/first" } ])", ".", error);
    ASSERT_TRUE(scenario) << error;
    EXPECT_EQ(scenario->awaitedNotifications(), (std::set<std::string> { "a/first", "a/second" }));
}

TEST_F(ControlChannel, ScenarioHoldsUntilThePostAndSnapshotsFollowTheLiveScreen)
{
    auto scenario = m_device.writeScenario("hold.json", json::array({
        { { "publish", { { "section", "com.apple.MobileSMS" }, { "title", "Ava" }, { "message", "Before the go" } } } },
        { { "waitFor", "com.tintwell.e2e/Go" }, { "timeout", 60 } },
        { { "publish", { { "section", "com.apple.mobilemail" }, { "title", "Ben" }, { "message", "After the go" } } } },
    }));
    auto picture = m_device.output("screen.png");
    m_device.startHomeScreen(scenario, { "--picture", picture.string(), "--picture-scale", "0.5" });

    // Held at the wait: the first notification is listed, the second not yet.
    auto held = m_device.requestScreen();
    ASSERT_TRUE(held) << m_device.homeScreenLog();
    EXPECT_TRUE(labelShowing(*held, "Before the go"));
    EXPECT_FALSE(labelShowing(*held, "After the go"));
    // The picture asked for comes with each snapshot.
    EXPECT_TRUE(waitUntil([&] { return fs::exists(picture); }));
    // Asked again, the screen is written again (the wait keeps the run loop live).
    auto again = m_device.requestScreen();
    ASSERT_TRUE(again) << m_device.homeScreenLog();
    EXPECT_FALSE(labelShowing(*again, "After the go"));

    m_device.post("com.tintwell.e2e/Go");
    EXPECT_EQ(m_device.homeScreen()->wait(), 0) << m_device.homeScreenLog();
    auto done = json::parse(readFile(m_device.snapshotFile()), nullptr, false);
    EXPECT_TRUE(labelShowing(done, "Before the go"));
    EXPECT_TRUE(labelShowing(done, "After the go"));
    // Every file was written beside its target and renamed: nothing half-written is left.
    for (auto& entry : fs::directory_iterator(m_device.output("")))
        EXPECT_EQ(entry.path().filename().string().find(".partial"), std::string::npos) << entry.path();
}

TEST_F(ControlChannel, EachWaitTakesOnePostAndATimeoutStopsTheScenario)
{
    auto scenario = m_device.writeScenario("twice.json", json::array({
        { { "waitFor", "com.tintwell.e2e/First" }, { "timeout", 60 } },
        { { "waitFor", "com.tintwell.e2e/Second" }, { "timeout", 60 } },
        { { "waitFor", "com.tintwell.e2e/Second" }, { "timeout", 0.5 } },
        { { "publish", { { "section", "com.apple.MobileSMS" }, { "message", "Never published" } } } },
    }));
    m_device.startHomeScreen(scenario);
    ASSERT_TRUE(m_device.requestScreen()) << m_device.homeScreenLog();

    // The second name arrives while the first is awaited: it counts, but only once.
    m_device.post("com.tintwell.e2e/Second");
    m_device.post("com.tintwell.e2e/First");
    EXPECT_EQ(m_device.homeScreen()->wait(), 3);
    auto log = m_device.homeScreenLog();
    EXPECT_THAT(log, HasSubstr("scenario " + scenario.string() + ": event 3: timed out after 0.5 seconds waiting for \"com.tintwell.e2e/Second\"")) << log;
    // The snapshot asked for is still written, and shows the scenario stopped there.
    auto screen = json::parse(readFile(m_device.snapshotFile()), nullptr, false);
    ASSERT_TRUE(screen.is_object());
    EXPECT_FALSE(labelShowing(screen, "Never published"));
}

TEST_F(ControlChannel, SnapshotOnRequestNeedsASnapshotFile)
{
    auto run = subprocess::run(TINTWELL_SPRINGBOARD_EXECUTABLE, { "--root", m_device.root().string(), "--snapshot-on", snapshotRequest }, true);
    EXPECT_EQ(run.status, 2);
    EXPECT_THAT(run.output, HasSubstr("--snapshot"));
}
