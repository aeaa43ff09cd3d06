#include "tweak/settings/SettingsStore.h"

#include "tweak/settings/SettingsGlobals.h"

#include <iterator>

namespace {

constexpr SettingKey boolKey(const char* key, bool* global, bool defaultValue) { return { key, SettingKey::Bool { global, defaultValue } }; }
constexpr SettingKey integerKey(const char* key, long* global, long defaultValue) { return { key, SettingKey::Integer { global, defaultValue } }; }
constexpr SettingKey objectKey(const char* key, RefPtr<NSString>* global, const char* defaultValue) { return { key, SettingKey::Object { global, defaultValue } }; }

#define TINTWELL_BOOL_KEY(global, key, defaultValue) boolKey(key, &global, defaultValue),
#define TINTWELL_INTEGER_KEY(global, key, defaultValue) integerKey(key, &global, defaultValue),
#define TINTWELL_STRING_KEY(global, key, defaultValue) objectKey(key, &global, defaultValue),
const SettingKey settingKeys[] { TINTWELL_SETTINGS(TINTWELL_BOOL_KEY, TINTWELL_INTEGER_KEY, TINTWELL_STRING_KEY) };
#undef TINTWELL_BOOL_KEY
#undef TINTWELL_INTEGER_KEY
#undef TINTWELL_STRING_KEY

template<typename... Ts>
struct Overloaded : Ts... {
    using Ts::operator()...;
};
// Clang 14 does not deduce an aggregate's template arguments from its initialiser.
template<typename... Ts>
Overloaded(Ts...) -> Overloaded<Ts...>;

void fill(QFConfig* record, long outThickness, long outAlpha, long fullAlpha, long bothThickness,
    long dBodyAlpha, long dOutlAlpha, long lBodyAlpha, long lOutlAlpha, long style)
{
    msgSend<void>(record, SELECTOR("setQFConfigWithBT:BA:FA:BT:DB:DC:LB:LC:style:"),
        outThickness, outAlpha, fullAlpha, bothThickness, dBodyAlpha, dOutlAlpha, lBodyAlpha, lOutlAlpha, style);
}

} // namespace

std::span<const SettingKey> SettingsStore::keys() { return settingKeys; }

void SettingsStore::registerKey(HBPreferences& preferences, const SettingKey& setting)
{
    auto key = NSString::stringWithUTF8String(setting.key);
    std::visit(Overloaded {
                   [&](const SettingKey::Bool& b) { preferences.registerBooldefaultforKey(b.global, b.defaultValue, key.get()); },
                   [&](const SettingKey::Integer& i) { preferences.registerIntegerdefaultforKey(i.global, i.defaultValue, key.get()); },
                   [&](const SettingKey::Object& o) { preferences.registerObjectdefaultforKey(o.global, NSString::stringWithUTF8String(o.defaultValue).get(), key.get()); },
               },
        setting.binding);
}

bool SettingsStore::registerEnabled(HBPreferences& preferences)
{
    registerKey(preferences, settingKeys[0]);
    return enabled;
}

void SettingsStore::registerRemaining(HBPreferences& preferences)
{
    for (auto& setting : keys().subspan(1))
        registerKey(preferences, setting);
}

void SettingsStore::createStyleRecords()
{
    NotifsConfig = QFConfig::makeNew();
    WidgetsConfig = QFConfig::makeNew();
    MusicConfig = QFConfig::makeNew();
    AxonConfig = QFConfig::makeNew();
    GrupiConfig = QFConfig::makeNew();
    DaynConfig = QFConfig::makeNew();
}

void TWLreloadPrefs()
{
    fill(NotifsConfig.get(), notifOutThickness, notifOutAlpha, notifFullAlpha, notifBothThickness,
        notifDBodyAlpha, notifDOutlAlpha, notifLBodyAlpha, notifLOutlAlpha, notificationStyle);
    fill(WidgetsConfig.get(), widgetOutThickness, widgetOutAlpha, widgetFullAlpha, widgetBothThickness,
        widgetDBodyAlpha, widgetDOutlAlpha, widgetLBodyAlpha, widgetLOutlAlpha, widgetStyle);
    fill(MusicConfig.get(), musicOutThickness, musicOutAlpha, musicFullAlpha, musicBothThickness,
        musicDBodyAlpha, musicDOutlAlpha, musicLBodyAlpha, musicLOutlAlpha, musicStyle);
    fill(AxonConfig.get(), axonOutThickness, axonOutAlpha, axonFullAlpha, axonBothThickness,
        axonDBodyAlpha, axonDOutlAlpha, axonLBodyAlpha, axonLOutlAlpha, axonStyle);
    fill(GrupiConfig.get(), grupiOutThickness, grupiOutAlpha, grupiFullAlpha, grupiBothThickness,
        grupiDBodyAlpha, grupiDOutlAlpha, grupiLBodyAlpha, grupiLOutlAlpha, grupiStyle);
    fill(DaynConfig.get(), daynOutThickness, daynOutAlpha, daynFullAlpha, daynBothThickness,
        daynDBodyAlpha, daynDOutlAlpha, daynLBodyAlpha, daynLOutlAlpha, daynStyle);
}
