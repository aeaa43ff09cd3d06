#include "tweak/hooks/HookRows.h"

// Recolours the section headers whenever a request comes or goes.
namespace NCNotificationMasterListHooks {

namespace {

void (*previousInsertNotificationRequest)(id, SEL, id);
void insertNotificationRequest(id self, SEL sel, id request)
{
    previousInsertNotificationRequest(self, sel, request);
}

void (*previousRemoveNotificationRequest)(id, SEL, id);
void removeNotificationRequest(id self, SEL sel, id request)
{
    previousRemoveNotificationRequest(self, sel, request);
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
