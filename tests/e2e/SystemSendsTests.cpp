// An extension that hooks the system methods the system once called around the runtime,
// installed beside Tintwell on a live device: each hook must be reached by the system's
// own send, in the home screen or in the Settings app, with the original still doing its
// work.
#include "LiveDevice.h"

#include <gmock/gmock.h>

using namespace e2e;
using ::testing::HasSubstr;

namespace {

const std::string probe = "SystemSendProbe: ";

std::string sentBySystem(const std::string& method, const std::string& outcome)
{
    return probe + method + " sent by the system; the original " + outcome;
}

class SystemSends : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_device.ready());
        auto libraries = m_device.host("/Library/MobileSubstrate/DynamicLibraries");
        for (auto* file : { "SystemSendProbe.dylib", "SystemSendProbe.plist" })
            fs::copy_file(fs::path(TINTWELL_PROBE_EXTENSIONS) / file, libraries / file);
        // Custom colours for notifications and widgets, read from the colours file.
        std::ofstream(m_device.host("/var/mobile/Library/Preferences/com.quillfen.tintwellprefs.plist"))
            << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>"
               "<key>NotifImageCalc</key><integer>2</integer><key>WidgetImageCalc</key><integer>2</integer>"
               "</dict></plist>\n";
        std::ofstream(m_device.host("/var/mobile/Library/Preferences/com.quillfen.tintwellprefs.colors.plist"))
            << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>"
               "<key>NotifCustomHEX</key><string>#FF8800:1.00</string>"
               "<key>WidgetCustomHEX</key><string>#00AA44:1.00</string>"
               "</dict></plist>\n";
    }

    LiveDevice m_device;
};

} // namespace

TEST_F(SystemSends, HomeScreenSendsEveryHookedMethodThroughTheRuntime)
{
    m_device.startHomeScreen(m_device.writeScenario("system-sends.json", json::array({
        { { "lock", true } },
        { { "publish", { { "section", "com.apple.mobilemail" }, { "title", "Probe" }, { "message", "Custom colour" } } } },
        { { "post", "com.quillfen.tintwell/TestBanner" } },
        { { "advance", 1 } },
        { { "showWidgets", true } },
        { { "showWidgets", { { "widgets", json::array({
            { { "identifier", "com.apple.stocks.StocksWidget" }, { "name", "Stocks" }, { "app", "com.apple.stocks" } },
        }) } } } },
    })));
    ASSERT_EQ(m_device.homeScreen()->wait(), 0) << m_device.homeScreenLog();
    auto log = m_device.homeScreenLog();
    EXPECT_THAT(log, HasSubstr(probe + "loaded"));

    // The colours file, read and converted by Tintwell's own sends.
    EXPECT_THAT(log, HasSubstr(sentBySystem("+[NSDictionary dictionaryWithContentsOfFile:]", "answered 2 entries for com.quillfen.tintwellprefs.colors.plist")));
    EXPECT_THAT(log, HasSubstr(sentBySystem("+[SparkColourPickerUtils colourWithString:]", "answered #FF8800 for \"#FF8800:1.00\"")));
    EXPECT_THAT(log, HasSubstr(sentBySystem("+[SparkColourPickerUtils colourWithString:withFallback:]", "answered #00AA44 for \"#00AA44:1.00\"")));
    // The list's header colour notification and its animated repaint.
    EXPECT_THAT(log, HasSubstr(sentBySystem("+[NSNotificationCenter defaultCenter]", "answered the process's centre")));
    EXPECT_THAT(log, HasSubstr(sentBySystem("+[UIView animateWithDuration:animations:]", "ran the animations for 0.200000 s")));
    // The home screen asks the lock screen for every delivery, locked here.
    EXPECT_THAT(log, HasSubstr(sentBySystem("-[SBLockScreenManager isUILocked]", "answered YES")));
    // The scenario's publish uses the three-argument form; the test banner the two-argument
    // one, which reaches the three-argument form through the runtime.
    EXPECT_THAT(log, HasSubstr(sentBySystem("-[BBServer publishBulletin:destinations:alwaysToLockScreen:]", "published \"Custom colour\"")));
    EXPECT_THAT(log, HasSubstr(sentBySystem("-[BBServer publishBulletin:destinations:alwaysToLockScreen:] from publishBulletin:destinations:", "published \"Test banner!\"")));
    // Every icon the home screen shows is asked for by message: a notification's header,
    // the companions' cells of its app, the sample widgets and a scenario's own widget.
    // Tintwell takes custom colours here, so none of these requests is its own.
    const std::string icon = "+[UIImage _applicationIconImageForBundleIdentifier:format:scale:]";
    EXPECT_THAT(log, HasSubstr(sentBySystem(icon, "answered an icon for \"com.apple.mobilemail\", format 0, scale 2")));
    EXPECT_THAT(log, HasSubstr(sentBySystem(icon, "answered an icon for \"com.apple.mobilemail\", format 1, scale 2")));
    EXPECT_THAT(log, HasSubstr(sentBySystem(icon, "answered an icon for \"com.apple.mobilecal\", format 0, scale 3")));
    EXPECT_THAT(log, HasSubstr(sentBySystem(icon, "answered an icon for \"com.apple.stocks\", format 0, scale 3")));
    // The icon's body asks the app's record by message too.
    EXPECT_THAT(log, HasSubstr(sentBySystem("-[LSBundleProxy iconsDictionary]", "answered the icons of \"com.apple.mobilemail\"")));
    // Views hear that they join the window as the screen is built.
    EXPECT_THAT(log, HasSubstr(sentBySystem("-[UIView willMoveToWindow:]", "ran as the view joins a window")));
    EXPECT_THAT(log, HasSubstr(sentBySystem("-[UIView didMoveToWindow]", "ran with the view in a window")));
    // No caller makes a style record with the factory; the probe's own send reaches it.
    EXPECT_THAT(log, HasSubstr(probe + "+[QFConfig newQFConfigWithBT:BA:FA:BT:DB:DC:LB:LC:style:] reached the replacement; the original answered a filled record"));
}

TEST_F(SystemSends, SettingsAppSendsTheHookedMethodsItUses)
{
    auto run = m_device.settings({ "open Tintwell", "scroll 250", "open Notifications", "back", "open Widgets", "back", "open Axon", "set Coloured Cells = No Cell", "set Colour Axon = off" });
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_THAT(run.output, HasSubstr(probe + "loaded"));
    // The list controllers observe the app's return to the foreground.
    EXPECT_THAT(run.output, HasSubstr(sentBySystem("+[NSNotificationCenter defaultCenter]", "answered the process's centre")));
    // The root page's title swap as it scrolls.
    EXPECT_THAT(run.output, HasSubstr(sentBySystem("+[UIView animateWithDuration:animations:]", "ran the animations for 0.200000 s")));
    // The colour rows read the colours file and show its colours.
    EXPECT_THAT(run.output, HasSubstr(sentBySystem("+[NSDictionary dictionaryWithContentsOfFile:]", "answered 2 entries for com.quillfen.tintwellprefs.colors.plist")));
    EXPECT_THAT(run.output, HasSubstr(sentBySystem("+[SparkColourPickerUtils colourWithString:]", "answered #FF8800 for \"#FF8800:1.00\"")));
    EXPECT_THAT(run.output, HasSubstr(sentBySystem("+[SparkColourPickerUtils colourWithString:withFallback:]", "answered #00AA44 for \"#00AA44:1.00\"")));
    // Pages join the window as they are shown and leave it when popped.
    EXPECT_THAT(run.output, HasSubstr(sentBySystem("-[UIView willMoveToWindow:]", "ran as the view joins a window")));
    EXPECT_THAT(run.output, HasSubstr(sentBySystem("-[UIView didMoveToWindow]", "ran with the view in a window")));
    EXPECT_THAT(run.output, HasSubstr(sentBySystem("-[UIView willMoveToWindow:]", "ran as the view leaves its window")));
    EXPECT_THAT(run.output, HasSubstr(sentBySystem("-[UIView didMoveToWindow]", "ran with the view in no window")));
    // A row's cell is made through its superclasses' initialisers, each sent.
    EXPECT_THAT(run.output, HasSubstr(sentBySystem("-[UITableViewCell initWithStyle:reuseIdentifier:]", "answered a PSTableCell of style 1")));
    EXPECT_THAT(run.output, HasSubstr(sentBySystem("-[UIView initWithFrame:] for a table cell", "answered a PSTableCell")));
    // Picking a list row's choice shows it through the cell's setValue:.
    EXPECT_THAT(run.output, HasSubstr(sentBySystem("-[PSTableCell setValue:] outside a refresh", "shows 2")));
    // A switch tells its cell of the change through sendAction:to:forEvent:.
    EXPECT_THAT(run.output, HasSubstr(sentBySystem("-[UIControl sendAction:to:forEvent:]", "sent controlChanged: to a PSTableCell for a UISwitch")));
    // Classes of the home screen only: nothing of them is hooked or reported here.
    EXPECT_THAT(run.output, ::testing::Not(HasSubstr("SBLockScreenManager")));
}
