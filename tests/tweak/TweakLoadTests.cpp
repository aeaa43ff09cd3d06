#include "ExpectedSettings.h"

#include "platform/foundation/CFNotificationCenter.h"
#include "platform/foundation/DeviceRoot.h"
#include "tests/support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sys/wait.h>

namespace {

namespace fs = std::filesystem;
using nlohmann::json;

constexpr const char* domainPath = "var/mobile/Library/Preferences/com.quillfen.tintwellprefs.plist";
constexpr const char* libraryFolder = "Library/MobileSubstrate/DynamicLibraries";

std::string plist(const std::string& body)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n" + body + "\n</plist>\n";
}

// A device root of its own per test, with the domain file and companion libraries it needs.
class Device {
public:
    Device()
        : m_device("tintwell-device")
        , m_root(m_device.path())
    {
        fs::create_directories(m_root / libraryFolder);
    }

    const fs::path& root() const { return m_root; }

    void writeDomainBytes(const std::string& bytes) const
    {
        fs::create_directories((m_root / domainPath).parent_path());
        // Replaced whole, like the settings pages' atomic write.
        fs::path temporary = m_root / (std::string(domainPath) + ".new");
        std::ofstream(temporary, std::ios::binary) << bytes;
        fs::rename(temporary, m_root / domainPath);
    }
    void writeDomain(const std::string& entries) const { writeDomainBytes(plist("<dict>" + entries + "</dict>")); }

    void installCompanionFile(const std::string& name, const fs::path& from = {}) const
    {
        fs::path target = m_root / libraryFolder / name;
        if (from.empty())
            std::ofstream(target) << "";
        else
            fs::copy_file(from, target);
    }

private:
    TemporaryDeviceRoot m_device;
    fs::path m_root;
};

// Tintwell.dylib loaded into a fresh probe process on the device, reporting line by line.
class LoadedTweak {
public:
    explicit LoadedTweak(const Device& device, bool awaitReload = false)
    {
        std::string command = std::string(LOAD_PROBE) + " '" + device.root().string() + "' '" + TINTWELL_DYLIB + "'";
        if (awaitReload)
            command += " await-reload";
        m_pipe = popen(command.c_str(), "r");
    }
    ~LoadedTweak() { finish(); }

    json nextReport()
    {
        std::string line;
        char buffer[4096];
        while (m_pipe && std::fgets(buffer, sizeof buffer, m_pipe)) {
            line += buffer;
            if (line.back() == '\n')
                break;
        }
        return json::parse(line, nullptr, false);
    }

    int finish()
    {
        if (!m_pipe)
            return m_status;
        int status = pclose(std::exchange(m_pipe, nullptr));
        m_status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return m_status;
    }

private:
    FILE* m_pipe { nullptr };
    int m_status { -1 };
};

json loadOnce(const Device& device)
{
    LoadedTweak tweak(device);
    json report = tweak.nextReport();
    EXPECT_EQ(tweak.finish(), 0);
    return report;
}

json defaultGlobals()
{
    json globals;
    for (auto& setting : expectedSettings) {
        std::string global(setting.global);
        switch (setting.kind) {
        case ExpectedSetting::Kind::Bool:
            globals[global] = setting.number != 0;
            break;
        case ExpectedSetting::Kind::Integer:
            globals[global] = setting.number;
            break;
        case ExpectedSetting::Kind::Object:
            globals[global] = std::string(setting.text);
            break;
        }
    }
    return globals;
}

json recordFields(long bt, long ba, long fa, long bothT, long db, long dc, long lb, long lc, long style)
{
    return { { "borderThiccness", bt }, { "borderAlpha", ba }, { "fullAlpha", fa }, { "bothThickness", bothT },
        { "darkBackgroundAlpha", db }, { "darkCornerAlpha", dc }, { "lightBackgroundAlpha", lb }, { "lightCornerAlpha", lc },
        { "style", style } };
}

json withoutIdentity(json record)
{
    if (record.is_object())
        record.erase("identity");
    return record;
}

const char* const recordNames[] = { "NotifsConfig", "WidgetsConfig", "MusicConfig", "AxonConfig", "GrupiConfig", "DaynConfig" };

// Every key missing from `changed` must hold its default.
void expectDefaultsExcept(const json& globals, const json& changed)
{
    json expected = defaultGlobals();
    for (auto& [key, value] : changed.items())
        expected[key] = value;
    for (auto& [key, value] : expected.items())
        EXPECT_EQ(globals[key], value) << key;
}

TEST(TweakStartup, EmptyDomainBindsEveryDefaultAndFillsTheRecords)
{
    Device device;
    json report = loadOnce(device);
    ASSERT_TRUE(report.is_object());
    expectDefaultsExcept(report["globals"], json::object());
    for (const char* record : recordNames)
        EXPECT_EQ(withoutIdentity(report["records"][record]), recordFields(3, 80, 80, 3, 50, 70, 70, 50, 2)) << record;
    EXPECT_EQ(report["pfs"], "HBPreferences");
    // The preferences object's own subscription plus the library's three.
    EXPECT_EQ(report["darwinObservations"], 4);
}

TEST(TweakStartup, EnabledLoadInstallsRowsAndBuildsTheAddedProperties)
{
    Device device;
    json report = loadOnce(device);
    for (auto& [name, replaced] : report["replaced"].items()) {
        if (name.starts_with("AXNAppCell") || name.starts_with("DaynContainer"))
            EXPECT_FALSE(replaced) << name << " without its companion library";
        else
            EXPECT_TRUE(replaced) << name;
    }
    EXPECT_TRUE(report["addedMethods"]["TWLsetNotificationColor"]);
    EXPECT_TRUE(report["addedMethods"]["TWLbundleIdForFirstNotification"]);
    EXPECT_EQ(report["properties"]["bundleID"]["attributes"], "T@\"NSString\",&,N");
    EXPECT_EQ(report["properties"]["calcedColor"]["attributes"], "T@\"UIColor\",&,N");
    for (const char* property : { "bundleID", "calcedColor" }) {
        json state = report["properties"][property];
        EXPECT_EQ(state["getter"], "@@:") << property;
        EXPECT_EQ(state["setter"], "v@:@") << property;
        EXPECT_TRUE(state["readBack"]) << property;
        EXPECT_TRUE(state["retained"]) << property;
        EXPECT_TRUE(state["releasedWithObject"]) << property;
    }
}

TEST(TweakStartup, DisabledLibraryBindsOnlyEnabledAndStaysInert)
{
    Device device;
    device.writeDomain("<key>Enabled</key><false/><key>NotificationStyle</key><integer>1</integer>");
    LoadedTweak tweak(device, true);
    json loaded = tweak.nextReport();
    ASSERT_TRUE(loaded.is_object());
    EXPECT_EQ(loaded["globals"]["enabled"], false);
    // Unbound globals keep their zero, not their defaults.
    EXPECT_EQ(loaded["globals"]["enabledNotifs"], false);
    EXPECT_EQ(loaded["globals"]["notificationStyle"], 0);
    EXPECT_EQ(loaded["globals"]["customHint"], nullptr);
    for (const char* record : recordNames)
        EXPECT_EQ(loaded["records"][record], nullptr) << record;
    for (auto& [name, replaced] : loaded["replaced"].items())
        EXPECT_FALSE(replaced) << name;
    EXPECT_FALSE(loaded["addedMethods"]["TWLsetNotificationColor"]);
    EXPECT_EQ(loaded["properties"]["bundleID"]["attributes"], "");
    // Only the preferences object's subscription, and the probe's own.
    EXPECT_EQ(loaded["darwinObservations"], 2);

    device.writeDomain("<key>Enabled</key><true/><key>NotificationStyle</key><integer>0</integer><key>NotifOutAlpha</key><integer>5</integer>");
    postDarwinNotification("com.quillfen.tintwell/TestNotifications");
    postDarwinNotification("com.quillfen.tintwell/TestBanner");
    postDarwinNotification("com.quillfen.tintwellprefs/ReloadPrefs");
    json reloaded = tweak.nextReport();
    ASSERT_TRUE(reloaded.is_object());
    EXPECT_EQ(reloaded["globals"]["enabled"], true) << "the one bound key follows the domain";
    EXPECT_EQ(reloaded["globals"]["notifOutAlpha"], 0);
    for (const char* record : recordNames)
        EXPECT_EQ(reloaded["records"][record], nullptr) << record;
    EXPECT_EQ(tweak.finish(), 0);
}

TEST(TweakReload, NotificationFromAnotherProcessRefillsRecordsInPlace)
{
    Device device;
    device.writeDomain("<key>NotificationStyle</key><integer>1</integer><key>MusicOutAlpha</key><integer>10</integer>");
    LoadedTweak tweak(device, true);
    json before = tweak.nextReport();
    ASSERT_TRUE(before.is_object());
    EXPECT_EQ(before["records"]["NotifsConfig"]["style"], 1);
    EXPECT_EQ(before["records"]["MusicConfig"]["borderAlpha"], 10);

    device.writeDomain("<key>NotificationStyle</key><integer>0</integer><key>MusicOutAlpha</key><integer>33</integer>"
                       "<key>AxonBothThickness</key><real>7.9</real><key>NoHint</key><true/>");
    postDarwinNotification("com.quillfen.tintwellprefs/ReloadPrefs");
    json after = tweak.nextReport();
    ASSERT_TRUE(after.is_object());
    // Reported from the first observer after TWLreloadPrefs: the records already show the new globals.
    EXPECT_EQ(after["records"]["NotifsConfig"]["style"], 0);
    EXPECT_EQ(after["records"]["MusicConfig"]["borderAlpha"], 33);
    EXPECT_EQ(after["records"]["AxonConfig"]["bothThickness"], 7);
    EXPECT_EQ(withoutIdentity(after["records"]["WidgetsConfig"]), recordFields(3, 80, 80, 3, 50, 70, 70, 50, 2));
    expectDefaultsExcept(after["globals"], { { "notificationStyle", 0 }, { "musicOutAlpha", 33 }, { "axonBothThickness", 7 }, { "noHint", true } });
    for (const char* record : recordNames)
        EXPECT_EQ(after["records"][record]["identity"], before["records"][record]["identity"]) << record;
    EXPECT_EQ(tweak.finish(), 0);
}

TEST(TweakReload, NotificationStyleComesOnlyFromItsFullKey)
{
    Device device;
    device.writeDomain("<key>NotifStyle</key><integer>0</integer>");
    json report = loadOnce(device);
    EXPECT_EQ(report["records"]["NotifsConfig"]["style"], 2);
}

TEST(TweakSettings, WronglyTypedValuesConvertAndOthersKeepDefaults)
{
    Device device;
    device.writeDomain(
        "<key>NotifOutAlpha</key><real>42.7</real>"
        "<key>NotifFullAlpha</key><string>15abc</string>"
        "<key>WidgetOutAlpha</key><string>abc</string>"
        "<key>DaynOutAlpha</key><true/>"
        "<key>MusicStyle</key><date>2024-01-01T00:00:00Z</date>"
        "<key>GrupiStyle</key><array><integer>1</integer></array>"
        "<key>NoHint</key><string>yes</string>"
        "<key>NoDate</key><string>0</string>"
        "<key>NoCenter</key><string>7 days</string>"
        "<key>EnabledMusic</key><integer>0</integer>"
        "<key>HeaderColor</key><dict><key>a</key><true/></dict>"
        "<key>ActionColor</key><data>AAEC</data>"
        "<key>UseCustomCenter</key><real>0.5</real>"
        "<key>CustomHint</key><integer>5</integer>"
        "<key>CustomCenter</key><string>Hello</string>");
    json report = loadOnce(device);
    expectDefaultsExcept(report["globals"], {
        { "notifOutAlpha", 42 }, { "notifFullAlpha", 15 }, { "widgetOutAlpha", 0 }, { "daynOutAlpha", 1 },
        { "musicStyle", 0 }, { "grupiStyle", 0 }, { "noHint", true }, { "noDate", false }, { "noCenter", true },
        { "enabledMusic", false }, { "headerColor", false }, { "actionColor", false }, { "useCustomCenter", true },
        { "customHint", "No older notifications" }, { "customCenter", "Hello" },
    });
    EXPECT_EQ(report["records"]["NotifsConfig"]["borderAlpha"], 42);
    EXPECT_EQ(report["records"]["MusicConfig"]["style"], 0);
}

TEST(TweakSettings, UnreadableDomainFilesGiveEveryDefault)
{
    static const char garbage[] = "\x89garbage\0\xff{[<";
    const std::pair<const char*, std::string> files[] = {
        { "garbage", std::string(garbage, sizeof garbage - 1) },
        { "empty", "" },
        { "array-shaped", plist("<array><string>Enabled</string><false/></array>") },
        { "truncated", plist("<dict><key>Enabled</key><false/>") },
        { "string root", plist("<string>Enabled</string>") },
    };
    for (auto& [name, bytes] : files) {
        Device device;
        device.writeDomainBytes(bytes);
        json report = loadOnce(device);
        ASSERT_TRUE(report.is_object()) << name;
        expectDefaultsExcept(report["globals"], json::object());
        EXPECT_EQ(withoutIdentity(report["records"]["DaynConfig"]), recordFields(3, 80, 80, 3, 50, 70, 70, 50, 2)) << name;
    }
}

TEST(TweakCompanions, DetectionFollowsLibraryFilesAndHooksFollowSwitches)
{
    {
        Device device;
        device.installCompanionFile("Axon.dylib");
        device.installCompanionFile("Grupi.dylib", GRUPI_STAND_IN);
        device.writeDomain("<key>AxonColoring</key><false/><key>GrupiColoring</key><true/><key>DaynColoring</key><true/>");
        json report = loadOnce(device);
        EXPECT_EQ(report["companions"], json({ { "axon", true }, { "grupi", true }, { "dayn", false } }));
        EXPECT_FALSE(report["replaced"]["AXNAppCell setSelected:"]) << "AxonColoring is off";
        EXPECT_TRUE(report["grupiClassLoaded"]) << "Grupi's library is loaded before its class is looked up";
        EXPECT_TRUE(report["grupiCellHooked"]);
        EXPECT_FALSE(report["replaced"]["DaynContainer didMoveToSuperview"]) << "no Dayn library";
    }
    {
        Device device;
        device.installCompanionFile("Axon.dylib");
        device.installCompanionFile("Dayn.dylib");
        device.installCompanionFile("Grupi.dylib", GRUPI_STAND_IN);
        device.writeDomain("<key>GrupiColoring</key><false/><key>DaynColoring</key><false/>");
        json report = loadOnce(device);
        EXPECT_EQ(report["companions"], json({ { "axon", true }, { "grupi", true }, { "dayn", true } }));
        EXPECT_TRUE(report["replaced"]["AXNAppCell setSelected:"]);
        EXPECT_FALSE(report["grupiClassLoaded"]) << "nothing is loaded while GrupiColoring is off";
        EXPECT_FALSE(report["replaced"]["DaynContainer didMoveToSuperview"]);
    }
    {
        Device device;
        json report = loadOnce(device);
        EXPECT_EQ(report["companions"], json({ { "axon", false }, { "grupi", false }, { "dayn", false } }));
        EXPECT_FALSE(report["replaced"]["AXNAppCell setSelected:"]);
        EXPECT_FALSE(report["grupiClassLoaded"]);
    }
}

} // namespace
