#include "platform/foundation/NSNotification.h"

Class NSNotification::classObject()
{
    static Class cls = ClassBuilder<NSNotification>("NSNotification", Object::classObject())
                           .method<&NSNotification::name>("name")
                           .method<&NSNotification::object>("object")
                           .method<&NSNotification::userInfo>("userInfo")
                           .build();
    return cls;
}

RefPtr<NSNotification> NSNotification::notificationWithName(std::string_view name, id object, const NSDictionary* userInfo)
{
    auto notification = make<NSNotification>();
    notification->m_name = NSString::string(name);
    notification->m_object = object;
    notification->m_userInfo = const_cast<NSDictionary*>(userInfo);
    return notification;
}
