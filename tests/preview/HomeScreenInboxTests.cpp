// The home screen's inbox, which the preview drives it through: scenario files played on
// request while the host runs live, each removed once played.
#include "tests/e2e/LiveDevice.h"

#include <gmock/gmock.h>

using namespace e2e;

namespace {

constexpr const char* playRequest = "com.tintwell.e2e/Play";

void writeEvents(const fs::path& file, const json& events) { std::ofstream(file) << json { { "events", events } }.dump(); }

json publish(const std::string& message)
{
    return { { "publish", { { "section", "com.apple.MobileSMS" }, { "title", "Inbox" }, { "message", message } } } };
}

} // namespace

TEST(HomeScreenInbox, PlaysWaitingFilesInNameOrderRemovesEachAndRefusesWaits)
{
    LiveDevice device;
    ASSERT_TRUE(device.ready());
    auto inbox = device.output("inbox");
    fs::create_directories(inbox);
    subprocess::LiveProcess host({ TINTWELL_SPRINGBOARD_EXECUTABLE, "--root", device.root().string(), "--run-for", "120",
        "--snapshot", device.snapshotFile().string(), "--snapshot-on", snapshotRequest, "--inbox", inbox.string(), "--play-on", playRequest });
    ASSERT_TRUE(device.requestScreen());

    writeEvents(inbox / "2-second.json", json::array({ publish("Second") }));
    writeEvents(inbox / "1-first.json", json::array({ publish("First") }));
    writeEvents(inbox / "3-waits.json", json::array({ { { "waitFor", "com.tintwell.e2e/Never" } } }));
    // Still being written by its sender.
    writeEvents(inbox / ".4-partial.json", json::array({ publish("Partial") }));
    device.post(playRequest);
    ASSERT_TRUE(waitUntil([&] { return !fs::exists(inbox / "1-first.json") && !fs::exists(inbox / "2-second.json") && !fs::exists(inbox / "3-waits.json"); }));
    EXPECT_TRUE(fs::exists(inbox / ".4-partial.json"));

    auto screen = device.requestScreen();
    ASSERT_TRUE(screen);
    auto* first = labelShowing(*screen, "First");
    auto* second = labelShowing(*screen, "Second");
    ASSERT_TRUE(first && second);
    // The list shows the newest first: "Second" was played after "First".
    EXPECT_LT((*second)["windowFrame"]["y"].get<double>(), (*first)["windowFrame"]["y"].get<double>());
    EXPECT_FALSE(labelShowing(*screen, "Partial"));

    ::kill(host.pid(), SIGTERM);
    host.wait();
}

TEST(HomeScreenInbox, IsNamedWithItsNotificationAndNotMixedWithAScenario)
{
    LiveDevice device;
    ASSERT_TRUE(device.ready());
    auto inbox = device.output("inbox");
    fs::create_directories(inbox);
    auto scenario = device.writeScenario("empty.json", json::array());
    auto run = [&](std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), { "--root", device.root().string() });
        return subprocess::run(TINTWELL_SPRINGBOARD_EXECUTABLE, arguments, true);
    };
    EXPECT_EQ(run({ "--inbox", inbox.string() }).status, 2);
    EXPECT_EQ(run({ "--play-on", playRequest }).status, 2);
    auto mixed = run({ "--inbox", inbox.string(), "--play-on", playRequest, "--scenario", scenario.string() });
    EXPECT_EQ(mixed.status, 2);
    EXPECT_THAT(mixed.output, testing::HasSubstr("--scenario"));
}
