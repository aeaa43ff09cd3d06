#pragma once

// The simulated home screen with the real Tintwell.dylib loaded, the way the phone's
// hooking framework loads it, on a device root of the test's own. The extension loads
// once per process and keeps its caches for the life of it, so every test runs in a
// forked child process of its own.

#include "platform/foundation/CFNotificationCenter.h"
#include "platform/foundation/NSDictionary.h"
#include "platform/foundation/NSMutableDictionary.h"
#include "platform/foundation/NSNumber.h"
#include "platform/foundation/NSRunLoop.h"
#include "platform/foundation/NSString.h"
#include "platform/runtime/Runtime.h"
#include "platform/springboard/SBHomeScreen.h"
#include "platform/springboard/SpringBoardHost.h"
#include "platform/uikit/CALayer.h"
#include "platform/uikit/UIView.h"
#include "platform/uikit/ViewSnapshot.h"

#include "tests/support/HomeScreenProcess.h"
#include "tests/tweak/ViewInspection.h"
#include "tests/support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <unistd.h>
#include <variant>

namespace tweaktest {

namespace fs = std::filesystem;

using SettingValue = std::variant<bool, long, std::string>;
using Settings = std::vector<std::pair<std::string, SettingValue>>;

inline constexpr const char* domainPath = "/var/mobile/Library/Preferences/com.quillfen.tintwellprefs.plist";
inline constexpr const char* coloursPath = "/var/mobile/Library/Preferences/com.quillfen.tintwellprefs.colors.plist";
inline constexpr const char* reloadNotification = "com.quillfen.tintwellprefs/ReloadPrefs";

inline fs::path sampleDevice()
{
    if (const char* root = std::getenv("TINTWELL_DEVICE_ROOT"))
        return root;
    return TINTWELL_SAMPLE_DEVICE;
}

using homescreen::inForkedProcess;

// A copy of the sample device's apps with Tintwell alone in the dynamic-libraries folder.
class TweakDevice {
public:
    explicit TweakDevice(const Settings& settings = {})
    {
        for (const char* folder : { "Applications", "System", "var" }) {
            if (fs::exists(sampleDevice() / folder))
                fs::copy(sampleDevice() / folder, m_root / folder, fs::copy_options::recursive);
        }
        fs::create_directories(m_root / "var/mobile/Library/Preferences");
        homescreen::installTintwell(m_root);
        m_settings = settings;
    }
    const fs::path& root() const { return m_root; }
    const Settings& settings() const { return m_settings; }
    // Later values of a key win.
    void add(const Settings& settings) { m_settings.insert(m_settings.end(), settings.begin(), settings.end()); }

    // Device paths resolve under the current device root: call once the host has set it.
    void writeDomain() const
    {
        auto domain = NSMutableDictionary::dictionary();
        for (auto& [key, value] : m_settings) {
            Id object;
            if (auto* flag = std::get_if<bool>(&value))
                object = NSNumber::numberWithBool(*flag);
            else if (auto* number = std::get_if<long>(&value))
                object = NSNumber::numberWithInteger(*number);
            else
                object = NSString::string(std::get<std::string>(value));
            domain->setObjectForStringKey(object.get(), key);
        }
        ASSERT_TRUE(domain->writeToFile(domainPath, true));
    }

    void writeColours(const std::string& key, const std::string& text) const
    {
        auto colours = NSMutableDictionary::dictionary();
        colours->setObjectForStringKey(NSString::string(text).get(), key);
        ASSERT_TRUE(colours->writeToFile(coloursPath, true));
    }

private:
    TemporaryFolder m_folder { "tintwell-list" };
    fs::path m_root { m_folder.path() };
    Settings m_settings;
};

// In the child: the host started on the device, Tintwell loaded, the home screen made.
class Phone {
public:
    explicit Phone(TweakDevice& device)
        : m_device(device)
        , m_host(device.root())
    {
        m_device.writeDomain();
        auto report = m_host.loadExtensions();
        m_loaded = report.loadedCount() == 1;
        m_host.finishLaunching();
        if (!SBHomeScreen::current())
            m_ownedHome = std::make_unique<SBHomeScreen>();
        m_home = SBHomeScreen::current();
        m_host.run(0);
        // After the extension's own observers, so it runs once they have reloaded.
        CFNotificationCenterAddObserver(CFNotificationCenterGetDarwinNotifyCenter(), this, &Phone::reloaded, CFSTR(reloadNotification), nullptr, 0);
    }
    ~Phone() { CFNotificationCenterRemoveEveryObserver(CFNotificationCenterGetDarwinNotifyCenter(), this); }

    bool tweakLoaded() const { return m_loaded; }
    SBHomeScreen& home() { return *m_home; }

    // What the settings pages do: write the domain, then post the reload.
    void changeSettings(const Settings& settings)
    {
        m_device.add(settings);
        m_device.writeDomain();
        m_reloads = 0;
        postDarwinNotification(reloadNotification);
        EXPECT_TRUE(NSRunLoop::mainRunLoop().runUntil([this] { return m_reloads > 0; }, 10)) << "the reload never arrived";
    }

private:
    static void reloaded(CFNotificationCenterRef, void* observer, CFStringRef, const void*, CFDictionaryRef) { ++static_cast<Phone*>(observer)->m_reloads; }

    TweakDevice& m_device;
    SpringBoardHost m_host;
    bool m_loaded { false };
    std::unique_ptr<SBHomeScreen> m_ownedHome;
    SBHomeScreen* m_home { nullptr };
    int m_reloads { 0 };
};

// Sends a no-argument message answering an object, the way an extension asks.
inline Id ask(const Object* object, const char* selector) { return object ? msgSend<Id>(object, sel_registerName(selector)) : nullptr; }


// Equal paints, numbers within rounding of the percent arithmetic; the hex texts are skipped.
inline ::testing::AssertionResult samePaint(const nlohmann::json& actual, const nlohmann::json& expected)
{
    std::function<bool(const nlohmann::json&, const nlohmann::json&)> close = [&](const nlohmann::json& a, const nlohmann::json& b) {
        if (a.is_number() && b.is_number())
            return std::abs(a.get<double>() - b.get<double>()) < 1e-9;
        if (a.is_object() && b.is_object()) {
            if (a.size() != b.size())
                return false;
            for (auto& [key, value] : a.items()) {
                if (key != "hex" && (!b.contains(key) || !close(value, b[key])))
                    return false;
            }
            return true;
        }
        return a == b;
    };
    if (close(actual, expected))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << actual.dump() << "\n is not\n" << expected.dump();
}

} // namespace tweaktest
