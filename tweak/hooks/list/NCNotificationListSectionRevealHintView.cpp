#include "platform/uikit/UILabel.h"
#include "tweak/hooks/HookRows.h"
#include "tweak/hooks/HookSupport.h"
#include "tweak/settings/SettingsGlobals.h"

// Hides or replaces the hint under the notification list.
namespace NCNotificationListSectionRevealHintViewHooks {

using namespace Hooks;

namespace {

// Never unhides the label nor restores the system's text: the system does that itself.

void (*previousLayoutRevealHintTitle)(id, SEL);
void layoutRevealHintTitle(id self, SEL sel)
{
    previousLayoutRevealHintTitle(self, sel);
    auto label = ivarNamed<"_revealHintTitle">(self);
    if (noHint) {
        msgSendIfResponds<void>(label.get(), SELECTOR("setHidden:"), true);
        return;
    }
    if (!useCustomHint)
        return;
    msgSendIfResponds<void>(label.get(), SELECTOR("setString:"), customHint);
    msgSendIfResponds<void>(label.get(), SELECTOR("setTextAlignment:"), long(NSTextAlignmentCenter));
}

} // namespace

InstallationRows rows()
{
    return {
        replaceRow("NCNotificationListSectionRevealHintView", "_layoutRevealHintTitle", &layoutRevealHintTitle, &previousLayoutRevealHintTitle),
    };
}

} // namespace NCNotificationListSectionRevealHintViewHooks
