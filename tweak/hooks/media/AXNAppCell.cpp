#include "tweak/hooks/HookRows.h"

// Tints Axon's app cells.
namespace AXNAppCellHooks {

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
        replaceRow("AXNAppCell", "setSelected:", &setSelected, &previousSetSelected),
    };
}

} // namespace AXNAppCellHooks
