#pragma once

#include "outside/cephei/HBPreferences.h"
#include "platform/foundation/NSString.h"
#include "tweak/styling/QFConfig.h"

// The settings globals the hooks read directly, exported under the preference keys'
// names with a lower-case first letter, in registration order.
extern "C" bool enabled;
extern "C" bool enabledNotifs;
extern "C" bool enabledWidgets;
extern "C" bool enabledMusic;
extern "C" bool axonColoring;
extern "C" long axonStyle;
extern "C" long axonColorStyle;
extern "C" long axonFullAlpha;
extern "C" long axonOutAlpha;
extern "C" long axonDOutlAlpha;
extern "C" long axonDBodyAlpha;
extern "C" long axonLOutlAlpha;
extern "C" long axonLBodyAlpha;
extern "C" long axonColorCalc;
extern "C" long axonOutThickness;
extern "C" long axonBothThickness;
extern "C" bool grupiColoring;
extern "C" long grupiStyle;
extern "C" long grupiColorStyle;
extern "C" long grupiFullAlpha;
extern "C" long grupiOutAlpha;
extern "C" long grupiDOutlAlpha;
extern "C" long grupiDBodyAlpha;
extern "C" long grupiLOutlAlpha;
extern "C" long grupiLBodyAlpha;
extern "C" long grupiColorCalc;
extern "C" long grupiOutThickness;
extern "C" long grupiBothThickness;
extern "C" bool daynColoring;
extern "C" long daynStyle;
extern "C" long daynColorStyle;
extern "C" long daynFullAlpha;
extern "C" long daynOutAlpha;
extern "C" long daynDOutlAlpha;
extern "C" long daynDBodyAlpha;
extern "C" long daynLOutlAlpha;
extern "C" long daynLBodyAlpha;
extern "C" long daynImageCalc;
extern "C" long daynColorCalc;
extern "C" long daynOutThickness;
extern "C" long daynBothThickness;
extern "C" long notifImageCalc;
extern "C" long notifColorCalc;
extern "C" bool actionColor;
extern "C" bool longLookColoring;
extern "C" bool noHint;
extern "C" bool useCustomHint;
extern "C" RefPtr<NSString> customHint;
extern "C" bool noCenter;
extern "C" bool useCustomCenter;
extern "C" RefPtr<NSString> customCenter;
extern "C" bool noDate;
extern "C" bool noNotifTitle;
extern "C" bool noNotifIcon;
extern "C" bool centerNotifContents;
extern "C" long notificationStyle;
extern "C" bool headerColor;
extern "C" long notifFullAlpha;
extern "C" long notifOutAlpha;
extern "C" long notifDOutlAlpha;
extern "C" long notifDBodyAlpha;
extern "C" long notifLOutlAlpha;
extern "C" long notifLBodyAlpha;
extern "C" long widgetColorCalc;
extern "C" long widgetImageCalc;
extern "C" bool noWidgetTitle;
extern "C" bool noWidgetIcon;
extern "C" long widgetStyle;
extern "C" long widgetFullAlpha;
extern "C" long widgetOutAlpha;
extern "C" long widgetDOutlAlpha;
extern "C" long widgetDBodyAlpha;
extern "C" long widgetLOutlAlpha;
extern "C" long widgetLBodyAlpha;
extern "C" bool noMusicRouting;
extern "C" bool noMusicRoutingLabel;
extern "C" long musicStyle;
extern "C" long musicFullAlpha;
extern "C" long musicOutAlpha;
extern "C" long musicDOutlAlpha;
extern "C" long musicDBodyAlpha;
extern "C" long musicLOutlAlpha;
extern "C" long musicLBodyAlpha;
extern "C" long musicColorCalc;
extern "C" long notifOutThickness;
extern "C" long widgetOutThickness;
extern "C" long musicOutThickness;
extern "C" long notifBothThickness;
extern "C" long widgetBothThickness;
extern "C" long musicBothThickness;
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
