#include "tweak/colour/QFColorManager.h"
#include "tweak/hooks/HookRows.h"
#include "tweak/hooks/media/AppCellPattern.h"
#include "tweak/settings/SettingsGlobals.h"

// Tints Grupi's app cells.
namespace GRPAppCellHooks {

namespace {

void (*previousSetSelected)(id, SEL, bool);
void setSelected(id self, SEL sel, bool selected)
{
    previousSetSelected(self, sel, selected);
    AppCellPattern::apply(self, selected, grupiColorStyle, grupiColorCalc, QFColorManager::sharedManager()->grupiColors().get(), GrupiConfig.get());
}

} // namespace

InstallationRows rows()
{
    return {
        replaceRow("GRPAppCell", "setSelected:", &setSelected, &previousSetSelected),
    };
}

} // namespace GRPAppCellHooks
