#include "tweak/styling/QFConfig.h"

#include <mutex>

namespace {

// @synchronized on the class object: one recursive lock for the class.
std::recursive_mutex& classLock()
{
    static auto* lock = new std::recursive_mutex;
    return *lock;
}

struct Property {
    const char* name;
    const char* ivar;
};

constexpr Property properties[] = {
    { "borderThiccness", "_borderThiccness" },
    { "borderAlpha", "_borderAlpha" },
    { "fullAlpha", "_fullAlpha" },
    { "bothThickness", "_bothThickness" },
    { "darkBackgroundAlpha", "_darkBackgroundAlpha" },
    { "darkCornerAlpha", "_darkCornerAlpha" },
    { "lightBackgroundAlpha", "_lightBackgroundAlpha" },
    { "lightCornerAlpha", "_lightCornerAlpha" },
    { "style", "_style" },
};

} // namespace

Class QFConfig::classObject()
{
    static Class cls = [] {
        Class built = ClassBuilder<QFConfig>("QFConfig", Object::classObject())
                          .method<&QFConfig::borderThiccness>("borderThiccness")
                          .method<&QFConfig::setBorderThiccness>("setBorderThiccness:")
                          .method<&QFConfig::borderAlpha>("borderAlpha")
                          .method<&QFConfig::setBorderAlpha>("setBorderAlpha:")
                          .method<&QFConfig::fullAlpha>("fullAlpha")
                          .method<&QFConfig::setFullAlpha>("setFullAlpha:")
                          .method<&QFConfig::bothThickness>("bothThickness")
                          .method<&QFConfig::setBothThickness>("setBothThickness:")
                          .method<&QFConfig::darkBackgroundAlpha>("darkBackgroundAlpha")
                          .method<&QFConfig::setDarkBackgroundAlpha>("setDarkBackgroundAlpha:")
                          .method<&QFConfig::darkCornerAlpha>("darkCornerAlpha")
                          .method<&QFConfig::setDarkCornerAlpha>("setDarkCornerAlpha:")
                          .method<&QFConfig::lightBackgroundAlpha>("lightBackgroundAlpha")
                          .method<&QFConfig::setLightBackgroundAlpha>("setLightBackgroundAlpha:")
                          .method<&QFConfig::lightCornerAlpha>("lightCornerAlpha")
                          .method<&QFConfig::setLightCornerAlpha>("setLightCornerAlpha:")
                          .method<&QFConfig::style>("style")
                          .method<&QFConfig::setStyle>("setStyle:")
                          .method<&QFConfig::setQFConfigWithBTBAFABTDBDCLBLCstyle>("setQFConfigWithBT:BA:FA:BT:DB:DC:LB:LC:style:")
                          .classMethod<&QFConfig::newQFConfigWithBTBAFABTDBDCLBLCstyle>("newQFConfigWithBT:BA:FA:BT:DB:DC:LB:LC:style:")
                          .ivar<&QFConfig::m_borderThiccness>("_borderThiccness")
                          .ivar<&QFConfig::m_borderAlpha>("_borderAlpha")
                          .ivar<&QFConfig::m_fullAlpha>("_fullAlpha")
                          .ivar<&QFConfig::m_bothThickness>("_bothThickness")
                          .ivar<&QFConfig::m_darkBackgroundAlpha>("_darkBackgroundAlpha")
                          .ivar<&QFConfig::m_darkCornerAlpha>("_darkCornerAlpha")
                          .ivar<&QFConfig::m_lightBackgroundAlpha>("_lightBackgroundAlpha")
                          .ivar<&QFConfig::m_lightCornerAlpha>("_lightCornerAlpha")
                          .ivar<&QFConfig::m_style>("_style")
                          .build();
        for (auto& property : properties) {
            objc_property_attribute_t attributes[] = { { "T", "q" }, { "N", "" }, { "V", property.ivar } };
            class_addProperty(built, property.name, attributes, 3);
        }
        return built;
    }();
    return cls;
}

RefPtr<QFConfig> QFConfig::makeNew()
{
    auto record = class_createInstance(classObject());
    return msgSend<RefPtr<QFConfig>>(record, SELECTOR("init"));
}

RefPtr<QFConfig> QFConfig::newQFConfigWithBTBAFABTDBDCLBLCstyle(long borderThiccness, long borderAlpha, long fullAlpha,
    long bothThickness, long darkBackgroundAlpha, long darkCornerAlpha, long lightBackgroundAlpha, long lightCornerAlpha, long style)
{
    std::lock_guard lock(classLock());
    auto record = makeNew();
    record->setQFConfigWithBTBAFABTDBDCLBLCstyle(borderThiccness, borderAlpha, fullAlpha, bothThickness,
        darkBackgroundAlpha, darkCornerAlpha, lightBackgroundAlpha, lightCornerAlpha, style);
    return record;
}

void QFConfig::setQFConfigWithBTBAFABTDBDCLBLCstyle(long borderThiccness, long borderAlpha, long fullAlpha,
    long bothThickness, long darkBackgroundAlpha, long darkCornerAlpha, long lightBackgroundAlpha, long lightCornerAlpha, long style)
{
    msgSend<void>(this, SELECTOR("setBorderThiccness:"), borderThiccness);
    msgSend<void>(this, SELECTOR("setBorderAlpha:"), borderAlpha);
    msgSend<void>(this, SELECTOR("setFullAlpha:"), fullAlpha);
    msgSend<void>(this, SELECTOR("setBothThickness:"), bothThickness);
    msgSend<void>(this, SELECTOR("setDarkBackgroundAlpha:"), darkBackgroundAlpha);
    msgSend<void>(this, SELECTOR("setDarkCornerAlpha:"), darkCornerAlpha);
    msgSend<void>(this, SELECTOR("setLightBackgroundAlpha:"), lightBackgroundAlpha);
    msgSend<void>(this, SELECTOR("setLightCornerAlpha:"), lightCornerAlpha);
    msgSend<void>(this, SELECTOR("setStyle:"), style);
}
