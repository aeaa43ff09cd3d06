#pragma once

#include "tests/tweak/platters/PlatterTestSupport.h"

#include "platform/springboard/MediaControlsPanelViewController.h"
#include "platform/springboard/SBMediaController.h"
#include "platform/springboard/Scenario.h"
#include "platform/springboard/ScenarioRunner.h"

#include <string_view>
#include <vector>

namespace media {

using namespace platters;

// A home-screen process of its own with Tintwell and the named companion libraries
// ("Axon", "Grupi", "Dayn") installed from the build beside it.
class CompanionHomeScreen {
public:
    CompanionHomeScreen(const fs::path& root, size_t expectedLoaded)
        : m_root(root)
        , m_host(root)
    {
        auto report = m_host.loadExtensions();
        EXPECT_EQ(report.loadedCount(), expectedLoaded) << "not every installed library loaded";
        CFNotificationCenter::darwinNotifyCenter().addObserver(&reloadSeen, &noteReload, reloadNotification);
        m_home = std::make_unique<SBHomeScreen>();
        m_media = SBMediaController::create(*m_home);
    }

    SBHomeScreen& home() { return *m_home; }
    SBMediaController& media() { return *m_media; }
    const fs::path& root() const { return m_root; }

    void changePreferences(const std::string& entries)
    {
        writeFileAtomically(m_root / domainPath, plistDictionary(entries));
        reloadSeen = false;
        CFNotificationCenter::post(reloadNotification);
        ASSERT_TRUE(NSRunLoop::mainRunLoop().runUntil([] { return reloadSeen; }, 10)) << "the reload notification never arrived";
    }

    void writeColours(const std::string& entries) { writeFileAtomically(m_root / coloursPath, plistDictionary(entries)); }

private:
    fs::path m_root;
    SpringBoardHost m_host;
    std::unique_ptr<SBHomeScreen> m_home;
    RefPtr<SBMediaController> m_media;
};

inline void inCompanionHomeScreen(const std::string& preferences, const std::vector<std::string>& companions,
    const std::function<void(CompanionHomeScreen&)>& body)
{
    const fs::path& sample = SampleDeviceTemplate::root();
    homescreen::inForkedProcess([&] {
        DeviceSetup setup { preferences, [&](const fs::path& root) {
                               for (auto& name : companions)
                                   homescreen::installLibrary(root, name);
                           },
            {} };
        fs::path root = makeDevice(setup, sample);
        {
            DeviceRoot::set(root);
            SpringBoardHost::registerSystemClasses();
            UIUserInterfaceStyleArbiter::sharedInstance()->setCurrentStyle(UIUserInterfaceStyleLight);
            CompanionHomeScreen screen(root, companions.size() + 1);
            if (!::testing::Test::HasFatalFailure())
                body(screen);
        }
        fs::remove_all(root);
    });
}

// Style 1 at full opacity: the fill is exactly the colour painted.
inline std::string fullFill(const std::string& surface) { return integerEntry(surface + "Style", 1) + integerEntry(surface + "FullAlpha", 100); }

inline ::testing::AssertionResult filledWith(const UIView* view, const UIColor* colour)
{
    if (!view || !colour)
        return ::testing::AssertionFailure() << "no view or no expected colour";
    auto fill = view->backgroundColor();
    if (!fill)
        return ::testing::AssertionFailure() << "no fill";
    if (fill->red() != colour->red() || fill->green() != colour->green() || fill->blue() != colour->blue() || fill->alpha() != 1.0)
        return ::testing::AssertionFailure() << "filled " << fill->hexString() << ", expected " << colour->hexString();
    return ::testing::AssertionSuccess();
}

inline bool isCleared(const UIView* view)
{
    auto fill = view->backgroundColor();
    auto border = view->layer()->borderColor();
    return fill && fill->alpha() == 0 && border && border->components()[3] == 0 && view->layer()->borderWidth() == 0;
}

// A companion cell made and shown the way its extension does, through the runtime.
inline RefPtr<UIView> makeAppCell(const std::string& className, const std::string& bundleID, SBHomeScreen& home)
{
    auto cell = UIView::createWithClass(objc_getClass(className.c_str()), CGRectMake(0, 0, 56, 56));
    if (!cell)
        return nullptr;
    msgSend<void>(cell.get(), sel_registerName("setBundleIdentifier:"), NSString::string(bundleID));
    home.window()->addSubview(cell.get());
    return cell;
}

inline void setCellIcon(const UIView* cell, UIImage* image)
{
    auto iconView = msgSend<Id>(cell, sel_registerName("iconView"));
    msgSend<void>(iconView.get(), sel_registerName("setImage:"), image);
}

inline void select(const UIView* cell, bool selected) { msgSend<void>(cell, sel_registerName("setSelected:"), selected); }

using AppCellRow = SBHomeScreenCompanions::AppCellRow;

inline std::string cellApp(const UIView* cell)
{
    RefPtr<NSString> identifier = objectCast<NSString>(msgSend<Id>(cell, sel_registerName("bundleIdentifier")));
    return identifier ? identifier->utf8() : std::string();
}

// The apps of the home screen's own cells in a companion's row, in order.
inline std::vector<std::string> rowApps(const SBHomeScreen& home, AppCellRow row)
{
    std::vector<std::string> apps;
    for (auto& cell : home.companions().cells(row))
        apps.push_back(cellApp(cell.get()));
    return apps;
}

inline RefPtr<UIView> rowCell(const SBHomeScreen& home, AppCellRow row, const std::string& app)
{
    for (auto& cell : home.companions().cells(row)) {
        if (cellApp(cell.get()) == app)
            return cell;
    }
    return nullptr;
}

// What the extension paints for an app under the default notification modes.
inline RefPtr<UIColor> appColour(const std::string& app) { return colourForMode(stockIcon(app).get(), 0, app); }

// Plays scenario text on the home screen, as the host plays a file; answers its warnings.
inline std::vector<std::string> playScenario(SBHomeScreen& home, std::string_view text)
{
    std::string error;
    auto scenario = Scenario::parseText(text, fs::current_path(), error);
    EXPECT_TRUE(scenario) << error;
    if (!scenario)
        return { error };
    ScenarioRunner runner(home);
    runner.run(*scenario);
    return runner.warnings();
}

} // namespace media
