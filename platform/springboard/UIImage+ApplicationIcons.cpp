#include "platform/springboard/UIImage+ApplicationIcons.h"

#include "platform/foundation/NSArray.h"
#include "platform/foundation/NSBundle.h"
#include "platform/foundation/NSDictionary.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/NSURL.h"
#include "platform/graphics/CairoDrawing.h"
#include "platform/graphics/UIGraphics.h"
#include "platform/springboard/AppRecordClasses.h"
#include "platform/springboard/ApplicationIconCache.h"
#include "platform/springboard/LSBundleProxy.h"
#include "platform/springboard/UIImage+NSBundle.h"

#include <cmath>
#include <numbers>

namespace {

constexpr double cornerRadiusFraction = 0.225;
constexpr double maximumPixelSide = 1024;

void addRoundedSquare(cairo_t* cr, double side)
{
    double radius = side * cornerRadiusFraction;
    constexpr double quarter = std::numbers::pi / 2;
    cairo_new_sub_path(cr);
    cairo_arc(cr, side - radius, radius, radius, -quarter, 0);
    cairo_arc(cr, side - radius, side - radius, radius, 0, quarter);
    cairo_arc(cr, radius, side - radius, radius, quarter, 2 * quarter);
    cairo_arc(cr, radius, radius, radius, 2 * quarter, 3 * quarter);
    cairo_close_path(cr);
}

// The lookup sends what the app-record classes register, whoever calls it first.
void ensureAppRecordMethods()
{
    static const bool registered = (registerAppRecordClasses(), true);
    (void)registered;
}

Id applicationIconImageImp(Class, SEL, id bundleIdentifier, int format, double scale)
{
    auto* identifier = objectCast<NSString>(bundleIdentifier);
    return applicationIconImage(identifier ? identifier->view() : std::string_view(), format, scale);
}

} // namespace

std::optional<double> applicationIconPoints(int format)
{
    switch (format) {
    case 0:
        return 29;
    case 1:
        return 40;
    case 2:
        return 62;
    default:
        return std::nullopt;
    }
}

// Every step is a message, as on the phone, so a hook on the app records or on the bundle
// class methods sees the home screen's icon lookups too; the name and the bundle are
// what imageNamed:inBundle: is then asked for. Nothing for an unknown app or one whose
// record names no icon.
NamedImage applicationIconName(std::string_view bundleIdentifier)
{
    ensureAppRecordMethods();
    auto identifier = NSString::string(bundleIdentifier);
    auto proxy = msgSendClass<Id>(LSBundleProxy::classObject(), SELECTOR("bundleProxyForIdentifier:"), identifier);
    if (!proxy)
        return {};
    auto icons = msgSendIfResponds<RefPtr<NSDictionary>>(proxy.get(), SELECTOR("iconsDictionary"));
    if (!icons)
        return {};
    RefPtr<NSDictionary> primary = objectCast<NSDictionary>(icons->objectForStringKey("CFBundlePrimaryIcon"));
    if (!primary)
        return {};
    RefPtr<NSArray> files = objectCast<NSArray>(primary->objectForStringKey("CFBundleIconFiles"));
    if (!files)
        return {};
    RefPtr<NSString> name = objectCast<NSString>(files->lastObject());
    if (!name)
        return {};
    auto url = msgSendIfResponds<Id>(proxy.get(), SELECTOR("bundleURL"));
    return { name, msgSendClass<Id>(NSBundle::classObject(), SELECTOR("bundleWithURL:"), url) };
}

NamedImage genericApplicationIconName()
{
    ensureAppRecordMethods();
    auto identifier = NSString::string(mobileIconsBundleIdentifier);
    return { NSString::string(genericIconName), msgSendClass<Id>(NSBundle::classObject(), SELECTOR("bundleWithIdentifier:"), identifier) };
}

RefPtr<UIImage> NamedImage::load() const
{
    if (!name)
        return nullptr;
    return msgSendClass<RefPtr<UIImage>>(UIImage::classObject(), SELECTOR("imageNamed:inBundle:"), name, bundle);
}

// The files imageNamed:inBundle: would try for it, as they stand now; nothing when one is a
// link, which is then not kept.
std::optional<std::vector<ApplicationIconCache::FileStamp>> NamedImage::stamps() const
{
    std::vector<ApplicationIconCache::FileStamp> stamps;
    auto* text = objectCast<NSString>(name.get());
    if (!text)
        return stamps;
    for (auto& candidate : imageFileCandidates(text->view(), objectCast<NSBundle>(bundle.get()))) {
        auto stamp = ApplicationIconCache::stampOf(candidate.file);
        if (!stamp)
            return std::nullopt;
        stamps.push_back(std::move(*stamp));
    }
    return stamps;
}

RefPtr<UIImage> applicationIconFile(std::string_view bundleIdentifier) { return applicationIconName(bundleIdentifier).load(); }

RefPtr<UIImage> genericApplicationIcon() { return genericApplicationIconName().load(); }

namespace {

RefPtr<UIImage> drawApplicationIcon(const UIImage* icon, double points, double scale)
{
    if (!icon || !icon->cgImage())
        return nullptr;
    UIGraphicsBeginImageContextWithOptions(CGSizeMake(points, points), false, scale);
    CGContextRef context = UIGraphicsGetCurrentContext();
    if (!context) {
        UIGraphicsEndImageContext();
        return nullptr;
    }
    ::CGImage* bitmap = icon->cgImage();
    double side = points;
    auto source = cairoSurface(*bitmap);
    withCairo(*context, [&](cairo_t* cr) {
        addRoundedSquare(cr, side);
        cairo_clip(cr);
        cairo_scale(cr, side / double(bitmap->width()), side / double(bitmap->height()));
        cairo_set_source_surface(cr, source.get(), 0, 0);
        cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_PAD);
        cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
        cairo_paint(cr);
    });
    auto image = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    return image;
}

} // namespace

RefPtr<UIImage> applicationIconImage(std::string_view bundleIdentifier, int format, double scale)
{
    auto points = applicationIconPoints(format);
    if (!points)
        return nullptr;
    if (!(scale > 0))
        scale = 1;
    if (*points * scale > maximumPixelSide)
        return nullptr;
    auto& cache = ApplicationIconCache::shared();
    auto app = applicationIconName(bundleIdentifier);
    // Taken before anything is read, so a file that changes while it is being drawn makes
    // the next request draw again.
    auto appStamps = app.stamps();
    auto kept = cache.find(bundleIdentifier, format, scale, [&](const ApplicationIconCache::Sources& sources) {
        if (!appStamps || sources.app != *appStamps)
            return false;
        return !sources.generic || sources.genericFiles == genericApplicationIconName().stamps();
    });
    if (kept)
        return kept;
    ApplicationIconCache::Sources sources;
    bool keep = bool(appStamps);
    if (appStamps)
        sources.app = std::move(*appStamps);
    auto icon = app.load();
    if (!icon) {
        auto generic = genericApplicationIconName();
        auto genericStamps = generic.stamps();
        keep = keep && genericStamps;
        sources.generic = true;
        if (genericStamps)
            sources.genericFiles = std::move(*genericStamps);
        icon = generic.load();
    }
    auto drawn = drawApplicationIcon(icon.get(), *points, scale);
    if (drawn && keep)
        cache.store(bundleIdentifier, format, scale, std::move(sources), drawn);
    return drawn;
}

RefPtr<UIImage> sendApplicationIconImage(std::string_view bundleIdentifier, int format, double scale)
{
    ensureAppRecordMethods();
    auto identifier = NSString::string(bundleIdentifier);
    return msgSendClass<RefPtr<UIImage>>(UIImage::classObject(), SELECTOR("_applicationIconImageForBundleIdentifier:format:scale:"),
        identifier, format, scale);
}

void registerUIImageApplicationIcons()
{
    static const bool registered = [] {
        return class_addClassMethod(UIImage::classObject(), sel_registerName("_applicationIconImageForBundleIdentifier:format:scale:"),
            &applicationIconImageImp);
    }();
    (void)registered;
}
