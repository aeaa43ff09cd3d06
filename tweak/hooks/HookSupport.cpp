#include "tweak/hooks/HookSupport.h"

#include "outside/sparkcolourpicker/SparkColourPickerUtils.h"
#include "platform/foundation/NSDictionary.h"
#include "tweak/colour/UIImage+Tintwell.h"
#include "tweak/settings/SettingsGlobals.h"
#include "tweak/settings/SettingsStore.h"

namespace Hooks {

namespace {

constexpr int iconFormatSpotlight = 1;
constexpr double iconScale = 2.0;
constexpr std::string_view appStoreIdentifier = "com.apple.AppStore";

RefPtr<NSString> coloursFileText(std::string_view entry)
{
    auto colours = NSDictionary::sendDictionaryWithContentsOfFile(SettingsStore::colorsFile);
    return colours ? objectCast<NSString>(colours->objectForStringKey(entry)) : nullptr;
}

bool isHeaderIconSection(std::string_view key)
{
    return key == "com.apple.powerui.lowpowermode" || key == "com.apple.ReplayKitNotifications" || key == "com.apple.ScreenTimeNotifications";
}

bool isIconlessSection(std::string_view key)
{
    return key == "com.apple.donotdisturb" || key == "com.apple.springboard.SBUserNotificationAlert";
}

} // namespace

namespace {

std::atomic<uint64_t> viewChanges { 0 };

} // namespace

uint64_t viewChangeCount() { return viewChanges.load(std::memory_order_acquire); }

void noteViewChange() { viewChanges.fetch_add(1, std::memory_order_acq_rel); }

RefPtr<UIColor> coloursFileColour(std::string_view entry)
{
    return SparkColourPickerUtils::sendColourWithString(coloursFileText(entry).get());
}

RefPtr<UIColor> coloursFileColour(std::string_view entry, std::string_view fallback)
{
    return SparkColourPickerUtils::sendColourWithStringWithFallback(coloursFileText(entry).get(), NSString::string(fallback).get());
}

RefPtr<UIImage> systemIconImage(const NSString* bundleID)
{
    Class imageClass = UIImage::classObject();
    SEL selector = SELECTOR("_applicationIconImageForBundleIdentifier:format:scale:");
    if (!class_respondsToClassSelector(imageClass, selector))
        return nullptr;
    return msgSendClass<RefPtr<UIImage>>(imageClass, selector, bundleID, iconFormatSpotlight, iconScale);
}

RefPtr<UIColor> notificationColour(const NSString* key, long colourMode, IconlessSections iconless,
    const Object* view, RefPtr<UIImage> (*ownIcon)(const Object*))
{
    std::string_view name = key->view();
    RefPtr<UIImage> image;
    if (isHeaderIconSection(name)) {
        image = ownIcon(view);
        if (auto colour = mergedColor(image.get()))
            return colour;
    } else if (isIconlessSection(name)) {
        if (iconless == IconlessSections::AppStoreIcon) {
            image = stockImgForID(NSString::string(appStoreIdentifier).get());
            if (auto colour = mergedColor(image.get()))
                return colour;
        }
    } else if (notifImageCalc == 0) {
        image = stockImgForID(key);
        if (!image)
            image = ownIcon(view);
    } else if (notifImageCalc == 1) {
        image = systemIconImage(key);
        if (!image)
            image = ownIcon(view);
    }
    if (image)
        return colorForModeWithBundleID(image.get(), colourMode, key);
    return customNotificationColour();
}

RefPtr<UIColor> customNotificationColour() { return coloursFileColour("NotifCustomHEX"); }

} // namespace Hooks
