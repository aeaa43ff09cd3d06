#include "tweak/hooks/HookRows.h"

// Recolours the section headers when the history is revealed.
namespace NCNotificationStructuredListViewControllerHooks {

namespace {

void (*previousRevealNotificationHistory)(id, SEL, bool, bool);
void revealNotificationHistory(id self, SEL sel, bool revealed, bool animated)
{
    previousRevealNotificationHistory(self, sel, revealed, animated);
}

} // namespace

InstallationRows rows()
{
    return {
        replaceRow("NCNotificationStructuredListViewController", "revealNotificationHistory:animated:", &revealNotificationHistory, &previousRevealNotificationHistory),
    };
}

} // namespace NCNotificationStructuredListViewControllerHooks
