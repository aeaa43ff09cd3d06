#include "platform/foundation/DynamicLoader.h"

#include "platform/foundation/DeviceRoot.h"

void* dlopenDevice(const char* devicePath, int mode)
{
    if (!devicePath)
        return dlopen(nullptr, mode);
    auto hostPath = DeviceRoot::resolve(devicePath);
    if (!hostPath)
        return nullptr;
    return dlopen(hostPath->c_str(), mode);
}
