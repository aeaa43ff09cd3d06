#include "tweak/hooks/HookRows.h"
#include "tweak/hooks/list/ListHookSupport.h"
#include "tweak/settings/SettingsGlobals.h"

// Recolours the section headers whenever a request comes or goes.
namespace NCNotificationMasterListHooks {

namespace {

// Unlike the list's own posters, not gated on enabledNotifs.

void (*previousInsertNotificationRequest)(id, SEL, id);
void insertNotificationRequest(id self, SEL sel, id request)
{
    previousInsertNotificationRequest(self, sel, request);
    if (headerColor)
        ListHooks::postUpdateHeaderColor();
}

void (*previousRemoveNotificationRequest)(id, SEL, id);
void removeNotificationRequest(id self, SEL sel, id request)
{
    previousRemoveNotificationRequest(self, sel, request);
    if (headerColor)
        ListHooks::postUpdateHeaderColor();
}

} // namespace

InstallationRows rows()
{
    return {
        replaceRow("NCNotificationMasterList", "insertNotificationRequest:", &insertNotificationRequest, &previousInsertNotificationRequest),
        replaceRow("NCNotificationMasterList", "removeNotificationRequest:", &removeNotificationRequest, &previousRemoveNotificationRequest),
    };
}

} // namespace NCNotificationMasterListHooks
