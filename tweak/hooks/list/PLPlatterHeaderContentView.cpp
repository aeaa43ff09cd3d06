#include "tweak/hooks/HookRows.h"

// Hides header titles, icons and dates; tints widget platters.
namespace PLPlatterHeaderContentViewHooks {

namespace {

void (*previousLayoutTitleLabelWithScale)(id, SEL, double);
void layoutTitleLabelWithScale(id self, SEL sel, double scale)
{
    previousLayoutTitleLabelWithScale(self, sel, scale);
}

void (*previousSetTitle)(id, SEL, id);
void setTitle(id self, SEL sel, id title)
{
    previousSetTitle(self, sel, title);
}

void (*previousSetIcons)(id, SEL, id);
void setIcons(id self, SEL sel, id icons)
{
    previousSetIcons(self, sel, icons);
}

void (*previousSetDate)(id, SEL, id);
void setDate(id self, SEL sel, id date)
{
    previousSetDate(self, sel, date);
}

} // namespace

InstallationRows rows()
{
    return {
        replaceRow("PLPlatterHeaderContentView", "_layoutTitleLabelWithScale:", &layoutTitleLabelWithScale, &previousLayoutTitleLabelWithScale),
        replaceRow("PLPlatterHeaderContentView", "setTitle:", &setTitle, &previousSetTitle),
        replaceRow("PLPlatterHeaderContentView", "setIcons:", &setIcons, &previousSetIcons),
        replaceRow("PLPlatterHeaderContentView", "setDate:", &setDate, &previousSetDate),
    };
}

} // namespace PLPlatterHeaderContentViewHooks
