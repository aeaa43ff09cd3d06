#include "tweak/hooks/HookRows.h"

// Centres the texts of notification content.
namespace NCNotificationContentViewHooks {

namespace {

void (*previousLayoutSubviews)(id, SEL);
void layoutSubviews(id self, SEL sel)
{
    previousLayoutSubviews(self, sel);
}

} // namespace

InstallationRows rows()
{
    return {
        replaceRow("NCNotificationContentView", "layoutSubviews", &layoutSubviews, &previousLayoutSubviews),
    };
}

} // namespace NCNotificationContentViewHooks
