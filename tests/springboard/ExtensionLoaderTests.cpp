#include "platform/foundation/DeviceRoot.h"
#include "platform/springboard/ExtensionLoader.h"
#include "platform/springboard/SpringBoard.h"
#include "platform/springboard/SpringBoardHost.h"

#include <dlfcn.h>
#include <filesystem>
#include <fstream>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <map>
#include <plist/plist.h>

namespace fs = std::filesystem;
using testing::ElementsAre;
using testing::IsEmpty;
using Outcome = ExtensionLoader::Outcome;

namespace {

const fs::path testLibraries = fs::path(TINTWELL_TEST_DEVICE_ROOT) / "Library/MobileSubstrate/DynamicLibraries";

std::string stringArray(const std::string& key, std::initializer_list<const char*> entries)
{
    std::string xml = "<key>" + key + "</key><array>";
    for (const char* entry : entries)
        xml += std::string("<string>") + entry + "</string>";
    return xml + "</array>";
}

std::string propertyList(const std::string& rootBody)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">" + rootBody + "</plist>\n";
}

std::string filterPlist(const std::string& filterBody)
{
    return propertyList("<dict><key>Filter</key><dict>" + filterBody + "</dict></dict>");
}

const std::string springBoardOnly = filterPlist(stringArray("Bundles", { "com.apple.springboard" }));

class ExtensionLoaderTest : public testing::Test {
protected:
    void SetUp() override
    {
        SpringBoardHost::registerSystemClasses();
        char pattern[] = "/tmp/tintwell-loader-XXXXXX";
        ASSERT_TRUE(mkdtemp(pattern));
        m_root = pattern;
        m_folder = m_root / "Library/MobileSubstrate/DynamicLibraries";
        fs::create_directories(m_folder);
        DeviceRoot::set(m_root);
    }

    void TearDown() override { fs::remove_all(m_root); }

    // A copy of a built test extension, under its own name so it loads as a library of its own.
    fs::path install(const std::string& stem, const std::optional<std::string>& plist, const char* library = "Unfiltered.dylib")
    {
        fs::copy_file(testLibraries / library, m_folder / (stem + ".dylib"));
        if (plist)
            write(stem + ".plist", *plist);
        return m_folder / (stem + ".dylib");
    }

    void write(const std::string& name, const std::string& contents)
    {
        std::ofstream(m_folder / name, std::ios::binary) << contents;
    }

    static ExtensionLoader::Report load() { return ExtensionLoader("com.apple.springboard", "SpringBoard").loadExtensions(); }

    static std::map<std::string, Outcome> outcomes(const ExtensionLoader::Report& report)
    {
        std::map<std::string, Outcome> byName;
        for (auto& extension : report.extensions)
            byName[extension.name] = extension.outcome;
        return byName;
    }

    static bool isOpen(const fs::path& library)
    {
        void* handle = dlopen(library.c_str(), RTLD_NOW | RTLD_NOLOAD);
        if (handle)
            dlclose(handle);
        return handle;
    }

    fs::path m_root;
    fs::path m_folder;
};

TEST_F(ExtensionLoaderTest, BundlesFilterMatchesAnyEntryForTheHomeScreen)
{
    auto home = install("Home", springBoardOnly);
    auto settings = install("Settings", filterPlist(stringArray("Bundles", { "com.apple.Preferences" })));
    auto either = install("Either", filterPlist(stringArray("Bundles", { "com.apple.Preferences", "com.apple.springboard" })));

    auto report = load();

    EXPECT_EQ(outcomes(report), (std::map<std::string, Outcome> { { "Either.dylib", Outcome::Loaded }, { "Home.dylib", Outcome::Loaded }, { "Settings.dylib", Outcome::FilterMismatch } }));
    EXPECT_EQ(report.loadedCount(), 2u);
    EXPECT_TRUE(isOpen(home));
    EXPECT_TRUE(isOpen(either));
    EXPECT_FALSE(isOpen(settings));
}

TEST_F(ExtensionLoaderTest, ExecutablesAndClassesFiltersMatchTheHostAndItsClasses)
{
    auto executable = install("Executable", filterPlist(stringArray("Executables", { "SpringBoard" })));
    auto otherExecutable = install("OtherExecutable", filterPlist(stringArray("Executables", { "Preferences" })));
    auto knownClass = install("KnownClass", filterPlist(stringArray("Classes", { "NoSuchClassTW", "SpringBoard" })));
    auto missingClass = install("MissingClass", filterPlist(stringArray("Classes", { "NoSuchClassTW" })));

    auto report = load();

    EXPECT_EQ(outcomes(report), (std::map<std::string, Outcome> { { "Executable.dylib", Outcome::Loaded }, { "KnownClass.dylib", Outcome::Loaded }, { "MissingClass.dylib", Outcome::FilterMismatch }, { "OtherExecutable.dylib", Outcome::FilterMismatch } }));
    EXPECT_TRUE(isOpen(executable));
    EXPECT_TRUE(isOpen(knownClass));
    EXPECT_FALSE(isOpen(otherExecutable));
    EXPECT_FALSE(isOpen(missingClass));
}

TEST_F(ExtensionLoaderTest, EveryListPresentMustMatch)
{
    install("AllMatch", filterPlist(stringArray("Bundles", { "com.apple.springboard" }) + stringArray("Executables", { "SpringBoard" }) + stringArray("Classes", { "SpringBoard" })));
    auto classMissing = install("ClassMissing", filterPlist(stringArray("Bundles", { "com.apple.springboard" }) + stringArray("Classes", { "NoSuchClassTW" })));
    auto executableWrong = install("ExecutableWrong", filterPlist(stringArray("Executables", { "Preferences" }) + stringArray("Bundles", { "com.apple.springboard" })));
    auto emptyList = install("EmptyList", filterPlist(stringArray("Bundles", { "com.apple.springboard" }) + stringArray("Classes", {})));

    auto report = load();

    EXPECT_EQ(outcomes(report), (std::map<std::string, Outcome> { { "AllMatch.dylib", Outcome::Loaded }, { "ClassMissing.dylib", Outcome::FilterMismatch }, { "EmptyList.dylib", Outcome::FilterMismatch }, { "ExecutableWrong.dylib", Outcome::FilterMismatch } }));
    EXPECT_FALSE(isOpen(classMissing));
    EXPECT_FALSE(isOpen(executableWrong));
    EXPECT_FALSE(isOpen(emptyList));
}

TEST_F(ExtensionLoaderTest, BinaryFilterReadsLikeXml)
{
    plist_t root = nullptr;
    plist_from_xml(springBoardOnly.data(), uint32_t(springBoardOnly.size()), &root);
    ASSERT_TRUE(root);
    char* binary = nullptr;
    uint32_t length = 0;
    plist_to_bin(root, &binary, &length);
    auto library = install("Binary", std::string(binary, length));
    plist_to_bin_free(binary);
    plist_free(root);
    ASSERT_EQ(std::string(std::istreambuf_iterator<char>(std::ifstream(m_folder / "Binary.plist").rdbuf()), {}).substr(0, 6), "bplist");

    EXPECT_EQ(outcomes(load()), (std::map<std::string, Outcome> { { "Binary.dylib", Outcome::Loaded } }));
    EXPECT_TRUE(isOpen(library));
}

TEST_F(ExtensionLoaderTest, LibrariesWithoutAUsableFilterAreSkippedQuietly)
{
    std::vector<fs::path> libraries {
        install("NoPlist", std::nullopt),
        install("NoFilterKey", propertyList("<dict><key>Other</key><string>x</string></dict>")),
        install("EmptyFilter", filterPlist("")),
        install("UnknownKeysOnly", filterPlist("<key>Mode</key><string>Any</string>")),
        install("Garbage", std::string("\x00\x01garbage<plist><dict>", 21)),
        install("RootArray", propertyList("<array><string>com.apple.springboard</string></array>")),
        install("FilterArray", propertyList("<dict><key>Filter</key><array><string>com.apple.springboard</string></array></dict>")),
        install("BundlesString", filterPlist("<key>Bundles</key><string>com.apple.springboard</string>")),
        install("NumberEntry", filterPlist("<key>Bundles</key><array><integer>1</integer><string>com.apple.springboard</string></array>")),
    };

    auto report = load();

    EXPECT_EQ(outcomes(report), (std::map<std::string, Outcome> {
                                    { "BundlesString.dylib", Outcome::BadFilter },
                                    { "EmptyFilter.dylib", Outcome::NoFilter },
                                    { "FilterArray.dylib", Outcome::BadFilter },
                                    { "Garbage.dylib", Outcome::BadFilter },
                                    { "NoFilterKey.dylib", Outcome::NoFilter },
                                    { "NoPlist.dylib", Outcome::NoFilter },
                                    { "NumberEntry.dylib", Outcome::BadFilter },
                                    { "RootArray.dylib", Outcome::BadFilter },
                                    { "UnknownKeysOnly.dylib", Outcome::NoFilter },
                                }));
    EXPECT_EQ(report.loadedCount(), 0u);
    for (auto& library : libraries)
        EXPECT_FALSE(isOpen(library)) << library;
}

TEST_F(ExtensionLoaderTest, LoadsInNameOrderAndOnlyDylibFiles)
{
    install("b", springBoardOnly);
    install("a", springBoardOnly);
    install("C", springBoardOnly);
    write("Notes.txt", "not a library");
    write("Lonely.plist", springBoardOnly);
    fs::create_directory(m_folder / "Folder.dylib");
    write("Folder.plist", springBoardOnly);

    testing::internal::CaptureStdout();
    auto report = load();
    std::string opened = testing::internal::GetCapturedStdout();

    std::vector<std::string> names;
    for (auto& extension : report.extensions)
        names.push_back(extension.name);
    EXPECT_THAT(names, ElementsAre("C.dylib", "a.dylib", "b.dylib"));
    EXPECT_EQ(opened, "C.dylib: opened\na.dylib: opened\nb.dylib: opened\n");
}

TEST_F(ExtensionLoaderTest, LibraryThatFailsToLoadIsReportedAndTheRestStillLoad)
{
    write("Broken.dylib", "this is not a shared object");
    write("Broken.plist", springBoardOnly);
    auto working = install("Working", springBoardOnly);

    auto report = load();

    ASSERT_EQ(report.extensions.size(), 2u);
    EXPECT_EQ(report.extensions[0].outcome, Outcome::LoadFailed);
    EXPECT_THAT(report.extensions[0].error, testing::HasSubstr("Broken.dylib"));
    EXPECT_EQ(report.extensions[1].outcome, Outcome::Loaded);
    EXPECT_TRUE(isOpen(working));
    EXPECT_THAT(report.lines(), ElementsAre(testing::StartsWith("Broken.dylib: failed to load: "), "Working.dylib: loaded"));
}

TEST_F(ExtensionLoaderTest, MissingFolderGivesAnEmptyReport)
{
    fs::remove_all(m_folder);
    EXPECT_THAT(load().extensions, IsEmpty());
}

TEST_F(ExtensionLoaderTest, ReportNamesWhatTheExtensionChangedAndTheReplacementRuns)
{
    if (objc_getClass("HKPProbe"))
        GTEST_SKIP() << "the probe is already loaded in this process";
    install("HookProbe", springBoardOnly, "HookProbe.dylib");

    auto report = load();

    ASSERT_EQ(report.extensions.size(), 1u);
    EXPECT_THAT(report.extensions[0].changes, ElementsAre(
        "added class HKPProbe",
        "replaced +[NSNotificationCenter defaultCenter]",
        "added +[SpringBoard HKPprobeVersion]",
        "replaced -[SpringBoard applicationDidFinishLaunching:]",
        // Hooked where SpringBoard only inherits it: still a replacement.
        "replaced -[SpringBoard dealloc]",
        "added -[SpringBoard HKPinterceptedLaunchCount]"));

    auto application = make<SpringBoard>();
    long before = msgSend<long>(application.get(), SELECTOR("HKPinterceptedLaunchCount"));
    application->applicationDidFinishLaunching(application.get());
    EXPECT_EQ(msgSend<long>(application.get(), SELECTOR("HKPinterceptedLaunchCount")), before + 1);
    EXPECT_TRUE(application->isLaunched()) << "the replacement must reach the original";
    EXPECT_EQ(msgSendClass<long>(SpringBoard::classObject(), SELECTOR("HKPprobeVersion")), 1);
}

} // namespace
