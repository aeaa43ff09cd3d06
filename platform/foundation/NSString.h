#pragma once

#include "platform/foundation/NSObjCRuntime.h"

#include <string>
#include <string_view>

// Immutable UTF-8 text.
class NSString : public Object {
    TW_OBJECT(NSString)
public:
    static Ref<NSString> string(std::string_view text = {});
    static RefPtr<NSString> stringWithUTF8String(const char* text);

    const std::string& utf8() const { return m_text; }
    std::string_view view() const { return m_text; }
    const char* UTF8String() const { return m_text.c_str(); }
    // UTF-16 code units, as the phone counts them.
    NSUInteger length() const;

    bool isEqualToString(const NSString* other) const;
    bool isEqual(const Object* other) const;
    NSUInteger hash() const;

    bool hasPrefix(std::string_view prefix) const { return m_text.starts_with(prefix); }
    bool hasSuffix(std::string_view suffix) const { return m_text.ends_with(suffix); }

    // Leading whitespace skipped; unreadable text reads as 0 / NO.
    NSInteger integerValue() const;
    double doubleValue() const;
    bool boolValue() const;

protected:
    NSString() = default;
    explicit NSString(std::string_view text)
        : m_text(text)
    {
    }

private:
    bool isEqualImpl(Object* other) const { return isEqual(other); }
    bool isEqualToStringImpl(NSString* other) const { return isEqualToString(other); }

    std::string m_text;
};
