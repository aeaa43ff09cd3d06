#include "device/IconArtist.h"
#include "platform/foundation/DeviceRoot.h"
#include "platform/foundation/NSArray.h"
#include "platform/foundation/NSMutableDictionary.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/PropertyList.h"
#include "platform/springboard/AppRecordClasses.h"
#include "platform/springboard/UIImage+ApplicationIcons.h"
#include "platform/uikit/UIView.h"
#include "tweak/colour/QFColorManager.h"
#include "tweak/entry/TintwellMethods.h"
#include "tweak/colour/UIImage+Tintwell.h"
#include "tweak/styling/UIView+Tintwell.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <fstream>

namespace {

constexpr int iconSizes[] = { 60, 120, 180, 1024 };

std::string appIdentifier(int pixels) { return "com.example.bench" + std::to_string(pixels); }
std::string iconPath(int pixels) { return "/Applications/Bench" + std::to_string(pixels) + ".app/AppIcon60x60@2x.png"; }

void writeFile(std::string_view devicePath, const std::vector<uint8_t>& bytes)
{
    auto host = *DeviceRoot::resolve(devicePath);
    std::filesystem::create_directories(host.parent_path());
    std::ofstream(host, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

// A temporary device root with one app per icon size and the generic icon, made once.
void prepareDevice()
{
    static bool prepared = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "tintwell-colour-bench-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            return false;
        DeviceRoot::set(pattern);
        registerAppRecordClasses();
        registerTintwellMethods();
        for (int pixels : iconSizes) {
            std::string folder = "/Applications/Bench" + std::to_string(pixels) + ".app";
            auto files = NSArray::arrayWithObjects({ NSString::string("AppIcon60x60") });
            auto primary = NSDictionary::dictionaryWithPairs({ { NSString::string("CFBundleIconFiles"), files } });
            auto info = NSDictionary::dictionaryWithPairs({
                { NSString::string("CFBundleIdentifier"), NSString::string(appIdentifier(pixels)) },
                { NSString::string("CFBundleIcons"), NSDictionary::dictionaryWithPairs({ { NSString::string("CFBundlePrimaryIcon"), primary } }) },
            });
            writeFile(iconPath(pixels), *IconArtist::drawPNG(IconArtist::Design::Tips, pixels));
            PropertyList::writeFile(info.get(), folder + "/Info.plist", PropertyList::Format::Binary, true);
        }
        auto generic = IconArtist::drawPNG(IconArtist::Design::Generic, 120);
        writeFile(std::string(mobileIconsBundlePath) + "/" + std::string(genericIconName) + "@2x.png", *generic);
        PropertyList::writeFile(NSDictionary::dictionaryWithPairs({ { NSString::string("CFBundleIdentifier"), NSString::string(mobileIconsBundleIdentifier) } }).get(),
            std::string(mobileIconsBundlePath) + "/Info.plist", PropertyList::Format::Binary, true);
        return true;
    }();
    if (!prepared)
        std::abort();
}

RefPtr<UIImage> decodedIcon(int pixels)
{
    return UIImage::imageWithData(*IconArtist::drawPNG(IconArtist::Design::Tips, pixels));
}

void palette(benchmark::State& state)
{
    auto image = decodedIcon(180);
    for (auto _ : state)
        benchmark::DoNotOptimize(TWLcolors(image.get()));
}
BENCHMARK(palette)->Unit(benchmark::kMicrosecond);

void merged(benchmark::State& state)
{
    auto image = decodedIcon(180);
    for (auto _ : state)
        benchmark::DoNotOptimize(mergedColor(image.get()));
}
BENCHMARK(merged)->Unit(benchmark::kMicrosecond);

// Target: under 50 µs together.
void paletteAndMerged(benchmark::State& state)
{
    auto image = decodedIcon(180);
    for (auto _ : state) {
        benchmark::DoNotOptimize(TWLcolors(image.get()));
        benchmark::DoNotOptimize(mergedColor(image.get()));
    }
}
BENCHMARK(paletteAndMerged)->Unit(benchmark::kMicrosecond);

// Target: under 100 ns.
void warmCacheLookup(benchmark::State& state)
{
    auto key = NSString::string("com.apple.MobileSMS");
    QFColorManager::sharedManager()->notificationColors()->setObject(UIColor::redColor().get(), key.get());
    for (auto _ : state)
        benchmark::DoNotOptimize(QFColorManager::sharedManager()->notificationColors()->objectForKey(key.get()));
}
BENCHMARK(warmCacheLookup);

// Target: under 1 µs.
void repaintWithCachedColour(benchmark::State& state)
{
    registerTintwellMethods();
    auto view = UIView::create();
    auto record = QFConfig::newQFConfigWithBTBAFABTDBDCLBLCstyle(2, 80, 60, 3, 50, 70, 30, 40, 2);
    auto color = UIColor::colorWithRed(0.2, 0.4, 0.8, 1);
    for (auto _ : state)
        setColorWithQFConfigcolor(view.get(), record.get(), color.get());
}
BENCHMARK(repaintWithCachedColour);

void decodeIconFile(benchmark::State& state)
{
    prepareDevice();
    auto path = iconPath(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(UIImage::imageWithContentsOfFile(path));
}
BENCHMARK(decodeIconFile)->Arg(60)->Arg(120)->Arg(180)->Arg(1024)->Unit(benchmark::kMicrosecond);

// Target: within 1.3 × decodeIconFile of the same size.
void coldColourOfOneApp(benchmark::State& state)
{
    prepareDevice();
    auto identifier = NSString::string(appIdentifier(int(state.range(0))));
    for (auto _ : state) {
        auto icon = stockImgForID(identifier.get());
        benchmark::DoNotOptimize(colorForModeWithBundleID(icon.get(), 2, identifier.get()));
    }
}
BENCHMARK(coldColourOfOneApp)->Arg(60)->Arg(120)->Arg(180)->Arg(1024)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
