#pragma once

#include "platform/springboard/WGWidgetPlatterView.h"
#include "platform/uikit/UIScrollView.h"
#include "platform/uikit/UIStackView.h"

#include <vector>

// The widgets page ("today view"): a heading and one platter per widget in a column,
// scrolling when taller than the screen. Its opaque backdrop hides the lock screen while
// shown.
class WGWidgetListViewController : public UIViewController {
    TW_OBJECT(WGWidgetListViewController)
public:
    static RefPtr<WGWidgetListViewController> create() { return UIViewController::create<WGWidgetListViewController>(); }

    // The system's sample page: Up Next, Calendar, Music and the app-less Batteries widget.
    static std::vector<RefPtr<WGWidgetHostingViewController>> sampleWidgets();

    // Appends a platter hosting the widget.
    RefPtr<WGWidgetPlatterView> addWidget(WGWidgetHostingViewController* host);
    void removeAllWidgets();
    const std::vector<RefPtr<WGWidgetPlatterView>>& platters() const { return m_platters; }

protected:
    WGWidgetListViewController() = default;

private:
    void loadViewImpl();
    void viewDidLayoutSubviewsImpl();

    RefPtr<UIScrollView> m_scrollView;
    RefPtr<UILabel> m_headingLabel;
    RefPtr<UIStackView> m_stackView;
    std::vector<RefPtr<WGWidgetPlatterView>> m_platters;
};
