#include "tweak/settings/SettingsGlobals.h"

// Zero until bound, as the phone's globals are before the preferences object writes them.
#define TINTWELL_DEFINE_BOOL(global, key, defaultValue) bool global;
#define TINTWELL_DEFINE_INTEGER(global, key, defaultValue) long global;
#define TINTWELL_DEFINE_STRING(global, key, defaultValue) RefPtr<NSString> global;
TINTWELL_SETTINGS(TINTWELL_DEFINE_BOOL, TINTWELL_DEFINE_INTEGER, TINTWELL_DEFINE_STRING)
RefPtr<HBPreferences> pfs;

RefPtr<QFConfig> NotifsConfig;
RefPtr<QFConfig> WidgetsConfig;
RefPtr<QFConfig> MusicConfig;
RefPtr<QFConfig> AxonConfig;
RefPtr<QFConfig> GrupiConfig;
RefPtr<QFConfig> DaynConfig;

bool axon;
bool grupi;
bool dayn;
