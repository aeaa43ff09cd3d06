#include "tweak/hooks/HookRows.h"
#include "tweak/hooks/list/ListHookSupport.h"
#include "tweak/settings/SettingsGlobals.h"

// Recolours the section headers when the history is revealed.
namespace NCNotificationStructuredListViewControllerHooks {

namespace {

void (*previousRevealNotificationHistory)(id, SEL, bool, bool);
void revealNotificationHistory(id self, SEL sel, bool revealed, bool animated)
{
    previousRevealNotificationHistory(self, sel, revealed, animated);
    if (enabledNotifs && headerColor)
        ListHooks::postUpdateHeaderColor();
}

} // namespace

InstallationRows rows()
{
    return {
        replaceRow("NCNotificationStructuredListViewController", "revealNotificationHistory:animated:", &revealNotificationHistory, &previousRevealNotificationHistory),
    };
}

} // namespace NCNotificationStructuredListViewControllerHooks
