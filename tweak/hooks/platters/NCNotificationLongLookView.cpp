#include "tweak/hooks/HookRows.h"

// Tints the expanded (long-look) platter.
namespace NCNotificationLongLookViewHooks {

namespace {

void (*previousUpdateTopMargin)(id, SEL);
void updateTopMargin(id self, SEL sel)
{
    previousUpdateTopMargin(self, sel);
}

} // namespace

InstallationRows rows()
{
    return {
        replaceRow("NCNotificationLongLookView", "_updateTopMargin", &updateTopMargin, &previousUpdateTopMargin),
    };
}

} // namespace NCNotificationLongLookViewHooks
