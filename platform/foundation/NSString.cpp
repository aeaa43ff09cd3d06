#include "platform/foundation/NSString.h"

#include <cctype>
#include <cstdlib>
#include <functional>

Class NSString::classObject()
{
    static Class cls = ClassBuilder<NSString>("NSString", Object::classObject())
                           .method<&NSString::isEqualImpl>("isEqual:")
                           .method<&NSString::hash>("hash")
                           .method<&NSString::isEqualToStringImpl>("isEqualToString:")
                           .method<&NSString::length>("length")
                           .method<&NSString::UTF8String>("UTF8String")
                           .method<&NSString::integerValue>("integerValue")
                           .method<&NSString::doubleValue>("doubleValue")
                           .method<&NSString::boolValue>("boolValue")
                           .build();
    return cls;
}

Ref<NSString> NSString::string(std::string_view text)
{
    return make<NSString>(text);
}

RefPtr<NSString> NSString::stringWithUTF8String(const char* text)
{
    if (!text)
        return nullptr;
    return make<NSString>(std::string_view(text));
}

NSUInteger NSString::length() const
{
    NSUInteger units = 0;
    for (unsigned char byte : m_text) {
        // Continuation bytes add nothing; a four-byte lead needs a surrogate pair.
        if ((byte & 0xC0) == 0x80)
            continue;
        units += byte >= 0xF0 ? 2 : 1;
    }
    return units;
}

bool NSString::isEqualToString(const NSString* other) const
{
    return other && other->m_text == m_text;
}

bool NSString::isEqual(const Object* other) const
{
    if (other == this)
        return true;
    auto* string = objectCast<const NSString>(other);
    return string && string->m_text == m_text;
}

NSUInteger NSString::hash() const
{
    return std::hash<std::string_view> {}(m_text);
}

NSInteger NSString::integerValue() const
{
    // strtoll saturates on overflow, like the phone.
    return std::strtoll(m_text.c_str(), nullptr, 10);
}

double NSString::doubleValue() const
{
    return std::strtod(m_text.c_str(), nullptr);
}

bool NSString::boolValue() const
{
    size_t i = 0;
    while (i < m_text.size() && std::isspace(static_cast<unsigned char>(m_text[i])))
        ++i;
    if (i < m_text.size() && (m_text[i] == '+' || m_text[i] == '-'))
        ++i;
    while (i < m_text.size() && m_text[i] == '0')
        ++i;
    if (i == m_text.size())
        return false;
    char c = m_text[i];
    return c == 'Y' || c == 'y' || c == 'T' || c == 't' || (c >= '1' && c <= '9');
}
