#include "tweak/styling/QFConfig.h"

#include <mutex>
#include <string>

namespace {

// @synchronized on the class object: one recursive lock for the class.
std::recursive_mutex& classLock()
{
    static auto* lock = new std::recursive_mutex;
    return *lock;
}

#define TINTWELL_QFCONFIG_PROPERTY(name, Name) #name,
constexpr const char* propertyNames[] { TINTWELL_QFCONFIG_FIELDS(TINTWELL_QFCONFIG_PROPERTY) };
#undef TINTWELL_QFCONFIG_PROPERTY

} // namespace

Class QFConfig::classObject()
{
    static Class cls = [] {
#define TINTWELL_QFCONFIG_REGISTER(name, Name)                  \
    .method<&QFConfig::name>(#name)                             \
        .method<&QFConfig::set##Name>("set" #Name ":")          \
        .ivar<&QFConfig::m_##name>("_" #name)
        Class built = ClassBuilder<QFConfig>("QFConfig", Object::classObject())
                          TINTWELL_QFCONFIG_FIELDS(TINTWELL_QFCONFIG_REGISTER)
#undef TINTWELL_QFCONFIG_REGISTER
                          .method<&QFConfig::setQFConfigWithBTBAFABTDBDCLBLCstyle>("setQFConfigWithBT:BA:FA:BT:DB:DC:LB:LC:style:")
                          .classMethod<&QFConfig::newQFConfigWithBTBAFABTDBDCLBLCstyle>("newQFConfigWithBT:BA:FA:BT:DB:DC:LB:LC:style:")
                          .build();
        for (const char* name : propertyNames) {
            std::string ivar = std::string("_") + name;
            objc_property_attribute_t attributes[] = { { "T", "q" }, { "N", "" }, { "V", ivar.c_str() } };
            class_addProperty(built, name, attributes, 3);
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
