#pragma once

// Reading views the way a test checks what the extension painted, without a home screen.

#include "platform/runtime/Runtime.h"
#include "platform/uikit/CALayer.h"
#include "platform/uikit/UIView.h"
#include "platform/uikit/ViewSnapshot.h"

#include <nlohmann/json.hpp>

namespace tweaktest {

inline Id ivar(const Object* object, const char* name)
{
    return object ? object_getIvar(const_cast<Object*>(object), class_getInstanceVariable(object->isa(), name)) : nullptr;
}

inline bool isKind(const Object* object, const char* className)
{
    Class cls = objc_getClass(className);
    return object && cls && object->isKindOfClass(cls);
}

// The three properties the painter sets, comparable as a whole.
inline nlohmann::json paintOf(const UIView* view)
{
    if (!view)
        return nullptr;
    auto layer = view->layer();
    return {
        { "borderWidth", layer->borderWidth() },
        { "borderColor", ViewSnapshot::colorJSON(layer->borderColor().get()) },
        { "background", ViewSnapshot::colorJSON(view->backgroundColor().get()) },
    };
}

} // namespace tweaktest
