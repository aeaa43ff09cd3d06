#include "tweak/colour/QFColorManager.h"
#include "tweak/hooks/HookRows.h"
#include "tweak/hooks/media/AppCellPattern.h"
#include "tweak/settings/SettingsGlobals.h"

// Tints Axon's app cells.
namespace AXNAppCellHooks {

namespace {

void (*previousSetSelected)(id, SEL, bool);
void setSelected(id self, SEL sel, bool selected)
{
    previousSetSelected(self, sel, selected);
    AppCellPattern::apply(self, selected, axonColorStyle, axonColorCalc, QFColorManager::sharedManager()->axonColors().get(), AxonConfig.get());
}

} // namespace

InstallationRows rows()
{
    return {
        replaceRow("AXNAppCell", "setSelected:", &setSelected, &previousSetSelected),
    };
}

} // namespace AXNAppCellHooks
