#include "platform/graphics/UIColor.h"
#include "tweak/hooks/HookRows.h"
#include "tweak/hooks/HookSupport.h"

// Counts the view changes a painted platter depends on (Hooks::noteViewChange).
namespace UIViewHooks {

using namespace Hooks;

namespace {

// Before and after the move: whatever runs between them sees a changed count too.
void (*previousWillMoveToSuperview)(id, SEL, id);
void willMoveToSuperview(id self, SEL sel, id superview)
{
    noteViewChange();
    previousWillMoveToSuperview(self, sel, superview);
}

void (*previousDidMoveToSuperview)(id, SEL);
void didMoveToSuperview(id self, SEL sel)
{
    previousDidMoveToSuperview(self, sel);
    noteViewChange();
}

// Layout passes set the same flags again and again; only a change counts.
void (*previousSetHidden)(id, SEL, bool);
void setHidden(id self, SEL sel, bool hidden)
{
    bool changes = msgSend<bool>(self, SELECTOR("isHidden")) != hidden;
    previousSetHidden(self, sel, hidden);
    if (changes)
        noteViewChange();
}

void (*previousSetBackgroundColor)(id, SEL, id);
void setBackgroundColor(id self, SEL sel, id colour)
{
    bool changes = msgSend<Id>(self, SELECTOR("backgroundColor")).get() != colour;
    previousSetBackgroundColor(self, sel, colour);
    if (changes)
        noteViewChange();
}

} // namespace

InstallationRows rows()
{
    return {
        replaceRow("UIView", "willMoveToSuperview:", &willMoveToSuperview, &previousWillMoveToSuperview),
        replaceRow("UIView", "didMoveToSuperview", &didMoveToSuperview, &previousDidMoveToSuperview),
        replaceRow("UIView", "setHidden:", &setHidden, &previousSetHidden),
        replaceRow("UIView", "setBackgroundColor:", &setBackgroundColor, &previousSetBackgroundColor),
    };
}

} // namespace UIViewHooks
