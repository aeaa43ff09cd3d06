#include "platform/foundation/NSURL.h"

#include "platform/foundation/NSString.h"

#include <functional>

Class NSURL::classObject()
{
    static Class cls = ClassBuilder<NSURL>("NSURL", Object::classObject())
                           .method<&NSURL::isEqualImpl>("isEqual:")
                           .method<&NSURL::hash>("hash")
                           .method<&NSURL::path>("path")
                           .build();
    return cls;
}

RefPtr<NSURL> NSURL::fileURLWithPath(std::string_view devicePath)
{
    if (devicePath.empty())
        return nullptr;
    std::string path(devicePath);
    if (path.size() > 1 && path.ends_with('/'))
        path.pop_back();
    return make<NSURL>(std::move(path));
}

RefPtr<NSURL> NSURL::URLWithString(std::string_view text)
{
    constexpr std::string_view scheme = "file://";
    if (!text.starts_with(scheme) || text.size() == scheme.size() || text[scheme.size()] != '/')
        return nullptr;
    return fileURLWithPath(text.substr(scheme.size()));
}

RefPtr<NSString> NSURL::path() const
{
    return NSString::string(m_path);
}

RefPtr<NSURL> NSURL::URLByAppendingPathComponent(std::string_view component) const
{
    std::string path = m_path;
    if (!path.ends_with('/'))
        path += '/';
    path += component;
    return fileURLWithPath(path);
}

bool NSURL::isEqual(const Object* other) const
{
    auto* url = objectCast<const NSURL>(other);
    return url && url->m_path == m_path;
}

NSUInteger NSURL::hash() const
{
    return std::hash<std::string> {}(m_path);
}
