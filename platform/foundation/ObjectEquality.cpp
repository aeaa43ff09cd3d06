#include "platform/foundation/ObjectEquality.h"

#include "platform/foundation/NSString.h"

namespace {

bool isPlainString(const Object* object)
{
    return object->isMemberOfClass(NSString::classObject());
}

} // namespace

bool ObjectEquality::isEqual(const Object* a, const Object* b)
{
    if (a == b)
        return true;
    if (!a || !b)
        return false;
    if (isPlainString(a) && isPlainString(b))
        return uncheckedObjectCast<const NSString>(a)->utf8() == uncheckedObjectCast<const NSString>(b)->utf8();
    return msgSend<bool>(a, SELECTOR("isEqual:"), const_cast<Object*>(b));
}

unsigned long ObjectEquality::hash(const Object* object)
{
    if (!object)
        return 0;
    if (isPlainString(object))
        return uncheckedObjectCast<const NSString>(object)->hash();
    return msgSend<unsigned long>(object, SELECTOR("hash"));
}
