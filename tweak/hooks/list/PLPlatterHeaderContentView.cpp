#include "platform/foundation/NSMutableDictionary.h"
#include "platform/foundation/NSObjCRuntime.h"
#include "platform/graphics/UIColor.h"
#include "platform/graphics/UIImage.h"
#include "tweak/colour/QFColorManager.h"
#include "tweak/colour/UIImage+Tintwell.h"
#include "tweak/hooks/HookRows.h"
#include "tweak/hooks/HookSupport.h"
#include "tweak/settings/SettingsGlobals.h"
#include "tweak/styling/UIView+Tintwell.h"

// Hides header titles, icons and dates; tints widget platters.
namespace PLPlatterHeaderContentViewHooks {

using namespace Hooks;

namespace {

constexpr std::string_view upNextWidgetIdentifier = "com.apple.UpNextWidget.extension";
constexpr std::string_view upNextAppIdentifier = "com.apple.mobilecal";
constexpr std::string_view customColourFallback = "#ffffff";
// Custom colour for widgets; app-less widgets use the second colour mode.
constexpr long customColourImageCalc = 2;
constexpr long appLessColourMode = 2;

// The notification test comes first: a header under a short look is judged as a notification header alone.
enum class HeaderKind { Notification, Widget, Other };

HeaderKind headerKind(const Object* header)
{
    if (isKindOfClassNamed<"NCNotificationShortLookView">(superviewOf(header).get()))
        return HeaderKind::Notification;
    if (isKindOfClassNamed<"WGPlatterHeaderContentView">(header))
        return HeaderKind::Widget;
    return HeaderKind::Other;
}

bool hides(const Object* header, bool onNotificationHeaders, bool onWidgetHeaders)
{
    switch (headerKind(header)) {
    case HeaderKind::Notification:
        return onNotificationHeaders;
    case HeaderKind::Widget:
        return onWidgetHeaders;
    case HeaderKind::Other:
        return false;
    }
    return false;
}

RefPtr<NSString> nonEmptyString(Id value)
{
    RefPtr<NSString> text = objectCast<NSString>(value);
    return text && text->length() ? text : nullptr;
}

RefPtr<UIImage> firstIcon(const Object* header)
{
    RefPtr<NSArray> icons = objectCast<NSArray>(msgSendIfResponds<Id>(header, SELECTOR("icons")));
    return icons && icons->count() ? objectCast<UIImage>(icons->objectAtIndex(0)) : nullptr;
}

RefPtr<UIImage> widgetInfoIcon(const Object* host)
{
    auto info = msgSendIfResponds<Id>(host, SELECTOR("widgetInfo"));
    return objectCast<UIImage>(msgSendIfResponds<Id>(info.get(), SELECTOR("_icon")));
}

// Read afresh each time: the settings pages may have written a new colour since.
RefPtr<UIColor> customWidgetColour()
{
    return coloursFileColour("WidgetCustomHEX", customColourFallback);
}

RefPtr<UIColor> computeAppColour(const Object* header, const NSString* bundleID)
{
    if (widgetImageCalc == customColourImageCalc)
        return customWidgetColour();
    RefPtr<UIImage> image;
    if (widgetImageCalc == 0)
        image = stockImgForID(bundleID);
    else if (widgetImageCalc == 1)
        image = systemIconImage(bundleID);
    else
        return nullptr;
    if (!image)
        image = firstIcon(header);
    return colorForModeWithBundleID(image.get(), widgetColorCalc, bundleID);
}

RefPtr<UIColor> cachedAppColour(const Object* header, const NSString* bundleID)
{
    auto cache = QFColorManager::sharedManager()->widgetColors();
    if (!cache)
        return nullptr;
    if (!cache->objectForKey(bundleID)) {
        if (auto colour = computeAppColour(header, bundleID))
            cache->setObject(colour.get(), const_cast<NSString*>(bundleID));
    }
    return objectCast<UIColor>(cache->objectForKey(bundleID));
}

void paintMaterials(const Object* platter, const UIColor* colour)
{
    auto subviews = subviewsOf(platter);
    if (!subviews)
        return;
    Class materialClass = classNamed<"MTMaterialView">();
    for (auto& subview : *subviews) {
        if (isKindOf(subview.get(), materialClass))
            setColorWithQFConfigcolor(objectCast<UIView>(subview), WidgetsConfig.get(), colour);
    }
}

void tintWidget(const Object* header)
{
    if (!enabledWidgets || !isKindOfClassNamed<"WGPlatterHeaderContentView">(header))
        return;
    auto platter = superviewOf(header);
    auto host = msgSendIfResponds<Id>(platter.get(), SELECTOR("widgetHost"));
    auto widgetIdentifier = nonEmptyString(msgSendIfResponds<Id>(host.get(), SELECTOR("widgetIdentifier")));

    auto bundleID = nonEmptyString(msgSendIfResponds<Id>(host.get(), SELECTOR("appBundleID")));
    if (!bundleID && widgetIdentifier && widgetIdentifier->view() == upNextWidgetIdentifier)
        bundleID = NSString::string(upNextAppIdentifier);
    if (bundleID) {
        paintMaterials(platter.get(), cachedAppColour(header, bundleID.get()).get());
        return;
    }

    auto icon = firstIcon(header);
    if (!icon)
        icon = widgetInfoIcon(host.get());
    if (!icon)
        return;
    if (widgetImageCalc == customColourImageCalc) {
        paintMaterials(platter.get(), customWidgetColour().get());
        return;
    }
    if (!widgetIdentifier)
        return;
    paintMaterials(platter.get(), colorForModeWithBundleID(icon.get(), appLessColourMode, nullptr).get());
}

void (*previousLayoutTitleLabelWithScale)(id, SEL, double);
void layoutTitleLabelWithScale(id self, SEL sel, double scale)
{
    previousLayoutTitleLabelWithScale(self, sel, scale);
    tintWidget(self);
}

void (*previousSetTitle)(id, SEL, id);
void setTitle(id self, SEL sel, id title)
{
    previousSetTitle(self, sel, hides(self, noNotifTitle, noWidgetTitle) ? nullptr : title);
}

void (*previousSetIcons)(id, SEL, id);
void setIcons(id self, SEL sel, id icons)
{
    previousSetIcons(self, sel, hides(self, noNotifIcon, noWidgetIcon) ? nullptr : icons);
}

void (*previousSetDate)(id, SEL, id);
void setDate(id self, SEL sel, id date)
{
    previousSetDate(self, sel, noDate ? nullptr : date);
}

} // namespace

InstallationRows rows()
{
    return {
        replaceRow("PLPlatterHeaderContentView", "_layoutTitleLabelWithScale:", &layoutTitleLabelWithScale, &previousLayoutTitleLabelWithScale),
        replaceRow("PLPlatterHeaderContentView", "setTitle:", &setTitle, &previousSetTitle),
        replaceRow("PLPlatterHeaderContentView", "setIcons:", &setIcons, &previousSetIcons),
        replaceRow("PLPlatterHeaderContentView", "setDate:", &setDate, &previousSetDate),
    };
}

} // namespace PLPlatterHeaderContentViewHooks
