#pragma once

#include "platform/foundation/NSDictionary.h"
#include "platform/foundation/NSString.h"

#include <string_view>

// What an observer of the notification centre receives: a name, the posting object
// (or nil) and an optional dictionary.
class NSNotification : public Object {
    TW_OBJECT(NSNotification)
public:
    static RefPtr<NSNotification> notificationWithName(std::string_view name, id object, const NSDictionary* userInfo = nullptr);

    RefPtr<NSString> name() const { return m_name; }
    Id object() const { return m_object; }
    RefPtr<NSDictionary> userInfo() const { return m_userInfo; }

protected:
    NSNotification() = default;

private:
    RefPtr<NSString> m_name;
    Id m_object;
    RefPtr<NSDictionary> m_userInfo;
};
