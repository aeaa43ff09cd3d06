#pragma once

#include "platform/foundation/NSMutableDictionary.h"
#include "platform/foundation/NSString.h"
#include "platform/runtime/WeakPtr.h"

#include <optional>
#include <string>
#include <string_view>

// The phone's cell types, with its values.
enum PSCellType : long {
    PSGroupCell = 0,
    PSLinkCell = 1,
    PSLinkListCell = 2,
    PSListItemCell = 3,
    PSTitleValueCell = 4,
    PSSliderCell = 5,
    PSSwitchCell = 6,
    PSStaticTextCell = 7,
    PSEditTextCell = 8,
    PSSegmentCell = 9,
    PSGiantIconCell = 10,
    PSGiantCell = 11,
    PSSecureEditTextCell = 12,
    PSButtonCell = 13,
    PSEditTextViewCell = 14,
};

// One row (or group) of a settings page: a name, a cell type, the properties it was made
// from (every key of its specifier-list item, e.g. "key", "defaults", "default",
// "PostNotification", "validValues", "footerText", "cellClass", "TWLSub"), and the
// target that reads and writes its value (getter readPreferenceValue:, setter
// setPreferenceValue:specifier: unless told otherwise), the target's button action, and
// the controller class a link opens. The target is weak, as on the phone.
class PSSpecifier : public Object {
    TW_OBJECT(PSSpecifier)
public:
    static RefPtr<PSSpecifier> preferenceSpecifierNamed(NSString* name, id target, SEL set, SEL get, Class detail, long cell, long edit);
    static RefPtr<PSSpecifier> groupSpecifierWithName(NSString* name);
    // "PSSwitchCell" → PSSwitchCell; nullopt for a name the Settings app does not know.
    static std::optional<long> cellTypeFromString(std::string_view name);
    static std::string_view cellTypeName(long type);

    RefPtr<NSString> name() const { return m_name; }
    void setName(NSString* name) { msgSend<void>(this, SELECTOR("setName:"), name); }
    // The "id" given, else the name.
    RefPtr<NSString> identifier() const;
    void setIdentifier(NSString* identifier) { msgSend<void>(this, SELECTOR("setIdentifier:"), identifier); }
    Id propertyForKey(const NSString* key) const;
    Id propertyForKey(std::string_view key) const;
    // The property as text when it is a string.
    std::optional<std::string> stringProperty(std::string_view key) const;
    void setProperty(Object* value, NSString* key) { msgSend<void>(this, SELECTOR("setProperty:forKey:"), value, key); }
    void setProperty(Object* value, std::string_view key);
    void removePropertyForKey(NSString* key) { msgSend<void>(this, SELECTOR("removePropertyForKey:"), key); }
    RefPtr<NSMutableDictionary> properties() const { return m_properties; }
    long cellType() const { return m_cellType; }
    void setCellType(long type) { msgSend<void>(this, SELECTOR("setCellType:"), type); }
    Class detailControllerClass() const { return m_detailControllerClass; }
    void setDetailControllerClass(Class cls) { m_detailControllerClass = cls; }
    Id target() const { return m_target.get(); }
    void setTarget(id target) { msgSend<void>(this, SELECTOR("setTarget:"), target); }
    SEL buttonAction() const { return m_buttonAction; }
    void setButtonAction(SEL action) { msgSend<void>(this, SELECTOR("setButtonAction:"), action); }
    SEL setter() const { return m_setter; }
    SEL getter() const { return m_getter; }

    // The value the target's getter answers for this specifier (nil without a target).
    Id performGetter() const { return msgSend<Id>(this, SELECTOR("performGetter")); }
    // Hands the value to the target's setter; false without a live target that has one.
    bool performSetterWithValue(Object* value) { return msgSend<bool>(this, SELECTOR("performSetterWithValue:"), value); }

    ~PSSpecifier() override;

protected:
    PSSpecifier();

private:
    friend struct PSSpecifierClassArguments;
    static Id groupSpecifierImpl(NSString* name) { return groupSpecifierWithName(name); }
    Id nameImpl() const { return m_name; }
    void setNameImpl(RefPtr<NSString> name) { m_name = std::move(name); }
    Id identifierImpl() const { return identifier(); }
    void setIdentifierImpl(RefPtr<NSString> identifier);
    Id propertyForKeyImpl(NSString* key) const { return propertyForKey(key); }
    void setPropertyImpl(Object* value, NSString* key);
    void removePropertyForKeyImpl(NSString* key);
    Id propertiesImpl() const { return m_properties; }
    void setCellTypeImpl(long type) { m_cellType = type; }
    Id targetImpl() const { return target(); }
    void setTargetImpl(id target) { m_target = target; }
    void setButtonActionImpl(SEL action) { m_buttonAction = action; }
    Id performGetterImpl() const;
    bool performSetterWithValueImpl(Object* value);

    RefPtr<NSString> m_name;
    RefPtr<NSMutableDictionary> m_properties;
    long m_cellType { PSGroupCell };
    Class m_detailControllerClass { nullptr };
    WeakId m_target;
    SEL m_buttonAction { nullptr };
    SEL m_setter { nullptr };
    SEL m_getter { nullptr };
};
