#pragma once

#include "outside/cephei/HBPreferences.h"
#include "platform/foundation/NSString.h"
#include "tweak/settings/SettingsList.h"
#include "tweak/styling/QFConfig.h"

// The settings globals the hooks read directly, exported under the preference keys'
// names with a lower-case first letter, in registration order.
#define TINTWELL_DECLARE_BOOL(global, key, defaultValue) extern "C" bool global;
#define TINTWELL_DECLARE_INTEGER(global, key, defaultValue) extern "C" long global;
#define TINTWELL_DECLARE_STRING(global, key, defaultValue) extern "C" RefPtr<NSString> global;
TINTWELL_SETTINGS(TINTWELL_DECLARE_BOOL, TINTWELL_DECLARE_INTEGER, TINTWELL_DECLARE_STRING)
#undef TINTWELL_DECLARE_BOOL
#undef TINTWELL_DECLARE_INTEGER
#undef TINTWELL_DECLARE_STRING

// The preferences object that keeps the globals above current.
extern "C" RefPtr<HBPreferences> pfs;

// The six style records; created once at start-up, refilled in place on every reload.
extern "C" RefPtr<QFConfig> NotifsConfig;
extern "C" RefPtr<QFConfig> WidgetsConfig;
extern "C" RefPtr<QFConfig> MusicConfig;
extern "C" RefPtr<QFConfig> AxonConfig;
extern "C" RefPtr<QFConfig> GrupiConfig;
extern "C" RefPtr<QFConfig> DaynConfig;

// Whether each companion's library file exists; set once at start-up.
extern "C" bool axon;
extern "C" bool grupi;
extern "C" bool dayn;
