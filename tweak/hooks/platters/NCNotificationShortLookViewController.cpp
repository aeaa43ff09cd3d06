#include "platform/foundation/NSArray.h"
#include "platform/foundation/NSMutableDictionary.h"
#include "platform/foundation/NSString.h"
#include "platform/graphics/UIColor.h"
#include "platform/graphics/UIImage.h"
#include "platform/uikit/UIView.h"
#include "tweak/colour/QFColorManager.h"
#include "tweak/hooks/HookRows.h"
#include "tweak/hooks/HookSupport.h"
#include "tweak/hooks/PaintedViews.h"
#include "tweak/settings/SettingsGlobals.h"
#include "tweak/styling/UIView+Tintwell.h"

// The central path: tints a short-look platter with its app's colour.
namespace NCNotificationShortLookViewControllerHooks {

using namespace Hooks;

namespace {

RefPtr<NSString> requestSectionIdentifier(const Object* controller)
{
    auto request = msgSend<Id>(controller, SELECTOR("notificationRequest"));
    return objectCast<NSString>(msgSendIfResponds<Id>(request.get(), SELECTOR("sectionIdentifier")));
}

struct PlatterKey {
    // False when the platter sits in a structure the rule does not know: leave it alone.
    bool known { true };
    RefPtr<NSString> key;
};

RefPtr<UIView> superviewOfView(const UIView* view) { return view ? view->superview() : nullptr; }

// Every layout pass asks this; UIKit's own accessors spare a copy of the subview array.
size_t subviewCount(const UIView* view) { return view ? view->subviewList().size() : 0; }

PlatterKey platterKey(const Object* controller)
{
    auto view = msgSend<RefPtr<UIView>>(controller, SELECTOR("view"));
    auto secondAncestor = superviewOfView(superviewOfView(view.get()).get());
    auto thirdAncestor = superviewOfView(secondAncestor.get());
    // MINotificationCell is another tweak's cell: absent in most processes, and then never matches.
    if (subviewCount(thirdAncestor.get()) <= 2 || isKindOfClassNamed<"MINotificationCell">(secondAncestor.get()))
        return { true, requestSectionIdentifier(controller) };
    if (isKindOfClassNamed<"NCNotificationListView">(thirdAncestor.get())) {
        auto first = objectCast<NSString>(msgSendIfResponds<Id>(thirdAncestor.get(), SELECTOR("TWLbundleIdForFirstNotification")));
        if (!first)
            return { true, nullptr };
        // An app group's notifications are all its app's. Ungrouped, the list mixes apps, and
        // another app's colour would be plainly wrong: the platter keeps its own (the same
        // key as the first notification's whenever they are of one app).
        auto own = requestSectionIdentifier(controller);
        return { true, own ? own : first };
    }
    return { false, nullptr };
}

Id firstHeaderIcon(const Object* controller)
{
    auto lookView = ivarNamed<"_lookView">(controller);
    auto header = ivarNamed<"_headerContentView">(lookView.get());
    RefPtr<NSArray> icons = objectCast<NSArray>(msgSendIfResponds<Id>(header.get(), SELECTOR("icons")));
    return icons ? icons->firstObject() : nullptr;
}

Id TWLheaderIcon(id self, SEL) { return firstHeaderIcon(self); }

RefPtr<UIImage> headerIcon(const Object* controller) { return objectCast<UIImage>(firstHeaderIcon(controller)); }

// Every layout pass asks; a platter that nothing has changed since it was painted is left
// as it is (PaintedViews).
void TWLsetNotificationColor(id self, SEL)
{
    auto& painted = PaintedViews::notificationPlatters();
    if (painted.stillPainted(self))
        return;
    auto before = PaintedViews::now();
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
        computed = notificationColour(key.get(), notifColorCalc, IconlessSections::CustomColour, self, &headerIcon);
        if (computed) {
            cache->setObject(computed.get(), key.get());
            cached = computed.get();
        }
    }
    // A request without a section still gets the custom colour worked out for it, painted
    // but not stored: re-reading an empty key would erase the platter's material instead.
    RefPtr<UIColor> uncached = key ? nullptr : Hooks::customNotificationColour();
    auto* colour = key ? objectCast<UIColor>(cached) : uncached.get();
    auto lookView = ivarNamed<"_lookView">(self);
    auto background = ivarNamed<"_backgroundView">(lookView.get());
    msgSendIfResponds<void>(background.get(), SELECTOR("setColorWithQFConfig:color:"),
        NotifsConfig, colour);
    // Only a cached colour stays what it is; the custom colour is read afresh each time.
    if (key && cached && background)
        painted.remember(self, before);
}

void (*previousViewDidLayoutSubviews)(id, SEL);
void viewDidLayoutSubviews(id self, SEL sel)
{
    previousViewDidLayoutSubviews(self, sel);
    if (!enabledNotifs)
        return;
    msgSend<void>(self, SELECTOR("TWLsetNotificationColor"));
}

void (*previousSetNotificationRequest)(id, SEL, id);

void (*previousDealloc)(id, SEL);
void dealloc(id self, SEL sel)
{
    PaintedViews::notificationPlatters().forget(self);
    previousDealloc(self, sel);
}

void (*previousTraitCollectionDidChange)(id, SEL, id);
void traitCollectionDidChange(id self, SEL sel, id previousTraitCollection)
{
    noteViewChange();
    previousTraitCollectionDidChange(self, sel, previousTraitCollection);
    if (enabledNotifs)
        repaintAfterStyleChange(self, previousTraitCollection, SELECTOR("TWLsetNotificationColor"));
}

} // namespace

InstallationRows rows()
{
    return {
        replaceRow("NCNotificationShortLookViewController", "viewDidLayoutSubviews", &viewDidLayoutSubviews, &previousViewDidLayoutSubviews),
        replaceRow("NCNotificationShortLookViewController", "traitCollectionDidChange:", &traitCollectionDidChange, &previousTraitCollectionDidChange),
        replaceRow("NCNotificationShortLookViewController", "setNotificationRequest:", &ChangeAfter<&previousSetNotificationRequest>::hook, &previousSetNotificationRequest),
        replaceRow("NCNotificationShortLookViewController", "dealloc", &dealloc, &previousDealloc),
        addMethodRow("NCNotificationShortLookViewController", "TWLsetNotificationColor", &TWLsetNotificationColor, "v@:"),
        addMethodRow("NCNotificationShortLookViewController", "TWLheaderIcon", &TWLheaderIcon, "@@:"),
    };
}

} // namespace NCNotificationShortLookViewControllerHooks
