#include "tests/support/Subprocess.h"

#include "device/SampleDevice.h"
#include "platform/foundation/DeviceRoot.h"
#include "platform/foundation/NSArray.h"
#include "platform/foundation/NSBundle.h"
#include "platform/foundation/NSDictionary.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/NSURL.h"
#include "platform/springboard/AppRecordClasses.h"
#include "platform/springboard/LSBundleProxy.h"
#include "platform/springboard/UIImage+ApplicationIcons.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>

namespace fs = std::filesystem;

namespace {

using Pixel = CGImage::Pixel;

// A 10 × 10 grid of pixel centres with how often each colour occurs.
struct Samples {
    std::map<std::array<uint8_t, 4>, int> counts;

    Pixel dominant() const
    {
        auto best = counts.begin();
        for (auto it = counts.begin(); it != counts.end(); ++it) {
            if (it->second > best->second)
                best = it;
        }
        return { best->first[0], best->first[1], best->first[2], best->first[3] };
    }

    template<typename Predicate>
    int countWhere(Predicate predicate) const
    {
        int total = 0;
        for (auto& [c, count] : counts) {
            if (predicate(Pixel { c[0], c[1], c[2], c[3] }))
                total += count;
        }
        return total;
    }
};

Samples sample(const UIImage& image)
{
    Samples samples;
    size_t side = image.cgImage()->width();
    for (size_t row = 0; row < 10; ++row) {
        for (size_t column = 0; column < 10; ++column) {
            auto p = image.pixelAt(column * side / 10 + side / 20, row * side / 10 + side / 20);
            ++samples.counts[{ p.red, p.green, p.blue, p.alpha }];
        }
    }
    return samples;
}

std::map<std::string, std::string> filesUnder(const fs::path& root)
{
    std::map<std::string, std::string> files;
    for (auto& entry : fs::recursive_directory_iterator(root)) {
        if (!entry.is_regular_file())
            continue;
        std::ifstream file(entry.path(), std::ios::binary);
        files[entry.path().lexically_relative(root).string()] = std::string(std::istreambuf_iterator<char>(file), {});
    }
    return files;
}

class SampleDeviceRoot : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_previousRoot = DeviceRoot::get();
        m_root = TINTWELL_SAMPLE_DEVICE_ROOT;
        DeviceRoot::set(m_root);
        registerAppRecordClasses();
    }

    void TearDown() override { DeviceRoot::set(m_previousRoot); }

    RefPtr<UIImage> iconFile(std::string_view identifier) { return applicationIconFile(identifier); }

    fs::path m_root;
    fs::path m_previousRoot;
};

TEST_F(SampleDeviceRoot, EveryAppHasARecordAndTheNamedOnesAreThere)
{
    ASSERT_GE(SampleDevice::apps().size(), 12u);
    int inContainers = 0;
    for (auto& app : SampleDevice::apps()) {
        auto record = LSBundleProxy::bundleProxyForIdentifier(app.identifier);
        ASSERT_TRUE(record) << app.identifier;
        EXPECT_EQ(record->bundleURL()->pathString(), app.folder);
        EXPECT_EQ(record->localizedName()->utf8(), app.name);
        inContainers += app.folder.starts_with("/var/containers/Bundle/Application/");
    }
    EXPECT_GT(inContainers, 0);
    for (auto [identifier, name] : { std::pair { "com.apple.MobileSMS", "Messages" }, { "com.apple.Music", "Music" },
             { "com.apple.AppStore", "App Store" }, { "com.apple.mobilecal", "Calendar" } }) {
        auto record = LSBundleProxy::bundleProxyForIdentifier(identifier);
        ASSERT_TRUE(record) << identifier;
        EXPECT_EQ(record->localizedName()->utf8(), name);
    }
}

TEST_F(SampleDeviceRoot, InfoPlistsAreBinaryAndListTheirIconsSmallestFirst)
{
    for (auto& app : SampleDevice::apps()) {
        std::ifstream info(*DeviceRoot::resolve(app.folder + "/Info.plist"), std::ios::binary);
        std::string magic(8, '\0');
        info.read(magic.data(), 8);
        EXPECT_EQ(magic, "bplist00") << app.identifier;

        auto icons = LSBundleProxy::bundleProxyForIdentifier(app.identifier)->iconsDictionary();
        ASSERT_TRUE(icons) << app.identifier;
        RefPtr<NSDictionary> primary = objectCast<NSDictionary>(icons->objectForStringKey("CFBundlePrimaryIcon"));
        ASSERT_TRUE(primary);
        RefPtr<NSArray> files = objectCast<NSArray>(primary->objectForStringKey("CFBundleIconFiles"));
        ASSERT_TRUE(files);
        EXPECT_EQ(objectCast<NSString>(files->lastObject())->utf8(), "AppIcon60x60");

        for (auto [file, pixels] : { std::pair { "AppIcon60x60@2x.png", 120u }, { "AppIcon60x60@3x.png", 180u }, { "AppIcon29x29@2x.png", 58u } }) {
            auto image = UIImage::imageWithContentsOfFile(app.folder + "/" + file);
            ASSERT_TRUE(image) << app.identifier << " " << file;
            EXPECT_EQ(image->cgImage()->width(), pixels);
            EXPECT_EQ(image->cgImage()->height(), pixels);
        }
    }
}

TEST_F(SampleDeviceRoot, IconsCoverTheColourCases)
{
    auto safari = sample(*iconFile("com.apple.mobilesafari"));
    auto light = safari.dominant();
    EXPECT_TRUE(light.red >= 230 && light.green >= 230 && light.blue >= 230 && light.alpha == 255);
    EXPECT_GT(safari.countWhere([](Pixel p) { return p.red <= 40 && p.green >= 90 && p.green <= 150 && p.blue >= 200; }), 0);

    auto dark = sample(*iconFile("com.apple.stocks")).dominant();
    EXPECT_TRUE(dark.red <= 30 && dark.green <= 30 && dark.blue <= 30 && dark.alpha == 255);

    auto lantern = iconFile("com.example.lantern");
    size_t last = lantern->cgImage()->width() - 1;
    for (auto [x, y] : { std::pair<size_t, size_t> { 0, 0 }, { last, 0 }, { 0, last }, { last, last } })
        EXPECT_EQ(lantern->pixelAt(x, y).alpha, 0);
    EXPECT_EQ(lantern->pixelAt(last / 2, last / 2).alpha, 255);

    // A vertical gradient: the edge column brightens steadily toward the top.
    auto messages = iconFile("com.apple.MobileSMS");
    int lastGreen = 256;
    for (size_t y = 0; y <= last; y += 10) {
        int green = messages->pixelAt(2, y).green;
        EXPECT_LE(green, lastGreen);
        lastGreen = green;
    }
    EXPECT_GT(messages->pixelAt(2, 0).green - messages->pixelAt(2, last).green, 40);

    auto tips = iconFile("com.apple.tips");
    auto tipsSamples = sample(*tips);
    Pixel upper = tips->pixelAt(2, 2);
    Pixel lower = tips->pixelAt(last - 2, last - 2);
    EXPECT_NE(upper, lower);
    EXPECT_GE(tipsSamples.countWhere([&](Pixel p) { return p == upper; }), 30);
    EXPECT_GE(tipsSamples.countWhere([&](Pixel p) { return p == lower; }), 30);

    // Apart from the app that drew its own shape, icon files are full squares, as shipped.
    for (auto& app : SampleDevice::apps()) {
        if (app.identifier != "com.example.lantern") {
            EXPECT_EQ(iconFile(app.identifier)->pixelAt(0, 0).alpha, 255) << app.identifier;
        }
    }
}

TEST_F(SampleDeviceRoot, GenericIconIsTheGreyOneOfTheMobileIconsFramework)
{
    auto framework = NSBundle::bundleWithIdentifier(mobileIconsBundleIdentifier);
    ASSERT_TRUE(framework);
    EXPECT_EQ(framework->path(), mobileIconsBundlePath);
    auto generic = genericApplicationIcon();
    ASSERT_TRUE(generic);
    EXPECT_EQ(generic->scale(), 2.0);
    EXPECT_EQ(generic->cgImage()->width(), 120u);
    Pixel corner = generic->pixelAt(4, 4);
    EXPECT_EQ(corner.red, corner.green);
    EXPECT_NEAR(corner.red, corner.blue, 6);

    auto unknown = applicationIconImage("com.example.not-installed", 1, 2.0);
    ASSERT_TRUE(unknown);
    // Same place of the design in both: 80 pixels of the masked icon against 120 of the file.
    Pixel drawn = unknown->pixelAt(40, 10);
    Pixel source = generic->pixelAt(60, 15);
    EXPECT_NEAR(drawn.red, source.red, 3);
    EXPECT_NEAR(drawn.blue, source.blue, 3);
    EXPECT_EQ(drawn.alpha, 255);
}

TEST(SampleDeviceGenerator, RerunsRewriteTheSameBytesAndTouchNothing)
{
    std::string pattern = (fs::temp_directory_path() / "tintwell-generated-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    fs::path root = pattern;

    ASSERT_EQ(subprocess::run(TINTWELL_MAKE_DEVICE_EXECUTABLE, { root.string() }).status, 0);
    auto first = filesUnder(root);
    auto stamp = fs::last_write_time(root / "Applications/MobileSMS.app/Info.plist");
    ASSERT_EQ(subprocess::run(TINTWELL_MAKE_DEVICE_EXECUTABLE, { root.string() }).status, 0);
    EXPECT_EQ(filesUnder(root), first);
    EXPECT_EQ(fs::last_write_time(root / "Applications/MobileSMS.app/Info.plist"), stamp);

    // The build ran the same generator: its device root holds the same bytes.
    const fs::path buildRoot = TINTWELL_SAMPLE_DEVICE_ROOT;
    for (auto& [path, bytes] : first) {
        std::ifstream built(buildRoot / path, std::ios::binary);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(built), {}), bytes) << path;
    }
    EXPECT_TRUE(fs::is_directory(root / "var/mobile/Library/Preferences"));
    EXPECT_TRUE(fs::is_empty(root / "var/mobile/Library/Preferences"));
    fs::remove_all(root);
}

TEST(SampleDeviceGenerator, FailsWhenTheRootCannotBeWritten)
{
    std::string pattern = (fs::temp_directory_path() / "tintwell-blocked-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    fs::path blocker = fs::path(pattern) / "file";
    std::ofstream(blocker) << "in the way";

    EXPECT_EQ(subprocess::run(TINTWELL_MAKE_DEVICE_EXECUTABLE, { (blocker / "root").string() }).status, 1);
    fs::remove_all(pattern);
}

TEST(SampleDeviceGenerator, BadUsageExitsWithStatusTwoOnOneLine)
{
    const std::vector<std::vector<std::string>> badUsages {
        {},
        { "/tmp/tintwell-never-written", "--no-such-option" },
        { "/tmp/tintwell-never-written", "--extensions", "/tmp/tintwell-no-such-folder" },
        { "/tmp/tintwell-never-written", "--without", "a/b" },
        { "/tmp/tintwell-never-written", "--without", "" },
    };
    for (auto& arguments : badUsages) {
        auto run = subprocess::run(TINTWELL_MAKE_DEVICE_EXECUTABLE, arguments, true);
        EXPECT_EQ(run.status, 2) << testing::PrintToString(arguments) << run.output;
        EXPECT_EQ(std::count(run.output.begin(), run.output.end(), '\n'), 1) << run.output;
        EXPECT_TRUE(run.output.starts_with("tintwell-make-device: ")) << run.output;
    }
    EXPECT_FALSE(fs::exists("/tmp/tintwell-never-written"));
    auto version = subprocess::run(TINTWELL_MAKE_DEVICE_EXECUTABLE, { "--version" }, true);
    EXPECT_EQ(version.status, 0);
    EXPECT_TRUE(version.output.starts_with("tintwell-make-device 1.")) << version.output;
}

TEST(SampleDeviceGenerator, RootlessDeviceKeepsExtensionsUnderVarJb)
{
    std::string pattern = (fs::temp_directory_path() / "tintwell-rootless-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    fs::path work = pattern;
    fs::create_directories(work / "built");
    std::ofstream(work / "built/Probe.dylib") << "library";
    std::ofstream(work / "built/Probe.plist") << "filter";
    std::ofstream(work / "built/Other.dylib") << "library";

    auto run = subprocess::run(TINTWELL_MAKE_DEVICE_EXECUTABLE,
        { (work / "root").string(), "--rootless", "--extensions", (work / "built").string(), "--without", "other" }, true);

    ASSERT_EQ(run.status, 0) << run.output;
    const fs::path rootless = work / "root/var/jb/Library/MobileSubstrate/DynamicLibraries";
    EXPECT_TRUE(fs::exists(rootless / "Probe.dylib"));
    EXPECT_TRUE(fs::exists(rootless / "Probe.plist"));
    EXPECT_FALSE(fs::exists(rootless / "Other.dylib"));
    EXPECT_FALSE(fs::exists(work / "root/Library/MobileSubstrate"));
    // The system's own files stay where every device has them.
    EXPECT_TRUE(fs::exists(work / "root/Applications/MobileSMS.app/Info.plist"));
    fs::remove_all(work);
}

} // namespace
