#pragma once

#include "platform/runtime/Substrate.h"

#include <string>
#include <vector>

// One line of the installation table: what start-up does to one system class.
struct InstallationRow {
    enum class Kind { Replace, AddMethod, AddProperty };

    const char* className;
    // The selector, or the property's name.
    const char* name;
    Kind kind;
    // The replacement, the added method, or the property's getter.
    IMP implementation;
    // Replace: where the previous implementation goes. Otherwise null.
    IMP* slot;
    // The method's type encoding; for a property, the value of its "T" attribute.
    std::string types;
    // Add property: the setter, added after the getter.
    IMP setter { nullptr };
};

template<typename R, typename... Args>
InstallationRow replaceRow(const char* className, const char* selector, R (*replacement)(id, SEL, Args...), R (**slot)(id, SEL, Args...))
{
    return { className, selector, InstallationRow::Kind::Replace, reinterpret_cast<IMP>(replacement),
        reinterpret_cast<IMP*>(slot), signatureEncoding<R, Args...>() };
}

template<typename R, typename... Args>
InstallationRow addMethodRow(const char* className, const char* selector, R (*implementation)(id, SEL, Args...), const char* types)
{
    // The table's encoding is the one the system will check sends against.
    if (signatureEncoding<R, Args...>() != types)
        objc_fatal(std::string("added method ") + selector + " is " + signatureEncoding<R, Args...>() + ", table says " + types);
    return { className, selector, InstallationRow::Kind::AddMethod, reinterpret_cast<IMP>(implementation), nullptr, types };
}

// A retained, non-atomic object property stored as an associated value ("T", "&", "N").
inline InstallationRow addPropertyRow(const char* className, const char* property, const char* typeAttribute,
    Id (*getter)(id, SEL), void (*setter)(id, SEL, id))
{
    return { className, property, InstallationRow::Kind::AddProperty, reinterpret_cast<IMP>(getter), nullptr,
        typeAttribute, reinterpret_cast<IMP>(setter) };
}

using InstallationRows = std::vector<InstallationRow>;
