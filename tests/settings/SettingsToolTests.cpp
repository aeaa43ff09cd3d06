#include "SettingsTestDevice.h"

#include "tests/support/Subprocess.h"
#include "platform/graphics/CGImage.h"
#include "platform/graphics/UIImage.h"

#include <nlohmann/json.hpp>

#include <chrono>
#include <functional>
#include <csignal>
#include <fstream>
#include <thread>

// tintwell-settings driven as a person would, on a device root of its own.
namespace {

subprocess::Run settings(const SettingsTestDevice& device, std::vector<std::string> arguments, bool withErrors = false)
{
    arguments.insert(arguments.begin(), { "--root", device.root().string() });
    return subprocess::run(TINTWELL_SETTINGS_EXECUTABLE, arguments, withErrors);
}

nlohmann::json dumpAfter(const SettingsTestDevice& device, std::vector<std::string> actions)
{
    std::vector<std::string> arguments;
    for (auto& action : actions) {
        arguments.push_back("--do");
        arguments.push_back(action);
    }
    arguments.push_back("--dump");
    auto run = settings(device, arguments);
    EXPECT_EQ(run.status, 0) << run.output;
    return nlohmann::json::parse(run.output, nullptr, false);
}

const nlohmann::json* findRow(const nlohmann::json& dump, std::string_view label)
{
    for (auto& group : dump["groups"]) {
        for (auto& row : group["rows"]) {
            if (row["label"] == label)
                return &row;
        }
    }
    return nullptr;
}

} // namespace

TEST(SettingsTool, DumpShowsTheOpenedPageWithDefaultsAndStoredValues)
{
    SettingsTestDevice device;
    auto dump = dumpAfter(device, { "open Settings Test", "set Enabled = off", "set Style = Fill", "set Opacity = 33" });
    EXPECT_EQ(dump["page"], "STPRootListController");
    EXPECT_EQ(dump["title"], "Settings Test");
    EXPECT_EQ(dump["navigationBar"]["rightButton"], "Restart");
    EXPECT_EQ(dump["groups"][0]["header"], "Switches");
    EXPECT_EQ(dump["groups"][0]["footer"], "Footer of the first group");
    auto enabled = findRow(dump, "Enabled");
    ASSERT_TRUE(enabled);
    EXPECT_EQ((*enabled)["display"], "off");
    EXPECT_EQ((*findRow(dump, "Style"))["display"], "Fill");
    EXPECT_EQ((*findRow(dump, "Opacity"))["display"], "33");
    EXPECT_EQ((*findRow(dump, "Source"))["display"], "Icon");
    EXPECT_EQ((*findRow(dump, "Tint"))["colour"]["hex"], "#FF0000FF");

    // A second run reads what the first one wrote.
    auto again = dumpAfter(device, { "open Settings Test" });
    EXPECT_EQ((*findRow(again, "Enabled"))["value"], false);
    EXPECT_EQ((*findRow(again, "Opacity"))["value"], 33.0);
    EXPECT_EQ((*findRow(again, "Style"))["value"], 1);
}

TEST(SettingsTool, ScriptOpensSubPagesAndGoesBack)
{
    SettingsTestDevice device;
    auto script = device.root() / "script.txt";
    std::ofstream(script) << "# a walk through the pages\nopen Settings Test\nopen Notifications\n\nset Header colour = off\nback\nopen Widgets\n";
    auto run = settings(device, { "--script", script.string(), "--dump" });
    ASSERT_EQ(run.status, 0);
    auto dump = nlohmann::json::parse(run.output);
    EXPECT_EQ(dump["page"], "STPSubListController");
    EXPECT_EQ(dump["title"], "Widgets");
    EXPECT_TRUE(dump["navigationBar"]["backButton"]);
    EXPECT_FALSE(objectCast<NSNumber>(device.storedValue("HeaderColor"))->boolValue());
}

TEST(SettingsTool, AlertWaitsForAnAnswer)
{
    SettingsTestDevice device;
    auto dump = dumpAfter(device, { "open Settings Test", "tap Restart" });
    ASSERT_TRUE(dump["alert"].is_object());
    EXPECT_EQ(dump["alert"]["actions"][0]["title"], "Confirm");
    EXPECT_EQ(dump["alert"]["actions"][1]["title"], "Cancel");
    auto blocked = settings(device, { "--do", "open Settings Test", "--do", "tap Restart", "--do", "back" }, true);
    EXPECT_EQ(blocked.status, 2);
    EXPECT_NE(blocked.output.find("an alert is shown"), std::string::npos);
    auto cancelled = dumpAfter(device, { "open Settings Test", "tap Restart", "alert Cancel" });
    EXPECT_TRUE(cancelled["alert"].is_null());
}

TEST(SettingsTool, PictureHasTheBarTintAtTheTop)
{
    SettingsTestDevice device;
    auto picture = device.root() / "page.png";
    auto run = settings(device, { "--do", "open Settings Test", "--picture", picture.string(), "--picture-scale", "1" });
    ASSERT_EQ(run.status, 0);
    auto image = UIImage::imageWithContentsOfHostFile(picture);
    ASSERT_TRUE(image);
    auto bitmap = image->cgImage();
    ASSERT_EQ(bitmap->width(), 375u);
    auto pixel = bitmap->pixelAt(5, 5);
    EXPECT_NEAR(pixel.red, 0.2 * 255, 2);
    EXPECT_NEAR(pixel.green, 0.6 * 255, 2);
    EXPECT_NEAR(pixel.blue, 0.4 * 255, 2);
    // Below the bar lies the table.
    auto below = bitmap->pixelAt(5, 100);
    EXPECT_GT(below.red, 200);
}

TEST(SettingsTool, BadInputIsReportedWithStatusTwoAndNeverCrashes)
{
    SettingsTestDevice device;
    auto script = device.root() / "bad.txt";
    std::ofstream(script) << "open Settings Test\nfly away\n";
    auto badLine = settings(device, { "--script", script.string() }, true);
    EXPECT_EQ(badLine.status, 2);
    EXPECT_NE(badLine.output.find("bad.txt:2: unknown action \"fly\""), std::string::npos);

    for (auto& [action, message] : std::vector<std::pair<std::string, std::string>> {
             { "set Nonexistent = on", "no row \"Nonexistent\"" },
             { "set Enabled = maybe", "set it to on or off" },
             { "set Style = Sideways", "not one of the choices" },
             { "set Tint = not a colour", "not a colour" },
             { "scroll sideways", "needs a number" },
         }) {
        auto run = settings(device, { "--do", "open Settings Test", "--do", action }, true);
        EXPECT_EQ(run.status, 2) << action;
        EXPECT_NE(run.output.find(message), std::string::npos) << run.output;
    }

    // Broken lists only warn; the page still works.
    auto broken = settings(device, { "--do", "open Settings Test", "--do", "open Broken", "--do", "set Survivor = on" }, true);
    EXPECT_EQ(broken.status, 0) << broken.output;
    EXPECT_NE(broken.output.find("unknown cell type \"PSFancyCell\""), std::string::npos);

    // An entry whose bundle is missing is listed, and opening it says why it cannot.
    device.writeFile("/Library/PreferenceLoader/Preferences/Ghost.plist",
        "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>entry</key><dict><key>bundle</key><string>Ghost</string>"
        "<key>cell</key><string>PSLinkCell</string><key>label</key><string>Ghost</string></dict></dict></plist>");
    device.writeFile("/Library/PreferenceLoader/Preferences/Garbage.plist", "not a property list");
    auto ghost = settings(device, { "--do", "open Ghost" }, true);
    EXPECT_EQ(ghost.status, 2);
    EXPECT_NE(ghost.output.find("no bundle at /Library/PreferenceBundles/Ghost.bundle"), std::string::npos) << ghost.output;
    EXPECT_NE(ghost.output.find("Garbage.plist: not a readable property list"), std::string::npos);
    EXPECT_EQ(settings(device, { "--do", "open Settings Test" }).status, 0);
}

TEST(SettingsTool, SbreloadRestartsTheHomeScreenOfTheSameRoot)
{
    SettingsTestDevice device;
    auto pidFile = device.host("/private/var/run/springboard.pid");
    std::string command = subprocess::quoted(TINTWELL_SPRINGBOARD_EXECUTABLE) + " --root " + subprocess::quoted(device.root().string()) + " --run-for 30 --quiet >/dev/null 2>&1 &";
    ASSERT_EQ(std::system(command.c_str()), 0);
    auto readPid = [&] {
        long pid = 0;
        std::ifstream(pidFile) >> pid;
        return pid;
    };
    auto waitFor = [](const std::function<bool()>& condition) {
        for (int attempt = 0; attempt < 500; ++attempt) {
            if (condition())
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return false;
    };
    ASSERT_TRUE(waitFor([&] { return readPid() > 0; }));
    long first = readPid();

    // "Confirm" in the restart alert goes through Cephei to "/usr/bin/sbreload".
    auto run = settings(device, { "--do", "open Settings Test", "--do", "tap Restart", "--do", "alert Confirm", "--dump" }, false);
    ASSERT_EQ(run.status, 0);
    EXPECT_EQ(nlohmann::json::parse(run.output)["page"], "STPRootListController");
    ASSERT_TRUE(waitFor([&] { return readPid() > 0 && readPid() != first; }));
    long second = readPid();
    EXPECT_TRUE(waitFor([&] { return ::kill(static_cast<pid_t>(first), 0) != 0; }));
    EXPECT_EQ(::kill(static_cast<pid_t>(second), 0), 0);
    std::string cmdline;
    std::getline(std::ifstream("/proc/" + std::to_string(second) + "/cmdline"), cmdline, '\x01');
    EXPECT_NE(cmdline.find("--run-for"), std::string::npos);
    ::kill(static_cast<pid_t>(second), SIGTERM);
}

// Tintwell's own pages hold rows with the same label in different groups ("Opacity" under
// Outline and under Fill); each is reached by group and label or by key, never by chance.
TEST(SettingsTool, RowsSharingALabelAreAddressedByGroupOrKey)
{
    char pattern[] = "/tmp/tintwell-rows-XXXXXX";
    ASSERT_TRUE(::mkdtemp(pattern));
    const std::filesystem::path root = pattern;
    std::filesystem::copy(TINTWELL_SAMPLE_DEVICE_ROOT, root, std::filesystem::copy_options::recursive);
    auto domain = root / "var/mobile/Library/Preferences/com.quillfen.tintwellprefs.plist";
    std::filesystem::remove(domain);
    auto run = [&](std::vector<std::string> actions) {
        std::vector<std::string> arguments { "--root", root.string(), "--do", "open Tintwell", "--do", "open Notifications" };
        for (auto& action : actions) {
            arguments.push_back("--do");
            arguments.push_back(action);
        }
        return subprocess::run(TINTWELL_SETTINGS_EXECUTABLE, arguments, true);
    };

    auto ambiguous = run({ "set Opacity = 33" });
    EXPECT_EQ(ambiguous.status, 2);
    EXPECT_NE(ambiguous.output.find("\"Outline/Opacity\" (key:NotifOutAlpha)"), std::string::npos) << ambiguous.output;
    EXPECT_NE(ambiguous.output.find("\"Fill/Opacity\" (key:NotifFullAlpha)"), std::string::npos) << ambiguous.output;
    EXPECT_FALSE(std::filesystem::exists(domain)) << "an ambiguous label changed a setting";

    auto addressed = run({ "set Fill/Opacity = 33", "set key:NotifOutAlpha = 44", "set Outline / Thickness = 5" });
    ASSERT_EQ(addressed.status, 0) << addressed.output;
    auto stored = objectCast<NSDictionary>(PropertyList::readHostFile(domain));
    ASSERT_TRUE(stored);
    auto number = [&](const char* key) {
        auto value = objectCast<NSNumber>(stored->objectForStringKey(key));
        return value ? value->doubleValue() : -1;
    };
    EXPECT_EQ(number("NotifFullAlpha"), 33);
    EXPECT_EQ(number("NotifOutAlpha"), 44);
    EXPECT_EQ(number("NotifOutThickness"), 5);
    EXPECT_EQ(number("NotifBothThickness"), -1);

    auto unknown = run({ "set Nowhere/Opacity = 1" });
    EXPECT_EQ(unknown.status, 2);
    EXPECT_NE(unknown.output.find("no row \"Nowhere/Opacity\""), std::string::npos) << unknown.output;
    std::filesystem::remove_all(root);
}
