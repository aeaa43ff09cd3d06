#pragma once

#include "platform/foundation/NSString.h"
#include "platform/graphics/UIImage.h"

#include <string_view>

// What the widgets page knows of one widget: its identifier, the name its header shows and
// its icon.
class WGWidgetInfo : public Object {
    TW_OBJECT(WGWidgetInfo)
public:
    static RefPtr<WGWidgetInfo> create(std::string_view widgetIdentifier, std::string_view displayName, RefPtr<UIImage> icon);

    RefPtr<NSString> widgetIdentifier() const { return m_widgetIdentifier; }
    RefPtr<NSString> displayName() const { return m_displayName; }
    // Nil for a widget without an icon.
    RefPtr<UIImage> icon() const { return m_icon; }

protected:
    WGWidgetInfo() = default;

private:
    RefPtr<NSString> m_widgetIdentifier;
    RefPtr<NSString> m_displayName;
    RefPtr<UIImage> m_icon;
};
