#include "tweak/hooks/HookRows.h"
#include "tweak/hooks/HookSupport.h"

// A cell given another platter controller shows another notification
// (Hooks::noteViewChange).
namespace NCNotificationListCellHooks {

using namespace Hooks;

namespace {

void (*previousSetContentViewController)(id, SEL, id);
void setContentViewController(id self, SEL sel, id controller)
{
    previousSetContentViewController(self, sel, controller);
    noteViewChange();
}

} // namespace

InstallationRows rows()
{
    return {
        replaceRow("NCNotificationListCell", "setContentViewController:", &setContentViewController, &previousSetContentViewController),
    };
}

} // namespace NCNotificationListCellHooks
