// PNG icons, decoded the way the icon lookup decodes them: the input (a PNG built from the
// fuzz choices, or the bytes themselves) becomes the icon file of an installed app, the
// extension's stock-icon lookup loads it from the app's bundle, and the palette, merged
// colour and colour modes are taken from it.
#include "fuzz/FuzzCheck.h"
#include "fuzz/FuzzDevice.h"
#include "fuzz/PNGGenerator.h"
#include "platform/foundation/NSString.h"
#include "platform/graphics/PNGCodec.h"
#include "platform/springboard/AppRecordClasses.h"
#include "tweak/entry/TintwellMethods.h"
#include "tweak/colour/UIImage+Tintwell.h"

#include <string_view>

namespace {

constexpr std::string_view appFolder = "/Applications/FuzzIcon.app";
constexpr std::string_view bundleIdentifier = "com.tintwell.fuzz.icon";

const FuzzDevice& iconDevice()
{
    static const FuzzDevice& device = [&]() -> const FuzzDevice& {
        auto& device = FuzzDevice::shared();
        registerAppRecordClasses();
        registerTintwellMethods();
        device.writeFile(std::string(appFolder) + "/Info.plist",
            R"(<?xml version="1.0" encoding="UTF-8"?>
<plist version="1.0"><dict>
<key>CFBundleIdentifier</key><string>com.tintwell.fuzz.icon</string>
<key>CFBundleIcons</key><dict><key>CFBundlePrimaryIcon</key><dict>
<key>CFBundleIconFiles</key><array><string>AppIcon29x29</string><string>AppIcon60x60</string></array>
</dict></dict>
</dict></plist>
)");
        return device;
    }();
    return device;
}

// The encoder's output must decode to the very pixels it was given.
void checkRoundTrip(const CGImage& image)
{
    if (image.width() * image.height() > 256 * 256)
        return;
    auto encoded = PNGCodec::encode(image);
    fuzzCheck(encoded.has_value(), "a decoded image encodes");
    auto decoded = PNGCodec::decode(*encoded);
    fuzzCheck(decoded && decoded->width() == image.width() && decoded->height() == image.height(), "an encoded image decodes to its size");
    for (size_t y = 0; y < image.height(); ++y) {
        for (size_t x = 0; x < image.width(); ++x)
            fuzzCheck(decoded->pixelAt(x, y) == image.pixelAt(x, y), "an encoded image decodes to its pixels");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    auto& device = iconDevice();
    FuzzInput input({ data, size });
    // The low bit of the first byte chooses: a generated PNG, or the rest taken as a file.
    bool asFile = input.byte() & 1;
    auto png = asFile ? std::string(reinterpret_cast<const char*>(input.rest().data()), input.rest().size()) : PNGGenerator::generate(input);
    device.writeFile(std::string(appFolder) + "/AppIcon60x60@2x.png", png);

    auto bytes = std::span(reinterpret_cast<const uint8_t*>(png.data()), png.size());
    if (auto cost = PNGCodec::decodingCost(bytes))
        fuzzCheck(*cost <= PNGCodec::decodingBudget + 2 * (4 * 16 * PNGCodec::maximumDimension + 1), "an accepted header stays within the decoding budget");

    auto image = stockImgForID(NSString::string(bundleIdentifier).get());
    if (!image || !image->cgImage())
        return 0;
    fuzzCheck(image->cgImage()->width() <= PNGCodec::maximumDimension && image->cgImage()->height() <= PNGCodec::maximumDimension, "a decoded image is within the size limit");
    auto palette = TWLcolors(image.get());
    fuzzCheck(palette && palette->count() >= 1 && palette->count() <= 100, "a palette holds 1 to 100 colours");
    fuzzCheck(mergedColor(image.get()).get() != nullptr, "an image has a merged colour");
    for (long mode : { 0L, 1L, 2L, 3L })
        colorForModeWithBundleID(image.get(), mode, NSString::string(bundleIdentifier).get());
    checkRoundTrip(*image->cgImage());
    return 0;
}
