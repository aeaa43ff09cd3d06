#pragma once

#include "platform/foundation/NSString.h"

// The texts a notification request shows.
class NCNotificationContent : public Object {
    TW_OBJECT(NCNotificationContent)
public:
    static RefPtr<NCNotificationContent> create(RefPtr<NSString> header, RefPtr<NSString> title, RefPtr<NSString> subtitle, RefPtr<NSString> message);

    RefPtr<NSString> header() const { return m_header; }
    RefPtr<NSString> title() const { return m_title; }
    RefPtr<NSString> subtitle() const { return m_subtitle; }
    RefPtr<NSString> message() const { return m_message; }

protected:
    NCNotificationContent() = default;

private:
    RefPtr<NSString> m_header;
    RefPtr<NSString> m_title;
    RefPtr<NSString> m_subtitle;
    RefPtr<NSString> m_message;
};
