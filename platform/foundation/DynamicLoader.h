#pragma once

#include <dlfcn.h>

// dlopen of a device path ("/Library/MobileSubstrate/DynamicLibraries/x.dylib"), resolved
// under the device root. A null path opens the process's own image, like dlopen(NULL).
// Null when the path does not resolve or the library cannot be loaded.
void* dlopenDevice(const char* devicePath, int mode);
