#include "tweak/hooks/HookRows.h"
#include "tweak/hooks/HookSupport.h"

// Counts border changes, which a painted platter depends on (Hooks::noteViewChange).
namespace CALayerHooks {

using namespace Hooks;

namespace {

void (*previousSetBorderWidth)(id, SEL, double);
void setBorderWidth(id self, SEL sel, double width)
{
    bool changes = msgSend<double>(self, SELECTOR("borderWidth")) != width;
    previousSetBorderWidth(self, sel, width);
    if (changes)
        noteViewChange();
}

void (*previousSetBorderColor)(id, SEL, id);
void setBorderColor(id self, SEL sel, id colour)
{
    bool changes = msgSend<Id>(self, SELECTOR("borderColor")).get() != colour;
    previousSetBorderColor(self, sel, colour);
    if (changes)
        noteViewChange();
}

} // namespace

InstallationRows rows()
{
    return {
        replaceRow("CALayer", "setBorderWidth:", &setBorderWidth, &previousSetBorderWidth),
        replaceRow("CALayer", "setBorderColor:", &setBorderColor, &previousSetBorderColor),
    };
}

} // namespace CALayerHooks
