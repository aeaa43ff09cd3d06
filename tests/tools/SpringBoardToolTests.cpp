#include "tests/support/Subprocess.h"

#include "platform/foundation/CFNotificationCenter.h"
#include "platform/foundation/DeviceRoot.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <unistd.h>

namespace fs = std::filesystem;
using testing::HasSubstr;
using testing::Not;

namespace {

// The host to its end, standard output and error together.
subprocess::Run runSpringBoard(const std::vector<std::string>& arguments)
{
    return subprocess::run(TINTWELL_SPRINGBOARD_EXECUTABLE, arguments, true);
}

// The host in live mode.
struct LiveHost : subprocess::LiveProcess {
    explicit LiveHost(std::vector<std::string> arguments)
        : LiveProcess((arguments.insert(arguments.begin(), TINTWELL_SPRINGBOARD_EXECUTABLE), arguments))
    {
    }
};

class TemporaryRoot {
public:
    TemporaryRoot()
    {
        char pattern[] = "/tmp/tintwell-host-XXXXXX";
        if (mkdtemp(pattern))
            m_path = pattern;
    }
    ~TemporaryRoot() { fs::remove_all(m_path); }

    const fs::path& path() const { return m_path; }
    fs::path libraries() const { return m_path / "Library/MobileSubstrate/DynamicLibraries"; }
    void write(const fs::path& relative, const std::string& contents) const
    {
        fs::create_directories((m_path / relative).parent_path());
        std::ofstream(m_path / relative, std::ios::binary) << contents;
    }

private:
    fs::path m_path;
};

const std::string testDevice = TINTWELL_TEST_DEVICE_ROOT;

TEST(SpringBoardTool, ReportsOneLinePerExtensionAndTheirHookRunsAtLaunch)
{
    auto run = runSpringBoard({ "--root", testDevice });

    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(run.output,
        "HookProbe.dylib: loaded (3 replaced, 2 added, 1 class)\n"
        "OtherProcess.dylib: not loaded (filter does not match)\n"
        "Unfiltered.dylib: not loaded (no filter)\n"
        "HookProbe: -[SpringBoard applicationDidFinishLaunching:] intercepted\n");
}

TEST(SpringBoardTool, VerboseReportsEveryChangeOfTheRuntime)
{
    auto run = runSpringBoard({ "--root", testDevice, "--verbose" });

    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(run.output,
        "HookProbe.dylib: loaded\n"
        "HookProbe.dylib: added class HKPProbe\n"
        "HookProbe.dylib: replaced +[NSNotificationCenter defaultCenter]\n"
        "HookProbe.dylib: added +[SpringBoard HKPprobeVersion]\n"
        "HookProbe.dylib: replaced -[SpringBoard applicationDidFinishLaunching:]\n"
        "HookProbe.dylib: replaced -[SpringBoard dealloc]\n"
        "HookProbe.dylib: added -[SpringBoard HKPinterceptedLaunchCount]\n"
        "OtherProcess.dylib: not loaded (filter does not match)\n"
        "Unfiltered.dylib: not loaded (no filter)\n"
        "HookProbe: -[SpringBoard applicationDidFinishLaunching:] intercepted\n");
}

TEST(SpringBoardTool, QuietKeepsOnlyWhatTheExtensionsSay)
{
    auto run = runSpringBoard({ "--root", testDevice, "--quiet", "--run-for", "0" });

    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(run.output, "HookProbe: -[SpringBoard applicationDidFinishLaunching:] intercepted\n");
}

TEST(SpringBoardTool, BadArgumentsExitWithStatusTwo)
{
    TemporaryRoot root;
    root.write("file", "not a folder");
    const std::vector<std::vector<std::string>> badArguments {
        {},
        { "--root", (root.path() / "missing").string() },
        { "--root", (root.path() / "file").string() },
        { "--root", root.path().string(), "--run-for", "-1" },
        { "--root", root.path().string(), "--run-for", "soon" },
        { "--root", root.path().string(), "--no-such-option" },
        { "--root", root.path().string(), "--quiet", "--verbose" },
        { "--root", root.path().string(), "--picture-scale", "9" },
    };
    for (auto& arguments : badArguments) {
        auto run = runSpringBoard(arguments);
        EXPECT_EQ(run.status, 2) << testing::PrintToString(arguments) << "\n" << run.output;
        EXPECT_THAT(run.output, Not(HasSubstr("loaded"))) << testing::PrintToString(arguments);
        // One line naming the tool, the fault and where the options are explained.
        EXPECT_THAT(run.output, testing::MatchesRegex("tintwell-springboard: [^\n]+ \\(see tintwell-springboard --help\\)\n"))
            << testing::PrintToString(arguments);
    }
    EXPECT_EQ(runSpringBoard({ "--help" }).status, 0);
}

TEST(SpringBoardTool, UsageErrorsNameTheValueAndWhatWasExpected)
{
    TemporaryRoot root;
    auto run = runSpringBoard({ "--root", root.path().string(), "--run-for", "abc" });

    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.output, "tintwell-springboard: --run-for: expects a number of 0 or more, not \"abc\" (see tintwell-springboard --help)\n");
    auto scale = runSpringBoard({ "--root", root.path().string(), "--picture-scale", "0.1" });
    EXPECT_THAT(scale.output, HasSubstr("expects a number from 0.5 to 4, not \"0.1\""));
}

TEST(SpringBoardTool, VersionAnswersOnStandardOutput)
{
    auto run = runSpringBoard({ "--version" });

    EXPECT_EQ(run.status, 0);
    EXPECT_THAT(run.output, testing::MatchesRegex("tintwell-springboard [0-9]+\\.[0-9]+\\.[0-9]+\n"));
}

TEST(SpringBoardTool, BrokenDeviceRootsNeverCrashTheHost)
{
    TemporaryRoot emptyRoot;
    auto empty = runSpringBoard({ "--root", emptyRoot.path().string() });
    EXPECT_EQ(empty.status, 0) << empty.output;
    EXPECT_EQ(empty.output, "no extensions\n");

    TemporaryRoot fileForFolder;
    fileForFolder.write("Library/MobileSubstrate/DynamicLibraries", "a file where the folder should be");
    auto notAFolder = runSpringBoard({ "--root", fileForFolder.path().string() });
    EXPECT_EQ(notAFolder.status, 0) << notAFolder.output;

    TemporaryRoot broken;
    const std::string matching = "<plist version=\"1.0\"><dict><key>Filter</key><dict><key>Bundles</key><array><string>com.apple.springboard</string></array></dict></dict></plist>";
    broken.write("Library/MobileSubstrate/DynamicLibraries/Garbage.dylib", "\x7f" "ELF but not really");
    broken.write("Library/MobileSubstrate/DynamicLibraries/Garbage.plist", matching);
    broken.write("Library/MobileSubstrate/DynamicLibraries/Noise.dylib", "noise");
    broken.write("Library/MobileSubstrate/DynamicLibraries/Noise.plist", std::string("\0\xff\xfe", 3));
    broken.write("Library/MobileSubstrate/DynamicLibraries/Shape.dylib", "shape");
    broken.write("Library/MobileSubstrate/DynamicLibraries/Shape.plist", "<plist version=\"1.0\"><dict><key>Filter</key><string>SpringBoard</string></dict></plist>");
    fs::copy_file(fs::path(testDevice) / "Library/MobileSubstrate/DynamicLibraries/HookProbe.dylib", broken.libraries() / "Probe.dylib");
    broken.write("Library/MobileSubstrate/DynamicLibraries/Probe.plist", matching);

    auto run = runSpringBoard({ "--root", broken.path().string() });

    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_THAT(run.output, HasSubstr("Garbage.dylib: failed to load: "));
    EXPECT_THAT(run.output, HasSubstr("Noise.dylib: not loaded (unreadable filter)\n"));
    EXPECT_THAT(run.output, HasSubstr("Shape.dylib: not loaded (unreadable filter)\n"));
    EXPECT_THAT(run.output, HasSubstr("Probe.dylib: loaded ("));
    EXPECT_THAT(run.output, HasSubstr("HookProbe: -[SpringBoard applicationDidFinishLaunching:] intercepted\n"));
}

// libplist asserts on a string whose length is not its strlen, and recurses once per level of
// a binary list: either used to take the whole host down at launch.
TEST(SpringBoardTool, FiltersThatWouldAbortTheReaderAreReportedUnreadable)
{
    using namespace std::string_literals;
    TemporaryRoot root;
    auto filter = [](const std::string& bundle) {
        return "<plist version=\"1.0\"><dict><key>Filter</key><dict><key>Bundles</key><array><string>" + bundle + "</string></array></dict></dict></plist>";
    };
    auto library = fs::path(testDevice) / "Library/MobileSubstrate/DynamicLibraries/HookProbe.dylib";
    fs::create_directories(root.libraries());
    for (auto name : { "NulString", "NulKey", "Deep", "Probe" })
        fs::copy_file(library, root.libraries() / (std::string(name) + ".dylib"));
    root.write("Library/MobileSubstrate/DynamicLibraries/NulString.plist", filter("com.apple.springboard\0"s));
    root.write("Library/MobileSubstrate/DynamicLibraries/NulKey.plist", "<plist version=\"1.0\"><dict><key>Fil\0ter</key><dict/></dict></plist>"s);
    std::string deep = "<plist version=\"1.0\">";
    for (int i = 0; i < 100000; ++i)
        deep += "<array>";
    root.write("Library/MobileSubstrate/DynamicLibraries/Deep.plist", deep);
    root.write("Library/MobileSubstrate/DynamicLibraries/Probe.plist", filter("com.apple.springboard"));

    auto run = runSpringBoard({ "--root", root.path().string() });

    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_THAT(run.output, HasSubstr("NulString.dylib: not loaded (unreadable filter)\n"));
    EXPECT_THAT(run.output, HasSubstr("NulKey.dylib: not loaded (unreadable filter)\n"));
    EXPECT_THAT(run.output, HasSubstr("Deep.dylib: not loaded (unreadable filter)\n"));
    EXPECT_THAT(run.output, HasSubstr("\nProbe.dylib: loaded ("));
}

TEST(SpringBoardTool, RunForDeliversSystemWideNotificationsToExtensions)
{
    TemporaryRoot root;
    fs::create_directories(root.libraries());
    for (const char* file : { "HookProbe.dylib", "HookProbe.plist" })
        fs::copy_file(fs::path(testDevice) / "Library/MobileSubstrate/DynamicLibraries" / file, root.libraries() / file);
    LiveHost host({ "--root", root.path().string(), "--run-for", "60" });
    ASSERT_TRUE(host.waitForLine("HookProbe: -[SpringBoard applicationDidFinishLaunching:] intercepted"));

    DeviceRoot::set(root.path());
    postDarwinNotification("com.tintwell.hookprobe/Ping");

    EXPECT_TRUE(host.waitForLine("HookProbe: ping received"));
}

} // namespace

// A rootless device keeps its extensions under "/var/jb"; the classic folder is not read.
TEST(SpringBoardTool, RootlessRootLoadsTheExtensionsUnderVarJb)
{
    TemporaryRoot root;
    const fs::path rootless = root.path() / "var/jb/Library/MobileSubstrate/DynamicLibraries";
    fs::create_directories(rootless);
    fs::create_directories(root.libraries());
    for (const char* file : { "HookProbe.dylib", "HookProbe.plist" }) {
        fs::copy_file(fs::path(testDevice) / "Library/MobileSubstrate/DynamicLibraries" / file, rootless / file);
        fs::copy_file(fs::path(testDevice) / "Library/MobileSubstrate/DynamicLibraries" / file, root.libraries() / (std::string("Classic") + fs::path(file).extension().string()));
    }

    auto run = runSpringBoard({ "--root", root.path().string() });

    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_THAT(run.output, HasSubstr("HookProbe.dylib: loaded ("));
    EXPECT_THAT(run.output, Not(HasSubstr("Classic.dylib")));
}

// The ninety bindings of the extension, read through its own table and conversions.
TEST(BoundSettingsTool, ShowsStoredDefaultAndBoundValueOfEveryKey)
{
    TemporaryRoot root;
    root.write("var/mobile/Library/Preferences/com.quillfen.tintwellprefs.plist",
        "<plist version=\"1.0\"><dict>"
        "<key>Enabled</key><false/>"
        "<key>EnabledNotifs</key><string>yes</string>"
        "<key>NotifFullAlpha</key><real>33.7</real>"
        "<key>CustomHint</key><integer>5</integer>"
        "<key>NotifOutAlpha</key><integer>18446744073709551615</integer>"
        "</dict></plist>");

    auto run = subprocess::run(TINTWELL_BOUND_SETTINGS_EXECUTABLE, { "--root", root.path().string(), "--json" });

    ASSERT_EQ(run.status, 0) << run.output;
    auto settings = nlohmann::json::parse(run.output, nullptr, false);
    ASSERT_TRUE(settings.is_array()) << run.output;
    EXPECT_EQ(settings.size(), 90u);
    auto setting = [&](const std::string& key) {
        for (auto& entry : settings) {
            if (entry["key"] == key)
                return entry;
        }
        return nlohmann::json();
    };
    EXPECT_EQ(settings[0]["key"], "Enabled");
    EXPECT_EQ(setting("Enabled")["stored"], false);
    EXPECT_EQ(setting("Enabled")["default"], true);
    EXPECT_EQ(setting("Enabled")["bound"], false);
    EXPECT_EQ(setting("EnabledNotifs")["bound"], true);
    EXPECT_EQ(setting("NotifFullAlpha")["stored"], 33.7);
    EXPECT_EQ(setting("NotifFullAlpha")["bound"], 33);
    EXPECT_EQ(setting("CustomHint")["stored"], 5);
    EXPECT_EQ(setting("NotifOutAlpha")["stored"], UINT64_MAX);
    EXPECT_EQ(setting("CustomHint")["bound"], "No older notifications");
    EXPECT_EQ(setting("NotificationStyle")["stored"], nullptr);
    EXPECT_EQ(setting("NotificationStyle")["bound"], 2);

    auto table = subprocess::run(TINTWELL_BOUND_SETTINGS_EXECUTABLE, { "--root", root.path().string() });
    EXPECT_EQ(table.status, 0);
    EXPECT_EQ(std::count(table.output.begin(), table.output.end(), '\n'), 91);
    EXPECT_THAT(table.output, testing::ContainsRegex("\nEnabled +switch +off +on +off\n"));
}

TEST(BoundSettingsTool, UnreadableDomainIsReportedAndBindsTheDefaults)
{
    TemporaryRoot root;
    root.write("var/mobile/Library/Preferences/com.quillfen.tintwellprefs.plist", "not a property list");

    auto run = subprocess::run(TINTWELL_BOUND_SETTINGS_EXECUTABLE, { "--root", root.path().string(), "--json" }, true);

    EXPECT_EQ(run.status, 0);
    EXPECT_THAT(run.output, HasSubstr("tintwell-bound-settings: warning: "));
    EXPECT_EQ(subprocess::run(TINTWELL_BOUND_SETTINGS_EXECUTABLE, { "--json" }, true).status, 2);
}
