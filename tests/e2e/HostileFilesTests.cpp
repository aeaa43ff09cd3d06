// Files on the device that no writer of ours would make: each host reads them, refuses them
// quietly, reports what it must and goes on; a write never damages what it cannot read.
#include "LiveDevice.h"

#include "platform/foundation/DeviceRoot.h"
#include "platform/foundation/NSDate.h"
#include "platform/foundation/NSDictionary.h"
#include "platform/foundation/NSNumber.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/ObjectEquality.h"
#include "platform/foundation/PropertyList.h"
#include "tests/support/BinaryPlist.h"

#include <gmock/gmock.h>

using namespace e2e;
using testing::HasSubstr;
using testing::Not;
namespace bp = binaryplist;

namespace {

constexpr const char* domainFile = "/var/mobile/Library/Preferences/com.quillfen.tintwellprefs.plist";
constexpr const char* coloursFile = "/var/mobile/Library/Preferences/com.quillfen.tintwellprefs.colors.plist";
const std::string unreadableDomainWarning = std::string("cannot read the preferences file ") + domainFile;

json publish(const std::string& section, const std::string& message)
{
    return { { "publish", { { "section", section }, { "title", "Hostile" }, { "message", message } } } };
}

std::string hexOf(const json& colour) { return colour.is_object() ? colour["hex"].get<std::string>() : "none"; }

std::string xmlDictionary(const std::string& entries)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>" + entries + "</dict></plist>\n";
}

class HostileFiles : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_device.ready()); }

    void write(const std::string& devicePath, const std::string& bytes)
    {
        auto path = m_device.host(devicePath);
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    }

    // The home screen from launch to the end of the scenario; its screen, or null.
    json runHomeScreen(const json& events, subprocess::Run* run = nullptr)
    {
        auto scenario = m_device.writeScenario("scenario-" + std::to_string(m_runs++) + ".json", events);
        std::error_code error;
        fs::remove(m_device.snapshotFile(), error);
        auto result = subprocess::run(TINTWELL_SPRINGBOARD_EXECUTABLE,
            { "--root", m_device.root().string(), "--scenario", scenario.string(), "--snapshot", m_device.snapshotFile().string() }, true);
        EXPECT_EQ(result.status, 0) << result.output;
        if (run)
            *run = result;
        auto screen = json::parse(readFile(m_device.snapshotFile()), nullptr, false);
        // Compared across runs: the bulletins' identifiers and the clock differ every time.
        if (screen.is_object()) {
            screen.erase("bulletins");
            screen.erase("date");
        }
        return screen;
    }

    // The Info.plist of the installed app with this identifier.
    fs::path infoPlistOf(const std::string& identifier)
    {
        DeviceRoot::set(m_device.root());
        for (auto& entry : fs::recursive_directory_iterator(m_device.root() / "Applications")) {
            if (entry.path().filename() != "Info.plist")
                continue;
            auto info = objectCast<NSDictionary>(PropertyList::readHostFile(entry.path()));
            auto found = info ? objectCast<NSString>(info->objectForStringKey("CFBundleIdentifier")) : nullptr;
            if (found && found->utf8() == identifier)
                return entry.path();
        }
        return {};
    }

    RefPtr<NSDictionary> readDomain() { return objectCast<NSDictionary>(PropertyList::readHostFile(m_device.host(domainFile))); }

    LiveDevice m_device;
    int m_runs { 0 };
};

} // namespace

TEST_F(HostileFiles, DomainFileThatCannotBeReadLeavesTheHomeScreenOnItsDefaults)
{
    const json events = json::array({ publish("com.apple.MobileSMS", "On defaults") });
    auto defaults = runHomeScreen(events);
    ASSERT_TRUE(platterOf(defaults, "On defaults"));

    // Each file also sets the outline-only style: read in part, it would change the screen.
    using namespace std::string_literals;
    bp::Builder deep;
    uint64_t inner = deep.add(bp::array({}));
    for (int i = 0; i < 100000; ++i)
        inner = deep.add(bp::array({ inner }));
    uint64_t styleKey = deep.add(bp::ascii("NotificationStyle"));
    uint64_t deepKey = deep.add(bp::ascii("Deep"));
    uint64_t zero = deep.add(bp::integer(0));
    const std::vector<std::pair<const char*, std::string>> hostile {
        { "NUL in a string", bp::dictionaryOf({ { "NotificationStyle", bp::integer(0) }, { "CustomHint", bp::ascii("No\0older"s) } }) },
        { "NUL in a key", xmlDictionary("<key>NotificationStyle</key><integer>0</integer><key>Custom\0Hint</key><string>x</string>"s) },
        { "invalid UTF-8", xmlDictionary("<key>NotificationStyle</key><integer>0</integer><key>CustomHint</key><string>caf\xE9</string>") },
        { "100,000 levels", deep.build(deep.add(bp::dictionary({ styleKey, deepKey }, { zero, inner }))) },
    };
    for (auto& [name, file] : hostile) {
        write(domainFile, file);
        subprocess::Run run;
        auto screen = runHomeScreen(events, &run);
        EXPECT_EQ(screen, defaults) << name;
        EXPECT_THAT(run.output, HasSubstr(unreadableDomainWarning)) << name;
    }
}

TEST_F(HostileFiles, OneAppsHostileInfoPlistTakesOnlyThatAppOffItsIcon)
{
    const json events = json::array({ publish("com.apple.MobileSMS", "From messages"), publish("com.apple.mobilemail", "From mail") });
    auto clean = runHomeScreen(events);
    auto* messages = platterOf(clean, "From messages");
    ASSERT_TRUE(messages && platterOf(clean, "From mail"));
    auto messagesColour = hexOf((*messages)["layer"]["borderColor"]);

    auto mailInfo = infoPlistOf("com.apple.mobilemail");
    ASSERT_FALSE(mailInfo.empty());
    using namespace std::string_literals;
    const std::vector<std::pair<const char*, std::string>> hostile {
        { "NUL in a key", bp::dictionaryOf({ { "CFBundleIdentifier", bp::ascii("com.apple.mobilemail") }, { "CFBundle\0Name"s, bp::ascii("Mail") } }) },
        { "NUL in a string", xmlDictionary("<key>CFBundleIdentifier</key><string>com.apple.mobilemail\0</string>"s) },
        { "100,000 levels", bp::nestedArrays(100000) },
    };
    for (auto& [name, bytes] : hostile) {
        std::ofstream(mailInfo, std::ios::binary | std::ios::trunc) << bytes;
        auto screen = runHomeScreen(events);
        auto* stillMessages = platterOf(screen, "From messages");
        ASSERT_TRUE(stillMessages) << name;
        EXPECT_EQ(hexOf((*stillMessages)["layer"]["borderColor"]), messagesColour) << name;
        // Mail itself is still listed; its colour now comes from the generic icon.
        ASSERT_TRUE(platterOf(screen, "From mail")) << name;
    }
}

TEST_F(HostileFiles, ColoursFileThatCannotBeReadReadsAsNoCustomColours)
{
    // Custom colours for notifications; the file also names one, which must not be taken.
    write(domainFile, xmlDictionary("<key>NotifImageCalc</key><integer>2</integer>"));
    const json events = json::array({ publish("com.apple.MobileSMS", "Custom colour") });
    auto withoutFile = runHomeScreen(events);
    ASSERT_TRUE(platterOf(withoutFile, "Custom colour"));

    using namespace std::string_literals;
    write(coloursFile, bp::dictionaryOf({ { "NotifCustomHEX", bp::ascii("#ff8800") }, { "WidgetCustomHEX", bp::ascii("#00ff00\0"s) } }));
    auto hostile = runHomeScreen(events);
    EXPECT_EQ(hostile, withoutFile);
    EXPECT_NE(hexOf((*platterOf(hostile, "Custom colour"))["layer"]["borderColor"]).substr(0, 7), "#FF8800");
}

TEST_F(HostileFiles, SpecifierListThatCannotBeReadIsReportedAndTheAppGoesOn)
{
    using namespace std::string_literals;
    auto root = m_device.host("/Library/PreferenceBundles/TintwellPrefs.bundle/Root.plist");
    ASSERT_TRUE(fs::exists(root));
    std::ofstream(root, std::ios::binary | std::ios::trunc) << xmlDictionary("<key>items</key><array><dict><key>cell</key><string>PSSwitchCell</string><key>label</key><string>En\0abled</string></dict></array>"s);
    auto run = m_device.settings({ "open Tintwell" });
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_THAT(run.output, HasSubstr("warning: Root.plist"));
}

TEST_F(HostileFiles, SettingChangeKeepsDatesAndBigNumbersOfABinaryDomainExactly)
{
    const std::vector<std::pair<std::string, std::string>> stored {
        { "LastSeen", bp::date(123456789.123456789) },
        { "Before2001", bp::date(-0.5) },
        { "DistantFuture", bp::date(63113904000.0) },
        { "DistantPast", bp::date(-63114076800.0) },
        { "Largest", bp::unsignedInteger(UINT64_MAX) },
        { "Smallest", bp::integer(INT64_MIN) },
        { "CustomHint", bp::utf16({ 'c', 'a', 'f', 0xE9, ' ', 0xD83D, 0xDE00 }) },
        { "Fraction", bp::real(0.1) },
        { "NoDate", bp::boolean(true) },
    };
    write(domainFile, bp::dictionaryOf(stored));
    DeviceRoot::set(m_device.root());
    auto original = readDomain();
    ASSERT_TRUE(original);

    auto keepsEveryStoredValue = [&](const char* writer) {
        auto now = readDomain();
        ASSERT_TRUE(now) << writer;
        for (auto& [key, value] : stored) {
            auto before = original->objectForStringKey(key);
            auto after = now->objectForStringKey(key);
            EXPECT_TRUE(after && ObjectEquality::isEqual(after.get(), before.get())) << writer << ": " << key;
        }
        auto date = objectCast<NSDate>(now->objectForStringKey("LastSeen"));
        EXPECT_EQ(date->timeIntervalSinceReferenceDate(), 123456789.123456789) << writer;
        EXPECT_EQ(objectCast<NSNumber>(now->objectForStringKey("Largest"))->unsignedIntegerValue(), UINT64_MAX) << writer;
    };

    auto settings = m_device.settings({ "open Tintwell", "open Notifications", "set Outline/Thickness = 6" });
    EXPECT_EQ(settings.status, 0) << settings.output;
    EXPECT_THAT(settings.output, Not(HasSubstr("cannot write")));
    keepsEveryStoredValue("the Settings app");
    EXPECT_EQ(readDomain()->count(), stored.size() + 1);

    runHomeScreen(json::array({ { { "writePreference", { { "domain", domain }, { "key", "NoHint" }, { "value", true } } } } }));
    keepsEveryStoredValue("a scenario");
    EXPECT_EQ(readDomain()->count(), stored.size() + 2);
}

TEST_F(HostileFiles, WritesOntoAnUnreadableDomainAreRefusedAndLeaveItByteForByte)
{
    using namespace std::string_literals;
    const std::string hostileDomain = xmlDictionary("<key>NotificationStyle</key><integer>0</integer><key>CustomHint</key><string>a\0b</string>"s);
    const std::string hostileColours = xmlDictionary("<key>NotifCustomHEX</key><string>caf\xE9</string>");
    write(domainFile, hostileDomain);
    write(coloursFile, hostileColours);

    auto settings = m_device.settings({ "open Tintwell", "open Notifications", "set Outline/Thickness = 6", "set Colour Source = Custom Colour", "set Custom Colour = #ff8800" });
    EXPECT_EQ(settings.status, 0) << settings.output;
    EXPECT_THAT(settings.output, HasSubstr(unreadableDomainWarning));
    EXPECT_THAT(settings.output, HasSubstr(std::string("cannot write ") + domainFile + ": the file there is not a readable property list, so it was left as it is"));
    EXPECT_THAT(settings.output, HasSubstr(std::string("cannot write ") + coloursFile));

    subprocess::Run run;
    runHomeScreen(json::array({ { { "writePreference", { { "domain", domain }, { "key", "NoHint" }, { "value", true } } } } }), &run);
    EXPECT_THAT(run.output, HasSubstr(std::string("cannot write ") + domainFile + ": the file there is not a readable property list"));

    EXPECT_EQ(readFile(m_device.host(domainFile)), hostileDomain);
    EXPECT_EQ(readFile(m_device.host(coloursFile)), hostileColours);
}

TEST_F(HostileFiles, SixHomeScreensWritingOneDomainAtOnceKeepEveryKey)
{
    constexpr int hosts = 6;
    constexpr int keysEach = 50;
    std::vector<std::unique_ptr<subprocess::LiveProcess>> running;
    for (int host = 0; host < hosts; ++host) {
        json events = json::array();
        for (int key = 0; key < keysEach; ++key)
            events.push_back({ { "writePreference", { { "domain", domain }, { "key", "Host" + std::to_string(host) + "Key" + std::to_string(key) }, { "value", key }, { "reload", false } } } });
        auto scenario = m_device.writeScenario("writer-" + std::to_string(host) + ".json", events);
        running.push_back(std::make_unique<subprocess::LiveProcess>(std::vector<std::string> {
            TINTWELL_SPRINGBOARD_EXECUTABLE, "--root", m_device.root().string(), "--quiet", "--scenario", scenario.string() }));
    }
    for (auto& process : running)
        EXPECT_EQ(process->wait(), 0);

    DeviceRoot::set(m_device.root());
    auto values = readDomain();
    ASSERT_TRUE(values);
    EXPECT_EQ(values->count(), size_t(hosts * keysEach));
    for (int host = 0; host < hosts; ++host) {
        for (int key = 0; key < keysEach; ++key) {
            auto value = objectCast<NSNumber>(values->objectForStringKey("Host" + std::to_string(host) + "Key" + std::to_string(key)));
            EXPECT_TRUE(value && value->integerValue() == key) << host << "/" << key;
        }
    }
}
