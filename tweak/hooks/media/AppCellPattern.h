#pragma once

#include "platform/foundation/NSMutableDictionary.h"
#include "platform/foundation/NSString.h"
#include "platform/graphics/CGColor.h"
#include "platform/graphics/UIColor.h"
#include "platform/graphics/UIImage.h"
#include "platform/runtime/Runtime.h"
#include "tweak/hooks/HookSupport.h"
#include "tweak/styling/QFConfig.h"

// The colouring Axon's and Grupi's app cells share; each hook file passes its own names.
namespace AppCellPattern {

inline RefPtr<UIImage> cellIconImage(const Object* cell)
{
    auto iconView = msgSendIfResponds<Id>(cell, SELECTOR("iconView"));
    return objectCast<UIImage>(msgSendIfResponds<Id>(iconView.get(), SELECTOR("image")));
}

inline void clear(const Object* cell)
{
    auto layer = msgSendIfResponds<Id>(cell, SELECTOR("layer"));
    auto background = msgSendIfResponds<Id>(cell, SELECTOR("backgroundColor"));
    if (!layer && !background)
        return;
    auto clearColour = UIColor::clearColor();
    msgSend<void>(layer.get(), SELECTOR("setBorderWidth:"), 0.0);
    msgSend<void>(layer.get(), SELECTOR("setBorderColor:"), msgSend<RefPtr<CGColor>>(clearColour.get(), SELECTOR("CGColor")));
    msgSend<void>(cell, SELECTOR("setBackgroundColor:"), clearColour);
}

// After the cell's own setSelected:.
inline void apply(const Object* cell, bool selected, long colorStyle, long colorMode, NSMutableDictionary* cache, QFConfig* config)
{
    bool tint = colorStyle == 0 || (colorStyle == 1 && selected);
    if (!tint) {
        clear(cell);
        return;
    }
    RefPtr<NSString> key = objectCast<NSString>(msgSendIfResponds<Id>(cell, SELECTOR("bundleIdentifier")));
    // Without a key nothing can be stored or read back.
    if (key && !cache->objectForKey(key.get())) {
        auto colour = Hooks::notificationColour(key.get(), colorMode, Hooks::IconlessSections::AppStoreIcon, cell, &cellIconImage);
        if (colour)
            cache->setObject(colour.get(), key.get());
    }
    // A cell without an app still gets the custom colour worked out for it, painted but not
    // stored: re-reading an empty key would clear the cell instead.
    auto colour = key ? objectCast<UIColor>(cache->objectForKey(key.get())) : Hooks::customNotificationColour();
    msgSend<void>(cell, SELECTOR("setColorWithQFConfig:color:"), config, colour);
}

} // namespace AppCellPattern
