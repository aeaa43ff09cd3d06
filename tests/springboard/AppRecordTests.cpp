#include "tests/support/TemporaryDevice.h"

#include "platform/foundation/NSArray.h"
#include "platform/foundation/NSBundle.h"
#include "platform/foundation/NSDictionary.h"
#include "platform/foundation/NSMutableDictionary.h"
#include "platform/foundation/NSNumber.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/NSURL.h"
#include "platform/foundation/PropertyList.h"
#include "platform/graphics/PNGCodec.h"
#include "platform/springboard/AppIndex.h"
#include "platform/springboard/AppRecordClasses.h"
#include "platform/springboard/ApplicationIconCache.h"
#include "platform/springboard/LSBundleProxy.h"
#include "platform/springboard/UIImage+ApplicationIcons.h"
#include "platform/springboard/UIImage+NSBundle.h"

#include <chrono>
#include <fstream>
#include <sys/stat.h>
#include <thread>

namespace {

using Pixel = CGImage::Pixel;

const Pixel red { 255, 0, 0, 255 };
const Pixel green { 0, 255, 0, 255 };
const Pixel blue { 0, 0, 255, 255 };
const Pixel grey { 128, 128, 128, 255 };

std::vector<uint8_t> uniformPNG(size_t width, size_t height, Pixel pixel)
{
    auto bitmap = CGImage::create(width, height);
    for (size_t y = 0; y < height; ++y) {
        for (size_t x = 0; x < width; ++x)
            bitmap->setPixelAt(x, y, pixel);
    }
    return *PNGCodec::encode(*bitmap);
}

Id text(std::string_view value) { return NSString::string(value); }

RefPtr<NSDictionary> iconsWithFiles(std::vector<Id> files)
{
    auto primary = NSDictionary::dictionaryWithPairs({ { text("CFBundleIconFiles"), NSArray::arrayWithObjects(std::move(files)) } });
    return NSDictionary::dictionaryWithPairs({ { text("CFBundlePrimaryIcon"), primary } });
}

class AppRecords : public TemporaryDevice {
protected:
    void SetUp() override
    {
        TemporaryDevice::SetUp();
        registerAppRecordClasses();
    }

    void writeInfo(const std::string& appPath, const Object* info, PropertyList::Format format = PropertyList::Format::Binary)
    {
        std::filesystem::create_directories(host(appPath));
        ASSERT_TRUE(PropertyList::writeFile(info, appPath + "/Info.plist", format, false));
    }

    void writeApp(const std::string& appPath, std::string_view identifier, Id icons, PropertyList::Format format = PropertyList::Format::Binary)
    {
        auto info = NSMutableDictionary::dictionary();
        info->setObjectForStringKey(text(identifier).get(), "CFBundleIdentifier");
        info->setObjectForStringKey(text("Sample").get(), "CFBundleName");
        if (icons)
            info->setObjectForStringKey(icons.get(), "CFBundleIcons");
        writeInfo(appPath, info.get(), format);
    }

    void writePNG(const std::string& devicePath, size_t side, Pixel pixel)
    {
        auto png = uniformPNG(side, side, pixel);
        writeDeviceFile(devicePath, std::string_view(reinterpret_cast<const char*>(png.data()), png.size()));
    }

    void writeGenericIcon(Pixel pixel = grey)
    {
        auto info = NSDictionary::dictionaryWithPairs({ { text("CFBundleIdentifier"), text(mobileIconsBundleIdentifier) } });
        writeInfo(std::string(mobileIconsBundlePath), info.get());
        writePNG(std::string(mobileIconsBundlePath) + "/DefaultIcon-60@2x.png", 120, pixel);
    }

    static Pixel centre(const RefPtr<UIImage>& image)
    {
        return image->pixelAt(image->cgImage()->width() / 2, image->cgImage()->height() / 2);
    }
};

TEST_F(AppRecords, FoundInBothAppFoldersWhateverThePlistFormat)
{
    writeApp("/Applications/MobileSMS.app", "com.apple.MobileSMS", nullptr, PropertyList::Format::Binary);
    writeApp("/var/containers/Bundle/Application/5A1F-22/Lantern.app", "com.example.lantern", nullptr, PropertyList::Format::XML);
    auto info = NSDictionary::dictionaryWithPairs({ { text("CFBundleIdentifier"), text("com.apple.Music") },
        { text("CFBundleName"), text("Music") }, { text("CFBundleDisplayName"), text("Apple Music") } });
    writeInfo("/Applications/Music.app", info.get());

    auto messages = LSBundleProxy::bundleProxyForIdentifier("com.apple.MobileSMS");
    ASSERT_TRUE(messages);
    EXPECT_EQ(messages->bundleURL()->pathString(), "/Applications/MobileSMS.app");
    EXPECT_EQ(messages->bundleIdentifier()->utf8(), "com.apple.MobileSMS");
    EXPECT_EQ(messages->localizedName()->utf8(), "Sample");

    auto lantern = LSBundleProxy::bundleProxyForIdentifier("com.example.lantern");
    ASSERT_TRUE(lantern);
    EXPECT_EQ(lantern->bundleURL()->pathString(), "/var/containers/Bundle/Application/5A1F-22/Lantern.app");
    EXPECT_EQ(LSBundleProxy::bundleProxyForIdentifier("com.apple.Music")->localizedName()->utf8(), "Apple Music");
}

TEST_F(AppRecords, UnknownOrCaseChangedIdentifiersHaveNoRecord)
{
    writeApp("/Applications/MobileSMS.app", "com.apple.MobileSMS", nullptr);
    // A bundle outside the app folders is not an installed app.
    writeApp("/var/mobile/Documents/Stray.app", "com.example.stray", nullptr);

    EXPECT_FALSE(LSBundleProxy::bundleProxyForIdentifier("com.apple.mobilesms"));
    EXPECT_FALSE(LSBundleProxy::bundleProxyForIdentifier("com.example.stray"));
    EXPECT_FALSE(LSBundleProxy::bundleProxyForIdentifier(""));
}

TEST_F(AppRecords, InstalledChangedAndRemovedAppsReachTheIndex)
{
    writeApp("/Applications/Lamp.app", "com.example.lamp", nullptr);
    ASSERT_EQ(LSBundleProxy::bundleProxyForIdentifier("com.example.lamp")->localizedName()->utf8(), "Sample");
    // A new app is found at once: a miss looks again.
    writeApp("/Applications/Torch.app", "com.example.torch", nullptr);
    EXPECT_TRUE(LSBundleProxy::bundleProxyForIdentifier("com.example.torch"));

    auto renamed = NSDictionary::dictionaryWithPairs({ { text("CFBundleIdentifier"), text("com.example.lamp") }, { text("CFBundleName"), text("Lamp") } });
    writeInfo("/Applications/Lamp.app", renamed.get());
    std::filesystem::last_write_time(host("/Applications/Lamp.app/Info.plist"), std::filesystem::file_time_type::clock::now() + std::chrono::seconds(5));
    std::filesystem::remove_all(host("/Applications/Torch.app"));
    // Entries are looked at again once a second has passed since they were last found good.
    std::this_thread::sleep_for(std::chrono::milliseconds(1100));
    EXPECT_EQ(LSBundleProxy::bundleProxyForIdentifier("com.example.lamp")->localizedName()->utf8(), "Lamp");
    EXPECT_FALSE(LSBundleProxy::bundleProxyForIdentifier("com.example.torch"));
}

TEST_F(AppRecords, SentByNameThroughTheRuntime)
{
    writeApp("/Applications/MobileSMS.app", "com.apple.MobileSMS", iconsWithFiles({ text("AppIcon60x60") }));
    Class proxyClass = NSClassFromString("LSBundleProxy");
    ASSERT_TRUE(proxyClass);

    auto record = msgSendClass<Id>(proxyClass, SELECTOR("bundleProxyForIdentifier:"), text("com.apple.MobileSMS"));
    ASSERT_TRUE(record);
    auto icons = msgSend<RefPtr<NSDictionary>>(record, SELECTOR("iconsDictionary"));
    ASSERT_TRUE(icons);
    EXPECT_TRUE(icons->objectForStringKey("CFBundlePrimaryIcon"));
    EXPECT_EQ(msgSend<RefPtr<NSURL>>(record, SELECTOR("bundleURL"))->pathString(), "/Applications/MobileSMS.app");
    EXPECT_FALSE(msgSendClass<Id>(proxyClass, SELECTOR("bundleProxyForIdentifier:"), text("com.example.none")));
    EXPECT_FALSE(msgSendClass<Id>(proxyClass, SELECTOR("bundleProxyForIdentifier:"), nullptr));
}

TEST_F(AppRecords, WronglyShapedInfoPlistsEndQuietly)
{
    writeDeviceFile("/Applications/Garbage.app/Info.plist", "not a property list");
    writeInfo("/Applications/ArrayRoot.app", NSArray::arrayWithObjects({ text("com.example.array") }).get());
    writeInfo("/Applications/NumberID.app", NSDictionary::dictionaryWithPairs({ { text("CFBundleIdentifier"), NSNumber::numberWithInteger(7) } }).get());
    writeApp("/Applications/StringIcons.app", "com.example.stringicons", text("AppIcon"));
    writeApp("/Applications/NoIcons.app", "com.example.noicons", nullptr);
    writeDeviceFile("/Applications/File.app", "a file, not a folder");
    writeApp("/Applications/Good.app", "com.example.good", iconsWithFiles({ text("AppIcon") }));

    EXPECT_FALSE(LSBundleProxy::bundleProxyForIdentifier("com.example.array"));
    EXPECT_FALSE(LSBundleProxy::bundleProxyForIdentifier("7"));
    auto stringIcons = LSBundleProxy::bundleProxyForIdentifier("com.example.stringicons");
    ASSERT_TRUE(stringIcons);
    EXPECT_FALSE(stringIcons->iconsDictionary());
    EXPECT_FALSE(LSBundleProxy::bundleProxyForIdentifier("com.example.noicons")->iconsDictionary());
    // The broken neighbours do not hide a good app.
    auto good = LSBundleProxy::bundleProxyForIdentifier("com.example.good");
    ASSERT_TRUE(good);
    EXPECT_TRUE(good->iconsDictionary());
}

// The index of each test's fresh device root starts with no scans.
class AppIndexCost : public AppRecords {
protected:
    static uint64_t scans() { return AppIndex::statistics().scans; }
    static uint64_t reads() { return AppIndex::statistics().infoPlistReads; }
    // A file changed within a tick of a scan is read again at the next one, since its time
    // may not have moved; waiting past that window keeps the counts exact.
    static void settle() { std::this_thread::sleep_for(std::chrono::milliseconds(50)); }
};

TEST_F(AppIndexCost, MissesCostOneScanUntilTheFoldersChange)
{
    writeApp("/Applications/Lamp.app", "com.example.lamp", nullptr);
    writeApp("/var/containers/Bundle/Application/5A1F-22/Lantern.app", "com.example.lantern", nullptr);
    writeDeviceFile("/Applications/Garbage.app/Info.plist", "not a property list");
    settle();

    for (int ask = 0; ask < 50; ++ask)
        EXPECT_FALSE(LSBundleProxy::bundleProxyForIdentifier("com.example.unknown" + std::to_string(ask)));
    EXPECT_TRUE(LSBundleProxy::bundleProxyForIdentifier("com.example.lantern"));
    EXPECT_EQ(scans(), 1u);
    EXPECT_EQ(reads(), 3u);
    EXPECT_EQ(AppIndex::statistics().apps, 2u);
    EXPECT_EQ(AppIndex::statistics().unreadable, 1u);

    // A new app is found at the first question, in either folder, and only its file is read.
    writeApp("/Applications/Torch.app", "com.example.torch", nullptr);
    settle();
    EXPECT_TRUE(LSBundleProxy::bundleProxyForIdentifier("com.example.torch"));
    EXPECT_EQ(reads(), 4u);
    writeApp("/var/containers/Bundle/Application/77B0-01/Kite.app", "com.example.kite", nullptr);
    settle();
    EXPECT_TRUE(LSBundleProxy::bundleProxyForIdentifier("com.example.kite"));
    EXPECT_EQ(reads(), 5u);
    writeApp("/var/containers/Bundle/Application/5A1F-22/Second.app", "com.example.second", nullptr);
    settle();
    EXPECT_TRUE(LSBundleProxy::bundleProxyForIdentifier("com.example.second"));
    EXPECT_EQ(reads(), 6u);
    EXPECT_EQ(scans(), 4u);
    for (int ask = 0; ask < 50; ++ask)
        EXPECT_FALSE(LSBundleProxy::bundleProxyForIdentifier("com.example.unknown" + std::to_string(ask)));
    EXPECT_EQ(scans(), 4u);
    EXPECT_EQ(reads(), 6u);
}

TEST_F(AppIndexCost, UnreadableInfoPlistIsReadOnceUntilItChanges)
{
    writeApp("/Applications/Lamp.app", "com.example.lamp", nullptr);
    writeDeviceFile("/Applications/Broken.app/Info.plist", "bplist00 truncated");
    std::filesystem::create_directories(host("/Applications/Empty.app"));
    settle();
    for (int ask = 0; ask < 20; ++ask)
        EXPECT_FALSE(LSBundleProxy::bundleProxyForIdentifier("com.example.broken"));
    EXPECT_EQ(reads(), 2u);

    // Mended in place: same file, so only its size and time tell.
    auto mended = NSDictionary::dictionaryWithPairs({ { text("CFBundleIdentifier"), text("com.example.broken") }, { text("CFBundleName"), text("Mended") } });
    ASSERT_TRUE(PropertyList::writeFile(mended.get(), "/Applications/Broken.app/Info.plist", PropertyList::Format::XML, false));
    settle();
    auto record = LSBundleProxy::bundleProxyForIdentifier("com.example.broken");
    ASSERT_TRUE(record);
    EXPECT_EQ(record->localizedName()->utf8(), "Mended");
    EXPECT_EQ(reads(), 3u);
    // A folder that had no Info.plist gets one.
    writeApp("/Applications/Empty.app", "com.example.filled", nullptr);
    settle();
    EXPECT_TRUE(LSBundleProxy::bundleProxyForIdentifier("com.example.filled"));
    EXPECT_EQ(reads(), 4u);
    EXPECT_TRUE(LSBundleProxy::bundleProxyForIdentifier("com.example.lamp"));
    EXPECT_EQ(AppIndex::statistics().unreadable, 0u);
}

TEST_F(AppIndexCost, AppRewrittenInPlaceUnderAnotherIdentifierShowsWithinASecond)
{
    writeApp("/Applications/Lamp.app", "com.example.lamp", nullptr);
    EXPECT_TRUE(LSBundleProxy::bundleProxyForIdentifier("com.example.lamp"));
    auto renamed = NSDictionary::dictionaryWithPairs({ { text("CFBundleIdentifier"), text("com.example.lantern") }, { text("CFBundleName"), text("Lantern") } });
    writeInfo("/Applications/Lamp.app", renamed.get(), PropertyList::Format::XML);
    std::filesystem::last_write_time(host("/Applications/Lamp.app/Info.plist"), std::filesystem::file_time_type::clock::now() + std::chrono::seconds(5));
    std::this_thread::sleep_for(std::chrono::milliseconds(1100));
    auto record = LSBundleProxy::bundleProxyForIdentifier("com.example.lantern");
    ASSERT_TRUE(record);
    EXPECT_EQ(record->bundleURL()->pathString(), "/Applications/Lamp.app");
    EXPECT_FALSE(LSBundleProxy::bundleProxyForIdentifier("com.example.lamp"));
}

TEST_F(AppIndexCost, RecordsKeepOnlyTheKeysTheyAnswerFrom)
{
    auto info = NSMutableDictionary::dictionary();
    info->setObjectForStringKey(text("com.example.large").get(), "CFBundleIdentifier");
    info->setObjectForStringKey(text("Large").get(), "CFBundleDisplayName");
    info->setObjectForStringKey(iconsWithFiles({ text("AppIcon") }).get(), "CFBundleIcons");
    info->setObjectForStringKey(text(std::string(1 << 20, 'x')).get(), "Filler");
    writeInfo("/Applications/Large.app", info.get());

    auto app = AppIndex::find("com.example.large");
    ASSERT_TRUE(app);
    EXPECT_FALSE(app->info->objectForStringKey("Filler"));
    auto record = LSBundleProxy::bundleProxyForIdentifier("com.example.large");
    EXPECT_EQ(record->localizedName()->utf8(), "Large");
    EXPECT_TRUE(record->iconsDictionary());
}

class BundleImages : public AppRecords {
protected:
    RefPtr<NSBundle> bundle() { return NSBundle::bundleWithPath("/Applications/Art.app"); }
};

TEST_F(BundleImages, VariantsAreTriedAt2xThenAt3xThenPlain)
{
    writeApp("/Applications/Art.app", "com.example.art", nullptr);
    writePNG("/Applications/Art.app/Icon@2x.png", 120, red);
    writePNG("/Applications/Art.app/Icon@3x.png", 180, green);
    writePNG("/Applications/Art.app/Icon.png", 60, blue);

    auto at2x = imageNamedInBundle("Icon", bundle().get());
    ASSERT_TRUE(at2x);
    EXPECT_EQ(at2x->scale(), 2.0);
    EXPECT_EQ(at2x->size(), CGSizeMake(60, 60));
    EXPECT_EQ(at2x->pixelAt(0, 0), red);

    std::filesystem::remove(host("/Applications/Art.app/Icon@2x.png"));
    auto at3x = imageNamedInBundle("Icon", bundle().get());
    ASSERT_TRUE(at3x);
    EXPECT_EQ(at3x->scale(), 3.0);
    EXPECT_EQ(at3x->pixelAt(0, 0), green);

    std::filesystem::remove(host("/Applications/Art.app/Icon@3x.png"));
    auto plain = imageNamedInBundle("Icon", bundle().get());
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->scale(), 1.0);
    EXPECT_EQ(plain->pixelAt(0, 0), blue);

    // The class method answers the same through the runtime.
    auto sent = msgSendClass<RefPtr<UIImage>>(UIImage::classObject(), SELECTOR("imageNamed:inBundle:"), text("Icon"), bundle());
    ASSERT_TRUE(sent);
    EXPECT_EQ(sent->pixelAt(0, 0), blue);
    EXPECT_FALSE(msgSendClass<RefPtr<UIImage>>(UIImage::classObject(), SELECTOR("imageNamed:inBundle:"), text("Icon"), nullptr));
    EXPECT_FALSE(imageNamedInBundle("Missing", bundle().get()));
}

TEST_F(BundleImages, NamesNeverLeaveTheBundleFolder)
{
    writeApp("/Applications/Art.app", "com.example.art", nullptr);
    writeApp("/Applications/Other.app", "com.example.other", nullptr);
    writePNG("/secret@2x.png", 4, red);
    writePNG("/Applications/secret@2x.png", 4, red);
    writePNG("/Applications/Other.app/secret@2x.png", 4, red);
    writePNG("/Applications/Art.app/sub/inner@2x.png", 4, red);
    writePNG("/Applications/Art.app/secret@2x.png", 4, green);
    std::filesystem::create_directory_symlink(host("/Applications/Other.app"), host("/Applications/Art.app/link"));
    std::filesystem::create_symlink(host("/secret@2x.png"), host("/Applications/Art.app/escape@2x.png"));

    for (std::string_view hostile : std::initializer_list<std::string_view> { "../secret", "../Other.app/secret", "/secret", "/Applications/secret", "sub/inner", "link/secret",
             "..", ".", "", "../../../../secret", "escape", "secret/", std::string_view("sec\0ret", 7) })
        EXPECT_FALSE(imageNamedInBundle(hostile, bundle().get())) << hostile;
    // The bundle's own file under the same name is found, so the refusals above are the names'.
    auto own = imageNamedInBundle("secret", bundle().get());
    ASSERT_TRUE(own);
    EXPECT_EQ(own->pixelAt(0, 0), green);
    // A link that stays inside the bundle is followed.
    std::filesystem::create_symlink(host("/Applications/Art.app/secret@2x.png"), host("/Applications/Art.app/alias@2x.png"));
    auto alias = imageNamedInBundle("alias", bundle().get());
    ASSERT_TRUE(alias);
    EXPECT_EQ(alias->pixelAt(0, 0), green);
}

TEST_F(BundleImages, BrokenImagesAreNoImage)
{
    writeApp("/Applications/Art.app", "com.example.art", nullptr);
    auto png = uniformPNG(8, 8, red);
    std::string bytes(reinterpret_cast<const char*>(png.data()), png.size());
    writeDeviceFile("/Applications/Art.app/Truncated@2x.png", bytes.substr(0, bytes.size() / 2));
    std::string corrupt = bytes;
    corrupt[corrupt.find("IDAT") + 6] ^= 0x5a;
    writeDeviceFile("/Applications/Art.app/Corrupt@2x.png", corrupt);
    writeDeviceFile("/Applications/Art.app/Empty@2x.png", "");
    auto wide = uniformPNG(PNGCodec::maximumDimension + 1, 1, red);
    writeDeviceFile("/Applications/Art.app/Oversized@2x.png", std::string_view(reinterpret_cast<const char*>(wide.data()), wide.size()));
    std::filesystem::create_directories(host("/Applications/Art.app/Folder@2x.png"));
    // A pipe in an icon's place must not leave the caller waiting for a writer.
    ASSERT_EQ(::mkfifo(host("/Applications/Art.app/Pipe@2x.png").c_str(), 0644), 0);

    for (auto name : { "Truncated", "Corrupt", "Empty", "Oversized", "Folder", "Pipe" })
        EXPECT_FALSE(imageNamedInBundle(name, bundle().get())) << name;
}

class ApplicationIcons : public AppRecords { };

TEST_F(ApplicationIcons, FormatsArePointSizesTimesScale)
{
    writeGenericIcon();
    writeApp("/Applications/Red.app", "com.example.red", iconsWithFiles({ text("AppIcon60x60") }));
    writePNG("/Applications/Red.app/AppIcon60x60@2x.png", 120, red);

    struct Case {
        int format;
        double scale;
        size_t pixels;
    };
    for (auto [format, scale, pixels] : { Case { 0, 1.0, 29 }, Case { 0, 2.0, 58 }, Case { 1, 2.0, 80 }, Case { 1, 3.0, 120 }, Case { 2, 2.0, 124 }, Case { 2, 3.0, 186 } }) {
        auto icon = applicationIconImage("com.example.red", format, scale);
        ASSERT_TRUE(icon) << format << " @" << scale;
        EXPECT_EQ(icon->cgImage()->width(), pixels) << format << " @" << scale;
        EXPECT_EQ(icon->cgImage()->height(), pixels) << format << " @" << scale;
        EXPECT_EQ(icon->scale(), scale);
    }
    EXPECT_FALSE(applicationIconImage("com.example.red", 3, 2.0));
    EXPECT_FALSE(applicationIconImage("com.example.red", -1, 2.0));
    EXPECT_FALSE(applicationIconImage("com.example.red", 2, 1e6));
}

TEST_F(ApplicationIcons, MaskedToTheRoundedSquareFromTheLastIconFile)
{
    writeGenericIcon();
    writeApp("/Applications/Three.app", "com.example.three", iconsWithFiles({ text("AppIcon29x29"), text("AppIcon40x40"), text("AppIcon60x60") }));
    writePNG("/Applications/Three.app/AppIcon29x29@2x.png", 58, blue);
    writePNG("/Applications/Three.app/AppIcon40x40@2x.png", 80, green);
    writePNG("/Applications/Three.app/AppIcon60x60@2x.png", 120, red);

    auto icon = msgSendClass<RefPtr<UIImage>>(UIImage::classObject(), SELECTOR("_applicationIconImageForBundleIdentifier:format:scale:"),
        text("com.example.three"), 1, 2.0);
    ASSERT_TRUE(icon);
    size_t last = icon->cgImage()->width() - 1;
    for (auto [x, y] : { std::pair<size_t, size_t> { 0, 0 }, { last, 0 }, { 0, last }, { last, last }, { 2, 2 } })
        EXPECT_EQ(icon->pixelAt(x, y).alpha, 0) << x << "," << y;
    EXPECT_EQ(centre(icon), red);
    // Edge midpoints lie on the straight sides, inside the mask.
    EXPECT_EQ(icon->pixelAt(last / 2, 0), red);
    EXPECT_EQ(icon->pixelAt(0, last / 2), red);
}

TEST_F(ApplicationIcons, GenericIconStandsInForUnknownAndBrokenApps)
{
    writeGenericIcon(grey);
    writeApp("/Applications/NoIcons.app", "com.example.noicons", nullptr);
    writeApp("/Applications/EmptyList.app", "com.example.emptylist", iconsWithFiles({}));
    writeApp("/Applications/Numbers.app", "com.example.numbers", iconsWithFiles({ NSNumber::numberWithInteger(60) }));
    writeApp("/Applications/Missing.app", "com.example.missing", iconsWithFiles({ text("AppIcon60x60") }));
    writeApp("/Applications/Hostile.app", "com.example.hostile", iconsWithFiles({ text("../../../etc/passwd") }));
    writeApp("/Applications/Absolute.app", "com.example.absolute", iconsWithFiles({ text("/System/Library/PrivateFrameworks/MobileIcons.framework/DefaultIcon-60") }));
    writeApp("/Applications/Corrupt.app", "com.example.corrupt", iconsWithFiles({ text("AppIcon60x60") }));
    writeDeviceFile("/Applications/Corrupt.app/AppIcon60x60@2x.png", "\x89PNG\r\n\x1a\n truncated");
    writePNG("/etc/passwd@2x.png", 4, red);

    for (auto identifier : { "com.example.unknown", "com.example.noicons", "com.example.emptylist", "com.example.numbers", "com.example.missing",
             "com.example.hostile", "com.example.absolute", "com.example.corrupt" }) {
        auto icon = applicationIconImage(identifier, 2, 2.0);
        ASSERT_TRUE(icon) << identifier;
        EXPECT_EQ(centre(icon), grey) << identifier;
        EXPECT_EQ(icon->pixelAt(0, 0).alpha, 0) << identifier;
        EXPECT_FALSE(applicationIconFile(identifier)) << identifier;
    }
    EXPECT_EQ(centre(genericApplicationIcon()), grey);
}

TEST_F(ApplicationIcons, NothingWithoutEvenTheGenericIcon)
{
    writeApp("/Applications/Missing.app", "com.example.missing", iconsWithFiles({ text("AppIcon60x60") }));
    EXPECT_FALSE(applicationIconImage("com.example.missing", 1, 2.0));
    EXPECT_FALSE(applicationIconImage("com.example.unknown", 1, 2.0));
    EXPECT_FALSE(genericApplicationIcon());
}

// Kept icons: the same image while its files stand, drawn afresh when one changes.
class KeptApplicationIcons : public ApplicationIcons {
protected:
    void SetUp() override
    {
        ApplicationIcons::SetUp();
        writeGenericIcon(grey);
        writeApp("/Applications/Red.app", "com.example.red", iconsWithFiles({ text("AppIcon60x60") }));
        writePNG("/Applications/Red.app/AppIcon60x60@2x.png", 120, red);
        settle("/Applications/Red.app/AppIcon60x60@2x.png");
        settle(std::string(mobileIconsBundlePath) + "/DefaultIcon-60@2x.png");
    }

    // A file written a moment ago is not kept (its times could not tell the next write
    // from this one); dating it back stands for the time that passes on a phone.
    void settle(const std::string& devicePath)
    {
        auto file = host(devicePath);
        std::filesystem::last_write_time(file, std::filesystem::last_write_time(file) - std::chrono::seconds(10));
        // The change time cannot be set back, so wait it out.
        std::this_thread::sleep_for(std::chrono::milliseconds(60));
    }

    static ApplicationIconCache::Statistics statistics() { return ApplicationIconCache::shared().statistics(); }
};

TEST_F(KeptApplicationIcons, TheSameRequestIsAnsweredWithTheKeptIcon)
{
    auto first = applicationIconImage("com.example.red", 1, 2.0);
    ASSERT_TRUE(first);
    auto hits = statistics().hits;
    auto again = sendApplicationIconImage("com.example.red", 1, 2.0);
    EXPECT_EQ(again.get(), first.get());
    EXPECT_EQ(statistics().hits, hits + 1);
    // Another format or scale is another icon.
    auto larger = applicationIconImage("com.example.red", 1, 3.0);
    ASSERT_TRUE(larger);
    EXPECT_NE(larger.get(), first.get());
    EXPECT_EQ(larger->cgImage()->width(), 120u);
}

TEST_F(KeptApplicationIcons, ARewrittenIconFileIsDrawnAfresh)
{
    auto before = applicationIconImage("com.example.red", 2, 2.0);
    ASSERT_EQ(centre(before), red);
    // Same size, same name, same file: only its contents and times differ.
    writePNG("/Applications/Red.app/AppIcon60x60@2x.png", 120, blue);
    auto after = applicationIconImage("com.example.red", 2, 2.0);
    ASSERT_TRUE(after);
    EXPECT_EQ(centre(after), blue);
    // Freshly written, it is drawn again until its times can be trusted, then kept.
    EXPECT_NE(applicationIconImage("com.example.red", 2, 2.0).get(), after.get());
    settle("/Applications/Red.app/AppIcon60x60@2x.png");
    auto kept = applicationIconImage("com.example.red", 2, 2.0);
    EXPECT_EQ(applicationIconImage("com.example.red", 2, 2.0).get(), kept.get());
    EXPECT_EQ(centre(kept), blue);
}

TEST_F(KeptApplicationIcons, AReinstalledAppShowsItsNewIcon)
{
    ASSERT_EQ(centre(applicationIconImage("com.example.red", 2, 2.0)), red);
    // Reinstalled with an icon of another name; the old file stays behind unchanged.
    writeApp("/Applications/Red.app", "com.example.red", iconsWithFiles({ text("NewIcon60x60") }));
    writePNG("/Applications/Red.app/NewIcon60x60@2x.png", 120, green);
    std::filesystem::last_write_time(host("/Applications/Red.app/Info.plist"), std::filesystem::file_time_type::clock::now() + std::chrono::seconds(5));
    // The record is looked at again once a second has passed.
    std::this_thread::sleep_for(std::chrono::milliseconds(1100));
    EXPECT_EQ(centre(applicationIconImage("com.example.red", 2, 2.0)), green);

    // Removed, the app is drawn with the generic icon.
    std::filesystem::remove_all(host("/Applications/Red.app"));
    std::this_thread::sleep_for(std::chrono::milliseconds(1100));
    EXPECT_EQ(centre(applicationIconImage("com.example.red", 2, 2.0)), grey);
}

TEST_F(KeptApplicationIcons, TheGenericStandInFollowsBothItsOwnFileAndTheApps)
{
    writeApp("/Applications/Late.app", "com.example.late", iconsWithFiles({ text("AppIcon60x60") }));
    auto generic = applicationIconImage("com.example.late", 2, 2.0);
    ASSERT_EQ(centre(generic), grey);
    EXPECT_EQ(applicationIconImage("com.example.late", 2, 2.0).get(), generic.get());

    writePNG(std::string(mobileIconsBundlePath) + "/DefaultIcon-60@2x.png", 120, blue);
    EXPECT_EQ(centre(applicationIconImage("com.example.late", 2, 2.0)), blue);

    // The icon file the app names turns up: the app's own icon from then on.
    writePNG("/Applications/Late.app/AppIcon60x60@2x.png", 120, green);
    EXPECT_EQ(centre(applicationIconImage("com.example.late", 2, 2.0)), green);
}

TEST_F(KeptApplicationIcons, AnIconReachedThroughALinkIsNotKept)
{
    writeApp("/Applications/Linked.app", "com.example.linked", iconsWithFiles({ text("AppIcon60x60") }));
    writePNG("/Applications/Linked.app/Art/Red.png", 120, red);
    std::filesystem::create_symlink("Art/Red.png", host("/Applications/Linked.app/AppIcon60x60@2x.png"));
    auto first = applicationIconImage("com.example.linked", 2, 2.0);
    ASSERT_EQ(centre(first), red);
    EXPECT_NE(applicationIconImage("com.example.linked", 2, 2.0).get(), first.get());
}

TEST_F(KeptApplicationIcons, BoundedInCount)
{
    // Many scales of one small icon: each is its own entry, and the oldest go.
    for (int step = 0; step < int(ApplicationIconCache::maximumEntries) + 20; ++step)
        ASSERT_TRUE(applicationIconImage("com.example.red", 0, 1.0 + step * 0.001));
    auto kept = statistics();
    EXPECT_EQ(kept.entries, ApplicationIconCache::maximumEntries);
    EXPECT_LE(kept.bytes, ApplicationIconCache::maximumBytes);
    // The newest stays; the first went.
    auto newest = applicationIconImage("com.example.red", 0, 1.0 + (int(ApplicationIconCache::maximumEntries) + 19) * 0.001);
    auto hits = statistics().hits;
    applicationIconImage("com.example.red", 0, 1.0);
    EXPECT_EQ(statistics().hits, hits);
    EXPECT_EQ(applicationIconImage("com.example.red", 0, 1.0 + (int(ApplicationIconCache::maximumEntries) + 19) * 0.001).get(), newest.get());
}

} // namespace
