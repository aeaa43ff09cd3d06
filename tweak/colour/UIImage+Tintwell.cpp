#include "tweak/colour/UIImage+Tintwell.h"

#include "platform/foundation/NSBundle.h"
#include "platform/foundation/NSDictionary.h"
#include "platform/springboard/UIImage+ApplicationIcons.h"
#include "tweak/colour/IconSampler.h"
#include "tweak/colour/UIColor+Tintwell.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

constexpr double nearDuplicateDistance = 60.0;

// Single precision on purpose: it decides whether bytes exactly 60 apart count as near.
double byteFraction(uint8_t byte) { return double(float(byte) / 255.0f); }

// A string that lives for the whole process, for keys and names sent at every call.
NSString* constantString(std::string_view text) { return NSString::string(text).leakRef(); }

// A class method the platform may lack reads as absence instead of aborting.
template<typename R, typename... Args>
R sendClassIfResponds(Class cls, SEL sel, Args&&... args)
{
    if (!class_respondsToClassSelector(cls, sel))
        return R {};
    return msgSendClass<R>(cls, sel, std::forward<Args>(args)...);
}

RefPtr<UIImage> genericIcon()
{
    static NSString* identifier = constantString(mobileIconsBundleIdentifier);
    static NSString* name = constantString(genericIconName);
    auto bundle = sendClassIfResponds<Id>(NSBundle::classObject(), SELECTOR("bundleWithIdentifier:"), identifier);
    return sendClassIfResponds<RefPtr<UIImage>>(UIImage::classObject(), SELECTOR("imageNamed:inBundle:"), name, bundle);
}

bool isTransparent(const RGBAComponents& c) { return c.alpha == 0.0; }

RefPtr<UIColor> firstVividColor(const NSArray& palette)
{
    for (auto& object : palette) {
        auto c = readRGBAComponents(object.get());
        if (!c || isTransparent(*c))
            continue;
        if (c->insideSumWindow())
            return objectCast<UIColor>(object);
    }
    for (auto& object : palette) {
        auto c = readRGBAComponents(object.get());
        if (c && !isTransparent(*c))
            return objectCast<UIColor>(object);
    }
    return nullptr;
}

Id colorsMethod(id self, SEL) { return TWLcolors(objectCast<UIImage>(self)); }
Id mergedColorMethod(id self, SEL) { return mergedColor(objectCast<UIImage>(self)); }
Id colorForModeMethod(id self, SEL, long mode, id bundleID)
{
    return colorForModeWithBundleID(objectCast<UIImage>(self), mode, objectCast<NSString>(bundleID));
}
Id stockImgMethod(Class, SEL, id bundleID) { return stockImgForID(objectCast<NSString>(bundleID)); }

} // namespace

RefPtr<NSArray> TWLcolors(const UIImage* image)
{
    if (!image)
        return nullptr;
    return paletteFromGrid(IconSampler::drawGrid(image));
}

RefPtr<NSArray> paletteFromGrid(const std::array<uint8_t, 400>& grid)
{
    constexpr size_t gridSide = IconSampler::gridSide;
    constexpr size_t gridBytesPerRow = gridSide * 4;
    // Two samples make the same colour exactly when their colour bytes match and their
    // alpha bytes are both zero or both not, so the samples are counted by their bytes and
    // a colour object is made only for each colour the palette keeps.
    struct Sample {
        uint32_t identity;
        const uint8_t* pixel;
        NSInteger count;
    };
    std::vector<Sample> distinct;
    distinct.reserve(gridSide * gridSide);
    // Each identity's place in `distinct`, by open addressing: a smooth icon has nearly a
    // hundred distinct samples, too many to look each one up in the list.
    constexpr size_t slotCount = 256;
    std::array<uint8_t, slotCount> slots;
    slots.fill(0xff);
    for (size_t x = 0; x < gridSide; ++x) {
        for (size_t y = 0; y < gridSide; ++y) {
            const uint8_t* pixel = &grid[y * gridBytesPerRow + x * 4];
            uint32_t identity = uint32_t(pixel[0]) | uint32_t(pixel[1]) << 8 | uint32_t(pixel[2]) << 16 | uint32_t(pixel[3] != 0) << 24;
            size_t slot = (identity * 2654435761u) >> 24;
            while (slots[slot] != 0xff && distinct[slots[slot]].identity != identity)
                slot = (slot + 1) % slotCount;
            if (slots[slot] != 0xff) {
                ++distinct[slots[slot]].count;
                continue;
            }
            slots[slot] = uint8_t(distinct.size());
            distinct.push_back({ identity, pixel, 1 });
        }
    }

    // Most frequent first; the sort is stable, so equal counts keep first-sampled order.
    std::stable_sort(distinct.begin(), distinct.end(), [](const Sample& a, const Sample& b) { return a.count > b.count; });

    // A colour is dropped when an earlier kept one is within 60 in red, green and blue
    // alike (getRGBComponent: 1, 2 and 3: the single-precision quotient × 255); alpha
    // takes no part.
    struct Kept {
        const uint8_t* pixel;
        double red, green, blue;
    };
    std::vector<Kept> kept;
    for (auto& sample : distinct) {
        const uint8_t* pixel = sample.pixel;
        Kept candidate { pixel, byteFraction(pixel[0]) * 255.0, byteFraction(pixel[1]) * 255.0, byteFraction(pixel[2]) * 255.0 };
        bool nearDuplicate = std::any_of(kept.begin(), kept.end(), [&](const Kept& earlier) {
            return std::fabs(earlier.red - candidate.red) <= nearDuplicateDistance
                && std::fabs(earlier.green - candidate.green) <= nearDuplicateDistance
                && std::fabs(earlier.blue - candidate.blue) <= nearDuplicateDistance;
        });
        if (!nearDuplicate)
            kept.push_back(candidate);
    }

    std::vector<Id> palette;
    palette.reserve(kept.size());
    for (auto& entry : kept) {
        const uint8_t* pixel = entry.pixel;
        // The alpha byte itself: the colour holds it as 1 unless the pixel is fully transparent.
        palette.push_back(UIColor::colorWithRed(byteFraction(pixel[0]), byteFraction(pixel[1]), byteFraction(pixel[2]), double(pixel[3])));
    }
    return NSArray::arrayWithObjects(std::move(palette));
}

RefPtr<UIColor> mergedColor(const UIImage* image)
{
    if (!image)
        return nullptr;
    // A context that could not be made drew nothing.
    return mergedColorFromPixel(IconSampler::drawMerged(image).value_or(std::array<uint8_t, 4> {}));
}

RefPtr<UIColor> mergedColorFromPixel(const std::array<uint8_t, 4>& pixel)
{
    // Bytes B, G, R, A, still premultiplied.
    return UIColor::colorWithRed(byteFraction(pixel[2]), byteFraction(pixel[1]), byteFraction(pixel[0]), 1.0);
}

RefPtr<NSArray> paletteFromSamples(const IconSamples& samples) { return paletteFromGrid(samples.grid); }
RefPtr<UIColor> mergedColorFromSamples(const IconSamples& samples) { return mergedColorFromPixel(samples.merged); }

StockIcon stockIconForID(const NSString* bundleID)
{
    if (auto icon = appIconForID(bundleID))
        return { std::move(icon), false };
    return { genericIcon(), true };
}

RefPtr<UIImage> stockImgForID(const NSString* bundleID) { return stockIconForID(bundleID).image; }

RefPtr<UIImage> appIconForID(const NSString* bundleID)
{
    static NSString* primaryIconKey = constantString("CFBundlePrimaryIcon");
    static NSString* iconFilesKey = constantString("CFBundleIconFiles");

    Class proxyClass = NSClassFromString("LSBundleProxy");
    auto record = sendClassIfResponds<Id>(proxyClass, SELECTOR("bundleProxyForIdentifier:"), bundleID);
    if (!record)
        return nullptr;

    auto icons = msgSendIfResponds<Id>(record.get(), SELECTOR("iconsDictionary"));
    auto primaryIcon = msgSendIfResponds<Id>(icons.get(), SELECTOR("objectForKey:"), primaryIconKey);
    auto iconFiles = msgSendIfResponds<Id>(primaryIcon.get(), SELECTOR("objectForKey:"), iconFilesKey);
    auto bundleURL = msgSendIfResponds<Id>(record.get(), SELECTOR("bundleURL"));
    auto bundle = sendClassIfResponds<Id>(NSBundle::classObject(), SELECTOR("bundleWithURL:"), bundleURL);
    auto iconName = msgSendIfResponds<Id>(iconFiles.get(), SELECTOR("lastObject"));
    if (!iconName)
        return nullptr;
    return sendClassIfResponds<RefPtr<UIImage>>(UIImage::classObject(), SELECTOR("imageNamed:inBundle:"), iconName, bundle);
}

RefPtr<UIColor> colorForModeFromAnalysis(const NSArray* palette, const UIColor* merged, long mode, const UIColor* stockMerged)
{
    if (mode == 0)
        return RefPtr<UIColor>(const_cast<UIColor*>(merged));
    if (!palette)
        return nullptr;
    if (mode == 1)
        return closestColorFromArrayToColor(palette, stockMerged ? stockMerged : merged);
    if (mode == 2)
        return firstVividColor(*palette);
    return objectCast<UIColor>(palette->firstObject());
}

RefPtr<UIColor> colorForModeWithBundleID(const UIImage* image, long mode, const NSString* bundleID)
{
    if (!image)
        return nullptr;
    if (mode == 0)
        return mergedColor(image);
    auto palette = TWLcolors(image);
    RefPtr<UIColor> stockMerged;
    RefPtr<UIColor> merged;
    if (mode == 1) {
        if (bundleID)
            stockMerged = mergedColor(stockImgForID(bundleID).get());
        // Without a stock icon the image is measured against its own average, as when no
        // bundle identifier is given: the surface is still tinted.
        if (!stockMerged)
            merged = mergedColor(image);
    }
    return colorForModeFromAnalysis(palette.get(), merged.get(), mode, stockMerged.get());
}

void registerUIImageTintwellMethods()
{
    Class cls = UIImage::classObject();
    class_addMethod(cls, sel_registerName("TWLcolors"), &colorsMethod);
    class_addMethod(cls, sel_registerName("mergedColor"), &mergedColorMethod);
    class_addMethod(cls, sel_registerName("colorForMode:WithBundleID:"), &colorForModeMethod);
    class_addClassMethod(cls, sel_registerName("stockImgForID:"), &stockImgMethod);
}
