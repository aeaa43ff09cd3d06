#pragma once

// Registers the widget classes (widgets page, platters, hosts, widget info) and the media
// controls' classes, so extensions find them by name before the system makes its objects.
// Safe to call more than once.
void registerMediaAndWidgetClasses();
