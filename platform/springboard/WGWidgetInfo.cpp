#include "platform/springboard/WGWidgetInfo.h"

Class WGWidgetInfo::classObject()
{
    static Class cls = ClassBuilder<WGWidgetInfo>("WGWidgetInfo", Object::classObject())
                           .method<&WGWidgetInfo::widgetIdentifier>("widgetIdentifier")
                           .method<&WGWidgetInfo::displayName>("displayName")
                           .method<&WGWidgetInfo::icon>("_icon")
                           .ivar<&WGWidgetInfo::m_widgetIdentifier>("_widgetIdentifier")
                           .ivar<&WGWidgetInfo::m_displayName>("_displayName")
                           .ivar<&WGWidgetInfo::m_icon>("_icon")
                           .build();
    return cls;
}

RefPtr<WGWidgetInfo> WGWidgetInfo::create(std::string_view widgetIdentifier, std::string_view displayName, RefPtr<UIImage> icon)
{
    auto info = make<WGWidgetInfo>();
    info->m_widgetIdentifier = NSString::string(widgetIdentifier);
    info->m_displayName = NSString::string(displayName);
    info->m_icon = std::move(icon);
    return info;
}
