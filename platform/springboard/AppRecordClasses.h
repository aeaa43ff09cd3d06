#pragma once

// Registers the app records (LSBundleProxy) and the UIImage class methods that load
// bundle images and app icons, so extensions find them by name. Safe to call more than once.
void registerAppRecordClasses();
