#include "platform/springboard/NCNotificationRequest.h"

#include "platform/foundation/NSProcessInfo.h"

Class NCNotificationRequest::classObject()
{
    static Class cls = ClassBuilder<NCNotificationRequest>("NCNotificationRequest", Object::classObject())
                           .classFunction("notificationRequestForBulletin:", &NCNotificationRequest::notificationRequestForBulletinImpl)
                           .method<&NCNotificationRequest::sectionIdentifier>("sectionIdentifier")
                           .method<&NCNotificationRequest::notificationIdentifier>("notificationIdentifier")
                           .method<&NCNotificationRequest::threadIdentifier>("threadIdentifier")
                           .method<&NCNotificationRequest::bulletin>("bulletin")
                           .method<&NCNotificationRequest::content>("content")
                           .method<&NCNotificationRequest::timestamp>("timestamp")
                           .ivar<&NCNotificationRequest::m_sectionIdentifier>("_sectionIdentifier")
                           .ivar<&NCNotificationRequest::m_notificationIdentifier>("_notificationIdentifier")
                           .ivar<&NCNotificationRequest::m_bulletin>("_bulletin")
                           .build();
    return cls;
}

RefPtr<NCNotificationRequest> NCNotificationRequest::notificationRequestForBulletin(BBBulletin* bulletin)
{
    if (!bulletin)
        return nullptr;
    auto request = make<NCNotificationRequest>();
    request->m_bulletin = bulletin;
    request->m_sectionIdentifier = bulletin->sectionID();
    request->m_notificationIdentifier = bulletin->bulletinID();
    // Two id-less bulletins must not collapse into one notification.
    if (!request->m_notificationIdentifier || request->m_notificationIdentifier->view().empty())
        request->m_notificationIdentifier = NSProcessInfo::processInfo()->globallyUniqueString();
    request->m_timestamp = bulletin->date();
    if (!request->m_timestamp)
        request->m_timestamp = bulletin->publicationDate();
    if (!request->m_timestamp)
        request->m_timestamp = NSDate::date();
    // Without a message preview the phone shows the title alone.
    auto message = bulletin->showsMessagePreview() ? bulletin->message() : nullptr;
    request->m_content = NCNotificationContent::create(nullptr, bulletin->title(), bulletin->subtitle(), std::move(message));
    return request;
}

Id NCNotificationRequest::notificationRequestForBulletinImpl(Class, SEL, id bulletin)
{
    return notificationRequestForBulletin(objectCast<BBBulletin>(bulletin));
}
