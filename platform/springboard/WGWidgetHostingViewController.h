#pragma once

#include "platform/springboard/WGWidgetInfo.h"
#include "platform/uikit/UILabel.h"
#include "platform/uikit/UIViewController.h"

#include <string>
#include <string_view>

// Hosts one widget's content inside its platter. An app's widget answers the app's bundle
// identifier; a system widget (Up Next, Batteries) has none and is known by its widget
// identifier alone. Its view shows the widget's text.
class WGWidgetHostingViewController : public UIViewController {
    TW_OBJECT(WGWidgetHostingViewController)
public:
    // An empty appBundleID means the widget belongs to no app.
    static RefPtr<WGWidgetHostingViewController> create(RefPtr<WGWidgetInfo> info, std::string_view appBundleID, std::string_view text);

    RefPtr<NSString> appBundleID() const { return m_appBundleID; }
    RefPtr<NSString> widgetIdentifier() const;
    RefPtr<WGWidgetInfo> widgetInfo() const { return m_widgetInfo; }
    const std::string& text() const { return m_text; }
    // The content's height for its text, in points.
    double preferredContentHeight() const;

protected:
    WGWidgetHostingViewController() = default;

private:
    void loadViewImpl();
    void viewDidLayoutSubviewsImpl();

    RefPtr<NSString> m_appBundleID;
    RefPtr<WGWidgetInfo> m_widgetInfo;
    RefPtr<UILabel> m_contentLabel;
    std::string m_text;
};
