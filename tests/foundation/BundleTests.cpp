#include "tests/support/TemporaryDevice.h"

#include "platform/foundation/DynamicLoader.h"
#include "platform/foundation/NSArray.h"
#include "platform/foundation/NSBundle.h"
#include "platform/foundation/NSDictionary.h"
#include "platform/foundation/NSFileManager.h"
#include "platform/foundation/NSMutableDictionary.h"
#include "platform/foundation/NSProcessInfo.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/NSURL.h"
#include "platform/foundation/PropertyList.h"

#include <regex>
#include <set>

namespace {

class Bundles : public TemporaryDevice {
protected:
    void makeBundle(const std::string& devicePath, std::string_view identifier, PropertyList::Format format = PropertyList::Format::XML,
        std::vector<std::pair<std::string, std::string>> extra = {})
    {
        auto info = NSMutableDictionary::dictionary();
        info->setObjectForStringKey(NSString::string(identifier).get(), "CFBundleIdentifier");
        for (auto& [key, value] : extra)
            info->setObjectForStringKey(NSString::string(value).get(), key);
        std::filesystem::create_directories(host(devicePath));
        ASSERT_TRUE(PropertyList::writeFile(info.get(), devicePath + "/Info.plist", format, true));
    }
};

TEST_F(Bundles, FoundByIdentifierInEverySystemLocation)
{
    makeBundle("/System/Library/PrivateFrameworks/MobileIcons.framework", "com.apple.mobileicons.framework", PropertyList::Format::Binary);
    makeBundle("/Applications/MobileMail.app", "com.apple.mobilemail");
    makeBundle("/var/containers/Bundle/Application/0C5D1E2A-1111/Slack.app", "com.tinyspeck.chatlyio");
    makeBundle("/Library/PreferenceBundles/TintwellPrefs.bundle", "com.quillfen.tintwellprefs");
    makeBundle("/var/mobile/Documents/Stray.app", "com.example.stray");

    auto icons = NSBundle::bundleWithIdentifier("com.apple.mobileicons.framework");
    ASSERT_TRUE(icons);
    EXPECT_EQ(icons->path(), "/System/Library/PrivateFrameworks/MobileIcons.framework");
    EXPECT_EQ(NSBundle::bundleWithIdentifier("com.tinyspeck.chatlyio")->path(), "/var/containers/Bundle/Application/0C5D1E2A-1111/Slack.app");
    EXPECT_EQ(NSBundle::bundleWithIdentifier("com.quillfen.tintwellprefs")->path(), "/Library/PreferenceBundles/TintwellPrefs.bundle");
    EXPECT_EQ(NSBundle::bundleWithIdentifier("com.example.stray"), nullptr);
    EXPECT_EQ(NSBundle::bundleWithIdentifier("com.apple.MobileMail"), nullptr);

    // A bundle already opened elsewhere is found too, and is the same object.
    auto stray = NSBundle::bundleWithPath("/var/mobile/Documents/Stray.app");
    EXPECT_EQ(NSBundle::bundleWithIdentifier("com.example.stray"), stray);
    auto mail = NSBundle::bundleWithURL(NSURL::fileURLWithPath("/Applications/MobileMail.app/").get());
    EXPECT_EQ(NSBundle::bundleWithIdentifier("com.apple.mobilemail"), mail);
    EXPECT_EQ(msgSend<RefPtr<NSString>>(mail, SELECTOR("bundleIdentifier"))->utf8(), "com.apple.mobilemail");
    EXPECT_EQ(msgSend<RefPtr<NSURL>>(mail, SELECTOR("bundleURL"))->pathString(), "/Applications/MobileMail.app");
}

TEST_F(Bundles, WronglyShapedInfoGivesAnEmptyDictionary)
{
    writeDeviceFile("/Applications/Array.app/Info.plist", R"(<plist version="1.0"><array><string>x</string></array></plist>)");
    writeDeviceFile("/Applications/Garbage.app/Info.plist", "\xff\xfe garbage");
    std::filesystem::create_directories(host("/Applications/Missing.app"));
    for (auto path : { "/Applications/Array.app", "/Applications/Garbage.app", "/Applications/Missing.app" }) {
        auto bundle = NSBundle::bundleWithPath(path);
        ASSERT_TRUE(bundle) << path;
        ASSERT_TRUE(bundle->infoDictionary()) << path;
        EXPECT_EQ(bundle->infoDictionary()->count(), 0u);
        EXPECT_EQ(bundle->bundleIdentifier(), nullptr);
        EXPECT_EQ(bundle->executablePath(), nullptr);
        EXPECT_FALSE(bundle->load());
        EXPECT_EQ(bundle->principalClass(), nullptr);
    }
    // A string where a string is expected, but a number as identifier: not an identifier.
    writeDeviceFile("/Applications/Number.app/Info.plist", R"(<plist version="1.0"><dict><key>CFBundleIdentifier</key><integer>5</integer></dict></plist>)");
    EXPECT_EQ(NSBundle::bundleWithPath("/Applications/Number.app")->bundleIdentifier(), nullptr);
    EXPECT_EQ(NSBundle::bundleWithIdentifier("5"), nullptr);
    EXPECT_EQ(NSBundle::bundleWithPath("/Applications/Nothing.app"), nullptr);
}

TEST_F(Bundles, ResourcesNeverLeaveTheBundle)
{
    makeBundle("/Applications/Mail.app", "com.apple.mobilemail");
    writeDeviceFile("/Applications/Mail.app/AppIcon60x60@2x.png", "png");
    writeDeviceFile("/Applications/Mail.app/Root.plist", "plist");
    writeDeviceFile("/Applications/Secret.txt", "secret");
    writeDeviceFile("/etc/passwd", "root");
    auto bundle = NSBundle::bundleWithPath("/Applications/Mail.app");

    EXPECT_EQ(bundle->pathForResource("AppIcon60x60@2x", "png")->utf8(), "/Applications/Mail.app/AppIcon60x60@2x.png");
    EXPECT_EQ(msgSend<RefPtr<NSString>>(bundle, SELECTOR("pathForResource:ofType:"), NSString::string("Root"), NSString::string("plist"))->utf8(),
        "/Applications/Mail.app/Root.plist");
    EXPECT_EQ(bundle->pathForResource("Missing", "png"), nullptr);
    EXPECT_EQ(bundle->pathForResource("../Secret", "txt"), nullptr);
    EXPECT_EQ(bundle->pathForResource("../../../../etc/passwd", ""), nullptr);
    EXPECT_EQ(bundle->pathForResource("", "png"), nullptr);
}

TEST_F(Bundles, LoadOpensTheExecutableAndAnswersThePrincipalClass)
{
    makeBundle("/Library/PreferenceBundles/Test.bundle", "com.example.test", PropertyList::Format::XML,
        { { "CFBundleExecutable", "Test" }, { "NSPrincipalClass", "FoundationTestPrincipal" } });
    std::filesystem::copy_file(FOUNDATION_TEST_BUNDLE_EXECUTABLE, host("/Library/PreferenceBundles/Test.bundle/Test"));

    auto bundle = NSBundle::bundleWithIdentifier("com.example.test");
    ASSERT_TRUE(bundle);
    EXPECT_EQ(bundle->executablePath()->utf8(), "/Library/PreferenceBundles/Test.bundle/Test");
    EXPECT_FALSE(bundle->isLoaded());
    Class principal = msgSend<Class>(bundle, SELECTOR("principalClass"));
    ASSERT_NE(principal, nullptr);
    EXPECT_EQ(principal, objc_getClass("FoundationTestPrincipal"));
    EXPECT_TRUE(bundle->isLoaded());
    auto instance = class_createInstance(principal);
    EXPECT_TRUE(instance && instance->isKindOfClass(principal));
}

TEST_F(Bundles, DynamicLoaderResolvesDevicePaths)
{
    writeDeviceFile("/Library/MobileSubstrate/DynamicLibraries/placeholder", "");
    std::filesystem::copy_file(FOUNDATION_TEST_BUNDLE_EXECUTABLE, host("/Library/MobileSubstrate/DynamicLibraries/Test.dylib"));
    void* handle = dlopenDevice("/Library/MobileSubstrate/DynamicLibraries/Test.dylib", RTLD_NOW);
    ASSERT_NE(handle, nullptr);
    dlclose(handle);
    EXPECT_EQ(dlopenDevice("/Library/MobileSubstrate/DynamicLibraries/Absent.dylib", RTLD_NOW), nullptr);
    EXPECT_EQ(dlopenDevice("/Library/MobileSubstrate/DynamicLibraries/placeholder", RTLD_NOW), nullptr);
    void* self = dlopenDevice(nullptr, RTLD_NOW);
    EXPECT_NE(self, nullptr);
    dlclose(self);
}

class FileManager : public TemporaryDevice { };

TEST_F(FileManager, WorksOnDevicePaths)
{
    auto manager = NSFileManager::defaultManager();
    EXPECT_EQ(manager, NSFileManager::defaultManager());
    EXPECT_TRUE(manager->createDirectoryAtPath("/var/mobile/Library/Preferences", true));
    EXPECT_FALSE(manager->createDirectoryAtPath("/a/b", false));
    EXPECT_TRUE(std::filesystem::is_directory(m_root / "var/mobile/Library/Preferences"));

    writeDeviceFile("/Library/MobileSubstrate/DynamicLibraries/Axon.dylib", "x");
    writeDeviceFile("/Library/MobileSubstrate/DynamicLibraries/Axon.plist", "x");
    writeDeviceFile("/Library/MobileSubstrate/DynamicLibraries/Grupi.dylib", "x");
    bool isDirectory = true;
    EXPECT_TRUE(msgSend<bool>(manager, SELECTOR("fileExistsAtPath:"), NSString::string("/Library/MobileSubstrate/DynamicLibraries/Axon.dylib")));
    EXPECT_TRUE(manager->fileExistsAtPath("/Library/MobileSubstrate/DynamicLibraries/Axon.dylib", &isDirectory));
    EXPECT_FALSE(isDirectory);
    EXPECT_TRUE(manager->fileExistsAtPath("/Library/MobileSubstrate", &isDirectory));
    EXPECT_TRUE(isDirectory);
    EXPECT_FALSE(manager->fileExistsAtPath("/Library/MobileSubstrate/DynamicLibraries/Dayn.dylib"));
    EXPECT_FALSE(msgSend<bool>(manager, SELECTOR("fileExistsAtPath:"), nullptr));

    auto names = manager->contentsOfDirectoryAtPath("/Library/MobileSubstrate/DynamicLibraries");
    ASSERT_TRUE(names);
    std::vector<std::string> texts;
    for (auto& name : *names)
        texts.push_back(objectCast<NSString>(name)->utf8());
    EXPECT_EQ(texts, (std::vector<std::string> { "Axon.dylib", "Axon.plist", "Grupi.dylib" }));
    EXPECT_EQ(manager->contentsOfDirectoryAtPath("/nowhere"), nullptr);

    EXPECT_TRUE(manager->removeItemAtPath("/Library/MobileSubstrate"));
    EXPECT_FALSE(manager->fileExistsAtPath("/Library/MobileSubstrate/DynamicLibraries/Axon.dylib"));
    EXPECT_FALSE(manager->removeItemAtPath("/Library/MobileSubstrate"));
    EXPECT_FALSE(manager->removeItemAtPath("/../.."));
    EXPECT_TRUE(std::filesystem::exists(m_root));
}

TEST_F(FileManager, HostilePathsCannotReachOutsideTheRoot)
{
    auto outside = m_root.parent_path() / (m_root.filename().string() + "-outside");
    std::filesystem::create_directories(outside);
    std::ofstream(outside / "victim") << "keep";
    auto hostile = "/../" + m_root.filename().string() + "-outside/victim";
    EXPECT_FALSE(NSFileManager::defaultManager()->fileExistsAtPath(hostile));
    EXPECT_FALSE(NSFileManager::defaultManager()->removeItemAtPath(hostile));
    EXPECT_TRUE(std::filesystem::exists(outside / "victim"));
    std::filesystem::remove_all(outside);
}

TEST(ProcessInfo, GloballyUniqueStringsAreFreshAndUUIDShaped)
{
    std::regex shape("[0-9A-F]{8}-[0-9A-F]{4}-4[0-9A-F]{3}-[89AB][0-9A-F]{3}-[0-9A-F]{12}");
    std::set<std::string> seen;
    for (int i = 0; i < 200; ++i) {
        auto text = msgSend<RefPtr<NSString>>(NSProcessInfo::processInfo(), SELECTOR("globallyUniqueString"));
        ASSERT_TRUE(std::regex_match(text->utf8(), shape)) << text->utf8();
        seen.insert(text->utf8());
    }
    EXPECT_EQ(seen.size(), 200u);
}

} // namespace
