#pragma once

#include "platform/foundation/NSNumber.h"
#include "platform/foundation/NSString.h"

#include <nlohmann/json.hpp>

// A stored value as the tools print it: a string, boolean or number as itself (an unsigned
// number above the signed range keeps its value), anything else or nothing as null.
template<typename Json = nlohmann::json>
Json scalarJSON(const Object* value)
{
    if (RefPtr<NSString> text = objectCast<NSString>(value))
        return text->utf8();
    RefPtr<NSNumber> number = objectCast<NSNumber>(value);
    if (!number)
        return nullptr;
    switch (number->kind()) {
    case NSNumber::Kind::Bool:
        return number->boolValue();
    case NSNumber::Kind::Integer:
        if (number->isUnsigned())
            return number->unsignedIntegerValue();
        return number->integerValue();
    case NSNumber::Kind::Real:
        return number->doubleValue();
    }
    return nullptr;
}
