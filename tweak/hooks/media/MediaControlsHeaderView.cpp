#include "tweak/hooks/HookRows.h"

// Tints the media controls from the artwork; hides the routing button and label.
namespace MediaControlsHeaderViewHooks {

namespace {

char calcedColorKey;

Id calcedColor(id self, SEL) { return objc_getAssociatedObject(self, &calcedColorKey); }
void setCalcedColor(id self, SEL, id value) { objc_setAssociatedObject(self, &calcedColorKey, value, OBJC_ASSOCIATION_RETAIN_NONATOMIC); }

void (*previousLayoutSubviews)(id, SEL);
void layoutSubviews(id self, SEL sel)
{
    previousLayoutSubviews(self, sel);
}

} // namespace

InstallationRows rows()
{
    return {
        addPropertyRow("MediaControlsHeaderView", "calcedColor", "@\"UIColor\"", &calcedColor, &setCalcedColor),
        replaceRow("MediaControlsHeaderView", "layoutSubviews", &layoutSubviews, &previousLayoutSubviews),
    };
}

} // namespace MediaControlsHeaderViewHooks
