#include "outside/cephei/HBPreferences.h"

#include "platform/foundation/CFNotificationCenter.h"
#include "platform/foundation/DeviceRoot.h"
#include "platform/foundation/NSArray.h"
#include "platform/foundation/NSDate.h"
#include "platform/foundation/NSNumber.h"
#include "platform/foundation/NSRunLoop.h"
#include "tests/support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <limits>
#include <optional>

namespace {

namespace fs = std::filesystem;

RefPtr<NSString> text(std::string_view value) { return NSString::string(value); }

class HBPreferencesTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_device.emplace("tintwell-cephei");
        m_root = m_device->path();
        fs::create_directories(m_root / "var/mobile/Library/Preferences");
        NSRunLoop::mainRunLoop();
    }
    void TearDown() override { m_device.reset(); }

    void writeDomain(const std::string& entries, const char* identifier = "com.example.prefs")
    {
        writeBytes("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>" + entries + "</dict></plist>\n", identifier);
    }
    void writeBytes(const std::string& bytes, const char* identifier = "com.example.prefs")
    {
        fs::path path = m_root / "var/mobile/Library/Preferences" / (std::string(identifier) + ".plist");
        std::ofstream(path.string() + ".new", std::ios::binary) << bytes;
        fs::rename(path.string() + ".new", path);
    }

    std::optional<TemporaryDeviceRoot> m_device;
    fs::path m_root;
};

TEST_F(HBPreferencesTest, RegistrationBindsStoredValueOrDefault)
{
    writeDomain("<key>Stored</key><integer>7</integer><key>Flag</key><false/><key>Name</key><string>Kept</string>");
    auto preferences = HBPreferences::preferencesForIdentifier(text("com.example.prefs").get());
    ASSERT_TRUE(preferences);
    long stored = -1, absent = -1;
    bool flag = true, absentFlag = false;
    RefPtr<NSString> name, absentName;
    preferences->registerIntegerdefaultforKey(&stored, 3, text("Stored").get());
    preferences->registerIntegerdefaultforKey(&absent, 3, text("Absent").get());
    preferences->registerBooldefaultforKey(&flag, true, text("Flag").get());
    preferences->registerBooldefaultforKey(&absentFlag, true, text("AbsentFlag").get());
    preferences->registerObjectdefaultforKey(&name, text("Default").get(), text("Name").get());
    preferences->registerObjectdefaultforKey(&absentName, text("Default").get(), text("AbsentName").get());
    EXPECT_EQ(stored, 7);
    EXPECT_EQ(absent, 3);
    EXPECT_FALSE(flag);
    EXPECT_TRUE(absentFlag);
    EXPECT_EQ(name->utf8(), "Kept");
    EXPECT_EQ(absentName->utf8(), "Default");

    EXPECT_EQ(preferences->integerForKey(text("Stored").get()), 7);
    EXPECT_EQ(preferences->integerForKey(text("Absent").get()), 3) << "the registered default";
    EXPECT_EQ(preferences->integerForKey(text("NeverRegistered").get()), 0);
    EXPECT_FALSE(preferences->boolForKey(text("Flag").get()));
    EXPECT_TRUE(preferences->boolForKey(text("AbsentFlag").get()));
    RefPtr<NSString> object = objectCast<NSString>(preferences->objectForKey(text("Name").get()));
    ASSERT_TRUE(object);
    EXPECT_EQ(object->utf8(), "Kept");
    EXPECT_FALSE(preferences->objectForKey(text("NeverRegistered").get()));
}

TEST_F(HBPreferencesTest, IntegerConversionOfOtherTypes)
{
    EXPECT_EQ(HBPreferences::integerFromValue(NSNumber::numberWithDouble(42.9).get()), 42);
    EXPECT_EQ(HBPreferences::integerFromValue(NSNumber::numberWithDouble(-42.9).get()), -42);
    EXPECT_EQ(HBPreferences::integerFromValue(NSNumber::numberWithDouble(std::numeric_limits<double>::quiet_NaN()).get()), 0);
    EXPECT_EQ(HBPreferences::integerFromValue(NSNumber::numberWithDouble(1e300).get()), std::numeric_limits<long>::max());
    EXPECT_EQ(HBPreferences::integerFromValue(NSNumber::numberWithDouble(-1e300).get()), std::numeric_limits<long>::min());
    EXPECT_EQ(HBPreferences::integerFromValue(NSNumber::numberWithBool(true).get()), 1);
    EXPECT_EQ(HBPreferences::integerFromValue(text("  -15px").get()), -15);
    EXPECT_EQ(HBPreferences::integerFromValue(text("12.8").get()), 12);
    EXPECT_EQ(HBPreferences::integerFromValue(text("px15").get()), 0);
    EXPECT_EQ(HBPreferences::integerFromValue(text("").get()), 0);
    EXPECT_EQ(HBPreferences::integerFromValue(NSDate::date().get()), 0);
    EXPECT_EQ(HBPreferences::integerFromValue(NSArray::arrayWithObjects({ NSNumber::numberWithInteger(5) }).get()), 0);
    EXPECT_EQ(HBPreferences::integerFromValue(nullptr), 0);
}

TEST_F(HBPreferencesTest, BoolConversionOfOtherTypes)
{
    EXPECT_TRUE(HBPreferences::boolFromValue(NSNumber::numberWithInteger(-3).get()));
    EXPECT_FALSE(HBPreferences::boolFromValue(NSNumber::numberWithInteger(0).get()));
    EXPECT_TRUE(HBPreferences::boolFromValue(NSNumber::numberWithDouble(0.25).get()));
    EXPECT_FALSE(HBPreferences::boolFromValue(NSNumber::numberWithDouble(0.0).get()));
    for (std::string_view yes : { "YES", "yes", "True", "t", "1", "9 lives", "  y", "007" })
        EXPECT_TRUE(HBPreferences::boolFromValue(text(yes).get())) << yes;
    for (std::string_view no : { "NO", "false", "0", "", "on", "maybe", "000" })
        EXPECT_FALSE(HBPreferences::boolFromValue(text(no).get())) << no;
    EXPECT_FALSE(HBPreferences::boolFromValue(NSDate::date().get()));
    EXPECT_FALSE(HBPreferences::boolFromValue(nullptr));
}

TEST_F(HBPreferencesTest, ObjectKeyKeepsItsDefaultForANonString)
{
    writeDomain("<key>Hint</key><array><string>x</string></array><key>Title</key><integer>3</integer>");
    auto preferences = HBPreferences::preferencesForIdentifier(text("com.example.prefs").get());
    RefPtr<NSString> hint, title;
    preferences->registerObjectdefaultforKey(&hint, text("Default hint").get(), text("Hint").get());
    preferences->registerObjectdefaultforKey(&title, text("Default title").get(), text("Title").get());
    ASSERT_TRUE(hint && title);
    EXPECT_EQ(hint->utf8(), "Default hint");
    EXPECT_EQ(title->utf8(), "Default title");
}

TEST_F(HBPreferencesTest, BadFilesGiveDefaults)
{
    const std::string files[] = {
        "", "not a property list at all \xff\xfe", "<?xml version=\"1.0\"?><plist><array><integer>1</integer></array></plist>",
        "<?xml version=\"1.0\"?><plist><dict><key>Count</key><integer>9</integer>", "bplist00\x01\x02",
    };
    for (auto& bytes : files) {
        writeBytes(bytes);
        auto preferences = HBPreferences::preferencesForIdentifier(text("com.example.prefs").get());
        long count = -1;
        bool flag = false;
        preferences->registerIntegerdefaultforKey(&count, 4, text("Count").get());
        preferences->registerBooldefaultforKey(&flag, true, text("Flag").get());
        EXPECT_EQ(count, 4) << bytes;
        EXPECT_TRUE(flag) << bytes;
    }
}

long reloadedCount = -1;
long countSeenByLaterObserver = -1;

void laterObserver(CFNotificationCenterRef, void*, CFStringRef, const void*, CFDictionaryRef)
{
    countSeenByLaterObserver = reloadedCount;
}

TEST_F(HBPreferencesTest, DarwinReloadRewritesVariablesBeforeLaterObservers)
{
    writeDomain("<key>Count</key><integer>1</integer>", "com.example.reload");
    auto preferences = HBPreferences::preferencesForIdentifier(text("com.example.reload").get());
    preferences->registerIntegerdefaultforKey(&reloadedCount, 4, text("Count").get());
    EXPECT_EQ(reloadedCount, 1);
    int observer = 0;
    CFNotificationCenterAddObserver(CFNotificationCenterGetDarwinNotifyCenter(), &observer, &laterObserver, CFSTR("com.example.reload/ReloadPrefs"), nullptr, 0);

    writeDomain("<key>Count</key><real>8.6</real>", "com.example.reload");
    postDarwinNotification("com.example.reload/ReloadPrefs");
    EXPECT_TRUE(NSRunLoop::mainRunLoop().runUntil([] { return countSeenByLaterObserver != -1; }, 10));
    EXPECT_EQ(countSeenByLaterObserver, 8);

    // A file that goes away brings the defaults back.
    countSeenByLaterObserver = -1;
    fs::remove(m_root / "var/mobile/Library/Preferences/com.example.reload.plist");
    postDarwinNotification("com.example.reload/ReloadPrefs");
    EXPECT_TRUE(NSRunLoop::mainRunLoop().runUntil([] { return countSeenByLaterObserver != -1; }, 10));
    EXPECT_EQ(countSeenByLaterObserver, 4);
    CFNotificationCenterRemoveEveryObserver(CFNotificationCenterGetDarwinNotifyCenter(), &observer);
}

TEST_F(HBPreferencesTest, RegistersItsSelectorsInTheRuntime)
{
    Class cls = objc_getClass("HBPreferences");
    ASSERT_TRUE(cls);
    writeDomain("<key>Level</key><string>12 dB</string>");
    auto preferences = HBPreferences::preferencesForIdentifier(text("com.example.prefs").get());
    long level = 0;
    msgSend<void>(preferences, SELECTOR("registerInteger:default:forKey:"), static_cast<void*>(&level), 5L, text("Level"));
    EXPECT_EQ(level, 12);
    EXPECT_EQ(msgSend<long>(preferences, SELECTOR("integerForKey:"), text("Level")), 12);
}

} // namespace
