#include "platform/uikit/UILabel.h"
#include "tweak/hooks/HookRows.h"
#include "tweak/settings/SettingsGlobals.h"

// Centres the texts of notification content.
namespace NCNotificationContentViewHooks {

namespace {

void (*previousLayoutSubviews)(id, SEL);
void layoutSubviews(id self, SEL sel)
{
    previousLayoutSubviews(self, sel);
    // Centring is a text choice, not tinting: it does not wait for enabledNotifs.
    if (!centerNotifContents)
        return;
    for (SEL label : { SELECTOR("_primaryLabel"), SELECTOR("_secondaryLabel"), SELECTOR("_summaryLabel") })
        msgSend<void>(msgSendIfResponds<Id>(self, label), SELECTOR("setTextAlignment:"), long(NSTextAlignmentCenter));
}

} // namespace

InstallationRows rows()
{
    return {
        replaceRow("NCNotificationContentView", "layoutSubviews", &layoutSubviews, &previousLayoutSubviews),
    };
}

} // namespace NCNotificationContentViewHooks
