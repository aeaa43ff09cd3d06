#include "platform/springboard/WGWidgetListViewController.h"

#include "platform/graphics/UIGraphics.h"
#include "platform/springboard/UIImage+ApplicationIcons.h"
#include "platform/uikit/UITraitCollection.h"

namespace {

constexpr double sideMargin = 16;
constexpr double top = 56;
constexpr double headingHeight = 40;
constexpr double spacing = 12;
constexpr double iconScale = 3;

RefPtr<UIImage> appIcon(std::string_view bundleIdentifier)
{
    return sendApplicationIconImage(bundleIdentifier, 0, iconScale);
}

// The Batteries widget belongs to no app; its icon is the system's own glyph.
RefPtr<UIImage> batteryGlyph()
{
    UIGraphicsBeginImageContextWithOptions(CGSizeMake(29, 29), false, iconScale);
    CGContextRef context = UIGraphicsGetCurrentContext();
    if (context) {
        CGContextSetRGBFillColor(context, 0.2, 0.78, 0.35, 1);
        CGContextFillRect(context, CGRectMake(0, 0, 29, 29));
        CGContextSetRGBFillColor(context, 1, 1, 1, 1);
        CGContextFillRect(context, CGRectMake(6, 10, 15, 9));
        CGContextFillRect(context, CGRectMake(21, 12.5, 2, 4));
    }
    auto image = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    return image;
}

} // namespace

Class WGWidgetListViewController::classObject()
{
    static Class cls = ClassBuilder<WGWidgetListViewController>("WGWidgetListViewController", UIViewController::classObject())
                           .method<&WGWidgetListViewController::loadViewImpl>("loadView")
                           .method<&WGWidgetListViewController::viewDidLayoutSubviewsImpl>("viewDidLayoutSubviews")
                           .ivar<&WGWidgetListViewController::m_scrollView>("_scrollView")
                           .ivar<&WGWidgetListViewController::m_headingLabel>("_headingLabel")
                           .ivar<&WGWidgetListViewController::m_stackView>("_stackView")
                           .build();
    return cls;
}

std::vector<RefPtr<WGWidgetHostingViewController>> WGWidgetListViewController::sampleWidgets()
{
    // Up Next shows the Calendar icon but names no app, as on the phone.
    return {
        WGWidgetHostingViewController::create(WGWidgetInfo::create("com.apple.UpNextWidget.extension", "Up Next", appIcon("com.apple.mobilecal")), "",
            "Design review\n14:00 – 15:00, Studio 2"),
        WGWidgetHostingViewController::create(WGWidgetInfo::create("com.apple.mobilecal.CalendarWidget", "Calendar", appIcon("com.apple.mobilecal")),
            "com.apple.mobilecal", "Tomorrow: Dentist, 09:30"),
        WGWidgetHostingViewController::create(WGWidgetInfo::create("com.apple.Music.RecentlyPlayedWidget", "Music", appIcon("com.apple.Music")),
            "com.apple.Music", "Recently played: Northern Lights"),
        WGWidgetHostingViewController::create(WGWidgetInfo::create("com.apple.BatteryCenter.BatteryWidget", "Batteries", batteryGlyph()), "",
            "iPhone 82%\nAirPods 64%"),
    };
}

void WGWidgetListViewController::loadViewImpl()
{
    m_scrollView = UIScrollView::create();
    m_headingLabel = UILabel::create();
    m_headingLabel->setFont(UIFont::boldSystemFontOfSize(28).get());
    m_headingLabel->setText(std::string_view("Today"));
    m_scrollView->addSubview(m_headingLabel.get());
    m_stackView = UIStackView::create();
    m_stackView->setAxis(UILayoutConstraintAxisVertical);
    m_stackView->setSpacing(spacing);
    m_scrollView->addSubview(m_stackView.get());
    setView(m_scrollView.get());
}

RefPtr<WGWidgetPlatterView> WGWidgetListViewController::addWidget(WGWidgetHostingViewController* host)
{
    if (!host)
        return nullptr;
    view();
    auto platter = WGWidgetPlatterView::create();
    platter->setWidgetHost(host);
    platter->setFrame(CGRectMake(0, 0, 0, platter->preferredHeight()));
    addChildViewController(host);
    m_stackView->addArrangedSubview(platter.get());
    m_platters.push_back(platter);
    m_scrollView->setNeedsLayout();
    return platter;
}

void WGWidgetListViewController::removeAllWidgets()
{
    for (auto& platter : m_platters) {
        if (auto host = platter->widgetHost())
            host->removeFromParentViewController();
        m_stackView->removeArrangedSubview(platter.get());
        platter->removeFromSuperview();
    }
    m_platters.clear();
}

void WGWidgetListViewController::viewDidLayoutSubviewsImpl()
{
    if (!m_scrollView)
        return;
    CGRect bounds = m_scrollView->bounds();
    bool dark = m_scrollView->effectiveUserInterfaceStyle() == UIUserInterfaceStyleDark;
    m_scrollView->setBackgroundColor(dark ? UIColor::colorWithRed(0.07, 0.08, 0.1, 1).get() : UIColor::colorWithRed(0.78, 0.83, 0.9, 1).get());
    m_headingLabel->setTextColor(dark ? UIColor::whiteColor().get() : UIColor::blackColor().get());
    double width = std::max(0.0, bounds.size.width - 2 * sideMargin);
    m_headingLabel->setFrame(CGRectMake(sideMargin, top, width, headingHeight));
    double height = 0;
    for (auto& platter : m_platters)
        height += platter->frame().size.height;
    if (!m_platters.empty())
        height += spacing * double(m_platters.size() - 1);
    double stackTop = top + headingHeight + spacing;
    m_stackView->setFrame(CGRectMake(sideMargin, stackTop, width, height));
    m_scrollView->setContentSize(CGSizeMake(bounds.size.width, stackTop + height + sideMargin));
}
