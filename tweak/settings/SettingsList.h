#pragma once

// The ninety keys of the preferences domain, in registration order: the global each is bound
// to (the key with a lower-case first letter), the key, and its default. Declaration,
// definition and registration are all made from this one list.
#define TINTWELL_SETTINGS(BOOL_SETTING, INTEGER_SETTING, STRING_SETTING) \
    BOOL_SETTING(enabled, "Enabled", true) \
    BOOL_SETTING(enabledNotifs, "EnabledNotifs", true) \
    BOOL_SETTING(enabledWidgets, "EnabledWidgets", true) \
    BOOL_SETTING(enabledMusic, "EnabledMusic", true) \
    BOOL_SETTING(axonColoring, "AxonColoring", true) \
    INTEGER_SETTING(axonStyle, "AxonStyle", 2) \
    INTEGER_SETTING(axonColorStyle, "AxonColorStyle", 1) \
    INTEGER_SETTING(axonFullAlpha, "AxonFullAlpha", 80) \
    INTEGER_SETTING(axonOutAlpha, "AxonOutAlpha", 80) \
    INTEGER_SETTING(axonDOutlAlpha, "AxonDOutlAlpha", 70) \
    INTEGER_SETTING(axonDBodyAlpha, "AxonDBodyAlpha", 50) \
    INTEGER_SETTING(axonLOutlAlpha, "AxonLOutlAlpha", 50) \
    INTEGER_SETTING(axonLBodyAlpha, "AxonLBodyAlpha", 70) \
    INTEGER_SETTING(axonColorCalc, "AxonColorCalc", 0) \
    INTEGER_SETTING(axonOutThickness, "AxonOutThickness", 3) \
    INTEGER_SETTING(axonBothThickness, "AxonBothThickness", 3) \
    BOOL_SETTING(grupiColoring, "GrupiColoring", true) \
    INTEGER_SETTING(grupiStyle, "GrupiStyle", 2) \
    INTEGER_SETTING(grupiColorStyle, "GrupiColorStyle", 1) \
    INTEGER_SETTING(grupiFullAlpha, "GrupiFullAlpha", 80) \
    INTEGER_SETTING(grupiOutAlpha, "GrupiOutAlpha", 80) \
    INTEGER_SETTING(grupiDOutlAlpha, "GrupiDOutlAlpha", 70) \
    INTEGER_SETTING(grupiDBodyAlpha, "GrupiDBodyAlpha", 50) \
    INTEGER_SETTING(grupiLOutlAlpha, "GrupiLOutlAlpha", 50) \
    INTEGER_SETTING(grupiLBodyAlpha, "GrupiLBodyAlpha", 70) \
    INTEGER_SETTING(grupiColorCalc, "GrupiColorCalc", 0) \
    INTEGER_SETTING(grupiOutThickness, "GrupiOutThickness", 3) \
    INTEGER_SETTING(grupiBothThickness, "GrupiBothThickness", 3) \
    BOOL_SETTING(daynColoring, "DaynColoring", true) \
    INTEGER_SETTING(daynStyle, "DaynStyle", 2) \
    INTEGER_SETTING(daynColorStyle, "DaynColorStyle", 1) \
    INTEGER_SETTING(daynFullAlpha, "DaynFullAlpha", 80) \
    INTEGER_SETTING(daynOutAlpha, "DaynOutAlpha", 80) \
    INTEGER_SETTING(daynDOutlAlpha, "DaynDOutlAlpha", 70) \
    INTEGER_SETTING(daynDBodyAlpha, "DaynDBodyAlpha", 50) \
    INTEGER_SETTING(daynLOutlAlpha, "DaynLOutlAlpha", 50) \
    INTEGER_SETTING(daynLBodyAlpha, "DaynLBodyAlpha", 70) \
    INTEGER_SETTING(daynImageCalc, "DaynImageCalc", 0) \
    INTEGER_SETTING(daynColorCalc, "DaynColorCalc", 0) \
    INTEGER_SETTING(daynOutThickness, "DaynOutThickness", 3) \
    INTEGER_SETTING(daynBothThickness, "DaynBothThickness", 3) \
    INTEGER_SETTING(notifImageCalc, "NotifImageCalc", 0) \
    INTEGER_SETTING(notifColorCalc, "NotifColorCalc", 0) \
    BOOL_SETTING(actionColor, "ActionColor", true) \
    BOOL_SETTING(longLookColoring, "LongLookColoring", true) \
    BOOL_SETTING(noHint, "NoHint", false) \
    BOOL_SETTING(useCustomHint, "UseCustomHint", false) \
    STRING_SETTING(customHint, "CustomHint", "No older notifications") \
    BOOL_SETTING(noCenter, "NoCenter", false) \
    BOOL_SETTING(useCustomCenter, "UseCustomCenter", false) \
    STRING_SETTING(customCenter, "CustomCenter", "Notification Center") \
    BOOL_SETTING(noDate, "NoDate", false) \
    BOOL_SETTING(noNotifTitle, "NoNotifTitle", false) \
    BOOL_SETTING(noNotifIcon, "NoNotifIcon", false) \
    BOOL_SETTING(centerNotifContents, "CenterNotifContents", false) \
    INTEGER_SETTING(notificationStyle, "NotificationStyle", 2) \
    BOOL_SETTING(headerColor, "HeaderColor", true) \
    INTEGER_SETTING(notifFullAlpha, "NotifFullAlpha", 80) \
    INTEGER_SETTING(notifOutAlpha, "NotifOutAlpha", 80) \
    INTEGER_SETTING(notifDOutlAlpha, "NotifDOutlAlpha", 70) \
    INTEGER_SETTING(notifDBodyAlpha, "NotifDBodyAlpha", 50) \
    INTEGER_SETTING(notifLOutlAlpha, "NotifLOutlAlpha", 50) \
    INTEGER_SETTING(notifLBodyAlpha, "NotifLBodyAlpha", 70) \
    INTEGER_SETTING(widgetColorCalc, "WidgetColorCalc", 0) \
    INTEGER_SETTING(widgetImageCalc, "WidgetImageCalc", 0) \
    BOOL_SETTING(noWidgetTitle, "NoWidgetTitle", false) \
    BOOL_SETTING(noWidgetIcon, "NoWidgetIcon", false) \
    INTEGER_SETTING(widgetStyle, "WidgetStyle", 2) \
    INTEGER_SETTING(widgetFullAlpha, "WidgetFullAlpha", 80) \
    INTEGER_SETTING(widgetOutAlpha, "WidgetOutAlpha", 80) \
    INTEGER_SETTING(widgetDOutlAlpha, "WidgetDOutlAlpha", 70) \
    INTEGER_SETTING(widgetDBodyAlpha, "WidgetDBodyAlpha", 50) \
    INTEGER_SETTING(widgetLOutlAlpha, "WidgetLOutlAlpha", 50) \
    INTEGER_SETTING(widgetLBodyAlpha, "WidgetLBodyAlpha", 70) \
    BOOL_SETTING(noMusicRouting, "NoMusicRouting", true) \
    BOOL_SETTING(noMusicRoutingLabel, "NoMusicRoutingLabel", true) \
    INTEGER_SETTING(musicStyle, "MusicStyle", 2) \
    INTEGER_SETTING(musicFullAlpha, "MusicFullAlpha", 80) \
    INTEGER_SETTING(musicOutAlpha, "MusicOutAlpha", 80) \
    INTEGER_SETTING(musicDOutlAlpha, "MusicDOutlAlpha", 70) \
    INTEGER_SETTING(musicDBodyAlpha, "MusicDBodyAlpha", 50) \
    INTEGER_SETTING(musicLOutlAlpha, "MusicLOutlAlpha", 50) \
    INTEGER_SETTING(musicLBodyAlpha, "MusicLBodyAlpha", 70) \
    INTEGER_SETTING(musicColorCalc, "MusicColorCalc", 0) \
    INTEGER_SETTING(notifOutThickness, "NotifOutThickness", 3) \
    INTEGER_SETTING(widgetOutThickness, "WidgetOutThickness", 3) \
    INTEGER_SETTING(musicOutThickness, "MusicOutThickness", 3) \
    INTEGER_SETTING(notifBothThickness, "NotifBothThickness", 3) \
    INTEGER_SETTING(widgetBothThickness, "WidgetBothThickness", 3) \
    INTEGER_SETTING(musicBothThickness, "MusicBothThickness", 3)
