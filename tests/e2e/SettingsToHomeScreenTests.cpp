// A person in the Settings app while the home screen runs: each host is its own process,
// and only the preference files and system-wide notifications pass between them.
#include "LiveDevice.h"

#include <gmock/gmock.h>

#include <cmath>
#include <set>

using namespace e2e;

namespace {

constexpr const char* go = "com.tintwell.e2e/Go";
constexpr const char* done = "com.tintwell.e2e/Done";

json publish(const std::string& section, const std::string& message)
{
    return { { "publish", { { "section", section }, { "title", "E2E" }, { "message", message } } } };
}

json waitFor(const std::string& name)
{
    return { { "waitFor", name }, { "timeout", 120 } };
}

bool near(double a, double b) { return std::abs(a - b) < 1e-6; }

std::string hexOf(const json& colour) { return colour.is_object() ? colour["hex"].get<std::string>() : "none"; }

// The extension's defaults: both outline and fill, a 3-point outline and a 70 % fill in
// the light appearance.
bool paintedWithDefaults(const json* platter)
{
    return platter && (*platter)["layer"]["borderWidth"] == 3 && near(alphaOf((*platter)["backgroundColor"]), 0.7);
}

std::vector<std::string> testMessages()
{
    std::vector<std::string> messages;
    for (int number = 1; number <= 15; ++number)
        messages.push_back("Test notification " + std::to_string(number) + "!");
    return messages;
}

class BothHosts : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_device.ready()); }

    // The home screen's own exit, clean under the sanitizers.
    void finishHomeScreen()
    {
        m_device.post(done);
        EXPECT_EQ(m_device.homeScreen()->wait(), 0) << m_device.homeScreenLog();
    }

    void expectSettings(const std::vector<std::string>& actions)
    {
        auto run = m_device.settings(actions);
        EXPECT_EQ(run.status, 0) << run.output;
    }

    LiveDevice m_device;
};

} // namespace

TEST_F(BothHosts, StyleChangedInSettingsPaintsTheNextPlatterOfTheRunningHomeScreen)
{
    m_device.startHomeScreen(m_device.writeScenario("live-style.json", json::array({
        publish("com.apple.MobileSMS", "Painted before the change"),
        waitFor(go),
        publish("com.apple.mobilemail", "Painted after the change"),
        waitFor(done),
    })));
    auto before = m_device.screenWhen([](const json& screen) { return labelShowing(screen, "Painted before the change"); });
    ASSERT_TRUE(paintedWithDefaults(platterOf(before, "Painted before the change"))) << m_device.homeScreenLog();
    auto messagesColour = hexOf((*platterOf(before, "Painted before the change"))["layer"]["borderColor"]);

    // Outline only, 6 points at 40 %, in a custom colour picked with the colour row.
    expectSettings({ "open Tintwell", "open Notifications", "set Style = Outline", "set Outline/Thickness = 6", "set Outline/Opacity = 40",
        "set Colour Source = Custom Colour", "set Custom Colour = #ff8800" });
    m_device.post(go);

    auto after = m_device.screenWhen([](const json& screen) { return labelShowing(screen, "Painted after the change"); });
    auto* platter = platterOf(after, "Painted after the change");
    ASSERT_TRUE(platter) << after.dump(1).substr(0, 2000);
    EXPECT_EQ((*platter)["layer"]["borderWidth"], 6);
    EXPECT_EQ(hexOf((*platter)["layer"]["borderColor"]), "#FF880066");
    // Outline only: no fill of the extension's.
    EXPECT_FALSE(near(alphaOf((*platter)["backgroundColor"]), 0.7));
    EXPECT_NE(hexOf((*platter)["backgroundColor"]).substr(0, 7), "#FF8800");
    // An app coloured before keeps its cached colour; only the style reaches it.
    auto* earlier = platterOf(after, "Painted before the change");
    ASSERT_TRUE(earlier);
    EXPECT_EQ(hexOf((*earlier)["layer"]["borderColor"]).substr(0, 7), messagesColour.substr(0, 7));

    finishHomeScreen();
}

TEST_F(BothHosts, TestNotificationsButtonShowsTheFifteenTintedOnTheRunningHomeScreen)
{
    m_device.startHomeScreen(m_device.writeScenario("idle.json", json::array({ waitFor(done) })));
    auto idle = m_device.requestScreen();
    ASSERT_TRUE(idle) << m_device.homeScreenLog();
    EXPECT_FALSE(labelShowing(*idle, "Test notification 1!"));

    expectSettings({ "open Tintwell", "tap Test Notifications" });
    // On screen: Music, the App Store and the Messages stack's three newest, whose front
    // counts the twelve behind it; the others are not views until the stack opens.
    auto messages = testMessages();
    messages.erase(messages.begin(), messages.begin() + 10);
    messages.push_back("12 more notifications");
    auto screen = m_device.screenWhen([&](const json& candidate) {
        return std::all_of(messages.begin(), messages.end(), [&](auto& message) { return labelShowing(candidate, message); });
    });
    for (auto& message : messages) {
        EXPECT_TRUE(labelShowing(screen, message)) << message;
        EXPECT_TRUE(paintedWithDefaults(platterOf(screen, message))) << message;
    }
    EXPECT_FALSE(labelShowing(screen, "Test notification 10!"));
    // Tinted by app: the Messages, Music and App Store platters differ.
    std::set<std::string> colours;
    for (auto* message : { "Test notification 13!", "Test notification 14!", "Test notification 15!" }) {
        if (auto* platter = platterOf(screen, message))
            colours.insert(hexOf((*platter)["layer"]["borderColor"]));
    }
    EXPECT_EQ(colours.size(), 3u);

    finishHomeScreen();
}

TEST_F(BothHosts, RespringConfirmedRestartsTheHomeScreenWhichBindsTheStoredSettings)
{
    m_device.startHomeScreen(m_device.writeScenario("respring.json", json::array({
        publish("com.apple.MobileSMS", "Painted at launch"),
        waitFor(done),
    })));
    auto first = m_device.screenWhen([](const json& screen) { return labelShowing(screen, "Painted at launch"); });
    ASSERT_TRUE(paintedWithDefaults(platterOf(first, "Painted at launch"))) << m_device.homeScreenLog();
    long firstPid = m_device.recordedHomeScreen();
    ASSERT_EQ(firstPid, m_device.homeScreen()->pid());

    // Fill only at 40 %, stored without telling the running home screen.
    auto domainFile = m_device.host("/var/mobile/Library/Preferences/com.quillfen.tintwellprefs.plist");
    std::ofstream(domainFile) << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>"
                                 "<key>NotificationStyle</key><integer>1</integer><key>NotifFullAlpha</key><integer>40</integer>"
                                 "</dict></plist>\n";

    // Cancel restarts nothing: the same process still paints with what it bound at launch.
    expectSettings({ "open Tintwell", "tap ReSpring", "alert Cancel" });
    EXPECT_EQ(m_device.recordedHomeScreen(), firstPid);
    EXPECT_FALSE(processGone(static_cast<pid_t>(firstPid)));
    auto unchanged = m_device.requestScreen();
    ASSERT_TRUE(unchanged);
    EXPECT_TRUE(paintedWithDefaults(platterOf(*unchanged, "Painted at launch")));

    expectSettings({ "open Tintwell", "tap ReSpring", "alert Confirm" });
    ASSERT_TRUE(waitUntil([&] { return m_device.recordedHomeScreen() > 0 && m_device.recordedHomeScreen() != firstPid; }))
        << m_device.homeScreenLog();
    // The old process was stopped by the restart, not by the test.
    EXPECT_EQ(m_device.homeScreen()->wait(), 128 + SIGTERM);

    // The new one replays its command line and paints with the stored settings.
    auto second = m_device.screenWhen([](const json& screen) {
        auto* platter = platterOf(screen, "Painted at launch");
        return platter && near(alphaOf((*platter)["backgroundColor"]), 0.4);
    });
    auto* platter = platterOf(second, "Painted at launch");
    ASSERT_TRUE(platter) << m_device.homeScreenLog();
    EXPECT_TRUE(near(alphaOf((*platter)["backgroundColor"]), 0.4));
    EXPECT_NE((*platter)["layer"]["borderWidth"], 3);
    EXPECT_FALSE(processGone(static_cast<pid_t>(m_device.recordedHomeScreen())));
}
