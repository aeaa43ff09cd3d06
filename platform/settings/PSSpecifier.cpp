#include "platform/settings/PSSpecifier.h"

#include <array>
#include <utility>

namespace {

constexpr std::array<std::pair<std::string_view, long>, 15> cellTypeNames { {
    { "PSGroupCell", PSGroupCell },
    { "PSLinkCell", PSLinkCell },
    { "PSLinkListCell", PSLinkListCell },
    { "PSListItemCell", PSListItemCell },
    { "PSTitleValueCell", PSTitleValueCell },
    { "PSSliderCell", PSSliderCell },
    { "PSSwitchCell", PSSwitchCell },
    { "PSStaticTextCell", PSStaticTextCell },
    { "PSEditTextCell", PSEditTextCell },
    { "PSSegmentCell", PSSegmentCell },
    { "PSGiantIconCell", PSGiantIconCell },
    { "PSGiantCell", PSGiantCell },
    { "PSSecureEditTextCell", PSSecureEditTextCell },
    { "PSButtonCell", PSButtonCell },
    { "PSEditTextViewCell", PSEditTextViewCell },
} };

} // namespace

// Methods with a class argument or result are registered with their encodings by hand:
// the typed send helpers take object pointers only.
struct PSSpecifierClassArguments {
    static Id preferenceSpecifier(Class, SEL, id name, id target, SEL set, SEL get, Class detail, long cell, long edit)
    {
        return PSSpecifier::preferenceSpecifierNamed(objectCast<NSString>(name), target, set, get, detail, cell, edit);
    }
    static Class detailControllerClass(id self, SEL) { return uncheckedObjectCast<PSSpecifier>(self)->m_detailControllerClass; }
    static void setDetailControllerClass(id self, SEL, Class cls) { uncheckedObjectCast<PSSpecifier>(self)->m_detailControllerClass = cls; }
};

Class PSSpecifier::classObject()
{
    static Class cls = [] {
        Class cls = ClassBuilder<PSSpecifier>("PSSpecifier", Object::classObject())
                   .classMethod<&PSSpecifier::groupSpecifierImpl>("groupSpecifierWithName:")
                   .method<&PSSpecifier::nameImpl>("name")
                   .method<&PSSpecifier::setNameImpl>("setName:")
                   .method<&PSSpecifier::identifierImpl>("identifier")
                   .method<&PSSpecifier::setIdentifierImpl>("setIdentifier:")
                   .method<&PSSpecifier::propertyForKeyImpl>("propertyForKey:")
                   .method<&PSSpecifier::setPropertyImpl>("setProperty:forKey:")
                   .method<&PSSpecifier::removePropertyForKeyImpl>("removePropertyForKey:")
                   .method<&PSSpecifier::propertiesImpl>("properties")
                   .method<&PSSpecifier::cellType>("cellType")
                   .method<&PSSpecifier::setCellTypeImpl>("setCellType:")
                   .method<&PSSpecifier::targetImpl>("target")
                   .method<&PSSpecifier::setTargetImpl>("setTarget:")
                   .method<&PSSpecifier::buttonAction>("buttonAction")
                   .method<&PSSpecifier::setButtonActionImpl>("setButtonAction:")
                   .method<&PSSpecifier::setter>("setter")
                   .method<&PSSpecifier::getter>("getter")
                   .method<&PSSpecifier::performGetterImpl>("performGetter")
                   .method<&PSSpecifier::performSetterWithValueImpl>("performSetterWithValue:")
                   .build();
        class_addMethod(objc_getMetaClass(cls), sel_registerName("preferenceSpecifierNamed:target:set:get:detail:cell:edit:"),
            reinterpret_cast<IMP>(&PSSpecifierClassArguments::preferenceSpecifier), "@@:@@::#qq");
        class_addMethod(cls, sel_registerName("detailControllerClass"), reinterpret_cast<IMP>(&PSSpecifierClassArguments::detailControllerClass), "#@:");
        class_addMethod(cls, sel_registerName("setDetailControllerClass:"), reinterpret_cast<IMP>(&PSSpecifierClassArguments::setDetailControllerClass), "v@:#");
        return cls;
    }();
    return cls;
}

PSSpecifier::PSSpecifier()
    : m_properties(NSMutableDictionary::dictionary())
{
}

PSSpecifier::~PSSpecifier() = default;

RefPtr<PSSpecifier> PSSpecifier::preferenceSpecifierNamed(NSString* name, id target, SEL set, SEL get, Class detail, long cell, long edit)
{
    auto specifier = make<PSSpecifier>();
    specifier->m_name = name;
    specifier->m_target = target;
    specifier->m_setter = set;
    specifier->m_getter = get;
    specifier->m_detailControllerClass = detail;
    specifier->m_cellType = cell;
    return specifier;
}

RefPtr<PSSpecifier> PSSpecifier::groupSpecifierWithName(NSString* name)
{
    return preferenceSpecifierNamed(name, nullptr, nullptr, nullptr, nullptr, PSGroupCell, 0);
}

std::optional<long> PSSpecifier::cellTypeFromString(std::string_view name)
{
    for (auto& [text, type] : cellTypeNames) {
        if (text == name)
            return type;
    }
    return std::nullopt;
}

std::string_view PSSpecifier::cellTypeName(long type)
{
    for (auto& [text, value] : cellTypeNames) {
        if (value == type)
            return text;
    }
    return "PSStaticTextCell";
}

RefPtr<NSString> PSSpecifier::identifier() const
{
    if (RefPtr<NSString> identifier = objectCast<NSString>(m_properties->objectForStringKey("id")))
        return identifier;
    return m_name;
}

void PSSpecifier::setIdentifierImpl(RefPtr<NSString> identifier)
{
    m_properties->setValue(identifier.get(), NSString::string("id").get());
}

Id PSSpecifier::propertyForKey(const NSString* key) const
{
    if (!key)
        return nullptr;
    return m_properties->objectForKey(key);
}

Id PSSpecifier::propertyForKey(std::string_view key) const { return m_properties->objectForStringKey(key); }

std::optional<std::string> PSSpecifier::stringProperty(std::string_view key) const
{
    RefPtr<NSString> value = objectCast<NSString>(propertyForKey(key));
    if (!value)
        return std::nullopt;
    return value->utf8();
}

void PSSpecifier::setProperty(Object* value, std::string_view key) { setProperty(value, NSString::string(key).get()); }

void PSSpecifier::setPropertyImpl(Object* value, NSString* key)
{
    if (!key)
        return;
    m_properties->setValue(value, key);
}

void PSSpecifier::removePropertyForKeyImpl(NSString* key)
{
    if (!key)
        return;
    m_properties->removeObjectForKey(key);
}

Id PSSpecifier::performGetterImpl() const
{
    auto target = m_target.get();
    if (!target || !m_getter || !target->respondsToSelector(m_getter))
        return nullptr;
    return msgSend<Id>(target, m_getter, this);
}

bool PSSpecifier::performSetterWithValueImpl(Object* value)
{
    auto target = m_target.get();
    if (!target || !m_setter || !target->respondsToSelector(m_setter))
        return false;
    RefPtr<PSSpecifier> protect(this);
    msgSend<void>(target, m_setter, value, this);
    return true;
}
