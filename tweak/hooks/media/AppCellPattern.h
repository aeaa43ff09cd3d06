#pragma once

#include "outside/sparkcolourpicker/SparkColourPickerUtils.h"
#include "platform/foundation/NSDictionary.h"
#include "platform/foundation/NSMutableDictionary.h"
#include "platform/foundation/NSString.h"
#include "platform/graphics/CGColor.h"
#include "platform/graphics/UIColor.h"
#include "platform/graphics/UIImage.h"
#include "platform/runtime/Runtime.h"
#include "tweak/colour/UIImage+Tintwell.h"
#include "tweak/settings/SettingsGlobals.h"
#include "tweak/styling/QFConfig.h"

#include <string_view>

// The colouring Axon's and Grupi's app cells share; each hook file passes its own names.
namespace AppCellPattern {

inline constexpr std::string_view coloursFilePath = "/var/mobile/Library/Preferences/com.quillfen.tintwellprefs.colors.plist";

inline bool isHeaderIconSection(std::string_view key)
{
    return key == "com.apple.powerui.lowpowermode" || key == "com.apple.ReplayKitNotifications" || key == "com.apple.ScreenTimeNotifications";
}

// Sections without an app icon of their own: the cells show them in the App Store's colour.
inline bool isAppStoreIconSection(std::string_view key)
{
    return key == "com.apple.donotdisturb" || key == "com.apple.springboard.SBUserNotificationAlert";
}

inline RefPtr<UIImage> cellIconImage(const Object* cell)
{
    auto iconView = msgSendIfResponds<Id>(cell, SELECTOR("iconView"));
    return objectAs<UIImage>(msgSendIfResponds<Id>(iconView.get(), SELECTOR("image")).get());
}

inline RefPtr<UIImage> systemIconImage(const NSString* key)
{
    Class imageClass = UIImage::classObject();
    SEL selector = SELECTOR("_applicationIconImageForBundleIdentifier:format:scale:");
    if (!class_respondsToClassSelector(imageClass, selector))
        return nullptr;
    return msgSendClass<RefPtr<UIImage>>(imageClass, selector, key, 1, 2.0);
}

inline RefPtr<UIColor> customNotificationColour()
{
    static NSString* entry = NSString::string("NotifCustomHEX").leakRef();
    auto colours = NSDictionary::sendDictionaryWithContentsOfFile(coloursFilePath);
    auto text = colours ? objectAs<NSString>(colours->objectForKey(entry).get()) : nullptr;
    return SparkColourPickerUtils::sendColourWithString(text.get());
}

// The colour for a key not cached yet, under the row's own colour mode.
inline RefPtr<UIColor> computeColour(const Object* cell, const NSString* key, long colorMode)
{
    std::string_view name = key->view();
    RefPtr<UIImage> image;
    if (isHeaderIconSection(name)) {
        image = cellIconImage(cell);
        if (auto colour = mergedColor(image.get()))
            return colour;
    } else if (isAppStoreIconSection(name)) {
        static NSString* appStore = NSString::string("com.apple.AppStore").leakRef();
        image = stockImgForID(appStore);
        if (auto colour = mergedColor(image.get()))
            return colour;
    } else if (notifImageCalc == 0) {
        image = stockImgForID(key);
        if (!image)
            image = cellIconImage(cell);
    } else if (notifImageCalc == 1) {
        image = systemIconImage(key);
        if (!image)
            image = cellIconImage(cell);
    }
    if (image)
        return colorForModeWithBundleID(image.get(), colorMode, key);
    return customNotificationColour();
}

inline void clear(const Object* cell)
{
    auto layer = msgSendIfResponds<Id>(cell, SELECTOR("layer"));
    auto background = msgSendIfResponds<Id>(cell, SELECTOR("backgroundColor"));
    if (!layer && !background)
        return;
    auto clearColour = UIColor::clearColor();
    msgSend<void>(layer.get(), SELECTOR("setBorderWidth:"), 0.0);
    msgSend<void>(layer.get(), SELECTOR("setBorderColor:"), msgSend<RefPtr<CGColor>>(clearColour.get(), SELECTOR("CGColor")));
    msgSend<void>(cell, SELECTOR("setBackgroundColor:"), clearColour);
}

// After the cell's own setSelected:.
inline void apply(const Object* cell, bool selected, long colorStyle, long colorMode, NSMutableDictionary* cache, QFConfig* config)
{
    bool tint = colorStyle == 0 || (colorStyle == 1 && selected);
    if (!tint) {
        clear(cell);
        return;
    }
    auto key = objectAs<NSString>(msgSendIfResponds<Id>(cell, SELECTOR("bundleIdentifier")).get());
    // Without a key nothing can be stored or read back.
    if (key && !cache->objectForKey(key.get())) {
        auto colour = computeColour(cell, key.get(), colorMode);
        if (colour)
            cache->setObject(colour.get(), key.get());
    }
    // A cell without an app still gets the custom colour worked out for it, painted but not
    // stored: re-reading an empty key would clear the cell instead.
    auto colour = key ? objectAs<UIColor>(cache->objectForKey(key.get()).get()) : customNotificationColour();
    msgSend<void>(cell, SELECTOR("setColorWithQFConfig:color:"), static_cast<Object*>(config), static_cast<Object*>(colour.get()));
}

} // namespace AppCellPattern
