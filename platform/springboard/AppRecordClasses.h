#pragma once

// Registers the app records (LSBundleProxy), the UIImage class methods that load bundle
// images and app icons, and NSBundle's +bundleWithIdentifier: and +bundleWithURL: when
// NSBundle does not register them itself, so extensions reach all of them by name.
// Safe to call more than once.
void registerAppRecordClasses();
// The same by its C name, for a program that loads this library only when it needs app
// records (dlopen, then dlsym).
extern "C" void PlatformRegisterAppRecordClasses();
