#include "tweak/settings/SettingsStore.h"

#include "tweak/settings/SettingsGlobals.h"

#include <array>

namespace {

constexpr SettingKey boolKey(const char* key, bool* global, bool defaultValue) { return { key, SettingKey::Bool { global, defaultValue } }; }
constexpr SettingKey integerKey(const char* key, long* global, long defaultValue) { return { key, SettingKey::Integer { global, defaultValue } }; }
constexpr SettingKey objectKey(const char* key, RefPtr<NSString>* global, const char* defaultValue) { return { key, SettingKey::Object { global, defaultValue } }; }

const std::array<SettingKey, 90> settingKeys {
    boolKey("Enabled", &enabled, true),
    boolKey("EnabledNotifs", &enabledNotifs, true),
    boolKey("EnabledWidgets", &enabledWidgets, true),
    boolKey("EnabledMusic", &enabledMusic, true),
    boolKey("AxonColoring", &axonColoring, true),
    integerKey("AxonStyle", &axonStyle, 2),
    integerKey("AxonColorStyle", &axonColorStyle, 1),
    integerKey("AxonFullAlpha", &axonFullAlpha, 80),
    integerKey("AxonOutAlpha", &axonOutAlpha, 80),
    integerKey("AxonDOutlAlpha", &axonDOutlAlpha, 70),
    integerKey("AxonDBodyAlpha", &axonDBodyAlpha, 50),
    integerKey("AxonLOutlAlpha", &axonLOutlAlpha, 50),
    integerKey("AxonLBodyAlpha", &axonLBodyAlpha, 70),
    integerKey("AxonColorCalc", &axonColorCalc, 0),
    integerKey("AxonOutThickness", &axonOutThickness, 3),
    integerKey("AxonBothThickness", &axonBothThickness, 3),
    boolKey("GrupiColoring", &grupiColoring, true),
    integerKey("GrupiStyle", &grupiStyle, 2),
    integerKey("GrupiColorStyle", &grupiColorStyle, 1),
    integerKey("GrupiFullAlpha", &grupiFullAlpha, 80),
    integerKey("GrupiOutAlpha", &grupiOutAlpha, 80),
    integerKey("GrupiDOutlAlpha", &grupiDOutlAlpha, 70),
    integerKey("GrupiDBodyAlpha", &grupiDBodyAlpha, 50),
    integerKey("GrupiLOutlAlpha", &grupiLOutlAlpha, 50),
    integerKey("GrupiLBodyAlpha", &grupiLBodyAlpha, 70),
    integerKey("GrupiColorCalc", &grupiColorCalc, 0),
    integerKey("GrupiOutThickness", &grupiOutThickness, 3),
    integerKey("GrupiBothThickness", &grupiBothThickness, 3),
    boolKey("DaynColoring", &daynColoring, true),
    integerKey("DaynStyle", &daynStyle, 2),
    integerKey("DaynColorStyle", &daynColorStyle, 1),
    integerKey("DaynFullAlpha", &daynFullAlpha, 80),
    integerKey("DaynOutAlpha", &daynOutAlpha, 80),
    integerKey("DaynDOutlAlpha", &daynDOutlAlpha, 70),
    integerKey("DaynDBodyAlpha", &daynDBodyAlpha, 50),
    integerKey("DaynLOutlAlpha", &daynLOutlAlpha, 50),
    integerKey("DaynLBodyAlpha", &daynLBodyAlpha, 70),
    integerKey("DaynImageCalc", &daynImageCalc, 0),
    integerKey("DaynColorCalc", &daynColorCalc, 0),
    integerKey("DaynOutThickness", &daynOutThickness, 3),
    integerKey("DaynBothThickness", &daynBothThickness, 3),
    integerKey("NotifImageCalc", &notifImageCalc, 0),
    integerKey("NotifColorCalc", &notifColorCalc, 0),
    boolKey("ActionColor", &actionColor, true),
    boolKey("LongLookColoring", &longLookColoring, true),
    boolKey("NoHint", &noHint, false),
    boolKey("UseCustomHint", &useCustomHint, false),
    objectKey("CustomHint", &customHint, "No older notifications"),
    boolKey("NoCenter", &noCenter, false),
    boolKey("UseCustomCenter", &useCustomCenter, false),
    objectKey("CustomCenter", &customCenter, "Notification Center"),
    boolKey("NoDate", &noDate, false),
    boolKey("NoNotifTitle", &noNotifTitle, false),
    boolKey("NoNotifIcon", &noNotifIcon, false),
    boolKey("CenterNotifContents", &centerNotifContents, false),
    integerKey("NotificationStyle", &notificationStyle, 2),
    boolKey("HeaderColor", &headerColor, true),
    integerKey("NotifFullAlpha", &notifFullAlpha, 80),
    integerKey("NotifOutAlpha", &notifOutAlpha, 80),
    integerKey("NotifDOutlAlpha", &notifDOutlAlpha, 70),
    integerKey("NotifDBodyAlpha", &notifDBodyAlpha, 50),
    integerKey("NotifLOutlAlpha", &notifLOutlAlpha, 50),
    integerKey("NotifLBodyAlpha", &notifLBodyAlpha, 70),
    integerKey("WidgetColorCalc", &widgetColorCalc, 0),
    integerKey("WidgetImageCalc", &widgetImageCalc, 0),
    boolKey("NoWidgetTitle", &noWidgetTitle, false),
    boolKey("NoWidgetIcon", &noWidgetIcon, false),
    integerKey("WidgetStyle", &widgetStyle, 2),
    integerKey("WidgetFullAlpha", &widgetFullAlpha, 80),
    integerKey("WidgetOutAlpha", &widgetOutAlpha, 80),
    integerKey("WidgetDOutlAlpha", &widgetDOutlAlpha, 70),
    integerKey("WidgetDBodyAlpha", &widgetDBodyAlpha, 50),
    integerKey("WidgetLOutlAlpha", &widgetLOutlAlpha, 50),
    integerKey("WidgetLBodyAlpha", &widgetLBodyAlpha, 70),
    boolKey("NoMusicRouting", &noMusicRouting, true),
    boolKey("NoMusicRoutingLabel", &noMusicRoutingLabel, true),
    integerKey("MusicStyle", &musicStyle, 2),
    integerKey("MusicFullAlpha", &musicFullAlpha, 80),
    integerKey("MusicOutAlpha", &musicOutAlpha, 80),
    integerKey("MusicDOutlAlpha", &musicDOutlAlpha, 70),
    integerKey("MusicDBodyAlpha", &musicDBodyAlpha, 50),
    integerKey("MusicLOutlAlpha", &musicLOutlAlpha, 50),
    integerKey("MusicLBodyAlpha", &musicLBodyAlpha, 70),
    integerKey("MusicColorCalc", &musicColorCalc, 0),
    integerKey("NotifOutThickness", &notifOutThickness, 3),
    integerKey("WidgetOutThickness", &widgetOutThickness, 3),
    integerKey("MusicOutThickness", &musicOutThickness, 3),
    integerKey("NotifBothThickness", &notifBothThickness, 3),
    integerKey("WidgetBothThickness", &widgetBothThickness, 3),
    integerKey("MusicBothThickness", &musicBothThickness, 3),};

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
    registerKey(preferences, settingKeys.front());
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
