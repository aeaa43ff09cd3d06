#include "outside/sparkcolourpicker/SparkColourPickerUtils.h"
#include "platform/foundation/NSArray.h"
#include "platform/foundation/NSDictionary.h"
#include "platform/foundation/NSMutableDictionary.h"
#include "platform/foundation/NSString.h"
#include "platform/graphics/UIColor.h"
#include "platform/graphics/UIImage.h"
#include "platform/uikit/UIView.h"
#include "tweak/colour/QFColorManager.h"
#include "tweak/colour/UIImage+Tintwell.h"
#include "tweak/hooks/HookRows.h"
#include "tweak/hooks/RuntimeLookups.h"
#include "tweak/settings/SettingsGlobals.h"
#include "tweak/styling/UIView+Tintwell.h"

#include <string_view>

// The central path: tints a short-look platter with its app's colour.
namespace NCNotificationShortLookViewControllerHooks {

namespace {

constexpr std::string_view coloursFilePath = "/var/mobile/Library/Preferences/com.quillfen.tintwellprefs.colors.plist";
constexpr double styleChangeRepaintDelay = 0.2;
constexpr int iconFormatSpotlight = 1;
constexpr double iconScale = 2.0;

bool isHeaderIconSection(std::string_view key)
{
    return key == "com.apple.powerui.lowpowermode" || key == "com.apple.ReplayKitNotifications" || key == "com.apple.ScreenTimeNotifications";
}

bool isCustomColourSection(std::string_view key)
{
    return key == "com.apple.donotdisturb" || key == "com.apple.springboard.SBUserNotificationAlert";
}

// Another tweak's cell; absent in most processes, and then never matches.
Class notificationCellClass()
{
    static Class cls = objc_getClass("MINotificationCell");
    return cls;
}

Class notificationListViewClass()
{
    static Class cls = objc_getClass("NCNotificationListView");
    return cls;
}

bool isKindOf(const Object* object, Class cls) { return object && cls && object->isKindOfClass(cls); }

RefPtr<NSString> requestSectionIdentifier(const Object* controller)
{
    auto request = msgSend<Id>(controller, SELECTOR("notificationRequest"));
    return objectAs<NSString>(msgSendIfResponds<Id>(request.get(), SELECTOR("sectionIdentifier")));
}

struct PlatterKey {
    // False when the platter sits in a structure the rule does not know: leave it alone.
    bool known { true };
    RefPtr<NSString> key;
};

RefPtr<UIView> superviewOf(const UIView* view) { return view ? view->superview() : nullptr; }

// Every layout pass asks this; UIKit's own accessors spare a copy of the subview array.
size_t subviewCount(const UIView* view) { return view ? view->subviewList().size() : 0; }

PlatterKey platterKey(const Object* controller)
{
    auto view = msgSend<RefPtr<UIView>>(controller, SELECTOR("view"));
    auto secondAncestor = superviewOf(superviewOf(view.get()).get());
    auto thirdAncestor = superviewOf(secondAncestor.get());
    if (subviewCount(thirdAncestor.get()) <= 2 || isKindOf(secondAncestor.get(), notificationCellClass()))
        return { true, requestSectionIdentifier(controller) };
    if (isKindOf(thirdAncestor.get(), notificationListViewClass()))
        return { true, objectAs<NSString>(msgSendIfResponds<Id>(thirdAncestor.get(), SELECTOR("TWLbundleIdForFirstNotification"))) };
    return { false, nullptr };
}

RefPtr<UIColor> customNotificationColour()
{
    static NSString* entry = NSString::string("NotifCustomHEX").leakRef();
    auto colours = NSDictionary::sendDictionaryWithContentsOfFile(coloursFilePath);
    auto text = colours ? objectAs<NSString>(colours->objectForKey(entry).get()) : nullptr;
    return SparkColourPickerUtils::sendColourWithString(text.get());
}

RefPtr<UIImage> systemIconImage(const NSString* key)
{
    Class imageClass = UIImage::classObject();
    SEL selector = SELECTOR("_applicationIconImageForBundleIdentifier:format:scale:");
    if (!class_respondsToClassSelector(imageClass, selector))
        return nullptr;
    return msgSendClass<RefPtr<UIImage>>(imageClass, selector, key, iconFormatSpotlight, iconScale);
}

Id TWLheaderIcon(id self, SEL)
{
    auto lookView = ivarNamed(self, "_lookView");
    auto header = ivarNamed(lookView.get(), "_headerContentView");
    auto icons = objectAs<NSArray>(msgSendIfResponds<Id>(header.get(), SELECTOR("icons")).get());
    return icons ? icons->firstObject() : nullptr;
}

RefPtr<UIImage> headerIcon(id controller) { return objectAs<UIImage>(TWLheaderIcon(controller, nullptr).get()); }

// The colour for a key not cached yet; nil when the chosen source gives none.
RefPtr<UIColor> computeColour(id controller, const NSString* key)
{
    RefPtr<UIImage> image;
    if (isHeaderIconSection(key->view())) {
        image = headerIcon(controller);
        if (auto colour = mergedColor(image.get()))
            return colour;
    } else if (isCustomColourSection(key->view())) {
        // Neither image nor colour: the custom colour below.
    } else if (notifImageCalc == 0) {
        image = stockImgForID(key);
        if (!image)
            image = headerIcon(controller);
    } else if (notifImageCalc == 1) {
        image = systemIconImage(key);
        if (!image)
            image = headerIcon(controller);
    }
    if (image)
        return colorForModeWithBundleID(image.get(), notifColorCalc, key);
    return customNotificationColour();
}

void TWLsetNotificationColor(id self, SEL)
{
    auto [known, key] = platterKey(self);
    if (!known)
        return;
    // Without a key nothing can be stored or read back.
    NSMutableDictionary* cache = key ? QFColorManager::sharedManager()->notificationColors().get() : nullptr;
    // Borrowed from the cache, which only ever gains entries.
    const auto* entry = cache ? cache->entries().find(key.get()) : nullptr;
    const Object* cached = entry ? entry->value.get() : nullptr;
    RefPtr<UIColor> computed;
    if (cache && !cached) {
        computed = computeColour(self, key.get());
        if (computed) {
            cache->setObject(computed.get(), key.get());
            cached = computed.get();
        }
    }
    // A request without a section still gets the custom colour worked out for it, painted
    // but not stored: re-reading an empty key would erase the platter's material instead.
    RefPtr<UIColor> uncached = key ? nullptr : customNotificationColour();
    auto* colour = key ? objectCast<UIColor>(cached) : uncached.get();
    auto lookView = ivarNamed(self, "_lookView");
    auto background = ivarNamed(lookView.get(), "_backgroundView");
    msgSendIfResponds<void>(background.get(), SELECTOR("setColorWithQFConfig:color:"),
        static_cast<Object*>(NotifsConfig.get()), static_cast<Object*>(colour));
}

long userInterfaceStyleOf(const Object* traits) { return msgSendIfResponds<long>(traits, SELECTOR("userInterfaceStyle")); }

void (*previousViewDidLayoutSubviews)(id, SEL);
void viewDidLayoutSubviews(id self, SEL sel)
{
    previousViewDidLayoutSubviews(self, sel);
    if (!enabledNotifs)
        return;
    msgSend<void>(self, SELECTOR("TWLsetNotificationColor"));
}

void (*previousTraitCollectionDidChange)(id, SEL, id);
void traitCollectionDidChange(id self, SEL sel, id previousTraitCollection)
{
    previousTraitCollectionDidChange(self, sel, previousTraitCollection);
    if (!enabledNotifs)
        return;
    // No previous collection reads as unspecified (0).
    long previousStyle = userInterfaceStyleOf(previousTraitCollection);
    long currentStyle = userInterfaceStyleOf(msgSend<Id>(self, SELECTOR("traitCollection")).get());
    if (currentStyle == previousStyle)
        return;
    msgSend<void>(self, SELECTOR("performSelector:withObject:afterDelay:"), SELECTOR("TWLsetNotificationColor"),
        static_cast<Object*>(nullptr), styleChangeRepaintDelay);
}

} // namespace

InstallationRows rows()
{
    return {
        replaceRow("NCNotificationShortLookViewController", "viewDidLayoutSubviews", &viewDidLayoutSubviews, &previousViewDidLayoutSubviews),
        replaceRow("NCNotificationShortLookViewController", "traitCollectionDidChange:", &traitCollectionDidChange, &previousTraitCollectionDidChange),
        addMethodRow("NCNotificationShortLookViewController", "TWLsetNotificationColor", &TWLsetNotificationColor, "v@:"),
        addMethodRow("NCNotificationShortLookViewController", "TWLheaderIcon", &TWLheaderIcon, "@@:"),
    };
}

} // namespace NCNotificationShortLookViewControllerHooks
