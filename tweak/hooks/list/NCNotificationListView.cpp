#include "platform/foundation/NSDictionary.h"
#include "platform/foundation/NSMutableDictionary.h"
#include "platform/foundation/NSObjCRuntime.h"
#include "platform/graphics/UIColor.h"
#include "platform/uikit/UIView.h"
#include "tweak/colour/QFColorManager.h"
#include "tweak/hooks/HookRows.h"
#include "tweak/hooks/HookSupport.h"
#include "tweak/hooks/list/ListHookSupport.h"
#include "tweak/settings/SettingsGlobals.h"
#include "tweak/styling/UIView+Tintwell.h"

#include <vector>

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
    previousTraitCollectionDidChange(self, sel, previousTraitCollection);
    if (recolouringOn())
        repaintAfterStyleChange(self, previousTraitCollection, SELECTOR("TWLsetHeaderColor"));
}

void (*previousRemoveViewAtIndex)(id, SEL, unsigned long, bool);
void removeViewAtIndex(id self, SEL sel, unsigned long index, bool animated)
{
    previousRemoveViewAtIndex(self, sel, index, animated);
    if (recolouringOn())
        postUpdateHeaderColor();
}

void (*previousInsertViewAtIndex)(id, SEL, unsigned long, bool);
void insertViewAtIndex(id self, SEL sel, unsigned long index, bool animated)
{
    previousInsertViewAtIndex(self, sel, index, animated);
    if (recolouringOn())
        postUpdateHeaderColor();
}

void paintToggles(const Object* coalescingCell, const UIColor* colour)
{
    auto controlsView = msgSendIfResponds<Id>(coalescingCell, SELECTOR("coalescingControlsView"));
    auto pair = msgSendIfResponds<Id>(controlsView.get(), SELECTOR("toggleControlPair"));
    auto toggles = objectCast<NSArray>(msgSendIfResponds<Id>(pair.get(), SELECTOR("toggleControls")));
    if (!toggles)
        return;
    Class materialClass = classNamed<"MTMaterialView">();
    for (auto& toggle : *toggles) {
        auto subviews = subviewsOf(toggle.get());
        if (!subviews)
            continue;
        for (auto& subview : *subviews) {
            if (isKindOf(subview.get(), materialClass))
                setColorWithQFConfigcolor(objectCast<UIView>(subview), NotifsConfig.get(), colour);
        }
    }
}

// Paints at once and also without a colour, unlike the section header.
void TWLsetHeaderColor(id self, SEL)
{
    if (!isKindOfClassNamed<"NCNotificationListView">(superviewOf(superviewOf(self).get()).get()))
        return;
    if (msgSend<bool>(self, SELECTOR("isGrouped")))
        return;
    auto bundleID = msgSend<Id>(self, SELECTOR("TWLbundleIdForFirstNotification"));
    const auto& cache = QFColorManager::sharedManager()->notificationColors();
    auto colour = bundleID && cache ? objectCast<UIColor>(cache->objectForKey(bundleID.get())) : nullptr;
    // Every layout pass asks, so the list's own subviews are read in place instead of as a
    // copied array; the few cells wanted are held while they are painted.
    const auto* list = objectCast<UIView>(self);
    if (!list)
        return;
    Class headerCell = classNamed<"NCNotificationListCoalescingHeaderCell">();
    Class controlsCell = classNamed<"NCNotificationListCoalescingControlsCell">();
    std::vector<RefPtr<UIView>> coalescingCells;
    for (auto& subview : list->subviewList()) {
        if (isKindOf(subview.get(), headerCell) || isKindOf(subview.get(), controlsCell))
            coalescingCells.push_back(subview);
    }
    for (auto& cell : coalescingCells)
        paintToggles(cell.get(), colour.get());
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
        replaceRow("NCNotificationListView", "removeViewAtIndex:animated:", &removeViewAtIndex, &previousRemoveViewAtIndex),
        replaceRow("NCNotificationListView", "insertViewAtIndex:animated:", &insertViewAtIndex, &previousInsertViewAtIndex),
        addMethodRow("NCNotificationListView", "TWLsetHeaderColor", &TWLsetHeaderColor, "v@:"),
        addMethodRow("NCNotificationListView", "TWLbundleIdForFirstNotification", &TWLbundleIdForFirstNotification, "@@:"),
    };
}

} // namespace NCNotificationListViewHooks
