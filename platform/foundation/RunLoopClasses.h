#pragma once

// Registers the run-loop side of Foundation with the runtime: NSBlock, NSTimer,
// NSNotification, NSNotificationCenter, the dispatch queue class and the NSObject
// methods performSelector:withObject: and performSelector:withObject:afterDelay:, and
// points NSDate at the host clock. Call it
// on the main thread: it creates the main run loop if none exists. Safe to call more than
// once; the main run loop also calls it when it is created.
void registerRunLoopClasses();
