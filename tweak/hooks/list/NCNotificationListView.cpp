#include "tweak/hooks/HookRows.h"

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

Id TWLbundleIdForFirstNotification(id, SEL)
{
    return nullptr;
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
