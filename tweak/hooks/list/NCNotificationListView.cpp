#include "platform/foundation/NSDictionary.h"
#include "platform/foundation/NSMutableDictionary.h"
#include "platform/foundation/NSObjCRuntime.h"
#include "platform/graphics/UIColor.h"
#include "platform/uikit/UIView.h"
#include "tweak/colour/QFColorManager.h"
#include "tweak/hooks/HookRows.h"
#include "tweak/hooks/HookSupport.h"
#include "tweak/hooks/PaintedViews.h"
#include "tweak/hooks/list/ListHookSupport.h"
#include "tweak/settings/SettingsGlobals.h"
#include "tweak/styling/UIView+Tintwell.h"

// App groups: toggle colouring, header recolouring, the first-notification rule.
namespace NCNotificationListViewHooks {

using namespace Hooks;
using namespace ListHooks;

namespace {

bool recolouringOn() { return enabledNotifs && headerColor; }

void (*previousLayoutSubviews)(id, SEL);
void layoutSubviews(id self, SEL sel)
{
    previousLayoutSubviews(self, sel);
    if (recolouringOn())
        msgSend<void>(self, SELECTOR("TWLsetHeaderColor"));
}

void (*previousTraitCollectionDidChange)(id, SEL, id);
void traitCollectionDidChange(id self, SEL sel, id previousTraitCollection)
{
    noteViewChange();
    previousTraitCollectionDidChange(self, sel, previousTraitCollection);
    if (recolouringOn())
        repaintAfterStyleChange(self, previousTraitCollection, SELECTOR("TWLsetHeaderColor"));
}

void (*previousSetGrouped)(id, SEL, bool);

void (*previousDealloc)(id, SEL);
void dealloc(id self, SEL sel)
{
    PaintedViews::groupToggles().forget(self);
    previousDealloc(self, sel);
}

void (*previousRemoveViewAtIndex)(id, SEL, unsigned long, bool);
void removeViewAtIndex(id self, SEL sel, unsigned long index, bool animated)
{
    previousRemoveViewAtIndex(self, sel, index, animated);
    // The list's first notification may be another now, on screen or not.
    noteViewChange();
    if (recolouringOn())
        postUpdateHeaderColor();
}

void (*previousInsertViewAtIndex)(id, SEL, unsigned long, bool);
void insertViewAtIndex(id self, SEL sel, unsigned long index, bool animated)
{
    previousInsertViewAtIndex(self, sel, index, animated);
    // The list's first notification may be another now, on screen or not.
    noteViewChange();
    if (recolouringOn())
        postUpdateHeaderColor();
}

// Every layout pass of an expanded group repaints its toggles. Subviews are read in place
// by index, each held while it is used, so a change to the list under a paint is harmless.
template<typename Visit>
void forEachSubview(const UIView* view, Visit visit)
{
    for (size_t index = 0; index < view->subviewList().size(); ++index) {
        RefPtr<UIView> subview = view->subviewList()[index];
        visit(subview.get());
    }
}

void paintToggles(const Object* coalescingCell, const UIColor* colour, Class materialClass)
{
    auto controlsView = msgSendIfResponds<Id>(coalescingCell, SELECTOR("coalescingControlsView"));
    auto pair = msgSendIfResponds<Id>(controlsView.get(), SELECTOR("toggleControlPair"));
    auto toggles = objectCast<NSArray>(msgSendIfResponds<Id>(pair.get(), SELECTOR("toggleControls")));
    if (!toggles)
        return;
    for (const auto& toggle : *toggles) {
        const auto* toggleView = objectCast<const UIView>(toggle);
        if (!toggleView)
            continue;
        forEachSubview(toggleView, [&](UIView* subview) {
            if (isKindOf(subview, materialClass))
                setColorWithQFConfigcolor(subview, NotifsConfig.get(), colour);
        });
    }
}

// Paints at once and also without a colour, unlike the section header. Every layout of
// every list asks; a list that nothing has changed since it was last looked at, and whose
// toggles took a cached colour, is left as it is (PaintedViews).
void TWLsetHeaderColor(id self, SEL)
{
    auto& painted = PaintedViews::groupToggles();
    if (painted.stillPainted(self))
        return;
    auto before = PaintedViews::now();
    const auto* list = objectCast<const UIView>(self);
    if (!list)
        return;
    auto parent = list->superview();
    auto grandparent = parent ? parent->superview() : nullptr;
    if (!isKindOfClassNamed<"NCNotificationListView">(grandparent.get()) || msgSend<bool>(self, SELECTOR("isGrouped"))) {
        painted.remember(self, before);
        return;
    }
    auto bundleID = msgSend<Id>(self, SELECTOR("TWLbundleIdForFirstNotification"));
    const auto& cache = QFColorManager::sharedManager()->notificationColors();
    // Borrowed from the cache, which only ever gains entries.
    const auto* entry = bundleID && cache ? cache->entries().find(bundleID.get()) : nullptr;
    const auto* colour = entry ? objectCast<UIColor>(entry->value.get()) : nullptr;
    Class headerCell = classNamed<"NCNotificationListCoalescingHeaderCell">();
    Class controlsCell = classNamed<"NCNotificationListCoalescingControlsCell">();
    Class materialClass = classNamed<"MTMaterialView">();
    forEachSubview(list, [&](UIView* subview) {
        if (isKindOf(subview, headerCell) || isKindOf(subview, controlsCell))
            paintToggles(subview, colour, materialClass);
    });
    // Without a colour the app's may come into the cache with nothing else changing.
    if (colour)
        painted.remember(self, before);
}

// "First" is the dictionary's own first key, not the topmost view on screen.
Id TWLbundleIdForFirstNotification(id self, SEL)
{
    auto visibleViews = msgSend<RefPtr<NSDictionary>>(self, SELECTOR("visibleViews"));
    if (!visibleViews || !visibleViews->count())
        return nullptr;
    const Object* firstView = visibleViews->begin()->value.get();
    if (!isKindOfClassNamed<"NCNotificationListCell">(firstView))
        return nullptr;
    auto controller = msgSend<Id>(firstView, SELECTOR("contentViewController"));
    auto request = msgSend<Id>(controller, SELECTOR("notificationRequest"));
    return msgSend<Id>(request, SELECTOR("sectionIdentifier"));
}

} // namespace

InstallationRows rows()
{
    return {
        replaceRow("NCNotificationListView", "layoutSubviews", &layoutSubviews, &previousLayoutSubviews),
        replaceRow("NCNotificationListView", "traitCollectionDidChange:", &traitCollectionDidChange, &previousTraitCollectionDidChange),
        replaceRow("NCNotificationListView", "setGrouped:", &ChangeAfter<&previousSetGrouped>::hook, &previousSetGrouped),
        replaceRow("NCNotificationListView", "dealloc", &dealloc, &previousDealloc),
        replaceRow("NCNotificationListView", "removeViewAtIndex:animated:", &removeViewAtIndex, &previousRemoveViewAtIndex),
        replaceRow("NCNotificationListView", "insertViewAtIndex:animated:", &insertViewAtIndex, &previousInsertViewAtIndex),
        addMethodRow("NCNotificationListView", "TWLsetHeaderColor", &TWLsetHeaderColor, "v@:"),
        addMethodRow("NCNotificationListView", "TWLbundleIdForFirstNotification", &TWLbundleIdForFirstNotification, "@@:"),
    };
}

} // namespace NCNotificationListViewHooks
