#include "tweak/hooks/HookRows.h"

// Tints Grupi's app cells.
namespace GRPAppCellHooks {

namespace {

void (*previousSetSelected)(id, SEL, bool);
void setSelected(id self, SEL sel, bool selected)
{
    previousSetSelected(self, sel, selected);
}

} // namespace

InstallationRows rows()
{
    return {
        replaceRow("GRPAppCell", "setSelected:", &setSelected, &previousSetSelected),
    };
}

} // namespace GRPAppCellHooks
