#pragma once

#include "platform/foundation/NSDate.h"
#include "platform/foundation/NSString.h"
#include "platform/springboard/BBBulletin.h"
#include "platform/springboard/NCNotificationContent.h"

// A notification as the home screen's list handles it, made from a bulletin.
class NCNotificationRequest : public Object {
    TW_OBJECT(NCNotificationRequest)
public:
    // Nil for a nil bulletin. The section identifier is the bulletin's sectionID, the
    // notification identifier its bulletinID (a fresh unique string when it has none), the
    // timestamp its date (else its publication date, else now).
    static RefPtr<NCNotificationRequest> notificationRequestForBulletin(BBBulletin* bulletin);

    RefPtr<NSString> sectionIdentifier() const { return m_sectionIdentifier; }
    RefPtr<NSString> notificationIdentifier() const { return m_notificationIdentifier; }
    RefPtr<NSString> threadIdentifier() const { return m_sectionIdentifier; }
    RefPtr<BBBulletin> bulletin() const { return m_bulletin; }
    RefPtr<NCNotificationContent> content() const { return m_content; }
    RefPtr<NSDate> timestamp() const { return m_timestamp; }

    // Borrowed text of the identifiers, empty when absent.
    std::string_view sectionID() const { return m_sectionIdentifier ? m_sectionIdentifier->view() : std::string_view(); }
    std::string_view identifier() const { return m_notificationIdentifier ? m_notificationIdentifier->view() : std::string_view(); }

protected:
    NCNotificationRequest() = default;

private:
    static Id notificationRequestForBulletinImpl(Class, SEL, id bulletin);

    RefPtr<NSString> m_sectionIdentifier;
    RefPtr<NSString> m_notificationIdentifier;
    RefPtr<BBBulletin> m_bulletin;
    RefPtr<NCNotificationContent> m_content;
    RefPtr<NSDate> m_timestamp;
};
