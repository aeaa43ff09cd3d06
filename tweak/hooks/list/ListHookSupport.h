#pragma once

#include "platform/foundation/NSNotificationCenter.h"
#include "platform/foundation/NSString.h"
#include "platform/runtime/Runtime.h"

#include <string_view>

// What the list-chrome hooks share besides the common hook helpers: the header
// recolouring notification.
namespace ListHooks {

inline constexpr std::string_view updateHeaderColorNotification = "Tintwell-updateHeaderColor";

inline NSString* updateHeaderColorName()
{
    static NSString* name = NSString::string(updateHeaderColorNotification).leakRef();
    return name;
}

inline void postUpdateHeaderColor()
{
    msgSend<void>(NSNotificationCenter::sendDefaultCenter(), SELECTOR("postNotificationName:object:"), updateHeaderColorName(), nullptr);
}

} // namespace ListHooks
