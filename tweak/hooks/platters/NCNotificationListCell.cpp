#include "tweak/hooks/HookRows.h"
#include "tweak/hooks/HookSupport.h"

// A cell given another platter controller shows another notification
// (Hooks::noteViewChange).
namespace NCNotificationListCellHooks {

using namespace Hooks;

namespace {

void (*previousSetContentViewController)(id, SEL, id);

} // namespace

InstallationRows rows()
{
    return {
        replaceRow("NCNotificationListCell", "setContentViewController:", &ChangeAfter<&previousSetContentViewController>::hook, &previousSetContentViewController),
    };
}

} // namespace NCNotificationListCellHooks
