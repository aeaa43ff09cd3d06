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

void (*previousSetHidden)(id, SEL, bool);
void (*previousSetBackgroundColor)(id, SEL, id);

} // namespace

InstallationRows rows()
{
    return {
        replaceRow("UIView", "willMoveToSuperview:", &willMoveToSuperview, &previousWillMoveToSuperview),
        replaceRow("UIView", "didMoveToSuperview", &ChangeAfter<&previousDidMoveToSuperview>::hook, &previousDidMoveToSuperview),
        replaceRow("UIView", "setHidden:", &noteChangingSetter<"isHidden", bool, &previousSetHidden>, &previousSetHidden),
        replaceRow("UIView", "setBackgroundColor:", &noteChangingSetter<"backgroundColor", id, &previousSetBackgroundColor>, &previousSetBackgroundColor),
    };
}

} // namespace UIViewHooks
