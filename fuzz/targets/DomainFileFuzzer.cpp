// The extension's whole domain file: the input is written as
// "com.quillfen.tintwellprefs.plist" of a device root and bound exactly as the extension's
// start-up binds it, through HBPreferences, "Enabled" first and the other eighty-nine
// only when it is on; then every global is read as the hooks read them.
#include "fuzz/FuzzCheck.h"
#include "fuzz/FuzzDevice.h"
#include "outside/cephei/HBPreferences.h"
#include "platform/foundation/NSString.h"
#include "tweak/settings/SettingsGlobals.h"
#include "tweak/settings/SettingsStore.h"

#include <string>
#include <variant>

namespace {

const FuzzDevice& domainDevice()
{
    static const FuzzDevice& device = []() -> const FuzzDevice& {
        auto& device = FuzzDevice::shared();
        SettingsStore::createStyleRecords();
        return device;
    }();
    return device;
}

// Reads a global the way a hook does; a bool that is neither 0 nor 1, or a string that is
// gone, is what the sanitizers report here.
size_t readGlobal(const SettingKey& key)
{
    return std::visit(
        [](auto& binding) -> size_t {
            using Binding = std::decay_t<decltype(binding)>;
            if constexpr (std::is_same_v<Binding, SettingKey::Bool>)
                return *binding.global ? 1 : 0;
            else if constexpr (std::is_same_v<Binding, SettingKey::Integer>)
                return static_cast<size_t>(*binding.global);
            else
                return *binding.global ? (*binding.global)->utf8().size() : 0;
        },
        key.binding);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    auto& device = domainDevice();
    device.writeFile(std::string("/var/mobile/Library/Preferences/") + SettingsStore::domain + ".plist", std::string_view(reinterpret_cast<const char*>(data), size));

    auto preferences = HBPreferences::preferencesForIdentifier(NSString::string(SettingsStore::domain).get());
    fuzzCheck(preferences.get() != nullptr, "the domain always has a preferences object");
    if (SettingsStore::registerEnabled(*preferences)) {
        SettingsStore::registerRemaining(*preferences);
        TWLreloadPrefs();
    }
    // Kept where the optimiser cannot drop the reads.
    static volatile size_t sink;
    for (auto& key : SettingsStore::keys())
        sink = sink + readGlobal(key);
    // The texts the hooks show are always strings.
    fuzzCheck(!enabled || (customHint && customCenter), "the text settings always hold a string");
    return 0;
}
