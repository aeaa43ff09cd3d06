#include "tweak/hooks/HookRows.h"

// Hides or replaces the hint under the notification list.
namespace NCNotificationListSectionRevealHintViewHooks {

namespace {

void (*previousLayoutRevealHintTitle)(id, SEL);
void layoutRevealHintTitle(id self, SEL sel)
{
    previousLayoutRevealHintTitle(self, sel);
}

} // namespace

InstallationRows rows()
{
    return {
        replaceRow("NCNotificationListSectionRevealHintView", "_layoutRevealHintTitle", &layoutRevealHintTitle, &previousLayoutRevealHintTitle),
    };
}

} // namespace NCNotificationListSectionRevealHintViewHooks
