#include "tweak/hooks/HookRows.h"

#include "platform/foundation/NSArray.h"
#include "platform/foundation/NSDictionary.h"

// App groups: toggle colouring, header recolouring, the first-notification rule.
namespace NCNotificationListViewHooks {

namespace {

void (*previousLayoutSubviews)(id, SEL);
void layoutSubviews(id self, SEL sel)
{
    previousLayoutSubviews(self, sel);
}

void (*previousTraitCollectionDidChange)(id, SEL, id);
void traitCollectionDidChange(id self, SEL sel, id previousTraitCollection)
{
    previousTraitCollectionDidChange(self, sel, previousTraitCollection);
}

void (*previousRemoveViewAtIndex)(id, SEL, unsigned long, bool);
void removeViewAtIndex(id self, SEL sel, unsigned long index, bool animated)
{
    previousRemoveViewAtIndex(self, sel, index, animated);
}

void (*previousInsertViewAtIndex)(id, SEL, unsigned long, bool);
void insertViewAtIndex(id self, SEL sel, unsigned long index, bool animated)
{
    previousInsertViewAtIndex(self, sel, index, animated);
}

void TWLsetHeaderColor(id, SEL) { }

// Written once, on the interface thread; looked up again while the class is not registered.
Class rememberedCellClass;

Class notificationCellClass()
{
    if (!rememberedCellClass)
        rememberedCellClass = objc_getClass("NCNotificationListCell");
    return rememberedCellClass;
}

// "First" is the dictionary's own first key, not the topmost view on screen.
Id TWLbundleIdForFirstNotification(id self, SEL)
{
    auto visibleViews = msgSend<RefPtr<NSDictionary>>(self, SELECTOR("visibleViews"));
    if (!visibleViews || !visibleViews->count())
        return nullptr;
    auto keys = visibleViews->allKeys();
    auto firstView = visibleViews->objectForKey(keys->objectAtIndex(0).get());
    Class cellClass = notificationCellClass();
    if (!firstView || !cellClass || !firstView->isKindOfClass(cellClass))
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
