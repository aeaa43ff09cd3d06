#include "tweak/hooks/HookRows.h"

// The central path: tints a short-look platter with its app's colour.
namespace NCNotificationShortLookViewControllerHooks {

namespace {

void (*previousViewDidLayoutSubviews)(id, SEL);
void viewDidLayoutSubviews(id self, SEL sel)
{
    previousViewDidLayoutSubviews(self, sel);
}

void (*previousTraitCollectionDidChange)(id, SEL, id);
void traitCollectionDidChange(id self, SEL sel, id previousTraitCollection)
{
    previousTraitCollectionDidChange(self, sel, previousTraitCollection);
}

void TWLsetNotificationColor(id, SEL) { }

Id TWLheaderIcon(id, SEL)
{
    return nullptr;
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
