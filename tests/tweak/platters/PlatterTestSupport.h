#pragma once

#include "tests/support/HomeScreenProcess.h"

#include "device/SampleDevice.h"
#include "outside/sparkcolourpicker/SparkColourPickerUtils.h"
#include "platform/foundation/CFNotificationCenter.h"
#include "platform/foundation/DeviceRoot.h"
#include "platform/foundation/NSMutableDictionary.h"
#include "platform/foundation/NSRunLoop.h"
#include "platform/foundation/NSString.h"
#include "platform/graphics/UIColor.h"
#include "platform/graphics/UIImage.h"
#include "platform/springboard/NCNotificationListCell.h"
#include "platform/springboard/SBHomeScreen.h"
#include "platform/springboard/SpringBoardHost.h"
#include "platform/uikit/UIUserInterfaceStyleArbiter.h"
#include "platform/uikit/UIWindow.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <unistd.h>

namespace platters {

namespace fs = std::filesystem;

using homescreen::boolEntry;
using homescreen::integerEntry;
using homescreen::plistDictionary;
using homescreen::stringEntry;
using homescreen::writeFileAtomically;
constexpr const char* domainPath = homescreen::domainFile;
constexpr const char* coloursPath = homescreen::coloursFile;
constexpr const char* reloadNotification = homescreen::reloadNotification;

inline bool reloadSeen = false;

inline void noteReload(CFNotificationCenterRef, void*, CFStringRef, const void*, CFDictionaryRef) { reloadSeen = true; }

// A home-screen process of its own: a fresh sample device in a temporary folder with
// Tintwell.dylib installed, the extension loaded the way the host loads it, and the
// home screen created. The extension loads once per process, so every test gets one.
class TweakedHomeScreen {
public:
    explicit TweakedHomeScreen(const fs::path& root)
        : m_root(root)
        , m_host(root)
    {
        auto report = m_host.loadExtensions();
        EXPECT_EQ(report.loadedCount(), 1u) << "Tintwell.dylib did not load";
        // Added after the extension's own observers, so it runs once they have reloaded.
        CFNotificationCenter::darwinNotifyCenter().addObserver(&reloadSeen, &noteReload, reloadNotification);
        m_home = std::make_unique<SBHomeScreen>();
    }

    SBHomeScreen& home() { return *m_home; }
    const fs::path& root() const { return m_root; }

    // Writes the settings domain and posts the reload, as the settings pages do, and
    // waits until the extension has taken it.
    void changePreferences(const std::string& entries)
    {
        writeFileAtomically(m_root / domainPath, plistDictionary(entries));
        reloadSeen = false;
        CFNotificationCenter::post(reloadNotification);
        bool delivered = NSRunLoop::mainRunLoop().runUntil([] { return reloadSeen; }, 10);
        ASSERT_TRUE(delivered) << "the reload notification never arrived";
    }

    void writeCustomColour(const std::string& text)
    {
        writeFileAtomically(m_root / coloursPath, plistDictionary(stringEntry("NotifCustomHEX", text)));
    }

    // The app's icon files, and with the generic icon gone every icon lookup of it fails.
    void deleteAppIcons(const std::string& bundleID)
    {
        for (auto& app : SampleDevice::apps()) {
            if (app.identifier != bundleID)
                continue;
            for (auto& file : fs::directory_iterator(m_root / app.folder.substr(1))) {
                if (file.path().extension() == ".png")
                    fs::remove(file.path());
            }
        }
    }
    void deleteGenericIcon() { fs::remove_all(m_root / "System/Library/PrivateFrameworks/MobileIcons.framework"); }

    // Another app's icon files in place of the app's own.
    void replaceAppIcons(const std::string& bundleID, const std::string& withIconsOf)
    {
        fs::path from, to;
        for (auto& app : SampleDevice::apps()) {
            if (app.identifier == withIconsOf)
                from = m_root / app.folder.substr(1);
            if (app.identifier == bundleID)
                to = m_root / app.folder.substr(1);
        }
        for (auto& file : fs::directory_iterator(from)) {
            if (file.path().extension() == ".png")
                fs::copy_file(file.path(), to / file.path().filename(), fs::copy_options::overwrite_existing);
        }
    }

private:
    fs::path m_root;
    SpringBoardHost m_host;
    std::unique_ptr<SBHomeScreen> m_home;
};

struct DeviceSetup {
    // Entries of the settings domain present at load.
    std::string preferences {};
    // Runs on the device root before the extension loads.
    std::function<void(const fs::path&)> prepare {};
    // Runs after the system classes are registered and before the extension loads.
    std::function<void()> beforeLoad {};
};

// The sample device is drawn once per test program and copied for each home screen.
class SampleDeviceTemplate : public ::testing::Environment {
public:
    static const fs::path& root()
    {
        if (s_root.empty()) {
            char pattern[] = "/tmp/tintwell-platters-template-XXXXXX";
            s_root = mkdtemp(pattern);
            EXPECT_TRUE(SampleDevice::write(s_root));
        }
        return s_root;
    }
    void TearDown() override
    {
        if (!s_root.empty())
            fs::remove_all(s_root);
    }

private:
    static inline fs::path s_root;
};

inline ::testing::Environment* const sampleDeviceTemplate = ::testing::AddGlobalTestEnvironment(new SampleDeviceTemplate);

inline fs::path makeDevice(const DeviceSetup& setup, const fs::path& sample)
{
    char pattern[] = "/tmp/tintwell-platters-XXXXXX";
    fs::path root = mkdtemp(pattern);
    fs::copy(sample, root, fs::copy_options::recursive);
    homescreen::installTintwell(root);
    if (!setup.preferences.empty())
        writeFileAtomically(root / domainPath, plistDictionary(setup.preferences));
    if (setup.prepare)
        setup.prepare(root);
    return root;
}

// Runs the body in a fresh home-screen process of its own.
inline void inFreshHomeScreen(const DeviceSetup& setup, const std::function<void(TweakedHomeScreen&)>& body)
{
    const fs::path& sample = SampleDeviceTemplate::root();
    homescreen::inForkedProcess([&] {
        fs::path root = makeDevice(setup, sample);
        {
            DeviceRoot::set(root);
            SpringBoardHost::registerSystemClasses();
            UIUserInterfaceStyleArbiter::sharedInstance()->setCurrentStyle(UIUserInterfaceStyleLight);
            if (setup.beforeLoad)
                setup.beforeLoad();
            TweakedHomeScreen tweaked(root);
            if (!::testing::Test::HasFatalFailure())
                body(tweaked);
        }
        fs::remove_all(root);
    });
}

inline void inFreshHomeScreen(const std::function<void(TweakedHomeScreen&)>& body) { inFreshHomeScreen(DeviceSetup {}, body); }

// What the system shows, read back from the view tree.
inline RefPtr<NCNotificationShortLookViewController> shortLook(SBHomeScreen& home, const std::string& identifier)
{
    auto cell = home.cellForNotification(identifier);
    return cell ? cell->contentViewController() : nullptr;
}

inline RefPtr<MTMaterialView> platterBackground(SBHomeScreen& home, const std::string& identifier)
{
    auto controller = shortLook(home, identifier);
    auto look = controller ? controller->lookView() : nullptr;
    return look ? look->backgroundView() : nullptr;
}

// The extension's colour code, sent by selector as the hooks reach it.
inline RefPtr<UIImage> stockIcon(const std::string& bundleID)
{
    return msgSendClass<RefPtr<UIImage>>(UIImage::classObject(), sel_registerName("stockImgForID:"), NSString::string(bundleID));
}

inline RefPtr<UIColor> colourForMode(const UIImage* image, long mode, const std::string& bundleID)
{
    return msgSend<RefPtr<UIColor>>(image, sel_registerName("colorForMode:WithBundleID:"), mode, NSString::string(bundleID));
}

inline RefPtr<UIColor> mergedColourOf(const UIImage* image) { return msgSend<RefPtr<UIColor>>(image, sel_registerName("mergedColor")); }

inline RefPtr<UIImage> headerIcon(const NCNotificationShortLookViewController* controller)
{
    return msgSend<RefPtr<UIImage>>(controller, sel_registerName("TWLheaderIcon"));
}

// The notification colour cache as any surface reads it.
inline RefPtr<UIColor> cachedNotificationColour(const std::string& key)
{
    auto manager = msgSendClass<Id>(objc_getClass("QFColorManager"), sel_registerName("sharedManager"));
    RefPtr<NSMutableDictionary> colours = objectCast<NSMutableDictionary>(msgSend<Id>(manager, sel_registerName("notificationColors")));
    return colours ? objectCast<UIColor>(colours->objectForKey(NSString::string(key).get())) : nullptr;
}

// What the colour library makes of a colour text, as the extension asks it.
inline RefPtr<UIColor> colourFromText(const std::string& text) { return SparkColourPickerUtils::colourWithString(NSString::string(text).get()); }

// The painter with the default notification record: style 2, width 3, and in the light
// appearance border 50 % and fill 70 %, in the dark one border 70 % and fill 50 %.
inline ::testing::AssertionResult tintedWith(const UIView* view, const UIColor* colour, bool dark = false)
{
    if (!view)
        return ::testing::AssertionFailure() << "no view";
    if (!colour)
        return ::testing::AssertionFailure() << "no expected colour";
    auto fill = view->backgroundColor();
    auto border = view->layer()->borderColor();
    if (!fill || !border)
        return ::testing::AssertionFailure() << "not painted with a colour (fill " << bool(fill) << ", border " << bool(border) << ")";
    double fillAlpha = dark ? 0.5 : 0.7;
    double borderAlpha = dark ? 0.7 : 0.5;
    auto& b = border->components();
    bool same = fill->red() == colour->red() && fill->green() == colour->green() && fill->blue() == colour->blue()
        && b[0] == colour->red() && b[1] == colour->green() && b[2] == colour->blue();
    if (!same)
        return ::testing::AssertionFailure() << "painted " << fill->hexString() << ", expected " << colour->hexString();
    if (std::abs(fill->alpha() - fillAlpha) > 1e-9 || std::abs(b[3] - borderAlpha) > 1e-9)
        return ::testing::AssertionFailure() << "opacities " << fill->alpha() << " / " << b[3] << ", expected " << fillAlpha << " / " << borderAlpha;
    if (view->layer()->borderWidth() != 3.0)
        return ::testing::AssertionFailure() << "border width " << view->layer()->borderWidth();
    return ::testing::AssertionSuccess();
}

// The system's own material colour: nothing of Tintwell's on it.
inline bool showsSystemMaterial(const MTMaterialView* view, long style = UIUserInterfaceStyleLight)
{
    auto fill = view ? view->backgroundColor() : nullptr;
    auto material = MTMaterialView::materialColor(view ? view->recipe() : 0, style);
    return fill && material && fill->isEqual(material.get()) && view->layer()->borderWidth() == 0;
}

} // namespace platters
