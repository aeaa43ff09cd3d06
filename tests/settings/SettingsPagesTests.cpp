#include "SettingsTestDevice.h"

#include "outside/sparkcolourpicker/SparkColourPickerCell.h"
#include "platform/foundation/CFNotificationCenter.h"
#include "platform/foundation/NSRunLoop.h"
#include "platform/settings/PSListController.h"
#include "platform/settings/PSTableCell.h"
#include "platform/settings/PreferenceLoader.h"
#include "platform/settings/PreferencesAppController.h"
#include "platform/settings/SettingsClasses.h"
#include "platform/uikit/UIAlertController.h"
#include "platform/uikit/UISegmentedControl.h"
#include "platform/uikit/UISlider.h"
#include "platform/uikit/UISwitch.h"
#include "platform/uikit/UITextField.h"

#include <sys/stat.h>

#include <memory>
#include <mutex>
#include <vector>

// The Settings app in this process, on one device root: a bundle's classes can be
// loaded only once per process, so every test shares it and starts from the entry list.
namespace {

SettingsTestDevice* s_device = nullptr;
std::vector<std::string> s_notifications;

void recordNotification(CFNotificationCenterRef, void*, CFStringRef name, const void*, CFDictionaryRef)
{
    s_notifications.push_back(name ? name->utf8() : std::string());
}

class SettingsAppEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        m_device = std::make_unique<SettingsTestDevice>();
        s_device = m_device.get();
        DeviceRoot::set(m_device->root());
        NSRunLoop::mainRunLoop();
        registerSettingsClasses();
        for (auto name : { SettingsTestDevice::reloadNotification, "com.tintwell.settingstest/Ping", "com.tintwell.settingstest/Confirm", "com.tintwell.settingstest/ConfirmWhilePresented" })
            CFNotificationCenterAddObserver(CFNotificationCenterGetDarwinNotifyCenter(), &s_notifications, recordNotification, CFSTR(name), nullptr, CFNotificationSuspensionBehaviorDeliverImmediately);
        PreferencesAppController::sharedApplication()->launch();
    }
    void TearDown() override
    {
        CFNotificationCenterRemoveEveryObserver(CFNotificationCenterGetDarwinNotifyCenter(), &s_notifications);
        s_device = nullptr;
        m_device.reset();
    }

private:
    std::unique_ptr<SettingsTestDevice> m_device;
};

const auto* s_environment = ::testing::AddGlobalTestEnvironment(new SettingsAppEnvironment);

class SettingsPages : public ::testing::Test {
protected:
    void SetUp() override
    {
        s_device->clearPreferences();
        app()->openURL("prefs:");
        PreferencesAppController::takeProblems();
        s_notifications.clear();
    }

    static RefPtr<PreferencesAppController> app() { return PreferencesAppController::sharedApplication(); }
    static RefPtr<PSListController> page() { return objectCast<PSListController>(app()->currentPage()); }

    static RefPtr<PSTableCell> row(std::string_view label)
    {
        auto list = page();
        if (!list)
            return nullptr;
        auto specifiers = list->specifiers();
        if (!specifiers)
            return nullptr;
        for (auto& object : *specifiers) {
            auto specifier = objectCast<PSSpecifier>(object);
            if (specifier && specifier->name() && specifier->name()->view() == label)
                return list->cachedCellForSpecifier(specifier);
        }
        return nullptr;
    }

    static void openTestPage() { ASSERT_TRUE(app()->openLinkLabelled("Settings Test")); }

    // Waits for system-wide notifications to arrive on the run loop.
    static bool received(std::string_view name, size_t times = 1)
    {
        return NSRunLoop::mainRunLoop().runUntil([&] { return size_t(std::count(s_notifications.begin(), s_notifications.end(), name)) >= times; }, 5);
    }
};

} // namespace

TEST_F(SettingsPages, EntryOpensTheBundlesPrincipalClassInsideTheAppsNavigation)
{
    auto entries = PreferenceLoader::entrySpecifiers(nullptr);
    ASSERT_EQ(entries->count(), 1u);
    auto entry = objectCast<PSSpecifier>(entries->objectAtIndex(0));
    EXPECT_EQ(entry->name()->utf8(), "Settings Test");
    EXPECT_EQ(entry->cellType(), PSLinkCell);

    openTestPage();
    auto root = page();
    ASSERT_TRUE(root);
    EXPECT_STREQ(root->className(), "STPRootListController");
    EXPECT_EQ(root->specifier()->name()->utf8(), "Settings Test");
    // The page's own navigation controller sits inside the app's, whose bar shows.
    auto own = root->navigationController();
    ASSERT_TRUE(own);
    EXPECT_EQ(own->navigationController().get(), app()->rootNavigationController().get());
    EXPECT_EQ(app()->rootNavigationController()->navigationBar()->topItem().get(), root->navigationItem().get());
    EXPECT_EQ(root->bundle()->path(), "/Library/PreferenceBundles/SettingsTestPrefs.bundle");
}

TEST_F(SettingsPages, RowsWriteTheirValueTypesIntoTheDomain)
{
    openTestPage();
    objectCast<UISwitch>(row("Enabled")->control())->userSetOn(false);
    objectCast<UISlider>(row("Opacity")->control())->userSetValue(42.5);
    objectCast<UISegmentedControl>(row("Style")->control())->userSelectSegment(1);
    auto source = row("Source");
    source->chooseValue(source->validValues()->objectAtIndex(2).get());
    objectCast<UITextField>(row("Hint")->control())->userEnterText(NSString::string("Nothing more").get());

    auto enabled = objectCast<NSNumber>(s_device->storedValue("Enabled"));
    ASSERT_TRUE(enabled);
    EXPECT_EQ(enabled->kind(), NSNumber::Kind::Bool);
    EXPECT_FALSE(enabled->boolValue());
    auto opacity = objectCast<NSNumber>(s_device->storedValue("Opacity"));
    ASSERT_TRUE(opacity);
    EXPECT_EQ(opacity->kind(), NSNumber::Kind::Real);
    EXPECT_DOUBLE_EQ(opacity->doubleValue(), 42.5);
    // A choice keeps the property-list type of its valid value.
    auto style = objectCast<NSNumber>(s_device->storedValue("Style"));
    ASSERT_TRUE(style);
    EXPECT_EQ(style->kind(), NSNumber::Kind::Integer);
    EXPECT_EQ(style->integerValue(), 1);
    auto chosen = objectCast<NSString>(s_device->storedValue("Source"));
    ASSERT_TRUE(chosen);
    EXPECT_EQ(chosen->utf8(), "custom");
    auto hint = objectCast<NSString>(s_device->storedValue("Hint"));
    ASSERT_TRUE(hint);
    EXPECT_EQ(hint->utf8(), "Nothing more");
    EXPECT_TRUE(received(SettingsTestDevice::reloadNotification, 5));
}

TEST_F(SettingsPages, SliderClampsToItsRangeAndChoicesShowTheirTitles)
{
    openTestPage();
    objectCast<UISlider>(row("Opacity")->control())->userSetValue(250);
    EXPECT_DOUBLE_EQ(objectCast<NSNumber>(s_device->storedValue("Opacity"))->doubleValue(), 100);
    EXPECT_EQ(row("Source")->valueText(), "Icon");
    EXPECT_EQ(row("Style")->valueText(), "Both");
}

TEST_F(SettingsPages, WritesReplaceTheWholeFileAndKeepOtherKeys)
{
    openTestPage();
    s_device->writeFile("/var/mobile/Library/Preferences/com.tintwell.settingstest.plist",
        "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>Other</key><integer>7</integer></dict></plist>");
    struct stat before {};
    ASSERT_EQ(::stat(s_device->domainFile().c_str(), &before), 0);
    objectCast<UISwitch>(row("Enabled")->control())->userSetOn(false);

    // Written beside and renamed over: a reader never meets a half-written file.
    struct stat after {};
    ASSERT_EQ(::stat(s_device->domainFile().c_str(), &after), 0);
    EXPECT_NE(before.st_ino, after.st_ino);
    EXPECT_EQ(objectCast<NSNumber>(s_device->storedValue("Other"))->integerValue(), 7);
    EXPECT_FALSE(objectCast<NSNumber>(s_device->storedValue("Enabled"))->boolValue());
    size_t files = 0;
    for ([[maybe_unused]] auto& entry : std::filesystem::directory_iterator(s_device->domainFile().parent_path()))
        ++files;
    EXPECT_EQ(files, 1u);
}

TEST_F(SettingsPages, DefaultsShowWhileTheKeyIsAbsentAndAreNeverWritten)
{
    openTestPage();
    EXPECT_TRUE(objectCast<UISwitch>(row("Enabled")->control())->isOn());
    EXPECT_DOUBLE_EQ(objectCast<UISlider>(row("Opacity")->control())->value(), 80);
    EXPECT_EQ(objectCast<UITextField>(row("Hint")->control())->text()->utf8(), "No older notifications");
    EXPECT_FALSE(std::filesystem::exists(s_device->domainFile()));

    // A stored value wins over the default.
    s_device->writeFile("/var/mobile/Library/Preferences/com.tintwell.settingstest.plist",
        "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>Enabled</key><false/></dict></plist>");
    page()->reloadSpecifiers();
    EXPECT_FALSE(objectCast<UISwitch>(row("Enabled")->control())->isOn());
}

TEST_F(SettingsPages, ColourRowWritesItsColoursFileAndShowsTheFallbackUntilThen)
{
    openTestPage();
    auto cell = objectCast<SparkColourPickerCell>(row("Tint"));
    ASSERT_TRUE(cell);
    EXPECT_TRUE(cell->displayedColour()->isEqual(UIColor::colorWithRed(1, 0, 0, 1).get()));
    s_device->writeFile("/var/mobile/Library/Preferences/com.tintwell.settingstest.colors.plist",
        "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>Kept</key><string>#00ff00</string></dict></plist>");

    // Without the alpha option a picked colour is stored opaque.
    cell->pickColour(UIColor::colorWithRed(0, 0, 1, 0.5).get());
    auto text = objectCast<NSString>(s_device->storedValue("TintHEX", SettingsTestDevice::coloursDomain));
    ASSERT_TRUE(text);
    EXPECT_EQ(text->utf8(), "#0000FF:1.00");
    EXPECT_EQ(objectCast<NSString>(s_device->storedValue("Kept", SettingsTestDevice::coloursDomain))->utf8(), "#00ff00");
    EXPECT_FALSE(s_device->storedValue("TintHEX"));
    EXPECT_TRUE(cell->displayedColour()->isEqual(UIColor::colorWithRed(0, 0, 1, 1).get()));
    EXPECT_TRUE(received(SettingsTestDevice::reloadNotification));
}

TEST_F(SettingsPages, ButtonSendsItsActionToTheTarget)
{
    openTestPage();
    auto path = page()->indexPathForSpecifier(row("Ping")->specifier().get());
    page()->table()->selectRow(path.get());
    EXPECT_TRUE(received("com.tintwell.settingstest/Ping"));
    EXPECT_FALSE(std::filesystem::exists(s_device->domainFile()));
}

TEST_F(SettingsPages, LinkOpensASubPageMadeWithInitThenSetSpecifier)
{
    openTestPage();
    ASSERT_TRUE(app()->openLinkLabelled("Notifications"));
    auto sub = page();
    ASSERT_TRUE(sub);
    EXPECT_STREQ(sub->className(), "STPSubListController");
    EXPECT_TRUE(msgSend<bool>(sub, SELECTOR("initialisedBeforeSpecifier")));
    EXPECT_EQ(sub->specifier()->name()->utf8(), "Notifications");
    EXPECT_EQ(sub->title()->utf8(), "Notifications");
    EXPECT_EQ(app()->rootNavigationController()->navigationBar()->displayedTitle()->utf8(), "Notifications");
    EXPECT_TRUE(row("Header colour"));
    // Same navigation controller as the root page: back returns there.
    ASSERT_TRUE(app()->goBack());
    EXPECT_STREQ(page()->className(), "STPRootListController");

    ASSERT_TRUE(app()->openLinkLabelled("Widgets"));
    EXPECT_NE(page().get(), sub.get());
    EXPECT_TRUE(row("No title"));
    EXPECT_FALSE(row("Header colour"));
}

TEST_F(SettingsPages, ResumeReloadsOnlyPagesThatAskForIt)
{
    openTestPage();
    long loads = msgSend<long>(page(), SELECTOR("rootLoads"));
    app()->applicationWillEnterForeground();
    EXPECT_EQ(msgSend<long>(page(), SELECTOR("rootLoads")), loads + 1);

    ASSERT_TRUE(app()->openLinkLabelled("Widgets"));
    app()->applicationWillEnterForeground();
    EXPECT_TRUE(row("No title"));
    app()->goBack();

    // The same page left to the default reloads, and its list, made in setSpecifier:, is gone.
    ASSERT_TRUE(app()->openLinkLabelled("Reloading"));
    EXPECT_TRUE(row("No title"));
    app()->applicationWillEnterForeground();
    EXPECT_FALSE(row("No title"));
}

TEST_F(SettingsPages, ScrollingTheTableReachesThePage)
{
    openTestPage();
    page()->table()->setContentOffset(CGPointMake(0, 250));
    page()->table()->setContentOffset(CGPointMake(0, -50));
    EXPECT_EQ(msgSend<long>(page(), SELECTOR("scrollEvents")), 2);
    EXPECT_DOUBLE_EQ(msgSend<double>(page(), SELECTOR("lastScrollOffset")), -50);
}

TEST_F(SettingsPages, AppearanceTintsTheAppsBarAndTitleColourFollowsThePages)
{
    auto bar = app()->rootNavigationController()->navigationBar();
    openTestPage();
    EXPECT_TRUE(bar->barTintColor()->isEqual(UIColor::colorWithRed(0.2, 0.6, 0.4, 1).get()));
    EXPECT_TRUE(bar->tintColor()->isEqual(UIColor::whiteColor().get()));
    EXPECT_FALSE(bar->isTranslucent());
    EXPECT_TRUE(bar->titleColor()->isEqual(UIColor::whiteColor().get()));
    // The root page turns the title black when it disappears.
    ASSERT_TRUE(app()->openLinkLabelled("Widgets"));
    EXPECT_TRUE(bar->titleColor()->isEqual(UIColor::whiteColor().get()));
    EXPECT_TRUE(bar->showsBackButton());
}

TEST_F(SettingsPages, AlertListsActionsInOrderAndRunsTheChosenHandlerAfterDismissal)
{
    openTestPage();
    auto button = objectCast<UIBarButtonItem>(page()->navigationItem()->rightBarButtonItem());
    ASSERT_TRUE(button);
    ASSERT_TRUE(button->press());
    auto alert = objectCast<UIAlertController>(app()->presentedController());
    ASSERT_TRUE(alert);
    ASSERT_EQ(alert->actionList().size(), 2u);
    EXPECT_EQ(alert->actionList()[0]->title()->utf8(), "Confirm");
    EXPECT_EQ(alert->actionList()[0]->style(), UIAlertActionStyleDestructive);
    EXPECT_EQ(alert->actionList()[1]->title()->utf8(), "Cancel");

    EXPECT_TRUE(alert->chooseAction(alert->actionWithTitle("Cancel").get()));
    EXPECT_FALSE(app()->presentedController());
    NSRunLoop::mainRunLoop().runFor(0.1);
    EXPECT_TRUE(s_notifications.empty());

    button->press();
    alert = objectCast<UIAlertController>(app()->presentedController());
    ASSERT_TRUE(alert->chooseAction(alert->actionWithTitle("Confirm").get()));
    EXPECT_TRUE(received("com.tintwell.settingstest/Confirm"));
    EXPECT_EQ(std::count(s_notifications.begin(), s_notifications.end(), "com.tintwell.settingstest/ConfirmWhilePresented"), 0);
    // No home screen runs on this root: the restart reports it and the app reopens the page.
    auto problems = PreferencesAppController::takeProblems();
    EXPECT_EQ(std::count_if(problems.begin(), problems.end(), [](auto& problem) { return problem.find("no home-screen host runs") != std::string::npos; }), 1);
    EXPECT_STREQ(page()->className(), "STPRootListController");
}

TEST_F(SettingsPages, RowsOfTheWrongShapeAreSkippedWithAProblemEach)
{
    openTestPage();
    // The root list names a controller class that does not exist.
    EXPECT_EQ(PreferencesAppController::takeProblems().size(), 1u);
    ASSERT_TRUE(app()->openLinkLabelled("Broken"));
    // Four items skipped, and a cell class that does not exist, shown as a plain row.
    EXPECT_EQ(PreferencesAppController::takeProblems().size(), 5u);
    EXPECT_TRUE(row("Survivor"));
    EXPECT_FALSE(row("Fancy"));
    EXPECT_STREQ(row("Odd cell")->className(), "PSTableCell");
    page()->table()->selectRow(page()->indexPathForSpecifier(row("Nothing")->specifier().get()).get());
    EXPECT_EQ(PreferencesAppController::takeProblems().size(), 1u);
    app()->goBack();

    ASSERT_TRUE(app()->openLinkLabelled("Wrong shape"));
    EXPECT_EQ(page()->table()->numberOfSections(), 0);
    EXPECT_EQ(PreferencesAppController::takeProblems().size(), 1u);
    app()->goBack();
    EXPECT_FALSE(app()->openLinkLabelled("Nowhere"));
}

TEST_F(SettingsPages, AddressesOpenAnEntryAndItsLinks)
{
    ASSERT_TRUE(app()->openURL("prefs:root=Settings Test&path=Notifications"));
    EXPECT_EQ(page()->title()->utf8(), "Notifications");
    // By bundle name too, from anywhere.
    ASSERT_TRUE(app()->openURL("prefs:root=SettingsTestPrefs"));
    EXPECT_STREQ(page()->className(), "STPRootListController");
    EXPECT_FALSE(app()->openURL("prefs:root=Nothing"));
    EXPECT_STREQ(page()->className(), "PSUIPrefsListController");
    EXPECT_FALSE(app()->openURL("https://example.com"));
}
