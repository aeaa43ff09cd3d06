#include "platform/springboard/LSBundleProxy.h"

#include "platform/springboard/AppIndex.h"

#include "platform/foundation/NSDictionary.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/NSURL.h"

Class LSBundleProxy::classObject()
{
    static Class cls = ClassBuilder<LSBundleProxy>("LSBundleProxy", Object::classObject())
                           .classFunction("bundleProxyForIdentifier:", &LSBundleProxy::bundleProxyForIdentifierImpl)
                           .method<&LSBundleProxy::iconsDictionary>("iconsDictionary")
                           .method<&LSBundleProxy::bundleURL>("bundleURL")
                           .method<&LSBundleProxy::bundleIdentifier>("bundleIdentifier")
                           .method<&LSBundleProxy::localizedName>("localizedName")
                           .build();
    return cls;
}

LSBundleProxy::LSBundleProxy(std::string devicePath, RefPtr<NSDictionary> info)
    : m_devicePath(std::move(devicePath))
    , m_info(std::move(info))
{
}

RefPtr<LSBundleProxy> LSBundleProxy::bundleProxyForIdentifier(std::string_view identifier)
{
    auto app = AppIndex::find(identifier);
    if (!app)
        return nullptr;
    return make<LSBundleProxy>(std::move(app->folder), std::move(app->info));
}

Id LSBundleProxy::bundleProxyForIdentifierImpl(Class, SEL, id identifier)
{
    auto* text = objectCast<NSString>(identifier);
    if (!text)
        return nullptr;
    return bundleProxyForIdentifier(text->view());
}

RefPtr<NSDictionary> LSBundleProxy::iconsDictionary() const
{
    if (!m_info)
        return nullptr;
    return objectCast<NSDictionary>(m_info->objectForStringKey("CFBundleIcons"));
}

RefPtr<NSURL> LSBundleProxy::bundleURL() const
{
    return NSURL::fileURLWithPath(m_devicePath);
}

RefPtr<NSString> LSBundleProxy::bundleIdentifier() const
{
    return stringForKey("CFBundleIdentifier");
}

RefPtr<NSString> LSBundleProxy::localizedName() const
{
    if (auto name = stringForKey("CFBundleDisplayName"))
        return name;
    return stringForKey("CFBundleName");
}

RefPtr<NSString> LSBundleProxy::stringForKey(std::string_view key) const
{
    if (!m_info)
        return nullptr;
    return objectCast<NSString>(m_info->objectForStringKey(key));
}
