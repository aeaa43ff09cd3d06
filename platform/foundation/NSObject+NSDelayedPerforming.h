#pragma once

#include "platform/runtime/Object.h"

// The NSObject methods that send a selector later or indirectly. They are also
// registered on NSObject as runtime methods (registerRunLoopClasses):
//   performSelector:withObject:             "@@::@"
//   performSelector:withObject:afterDelay:  "v@::@d"

// Sends a selector that takes the object ("v@:@", "@@:@") or takes nothing ("v@:", "@@:").
// An unknown selector aborts, as on the phone; another shape sends nothing.
Id performSelectorWithObject(id target, SEL selector, id argument);

// Retains target and argument and sends the selector on the main run loop once the
// host clock reaches now + delay.
void performSelectorAfterDelay(id target, SEL selector, id argument, double delay);

// +[NSObject cancelPreviousPerformRequestsWithTarget:] and its selector/object form;
// the cancelled requests release what they retained.
void cancelPreviousPerformRequestsWithTarget(id target);
void cancelPreviousPerformRequestsWithTarget(id target, SEL selector, id argument);

void registerDelayedPerforming();
