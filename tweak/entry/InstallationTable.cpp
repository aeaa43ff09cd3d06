#include "tweak/entry/InstallationTable.h"

#include "platform/foundation/rootless.h"
#include "tweak/hooks/HookRows.h"
#include "tweak/settings/SettingsGlobals.h"

#include <array>
#include <cctype>

namespace {

InstallationRows concatenated(std::initializer_list<InstallationRows> groups)
{
    InstallationRows rows;
    for (auto& group : groups)
        rows.insert(rows.end(), group.begin(), group.end());
    return rows;
}

const std::array<InstallationTable::Companion, 3> companionTable {
    InstallationTable::Companion { ROOT_PATH("/Library/MobileSubstrate/DynamicLibraries/Axon.dylib"), &axon, &axonColoring, false, &AXNAppCellHooks::rows },
    InstallationTable::Companion { ROOT_PATH("/Library/MobileSubstrate/DynamicLibraries/Grupi.dylib"), &grupi, &grupiColoring, true, &GRPAppCellHooks::rows },
    InstallationTable::Companion { ROOT_PATH("/Library/MobileSubstrate/DynamicLibraries/Dayn.dylib"), &dayn, &daynColoring, true, &DaynContainerHooks::rows },
};

std::string setterName(const char* property)
{
    std::string name = std::string("set") + property + ":";
    name[3] = static_cast<char>(std::toupper(static_cast<unsigned char>(name[3])));
    return name;
}

void replace(Class cls, const InstallationRow& row)
{
    SEL selector = sel_registerName(row.name);
#ifndef NDEBUG
    // The same guard the typed MSHookMessageEx gives: a wrong signature fails here, not in a send.
    if (Method method = class_getInstanceMethod(cls, selector))
        objc_checkSignature(method, selector, row.types);
#endif
    MSHookMessageEx(cls, selector, row.implementation, row.slot);
}

void addProperty(Class cls, const InstallationRow& row)
{
    objc_property_attribute_t attributes[] = { { "T", row.types.c_str() }, { "&", "" }, { "N", "" } };
    class_addProperty(cls, row.name, attributes, 3);
    class_addMethod(cls, sel_registerName(row.name), row.implementation, "@@:");
    class_addMethod(cls, sel_registerName(setterName(row.name).c_str()), row.setter, "v@:@");
}

} // namespace

InstallationRows InstallationTable::bulletinServerRows()
{
    return BBServerHooks::rows();
}

InstallationRows InstallationTable::systemRows()
{
    return concatenated({
        NCNotificationListSectionRevealHintViewHooks::rows(),
        NCNotificationListSectionHeaderViewHooks::rows(),
        PLPlatterHeaderContentViewHooks::rows(),
        NCNotificationShortLookViewControllerHooks::rows(),
        NCNotificationStructuredListViewControllerHooks::rows(),
        NCNotificationListViewHooks::rows(),
        NCNotificationContentViewHooks::rows(),
        NCNotificationLongLookViewHooks::rows(),
        NCNotificationMasterListHooks::rows(),
        NCNotificationListCellActionButtonsViewHooks::rows(),
        MediaControlsHeaderViewHooks::rows(),
        // What a painted platter depends on, counted so an unchanged one is not looked at again.
        UIViewHooks::rows(),
        CALayerHooks::rows(),
        NCNotificationListCellHooks::rows(),
        UIUserInterfaceStyleArbiterHooks::rows(),
    });
}

std::span<const InstallationTable::Companion> InstallationTable::companions() { return companionTable; }

void InstallationTable::install(const InstallationRows& rows)
{
    const char* currentName = nullptr;
    Class cls = nullptr;
    for (auto& row : rows) {
        if (!currentName || std::string_view(currentName) != row.className) {
            currentName = row.className;
            cls = objc_getClass(row.className);
        }
        if (!cls)
            continue;
        switch (row.kind) {
        case InstallationRow::Kind::Replace:
            replace(cls, row);
            break;
        case InstallationRow::Kind::AddMethod:
            class_addMethod(cls, sel_registerName(row.name), row.implementation, row.types.c_str());
            break;
        case InstallationRow::Kind::AddProperty:
            addProperty(cls, row);
            break;
        }
    }
}
