#include "platform/foundation/DeviceRoot.h"
#include "platform/foundation/NSMutableArray.h"
#include "platform/foundation/NSRunLoop.h"
#include "platform/foundation/PropertyList.h"
#include "platform/settings/NSTask.h"
#include "platform/settings/PreferencesAppController.h"
#include "platform/settings/SettingsClasses.h"
#include "platform/settings/SpecifierPlistReader.h"
#include "platform/uikit/UINavigationController.h"
#include "platform/uikit/UIWindow.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

// The pieces of the list machinery that need no bundle.
namespace {

std::vector<std::string> s_appearanceLog;

template<const char* Event>
void logAppearance(id self, SEL, bool)
{
    s_appearanceLog.push_back(std::string(msgSend<RefPtr<NSString>>(self, SELECTOR("title"))->utf8()) + " " + Event);
}

constexpr char willAppear[] = "willAppear";
constexpr char didAppear[] = "didAppear";
constexpr char willDisappear[] = "willDisappear";
constexpr char didDisappear[] = "didDisappear";

Class recordingControllerClass()
{
    static Class cls = [] {
        Class cls = objc_allocateClassPair(UIViewController::classObject(), "SettingsTestRecordingController");
        class_addMethod(cls, sel_registerName("viewWillAppear:"), &logAppearance<willAppear>);
        class_addMethod(cls, sel_registerName("viewDidAppear:"), &logAppearance<didAppear>);
        class_addMethod(cls, sel_registerName("viewWillDisappear:"), &logAppearance<willDisappear>);
        class_addMethod(cls, sel_registerName("viewDidDisappear:"), &logAppearance<didDisappear>);
        objc_registerClassPair(cls);
        return cls;
    }();
    return cls;
}

RefPtr<UIViewController> recordingController(std::string_view title)
{
    auto controller = UIViewController::createWithClass(recordingControllerClass());
    controller->setTitle(NSString::string(title).get());
    return controller;
}

Id plist(std::string_view xml) { return PropertyList::fromBytes(xml); }

} // namespace

TEST(SettingsMachinery, PushAndPopSendAppearanceInThePhonesOrderThroughNestedNavigation)
{
    registerSettingsClasses();
    auto list = recordingController("List");
    auto outer = UINavigationController::createWithRoot(list.get());
    auto window = UIWindow::create(CGRectMake(0, 0, 375, 667));
    window->setRootViewController(outer.get());
    auto root = recordingController("Root");
    auto inner = UINavigationController::createWithRoot(root.get());
    inner->setNavigationBarHidden(true);

    s_appearanceLog.clear();
    outer->pushViewController(inner.get(), true);
    EXPECT_EQ(s_appearanceLog, (std::vector<std::string> { "List willDisappear", "Root willAppear", "List didDisappear", "Root didAppear" }));
    EXPECT_EQ(outer->navigationBar()->topItem().get(), root->navigationItem().get());

    s_appearanceLog.clear();
    auto sub = recordingController("Sub");
    inner->pushViewController(sub.get(), true);
    EXPECT_EQ(s_appearanceLog, (std::vector<std::string> { "Root willDisappear", "Sub willAppear", "Root didDisappear", "Sub didAppear" }));
    EXPECT_EQ(sub->navigationController().get(), inner.get());
    EXPECT_EQ(sub->navigationController()->navigationController().get(), outer.get());
    EXPECT_TRUE(outer->navigationBar()->showsBackButton());

    s_appearanceLog.clear();
    EXPECT_EQ(inner->popViewController(true).get(), sub.get());
    EXPECT_EQ(s_appearanceLog, (std::vector<std::string> { "Sub willDisappear", "Root willAppear", "Sub didDisappear", "Root didAppear" }));
    EXPECT_FALSE(sub->parentViewController());
    // The root of a stack stays.
    EXPECT_FALSE(inner->popViewController(true));
}

TEST(SettingsMachinery, SpecifierListKeepsEveryKeyAndTurnsNamesIntoClassesAndSelectors)
{
    registerSettingsClasses();
    auto result = SpecifierPlistReader::read(plist(R"(<?xml version="1.0"?><plist version="1.0"><dict><key>items</key><array>
        <dict><key>cell</key><string>PSLinkCell</string><key>label</key><string>Sub</string>
              <key>detail</key><string>PSListController</string><key>TWLSub</key><string>Widgets</string></dict>
        <dict><key>cell</key><string>PSButtonCell</string><key>label</key><string>Go</string><key>action</key><string>go:</string></dict>
        <dict><key>cell</key><string>PSSwitchCell</string><key>label</key><string>On</string><key>id</key><string>on-switch</string></dict>
        <dict><key>cell</key><string>PSSwitchCell</string><key>label</key><array/></dict>
    </array></dict></plist>)").get(), nullptr, "List");
    ASSERT_EQ(result.specifiers->count(), 3u);
    ASSERT_EQ(result.problems.size(), 1u);
    EXPECT_EQ(result.problems[0], "List.plist: item 3 has a \"label\" that is not a string, skipped");
    auto link = objectCast<PSSpecifier>(result.specifiers->objectAtIndex(0));
    EXPECT_EQ(link->detailControllerClass(), objc_getClass("PSListController"));
    EXPECT_EQ(link->stringProperty("TWLSub"), "Widgets");
    EXPECT_EQ(msgSend<Class>(link, SELECTOR("detailControllerClass")), objc_getClass("PSListController"));
    auto button = objectCast<PSSpecifier>(result.specifiers->objectAtIndex(1));
    EXPECT_EQ(button->buttonAction(), sel_registerName("go:"));
    EXPECT_FALSE(button->getter());
    auto toggle = objectCast<PSSpecifier>(result.specifiers->objectAtIndex(2));
    EXPECT_EQ(toggle->identifier()->utf8(), "on-switch");
    EXPECT_EQ(toggle->getter(), sel_registerName("readPreferenceValue:"));
    EXPECT_EQ(toggle->setter(), sel_registerName("setPreferenceValue:specifier:"));

    EXPECT_EQ(SpecifierPlistReader::read(plist("<plist version=\"1.0\"><array/></plist>").get(), nullptr, "Bad").problems.size(), 1u);
    EXPECT_EQ(SpecifierPlistReader::read(nullptr, nullptr, "Missing").specifiers->count(), 0u);
}

TEST(SettingsMachinery, TaskStartsDeviceExecutablesAndReportsMissingOnes)
{
    registerSettingsClasses();
    auto previous = DeviceRoot::get();
    std::string pattern = (std::filesystem::temp_directory_path() / "tintwell-task-XXXXXX").string();
    ASSERT_TRUE(::mkdtemp(pattern.data()));
    DeviceRoot::set(pattern);
    std::filesystem::create_directories(std::filesystem::path(pattern) / "usr/bin");
    auto script = std::filesystem::path(pattern) / "usr/bin/touch-marker";
    std::ofstream(script) << "#!/bin/sh\necho \"$1\" > \"$(dirname \"$0\")/marker\"\nexit 3\n";
    std::filesystem::permissions(script, std::filesystem::perms::owner_all);
    PreferencesAppController::takeProblems();

    auto task = NSTask::create();
    task->setLaunchPath(NSString::string("/usr/bin/touch-marker").get());
    task->setArguments(NSArray::arrayWithObjects({ NSString::string("hello") }).get());
    task->launch();
    task->waitUntilExit();
    EXPECT_FALSE(task->isRunning());
    EXPECT_EQ(task->terminationStatus(), 3);
    std::string marker;
    std::getline(std::ifstream(std::filesystem::path(pattern) / "usr/bin/marker"), marker);
    EXPECT_EQ(marker, "hello");

    auto missing = NSTask::create();
    missing->setLaunchPath(NSString::string("/usr/bin/absent").get());
    missing->launch();
    EXPECT_FALSE(missing->isRunning());
    auto problems = PreferencesAppController::takeProblems();
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0], "NSTask: launch path not accessible: /usr/bin/absent");

    // No home screen runs on this root: the restart tool says so and starts nothing.
    auto restart = NSTask::create();
    restart->setLaunchPath(NSString::string(NSTask::sbreloadPath).get());
    restart->launch();
    EXPECT_EQ(restart->terminationStatus(), 1);
    EXPECT_EQ(PreferencesAppController::takeProblems().size(), 1u);

    DeviceRoot::set(previous);
    std::filesystem::remove_all(pattern);
}
