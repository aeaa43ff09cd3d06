#include "tweak/hooks/HookRows.h"
#include "tweak/hooks/HookSupport.h"

// The painter reads the system appearance from the arbiter; a new one repaints
// (Hooks::noteViewChange).
namespace UIUserInterfaceStyleArbiterHooks {

using namespace Hooks;

namespace {

void (*previousSetCurrentStyle)(id, SEL, long);

} // namespace

InstallationRows rows()
{
    return {
        replaceRow("UIUserInterfaceStyleArbiter", "setCurrentStyle:", &ChangeAfter<&previousSetCurrentStyle>::hook, &previousSetCurrentStyle),
    };
}

} // namespace UIUserInterfaceStyleArbiterHooks
