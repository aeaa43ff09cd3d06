#include "tweak/hooks/HookRows.h"

// Tints the swipe action buttons with their notification's colour.
namespace NCNotificationListCellActionButtonsViewHooks {

namespace {

char bundleIDKey;

Id bundleID(id self, SEL) { return objc_getAssociatedObject(self, &bundleIDKey); }
void setBundleID(id self, SEL, id value) { objc_setAssociatedObject(self, &bundleIDKey, value, OBJC_ASSOCIATION_RETAIN_NONATOMIC); }

void (*previousConfigureOpenActionButton)(id, SEL, id, id);
void configureOpenActionButton(id self, SEL sel, id request, id cell)
{
    previousConfigureOpenActionButton(self, sel, request, cell);
}

void (*previousConfigureCellActionButtons)(id, SEL, id, id, id);
void configureCellActionButtons(id self, SEL sel, id request, id sectionSettings, id cell)
{
    previousConfigureCellActionButtons(self, sel, request, sectionSettings, cell);
}

void (*previousLayoutSubviews)(id, SEL);
void layoutSubviews(id self, SEL sel)
{
    previousLayoutSubviews(self, sel);
}

} // namespace

InstallationRows rows()
{
    return {
        addPropertyRow("NCNotificationListCellActionButtonsView", "bundleID", "@\"NSString\"", &bundleID, &setBundleID),
        replaceRow("NCNotificationListCellActionButtonsView", "configureOpenActionButtonForNotificationRequest:cell:", &configureOpenActionButton, &previousConfigureOpenActionButton),
        replaceRow("NCNotificationListCellActionButtonsView", "configureCellActionButtonsForNotificationRequest:sectionSettings:cell:", &configureCellActionButtons, &previousConfigureCellActionButtons),
        replaceRow("NCNotificationListCellActionButtonsView", "layoutSubviews", &layoutSubviews, &previousLayoutSubviews),
    };
}

} // namespace NCNotificationListCellActionButtonsViewHooks
