#include "ColourTestSupport.h"

#include "platform/foundation/DeviceRoot.h"
#include "platform/foundation/NSArray.h"
#include "platform/foundation/NSMutableDictionary.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/PropertyList.h"
#include "platform/springboard/AppRecordClasses.h"
#include "platform/springboard/UIImage+ApplicationIcons.h"
#include "tweak/colour/QFColorManager.h"
#include "tweak/colour/UIImage+Tintwell.h"
#include "tests/support/TemporaryFolder.h"

#include <filesystem>
#include <optional>

using namespace colourtest;

namespace {

constexpr CGImage::Pixel white { 255, 255, 255, 255 }, red { 200, 30, 30, 255 }, blue { 30, 30, 200, 255 }, genericGrey { 150, 150, 150, 255 };

// 40 % white, 35 % red, 25 % blue: its own average is nearer the red, a blue stock icon
// pulls mode 1 to the blue.
RefPtr<UIImage> tricolour()
{
    return imageOf([](size_t x, size_t y) { size_t n = x * 10 + y; return n < 40 ? white : n < 75 ? red : blue; });
}

// Apps and the generic icon written into a fresh device root for each test.
class ColourSelection : public ColourTest {
protected:
    void SetUp() override
    {
        ColourTest::SetUp();
        registerAppRecordClasses();
        m_device.emplace("tintwell-colour");
        ASSERT_FALSE(m_device->path().empty());
        m_root = m_device->path();
    }

    void TearDown() override { m_device.reset(); }

    void writeBundle(const std::string& folder, std::string_view identifier, RefPtr<NSDictionary> icons, std::vector<std::pair<std::string, CGImage::Pixel>> pngs)
    {
        auto info = NSMutableDictionary::dictionary();
        info->setObjectForStringKey(NSString::string(identifier).get(), "CFBundleIdentifier");
        if (icons)
            info->setObjectForStringKey(icons.get(), "CFBundleIcons");
        std::filesystem::create_directories(*DeviceRoot::resolve(folder));
        ASSERT_TRUE(PropertyList::writeFile(info.get(), folder + "/Info.plist", PropertyList::Format::Binary, true));
        for (auto& [name, pixel] : pngs)
            ASSERT_TRUE(uniformImage(pixel)->writePNG(*DeviceRoot::resolve(folder + "/" + name + ".png")));
    }

    void writeApp(std::string_view identifier, std::vector<std::pair<std::string, CGImage::Pixel>> pngs)
    {
        std::vector<Id> names;
        for (auto& png : pngs)
            names.push_back(NSString::string(png.first));
        auto primary = NSDictionary::dictionaryWithPairs({ { NSString::string("CFBundleIconFiles"), NSArray::arrayWithObjects(names) } });
        auto icons = NSDictionary::dictionaryWithPairs({ { NSString::string("CFBundlePrimaryIcon"), primary } });
        writeBundle("/Applications/" + std::string(identifier) + ".app", identifier, icons, pngs);
    }

    void writeGenericIcon() { writeBundle(std::string(mobileIconsBundlePath), mobileIconsBundleIdentifier, nullptr, { { std::string(genericIconName), genericGrey } }); }

    static RefPtr<UIImage> stock(std::string_view identifier)
    {
        return msgSendClass<RefPtr<UIImage>>(UIImage::classObject(), SELECTOR("stockImgForID:"), NSString::string(identifier));
    }

    static RefPtr<UIColor> mode(const RefPtr<UIImage>& image, long value, const char* bundleID = nullptr)
    {
        return msgSend<RefPtr<UIColor>>(image, SELECTOR("colorForMode:WithBundleID:"), value, bundleID ? RefPtr<NSString>(NSString::string(bundleID)) : nullptr);
    }

    std::optional<TemporaryDeviceRoot> m_device;
    std::filesystem::path m_root;
};

TEST_F(ColourSelection, StockIconIsTheLastNamedFileOfTheApp)
{
    writeGenericIcon();
    writeApp("com.example.three", { { "Icon-20", red }, { "Icon-40", white }, { "Icon-60", blue } });
    EXPECT_TRUE(sameColour(mergedColor(stock("com.example.three").get()).get(), sampled(30, 30, 200).get()));
}

TEST_F(ColourSelection, StockIconFallsBackToTheGenericIconThenToNothing)
{
    writeGenericIcon();
    writeApp("com.example.missingfile", { { "Icon-60", blue } });
    std::filesystem::remove(*DeviceRoot::resolve("/Applications/com.example.missingfile.app/Icon-60.png"));
    writeBundle("/Applications/NoIcons.app", "com.example.noicons", nullptr, {});

    for (auto* identifier : { "com.example.notinstalled", "com.example.missingfile", "com.example.noicons" })
        EXPECT_TRUE(sameColour(mergedColor(stock(identifier).get()).get(), sampled(150, 150, 150).get())) << identifier;

    std::filesystem::remove_all(*DeviceRoot::resolve(mobileIconsBundlePath));
    EXPECT_FALSE(stock("com.example.notinstalled"));
    EXPECT_FALSE(stockImgForID(nullptr));
}

TEST_F(ColourSelection, ModesZeroAndOthersOnAUniformImage)
{
    auto image = uniformImage({ 90, 160, 20, 255 });
    for (long value : { 0L, 3L, 7L, -1L })
        EXPECT_TRUE(sameColour(mode(image, value).get(), sampled(90, 160, 20).get())) << value;
    EXPECT_TRUE(sameColour(mode(tricolour(), 5).get(), sampled(255, 255, 255).get()));
    for (long value : { 0L, 1L, 2L, 3L })
        EXPECT_FALSE(colorForModeWithBundleID(nullptr, value, nullptr)) << value;
}

TEST_F(ColourSelection, ModeOneMeasuresAgainstTheStockIconOrTheImageItself)
{
    writeApp("com.example.blue", { { "Icon-60", blue } });
    auto image = tricolour();
    EXPECT_TRUE(sameColour(mode(image, 1).get(), sampled(200, 30, 30).get()));
    EXPECT_TRUE(sameColour(mode(image, 1, "com.example.blue").get(), sampled(30, 30, 200).get()));
    // Unknown app and no generic icon either: no stock target, so the image's own average.
    EXPECT_TRUE(sameColour(mode(image, 1, "com.example.unknown").get(), sampled(200, 30, 30).get()));
}

// The colours command analyses an image once for all the modes it prints.
TEST_F(ColourSelection, OneAnalysisAnswersEveryModeAsTheImageDoes)
{
    writeApp("com.example.blue", { { "Icon-60", blue } });
    auto stockMerged = mergedColor(stockImgForID(NSString::string("com.example.blue").get()).get());
    for (auto& image : { tricolour(), uniformImage({ 0, 0, 0, 0 }), uniformImage({ 250, 250, 250, 255 }) }) {
        auto palette = TWLcolors(image.get());
        auto merged = mergedColor(image.get());
        for (long value : { 0L, 1L, 2L, 3L, -4L }) {
            auto direct = mode(image, value);
            auto analysed = colorForModeFromAnalysis(palette.get(), merged.get(), value, nullptr);
            EXPECT_EQ(bool(direct), bool(analysed)) << value;
            if (direct && analysed) {
                EXPECT_TRUE(direct->isEqual(analysed.get())) << value;
            }
        }
        auto againstStock = colorForModeFromAnalysis(palette.get(), merged.get(), 1, stockMerged.get());
        EXPECT_TRUE(againstStock->isEqual(mode(image, 1, "com.example.blue").get()));
    }
}

TEST_F(ColourSelection, ModeTwoSkipsTransparentAndExtremeColours)
{
    auto whiteThenBlue = imageOf([](size_t x, size_t) { return x < 7 ? CGImage::Pixel { 250, 250, 250, 255 } : CGImage::Pixel { 40, 90, 180, 255 }; });
    EXPECT_TRUE(sameColour(mode(whiteThenBlue, 2).get(), sampled(40, 90, 180).get()));

    auto clearThenWhite = imageOf([](size_t x, size_t) { return x < 7 ? CGImage::Pixel { 0, 0, 0, 0 } : CGImage::Pixel { 250, 250, 250, 255 }; });
    EXPECT_TRUE(sameColour(mode(clearThenWhite, 2).get(), sampled(250, 250, 250).get()));

    EXPECT_FALSE(mode(uniformImage({ 0, 0, 0, 0 }), 2));
}

TEST(ColourCache, SharedManagerIsOneInstanceWithSeparateDictionaries)
{
    auto shared = QFColorManager::sharedManager();
    ASSERT_TRUE(shared);
    EXPECT_EQ(msgSendClass<RefPtr<QFColorManager>>(QFColorManager::classObject(), SELECTOR("sharedManager")).get(), shared);

    auto fresh = msgSend<RefPtr<QFColorManager>>(class_createInstance(QFColorManager::classObject()), SELECTOR("init"));
    ASSERT_TRUE(fresh);
    std::vector<RefPtr<NSMutableDictionary>> dictionaries;
    for (auto* getter : { "notificationColors", "widgetColors", "axonColors", "grupiColors", "daynColors" })
        dictionaries.push_back(msgSend<RefPtr<NSMutableDictionary>>(fresh, sel_registerName(getter)));
    for (size_t i = 0; i < dictionaries.size(); ++i) {
        ASSERT_TRUE(dictionaries[i]);
        EXPECT_EQ(dictionaries[i]->count(), 0u);
        for (size_t j = 0; j < i; ++j)
            EXPECT_NE(dictionaries[i], dictionaries[j]);
    }

    auto key = NSString::string("com.example.cached");
    size_t notificationsBefore = shared->notificationColors()->count();
    shared->widgetColors()->setObject(rgb(1, 0, 0).get(), key.get());
    EXPECT_EQ(shared->notificationColors()->count(), notificationsBefore);
    EXPECT_FALSE(shared->notificationColors()->objectForKey(key.get()));
    EXPECT_TRUE(QFColorManager::sharedManager()->widgetColors()->objectForKey(key.get()));
}

} // namespace
