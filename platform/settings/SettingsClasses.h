#pragma once

// Registers the UIKit classes and every class of the Settings app by name, so a settings
// bundle finds them (objc_getClass) when it loads.
void registerSettingsClasses();
