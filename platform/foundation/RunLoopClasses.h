#pragma once

// Registers the run-loop side of Foundation with the runtime: NSBlock, NSTimer,
// NSNotification, NSNotificationCenter, the dispatch queue class and the NSObject
// methods performSelector:withObject:, performSelector:withObject:afterDelay: and
// cancelPreviousPerformRequestsWithTarget:. Safe to call more than once; the main run
// loop also calls it when it is created.
void registerRunLoopClasses();
