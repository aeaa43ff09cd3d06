#pragma once

#include "platform/foundation/NSArray.h"
#include "platform/foundation/NSNotificationCenter.h"
#include "platform/foundation/NSString.h"
#include "platform/runtime/Runtime.h"
#include "tweak/hooks/RuntimeLookups.h"

#include <string_view>

// What the list-chrome hooks share: kind tests by class name, ivars by name, the header
// recolouring notification and the style-change test.
namespace ListHooks {

inline constexpr std::string_view updateHeaderColorNotification = "Tintwell-updateHeaderColor";
inline constexpr double styleChangeDelay = 0.2;

inline bool isKindOf(const Object* object, Class cls) { return object && cls && object->isKindOfClass(cls); }

inline RefPtr<NSArray> subviewsOf(const Object* view) { return objectAs<NSArray>(msgSendIfResponds<Id>(view, SELECTOR("subviews")).get()); }

inline Id superviewOf(const Object* view) { return msgSendIfResponds<Id>(view, SELECTOR("superview")); }

inline void postUpdateHeaderColor()
{
    static NSString* name = NSString::string(updateHeaderColorNotification).leakRef();
    msgSend<void>(NSNotificationCenter::sendDefaultCenter(), SELECTOR("postNotificationName:object:"), name, static_cast<Object*>(nullptr));
}

// An absent collection counts as unspecified (0).
inline long userInterfaceStyleOf(const Object* traits) { return msgSendIfResponds<long>(traits, SELECTOR("userInterfaceStyle")); }

inline bool styleChanged(const Object* view, const Object* previousTraitCollection)
{
    auto current = msgSend<Id>(view, SELECTOR("traitCollection"));
    return userInterfaceStyleOf(current.get()) != userInterfaceStyleOf(previousTraitCollection);
}

// Retains the receiver until the call runs on the main run loop.
inline void performAfterStyleChangeDelay(const Object* receiver, SEL selector)
{
    msgSend<void>(receiver, SELECTOR("performSelector:withObject:afterDelay:"), selector, static_cast<Object*>(nullptr), styleChangeDelay);
}

} // namespace ListHooks
