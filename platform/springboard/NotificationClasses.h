#pragma once

// Registers the UIKit classes and every class of the home screen's notification system
// (bulletin board, lock screen, notification list, platters), so extensions find them by
// name before the system makes its objects. Safe to call more than once.
void registerNotificationClasses();
