// Specifier lists of a settings bundle, read as the Settings app reads "<name>.plist" of a
// page's bundle, then turned into the page's rows: every specifier gets its cell, which
// reads its value from the domain the row names.
#include "fuzz/FuzzDevice.h"
#include "platform/foundation/NSArray.h"
#include "platform/foundation/PropertyList.h"
#include "platform/settings/PSListController.h"
#include "platform/settings/PSSpecifier.h"
#include "platform/settings/PSTableCell.h"
#include "platform/settings/SettingsClasses.h"
#include "platform/settings/SpecifierPlistReader.h"

#include <string>

namespace {

constexpr std::string_view listFile = "/Library/PreferenceBundles/Fuzz.bundle/Fuzz.plist";

const FuzzDevice& settingsDevice()
{
    static const FuzzDevice& device = []() -> const FuzzDevice& {
        registerSettingsClasses();
        auto& device = FuzzDevice::shared();
        // Rows that name this domain find values of every kind.
        device.writeFile("/var/mobile/Library/Preferences/com.quillfen.tintwellprefs.plist", R"(<?xml version="1.0" encoding="UTF-8"?>
<plist version="1.0"><dict>
<key>Enabled</key><true/><key>NotifStyle</key><integer>1</integer><key>NotifOutAlpha</key><real>0.5</real>
<key>CustomHint</key><string>Hint</string><key>List</key><array><string>a</string></array>
</dict></plist>
)");
        return device;
    }();
    return device;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    auto& device = settingsDevice();
    device.writeFile(listFile, std::string_view(reinterpret_cast<const char*>(data), size));

    auto controller = UIViewController::create<PSListController>();
    auto result = SpecifierPlistReader::read(PropertyList::readFile(listFile).get(), controller.get(), "Fuzz");
    if (!result.specifiers)
        return 0;
    for (auto& item : *result.specifiers) {
        RefPtr<PSSpecifier> specifier = objectCast<PSSpecifier>(item);
        if (!specifier)
            continue;
        specifier->performGetter();
        Class cellClass = nullptr;
        if (auto name = specifier->stringProperty("cellClass"))
            cellClass = objc_getClass(name->c_str());
        if (auto cell = PSTableCell::createForSpecifier(cellClass, specifier.get()))
            cell->valueText();
    }
    return 0;
}
