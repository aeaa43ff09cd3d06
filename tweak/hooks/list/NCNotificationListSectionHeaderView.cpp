#include "tweak/hooks/HookRows.h"

#include "platform/graphics/CGGeometry.h"

// The section header's title, and its clear button following the first notification's colour.
namespace NCNotificationListSectionHeaderViewHooks {

namespace {

void (*previousSetTitle)(id, SEL, id);
void setTitle(id self, SEL sel, id title)
{
    previousSetTitle(self, sel, title);
}

Id (*previousInitWithFrame)(id, SEL, CGRect);
Id initWithFrame(id self, SEL sel, CGRect frame)
{
    return previousInitWithFrame(self, sel, frame);
}

void (*previousDealloc)(id, SEL);
void dealloc(id self, SEL sel)
{
    previousDealloc(self, sel);
}

void (*previousLayoutClearButton)(id, SEL);
void layoutClearButton(id self, SEL sel)
{
    previousLayoutClearButton(self, sel);
}

void (*previousTraitCollectionDidChange)(id, SEL, id);
void traitCollectionDidChange(id self, SEL sel, id previousTraitCollection)
{
    previousTraitCollectionDidChange(self, sel, previousTraitCollection);
}

void updateHeaderColor(id, SEL, id) { }

} // namespace

InstallationRows rows()
{
    return {
        replaceRow("NCNotificationListSectionHeaderView", "setTitle:", &setTitle, &previousSetTitle),
        replaceRow("NCNotificationListSectionHeaderView", "initWithFrame:", &initWithFrame, &previousInitWithFrame),
        replaceRow("NCNotificationListSectionHeaderView", "dealloc", &dealloc, &previousDealloc),
        replaceRow("NCNotificationListSectionHeaderView", "_layoutClearButton", &layoutClearButton, &previousLayoutClearButton),
        replaceRow("NCNotificationListSectionHeaderView", "traitCollectionDidChange:", &traitCollectionDidChange, &previousTraitCollectionDidChange),
        addMethodRow("NCNotificationListSectionHeaderView", "updateHeaderColor:", &updateHeaderColor, "v@:@"),
    };
}

} // namespace NCNotificationListSectionHeaderViewHooks
