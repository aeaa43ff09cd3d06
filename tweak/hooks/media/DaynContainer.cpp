#include "tweak/hooks/HookRows.h"

// Tints Dayn's container.
namespace DaynContainerHooks {

namespace {

void (*previousDidMoveToSuperview)(id, SEL);
void didMoveToSuperview(id self, SEL sel)
{
    previousDidMoveToSuperview(self, sel);
}

} // namespace

InstallationRows rows()
{
    return {
        replaceRow("DaynContainer", "didMoveToSuperview", &didMoveToSuperview, &previousDidMoveToSuperview),
    };
}

} // namespace DaynContainerHooks
