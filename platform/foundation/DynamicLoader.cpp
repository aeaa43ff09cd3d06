#include "platform/foundation/DynamicLoader.h"

#include "platform/foundation/DeviceRoot.h"

void* dlopenDevice(const char* devicePath, int mode)
{
    // The phone binds lazily when the mode names no binding; glibc refuses such a mode.
    if (!(mode & (RTLD_LAZY | RTLD_NOW)))
        mode |= RTLD_LAZY;
    if (!devicePath)
        return dlopen(nullptr, mode);
    auto hostPath = DeviceRoot::resolve(devicePath);
    if (!hostPath)
        return nullptr;
    return dlopen(hostPath->c_str(), mode);
}
