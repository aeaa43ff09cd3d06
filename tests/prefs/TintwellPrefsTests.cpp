#include "../tweak/ExpectedSettings.h"

#include "outside/cephei/HBPreferences.h"
#include "outside/sparkcolourpicker/SparkColourPickerCell.h"
#include "platform/foundation/CFNotificationCenter.h"
#include "platform/foundation/DeviceRoot.h"
#include "platform/foundation/NSDictionary.h"
#include "platform/foundation/NSNumber.h"
#include "platform/foundation/NSRunLoop.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/PropertyList.h"
#include "platform/settings/PSListController.h"
#include "platform/settings/PSTableCell.h"
#include "platform/settings/PreferenceLoader.h"
#include "platform/settings/PreferencesAppController.h"
#include "platform/settings/SettingsClasses.h"
#include "platform/uikit/NSIndexPath.h"
#include "platform/uikit/UIAlertController.h"
#include "platform/uikit/UIBarButtonItem.h"
#include "platform/uikit/UIImageView.h"
#include "platform/uikit/UILabel.h"
#include "platform/uikit/UINavigationController.h"
#include "platform/uikit/UISegmentedControl.h"
#include "platform/uikit/UISlider.h"
#include "platform/uikit/UISwitch.h"
#include "platform/uikit/UITextField.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

// The Settings app in this process with the TintwellPrefs bundle as the build laid it out:
// a bundle's classes load once per process, so every test shares one device root.
namespace {

constexpr const char* domain = "com.quillfen.tintwellprefs";
constexpr const char* coloursDomain = "com.quillfen.tintwellprefs.colors";
constexpr const char* reloadNotification = "com.quillfen.tintwellprefs/ReloadPrefs";
constexpr const char* testNotifications = "com.quillfen.tintwell/TestNotifications";
constexpr const char* testBanner = "com.quillfen.tintwell/TestBanner";

std::filesystem::path s_root;
std::vector<std::string> s_notifications;

void recordNotification(CFNotificationCenterRef, void*, CFStringRef name, const void*, CFDictionaryRef)
{
    s_notifications.push_back(name ? name->utf8() : std::string());
}

class TintwellSettingsEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "tintwell-prefs-XXXXXX").string();
        ASSERT_TRUE(::mkdtemp(pattern.data()));
        s_root = pattern;
        std::filesystem::path built = TINTWELL_BUILT_DEVICE_ROOT;
        for (auto relative : { "Library/PreferenceBundles/TintwellPrefs.bundle", "Library/PreferenceLoader/Preferences/TintwellPrefs.plist" }) {
            std::filesystem::create_directories((s_root / relative).parent_path());
            std::filesystem::copy(built / relative, s_root / relative, std::filesystem::copy_options::recursive);
        }
        DeviceRoot::set(s_root);
        NSRunLoop::mainRunLoop();
        registerSettingsClasses();
        for (auto name : { reloadNotification, testNotifications, testBanner })
            CFNotificationCenterAddObserver(CFNotificationCenterGetDarwinNotifyCenter(), &s_notifications, recordNotification, CFSTR(name), nullptr, CFNotificationSuspensionBehaviorDeliverImmediately);
        PreferencesAppController::sharedApplication()->launch();
    }
    void TearDown() override
    {
        CFNotificationCenterRemoveEveryObserver(CFNotificationCenterGetDarwinNotifyCenter(), &s_notifications);
        std::error_code error;
        std::filesystem::remove_all(s_root, error);
    }
};

const auto* s_environment = ::testing::AddGlobalTestEnvironment(new TintwellSettingsEnvironment);

class TintwellSettings : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::error_code error;
        std::filesystem::remove_all(s_root / "var/mobile/Library/Preferences", error);
        app()->openURL("prefs:");
        PreferencesAppController::takeProblems();
        s_notifications.clear();
    }

    static RefPtr<PreferencesAppController> app() { return PreferencesAppController::sharedApplication(); }
    static RefPtr<PSListController> page() { return objectCast<PSListController>(app()->currentPage()); }
    static RefPtr<UINavigationBar> bar() { return app()->rootNavigationController()->navigationBar(); }

    static void openRoot()
    {
        ASSERT_TRUE(app()->openLinkLabelled("Tintwell"));
        ASSERT_STREQ(page()->className(), "TWLRootListController");
    }

    template<typename T>
    static RefPtr<T> rootProperty(const char* name) { return objectCast<T>(msgSend<Id>(page().get(), sel_registerName(name))); }

    static std::vector<RefPtr<PSSpecifier>> specifiersOf(PSListController* list)
    {
        std::vector<RefPtr<PSSpecifier>> result;
        for (auto& object : *list->specifiers())
            if (RefPtr<PSSpecifier> specifier = objectCast<PSSpecifier>(object))
                result.push_back(specifier);
        return result;
    }

    static RefPtr<PSTableCell> row(std::string_view label)
    {
        for (auto& specifier : specifiersOf(page().get()))
            if (specifier->name() && specifier->name()->view() == label)
                return page()->cachedCellForSpecifier(specifier.get());
        return nullptr;
    }

    // Taps a row as a person would: through the table's selection.
    static void tap(std::string_view label)
    {
        auto cell = row(label);
        ASSERT_TRUE(cell) << label;
        page()->table()->selectRow(page()->indexPathForSpecifier(cell->specifier().get()).get());
    }

    static Id stored(std::string_view key, const char* name = domain)
    {
        RefPtr<NSDictionary> file = objectCast<NSDictionary>(PropertyList::readHostFile(s_root / "var/mobile/Library/Preferences" / (std::string(name) + ".plist")));
        return file ? file->objectForStringKey(key) : nullptr;
    }

    static size_t count(std::string_view name) { return size_t(std::count(s_notifications.begin(), s_notifications.end(), name)); }
    static bool received(std::string_view name, size_t times = 1)
    {
        return NSRunLoop::mainRunLoop().runUntil([&] { return count(name) >= times; }, 5);
    }

    static void scroll(double y) { page()->table()->setContentOffset(CGPointMake(0, y)); }
};

} // namespace

// The root page.

TEST_F(TintwellSettings, EntryOpensTheRootPageWithItsBarButtonTitleViewAndBanner)
{
    openRoot();
    EXPECT_TRUE(PreferencesAppController::takeProblems().empty());
    auto button = rootProperty<UIBarButtonItem>("respringButton");
    ASSERT_TRUE(button);
    EXPECT_EQ(page()->navigationItem()->rightBarButtonItem().get(), button.get());
    EXPECT_EQ(button->title()->utf8(), "ReSpring");
    EXPECT_TRUE(button->tintColor()->isEqual(UIColor::whiteColor().get()));

    auto label = rootProperty<UILabel>("titleLabel");
    auto icon = rootProperty<UIImageView>("iconView");
    ASSERT_TRUE(label && icon);
    auto titleView = page()->navigationItem()->titleView();
    EXPECT_EQ(label->superview().get(), titleView.get());
    EXPECT_EQ(icon->superview().get(), titleView.get());
    EXPECT_EQ(label->textString(), "Tintwell");
    EXPECT_DOUBLE_EQ(label->alpha(), 1.0);
    EXPECT_DOUBLE_EQ(icon->alpha(), 0.0);
    // The images the build drew were found on the device.
    EXPECT_TRUE(icon->image());
    auto banner = rootProperty<UIImageView>("headerImageView");
    ASSERT_TRUE(banner && banner->image());
    EXPECT_EQ(page()->table()->tableHeaderView().get(), rootProperty<UIView>("headerView").get());
}

TEST_F(TintwellSettings, TitleSwapsToTheIconOnlyAboveTheBannerHeight)
{
    openRoot();
    auto label = rootProperty<UILabel>("titleLabel");
    auto icon = rootProperty<UIImageView>("iconView");
    long animations = UIView::animationCount();
    scroll(200);
    EXPECT_DOUBLE_EQ(label->alpha(), 1.0);
    EXPECT_DOUBLE_EQ(icon->alpha(), 0.0);
    scroll(200.5);
    EXPECT_DOUBLE_EQ(label->alpha(), 0.0);
    EXPECT_DOUBLE_EQ(icon->alpha(), 1.0);
    scroll(900);
    EXPECT_DOUBLE_EQ(icon->alpha(), 1.0);
    scroll(200);
    EXPECT_DOUBLE_EQ(label->alpha(), 1.0);
    EXPECT_DOUBLE_EQ(icon->alpha(), 0.0);
    // Every event animates, whether or not anything changes.
    EXPECT_EQ(UIView::animationCount() - animations, 4);
    EXPECT_DOUBLE_EQ(UIView::lastAnimationDuration(), 0.2);
}

TEST_F(TintwellSettings, BannerStretchesUpWhenPulledAndStaysPutWhenScrolledUp)
{
    openRoot();
    auto banner = rootProperty<UIImageView>("headerImageView");
    double width = rootProperty<UIView>("headerView")->frame().size.width;
    scroll(-50);
    CGRect pulled = banner->frame();
    EXPECT_DOUBLE_EQ(pulled.origin.x, 0);
    EXPECT_DOUBLE_EQ(pulled.origin.y, -50);
    EXPECT_DOUBLE_EQ(pulled.size.width, width);
    EXPECT_DOUBLE_EQ(pulled.size.height, 250);
    scroll(120);
    CGRect scrolled = banner->frame();
    EXPECT_DOUBLE_EQ(scrolled.origin.y, 0);
    EXPECT_DOUBLE_EQ(scrolled.size.width, width);
    EXPECT_DOUBLE_EQ(scrolled.size.height, 200);

    // Asking for a cell puts the banner header back wherever the table lost it.
    auto table = page()->table();
    table->setTableHeaderView(nullptr);
    msgSend<Id>(page().get(), SELECTOR("tableView:cellForRowAtIndexPath:"), table, NSIndexPath::indexPathForRow(0, 0));
    EXPECT_EQ(table->tableHeaderView().get(), rootProperty<UIView>("headerView").get());
}

TEST_F(TintwellSettings, RespringAsksFirstAndOnlyConfirmRestarts)
{
    openRoot();
    ASSERT_TRUE(rootProperty<UIBarButtonItem>("respringButton")->press());
    RefPtr<UIAlertController> alert = objectCast<UIAlertController>(app()->presentedController());
    ASSERT_TRUE(alert);
    EXPECT_EQ(alert->title()->utf8(), "Tintwell");
    EXPECT_EQ(alert->message()->utf8(), "Are you sure you want to respring?");
    ASSERT_EQ(alert->actionList().size(), 2u);
    EXPECT_EQ(alert->actionList()[0]->title()->utf8(), "Confirm");
    EXPECT_EQ(alert->actionList()[0]->style(), UIAlertActionStyleDestructive);
    EXPECT_EQ(alert->actionList()[1]->title()->utf8(), "Cancel");
    EXPECT_EQ(alert->actionList()[1]->style(), UIAlertActionStyleCancel);
    // Asking restarted nothing yet.
    EXPECT_TRUE(PreferencesAppController::takeProblems().empty());

    EXPECT_TRUE(alert->chooseAction(alert->actionWithTitle("Cancel").get()));
    NSRunLoop::mainRunLoop().runFor(0.1);
    EXPECT_TRUE(PreferencesAppController::takeProblems().empty());

    // The row in the list asks the same question.
    tap("ReSpring");
    alert = objectCast<UIAlertController>(app()->presentedController());
    ASSERT_TRUE(alert);
    ASSERT_TRUE(alert->chooseAction(alert->actionWithTitle("Confirm").get()));
    NSRunLoop::mainRunLoop().runFor(0.1);
    // No home screen runs on this root: the restart tool reports it, and the app reopens Tintwell.
    auto problems = PreferencesAppController::takeProblems();
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_NE(problems[0].find("no home-screen host"), std::string::npos);
    EXPECT_STREQ(page()->className(), "TWLRootListController");

    // The plain restart action launches the restart tool without asking or reopening.
    ASSERT_TRUE(app()->goBack());
    openRoot();
    msgSend<void>(page().get(), SELECTOR("respringUtil"));
    EXPECT_FALSE(app()->presentedController());
    problems = PreferencesAppController::takeProblems();
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_NE(problems[0].find("no home-screen host"), std::string::npos);
}

TEST_F(TintwellSettings, TestButtonsPostOnlyTheirOwnNotification)
{
    openRoot();
    tap("Test Notifications");
    EXPECT_TRUE(received(testNotifications));
    NSRunLoop::mainRunLoop().runFor(0.1);
    EXPECT_EQ(count(testBanner), 0u);
    tap("Test Banner");
    EXPECT_TRUE(received(testBanner));
    NSRunLoop::mainRunLoop().runFor(0.1);
    EXPECT_EQ(count(testNotifications), 1u);
    EXPECT_EQ(count(reloadNotification), 0u);
    EXPECT_FALSE(std::filesystem::exists(s_root / "var/mobile/Library/Preferences"));
}

TEST_F(TintwellSettings, BarIsTintedAndItsTitleTurnsBlackOnLeavingAndWhiteOnReturn)
{
    openRoot();
    auto navigationBar = bar();
    EXPECT_TRUE(navigationBar->barTintColor()->isEqual(UIColor::colorWithRed(0.64, 0.67, 1.0, 1.0).get()));
    EXPECT_TRUE(navigationBar->tintColor()->isEqual(UIColor::whiteColor().get()));
    EXPECT_FALSE(navigationBar->isTranslucent());
    EXPECT_FALSE(navigationBar->prefersLargeTitles());
    EXPECT_TRUE(navigationBar->shadowImage());
    EXPECT_EQ(app()->rootNavigationController()->navigationItem()->largeTitleDisplayMode(), 2);
    EXPECT_TRUE(navigationBar->titleColor()->isEqual(UIColor::whiteColor().get()));

    // Leaving for the Settings list turns it black, returning white again.
    ASSERT_TRUE(app()->goBack());
    EXPECT_TRUE(navigationBar->titleColor()->isEqual(UIColor::blackColor().get()));
    openRoot();
    EXPECT_TRUE(navigationBar->titleColor()->isEqual(UIColor::whiteColor().get()));
    // A sub-page undoes the black the root sets as it disappears.
    ASSERT_TRUE(app()->openLinkLabelled("Widgets"));
    EXPECT_TRUE(navigationBar->titleColor()->isEqual(UIColor::whiteColor().get()));
}

// The sub-pages.

TEST_F(TintwellSettings, SubPagesAreTitledByTheirLinkAndShowTheNamedList)
{
    openRoot();
    ASSERT_TRUE(app()->openLinkLabelled("Media Controls"));
    auto media = page();
    EXPECT_STREQ(media->className(), "TWLSubPrefsListController");
    EXPECT_EQ(media->title()->utf8(), "Media Controls");
    EXPECT_EQ(media->navigationItem()->title()->utf8(), "Media Controls");
    EXPECT_TRUE(row("Hide Routing Button"));
    EXPECT_FALSE(row("Hide Widget Name"));
    app()->goBack();

    // The same controller class from another link: another list, nothing shared.
    ASSERT_TRUE(app()->openLinkLabelled("Widgets"));
    EXPECT_NE(page().get(), media.get());
    EXPECT_EQ(page()->title()->utf8(), "Widgets");
    EXPECT_TRUE(row("Hide Widget Name"));
    EXPECT_FALSE(row("Hide Routing Button"));
    EXPECT_TRUE(PreferencesAppController::takeProblems().empty());
}

TEST_F(TintwellSettings, SubPageKeepsItsRowsWhenTheAppResumes)
{
    openRoot();
    ASSERT_TRUE(app()->openLinkLabelled("Notifications"));
    auto before = page()->specifiers();
    auto cell = row("Colour Notifications");
    app()->applicationWillEnterForeground();
    EXPECT_EQ(page()->specifiers().get(), before.get());
    EXPECT_EQ(row("Colour Notifications").get(), cell.get());
    // The root page loads its list once as well.
    app()->goBack();
    auto rootList = page()->specifiers();
    EXPECT_EQ(page()->specifiers().get(), rootList.get());
}

// The ninety keys.

namespace {

struct KeyRow {
    RefPtr<PSSpecifier> specifier;
    RefPtr<PSTableCell> cell;
    std::string page;
};

// Every row with a key on the root page and the pages it links to, by key.
std::map<std::string, std::vector<KeyRow>> collectKeyRows(std::vector<std::string>& problems)
{
    std::map<std::string, std::vector<KeyRow>> rows;
    auto collect = [&](const std::string& pageName) {
        RefPtr<PSListController> list = objectCast<PSListController>(PreferencesAppController::sharedApplication()->currentPage());
        for (auto& object : *list->specifiers()) {
            RefPtr<PSSpecifier> specifier = objectCast<PSSpecifier>(object);
            auto key = specifier ? specifier->stringProperty("key") : std::nullopt;
            if (key)
                rows[*key].push_back({ specifier, list->cachedCellForSpecifier(specifier.get()), pageName });
        }
    };
    auto app = PreferencesAppController::sharedApplication();
    collect("Root");
    std::vector<std::string> links;
    RefPtr<PSListController> root = objectCast<PSListController>(app->currentPage());
    for (auto& object : *root->specifiers()) {
        RefPtr<PSSpecifier> specifier = objectCast<PSSpecifier>(object);
        if (specifier && specifier->stringProperty("TWLSub"))
            links.push_back(specifier->name()->utf8());
    }
    for (auto& link : links) {
        if (!app->openLinkLabelled(link)) {
            problems.push_back("link " + link + " does not open");
            continue;
        }
        collect(link);
        app->goBack();
    }
    return rows;
}

} // namespace

TEST_F(TintwellSettings, EveryKeyHasOneRowWritingTheDomainWithTheStoresDefault)
{
    openRoot();
    std::vector<std::string> problems;
    auto rows = collectKeyRows(problems);
    EXPECT_TRUE(problems.empty());
    std::set<std::string> colourKeys { "NotifCustomHEX", "WidgetCustomHEX", "MusicCustomHEX" };
    for (auto& setting : expectedSettings) {
        std::string key(setting.key);
        auto found = rows.find(key);
        ASSERT_NE(found, rows.end()) << key << " has no row";
        ASSERT_EQ(found->second.size(), 1u) << key << " has several rows";
        auto& specifier = found->second.front().specifier;
        EXPECT_EQ(specifier->stringProperty("defaults"), domain) << key;
        EXPECT_EQ(specifier->stringProperty("PostNotification"), reloadNotification) << key;
        auto value = specifier->propertyForKey("default");
        ASSERT_TRUE(value) << key << " has no default";
        switch (setting.kind) {
        case ExpectedSetting::Kind::Bool:
            EXPECT_EQ(specifier->cellType(), PSSwitchCell) << key;
            EXPECT_EQ(HBPreferences::boolFromValue(value.get()), setting.number != 0) << key;
            break;
        case ExpectedSetting::Kind::Integer:
            EXPECT_EQ(HBPreferences::integerFromValue(value.get()), setting.number) << key;
            break;
        case ExpectedSetting::Kind::Object:
            ASSERT_TRUE(objectCast<NSString>(value)) << key;
            EXPECT_EQ(objectCast<NSString>(value)->view(), setting.text) << key;
            break;
        }
        rows.erase(found);
    }
    // What is left are the colour rows, writing the colours file.
    std::set<std::string> rest;
    for (auto& [key, list] : rows)
        rest.insert(key);
    EXPECT_EQ(rest, colourKeys);
    for (auto& key : colourKeys) {
        auto& specifier = rows[key].front().specifier;
        EXPECT_STREQ(rows[key].front().cell->className(), "SparkColourPickerCell") << key;
        RefPtr<NSDictionary> options = objectCast<NSDictionary>(specifier->propertyForKey("libsparkcolourpicker"));
        ASSERT_TRUE(options) << key;
        EXPECT_EQ(objectCast<NSString>(options->objectForStringKey("defaults"))->utf8(), coloursDomain);
        // The notification row has no fallback: its reader takes no colour when none is picked.
        RefPtr<NSString> fallback = objectCast<NSString>(options->objectForStringKey("fallback"));
        if (key == "NotifCustomHEX")
            EXPECT_FALSE(fallback);
        else
            EXPECT_EQ(fallback ? fallback->utf8() : "nil", "#ffffff") << key;
    }
}

TEST_F(TintwellSettings, ShownValuesAreTheStoresDefaultsOnAnEmptyDomain)
{
    openRoot();
    std::vector<std::string> problems;
    auto rows = collectKeyRows(problems);
    for (auto& setting : expectedSettings) {
        auto& cell = rows[std::string(setting.key)].front().cell;
        ASSERT_TRUE(cell) << setting.key;
        if (RefPtr<UISwitch> control = objectCast<UISwitch>(cell->control()))
            EXPECT_EQ(control->isOn(), setting.number != 0) << setting.key;
        else if (RefPtr<UISlider> slider = objectCast<UISlider>(cell->control()))
            EXPECT_DOUBLE_EQ(slider->value(), double(setting.number)) << setting.key;
        else if (RefPtr<UITextField> field = objectCast<UITextField>(cell->control()))
            EXPECT_EQ(field->text()->view(), setting.text) << setting.key;
        else
            EXPECT_EQ(HBPreferences::integerFromValue(cell->value().get()), setting.number) << setting.key;
    }
    EXPECT_FALSE(std::filesystem::exists(s_root / "var/mobile/Library/Preferences"));
}

TEST_F(TintwellSettings, EveryRowWritesAValueTheStoreReadsBackAsShown)
{
    openRoot();
    std::vector<std::string> links { "" };
    auto root = page();
    for (auto& specifier : specifiersOf(root.get()))
        if (specifier->stringProperty("TWLSub"))
            links.push_back(specifier->name()->utf8());

    std::map<std::string, long> expected;
    std::map<std::string, std::string> expectedText;
    for (auto& link : links) {
        if (!link.empty()) {
            ASSERT_TRUE(app()->openLinkLabelled(link));
        }
        for (auto& specifier : specifiersOf(page().get())) {
            auto key = specifier->stringProperty("key");
            if (!key || specifier->stringProperty("cellClass"))
                continue;
            auto cell = page()->cachedCellForSpecifier(specifier.get());
            auto control = cell->control();
            if (RefPtr<UISwitch> toggle = objectCast<UISwitch>(control)) {
                toggle->userSetOn(!toggle->isOn());
                expected[*key] = toggle->isOn();
            } else if (RefPtr<UISlider> slider = objectCast<UISlider>(control)) {
                // Every slider holds a whole number: a drag ending between two rests on the
                // nearer, shown and stored as an integer.
                double value = std::max(0.0, slider->value() - 1.3);
                slider->userSetValue(value);
                expected[*key] = std::lround(value);
                EXPECT_EQ(slider->value(), double(std::lround(value))) << *key;
                EXPECT_EQ(cell->valueText(), std::to_string(std::lround(value))) << *key;
                RefPtr<NSNumber> number = objectCast<NSNumber>(stored(*key));
                ASSERT_TRUE(number) << *key;
                EXPECT_EQ(number->kind(), NSNumber::Kind::Integer) << *key;
            } else if (RefPtr<UISegmentedControl> segments = objectCast<UISegmentedControl>(control)) {
                segments->userSelectSegment(0);
                expected[*key] = 0;
            } else if (RefPtr<UITextField> field = objectCast<UITextField>(control)) {
                field->userEnterText(NSString::string("Changed " + *key).get());
                expectedText[*key] = "Changed " + *key;
            } else {
                auto values = cell->validValues();
                ASSERT_TRUE(values && values->count() > 1) << *key;
                cell->chooseValue(values->objectAtIndex(values->count() - 1).get());
                expected[*key] = long(values->count() - 1);
                EXPECT_EQ(cell->valueText(), objectCast<NSString>(cell->validTitles()->objectAtIndex(values->count() - 1))->utf8()) << *key;
            }
        }
        if (!link.empty())
            app()->goBack();
    }
    EXPECT_EQ(expected.size() + expectedText.size(), expectedSettings.size());

    // The tweak's own binding reads the domain the rows wrote.
    auto preferences = HBPreferences::preferencesForIdentifier(NSString::string(domain).get());
    for (auto& setting : expectedSettings) {
        std::string key(setting.key);
        auto keyString = NSString::string(key);
        ASSERT_TRUE(stored(key)) << key << " was not written";
        if (setting.kind == ExpectedSetting::Kind::Object)
            EXPECT_EQ(objectCast<NSString>(preferences->objectForKey(keyString.get()))->utf8(), expectedText[key]) << key;
        else if (setting.kind == ExpectedSetting::Kind::Bool)
            EXPECT_EQ(preferences->boolForKey(keyString.get()), expected[key] != 0) << key;
        else
            EXPECT_EQ(preferences->integerForKey(keyString.get()), expected[key]) << key;
    }
    // System-wide notifications posted faster than they are delivered coalesce.
    EXPECT_TRUE(received(reloadNotification));
}

TEST_F(TintwellSettings, ColourRowsWriteTheColoursFileAndShowWhatIsPaintedUntilThen)
{
    openRoot();
    for (auto [link, key] : { std::pair { "Notifications", "NotifCustomHEX" }, { "Widgets", "WidgetCustomHEX" }, { "Media Controls", "MusicCustomHEX" } }) {
        ASSERT_TRUE(app()->openLinkLabelled(link));
        RefPtr<SparkColourPickerCell> cell = objectCast<SparkColourPickerCell>(row("Custom Colour"));
        ASSERT_TRUE(cell) << link;
        // Nothing picked: widgets and media are painted white, notification platters with
        // no colour at all, and each swatch shows just that.
        if (std::string_view(key) == "NotifCustomHEX") {
            EXPECT_FALSE(cell->displayedColour()) << link;
            EXPECT_FALSE(cell->swatch()->backgroundColor()) << link;
        } else {
            EXPECT_TRUE(cell->displayedColour()->isEqual(UIColor::whiteColor().get())) << link;
        }
        cell->pickColour(UIColor::colorWithRed(1.0, 0.0, 0.0, 1.0).get());
        RefPtr<NSString> text = objectCast<NSString>(stored(key, coloursDomain));
        ASSERT_TRUE(text) << key;
        EXPECT_EQ(text->utf8().substr(0, 7), "#FF0000") << key;
        EXPECT_FALSE(stored(key)) << key << " leaked into the settings domain";
        app()->goBack();
    }
    EXPECT_TRUE(received(reloadNotification, 3));
}
