#include "platform/springboard/NCNotificationContent.h"

Class NCNotificationContent::classObject()
{
    static Class cls = ClassBuilder<NCNotificationContent>("NCNotificationContent", Object::classObject())
                           .method<&NCNotificationContent::header>("header")
                           .method<&NCNotificationContent::title>("title")
                           .method<&NCNotificationContent::subtitle>("subtitle")
                           .method<&NCNotificationContent::message>("message")
                           .build();
    return cls;
}

RefPtr<NCNotificationContent> NCNotificationContent::create(RefPtr<NSString> header, RefPtr<NSString> title, RefPtr<NSString> subtitle, RefPtr<NSString> message)
{
    auto content = make<NCNotificationContent>();
    content->m_header = std::move(header);
    content->m_title = std::move(title);
    content->m_subtitle = std::move(subtitle);
    content->m_message = std::move(message);
    return content;
}
