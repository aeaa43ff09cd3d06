#include "tweak/hooks/HookRows.h"
#include "tweak/hooks/HookSupport.h"

// Counts border changes, which a painted platter depends on (Hooks::noteViewChange).
namespace CALayerHooks {

using namespace Hooks;

namespace {

void (*previousSetBorderWidth)(id, SEL, double);
void (*previousSetBorderColor)(id, SEL, id);

} // namespace

InstallationRows rows()
{
    return {
        replaceRow("CALayer", "setBorderWidth:", &noteChangingSetter<"borderWidth", double, &previousSetBorderWidth>, &previousSetBorderWidth),
        replaceRow("CALayer", "setBorderColor:", &noteChangingSetter<"borderColor", id, &previousSetBorderColor>, &previousSetBorderColor),
    };
}

} // namespace CALayerHooks
