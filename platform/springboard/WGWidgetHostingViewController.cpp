#include "platform/springboard/WGWidgetHostingViewController.h"

#include <algorithm>

namespace {

constexpr double lineHeight = 20;
constexpr double padding = 12;

} // namespace

Class WGWidgetHostingViewController::classObject()
{
    static Class cls = ClassBuilder<WGWidgetHostingViewController>("WGWidgetHostingViewController", UIViewController::classObject())
                           .method<&WGWidgetHostingViewController::appBundleID>("appBundleID")
                           .method<&WGWidgetHostingViewController::widgetIdentifier>("widgetIdentifier")
                           .method<&WGWidgetHostingViewController::widgetInfo>("widgetInfo")
                           .method<&WGWidgetHostingViewController::loadViewImpl>("loadView")
                           .method<&WGWidgetHostingViewController::viewDidLayoutSubviewsImpl>("viewDidLayoutSubviews")
                           .ivar<&WGWidgetHostingViewController::m_appBundleID>("_appBundleID")
                           .ivar<&WGWidgetHostingViewController::m_widgetInfo>("_widgetInfo")
                           .ivar<&WGWidgetHostingViewController::m_contentLabel>("_contentLabel")
                           .build();
    return cls;
}

RefPtr<WGWidgetHostingViewController> WGWidgetHostingViewController::create(RefPtr<WGWidgetInfo> info, std::string_view appBundleID, std::string_view text)
{
    auto host = UIViewController::create<WGWidgetHostingViewController>();
    if (!host)
        return nullptr;
    if (!appBundleID.empty())
        host->m_appBundleID = NSString::string(appBundleID);
    host->m_widgetInfo = std::move(info);
    host->m_text = text;
    return host;
}

RefPtr<NSString> WGWidgetHostingViewController::widgetIdentifier() const
{
    if (!m_widgetInfo)
        return nullptr;
    return m_widgetInfo->widgetIdentifier();
}

double WGWidgetHostingViewController::preferredContentHeight() const
{
    long lines = 1 + std::count(m_text.begin(), m_text.end(), '\n');
    return lines * lineHeight + 2 * padding;
}

void WGWidgetHostingViewController::loadViewImpl()
{
    auto content = UIView::create(CGRectMake(0, 0, 0, preferredContentHeight()));
    m_contentLabel = UILabel::create();
    m_contentLabel->setNumberOfLines(0);
    m_contentLabel->setFont(UIFont::systemFontOfSize(15).get());
    m_contentLabel->setText(std::string_view(m_text));
    content->addSubview(m_contentLabel.get());
    setView(content.get());
}

void WGWidgetHostingViewController::viewDidLayoutSubviewsImpl()
{
    auto content = viewIfLoaded();
    if (!content || !m_contentLabel)
        return;
    CGRect bounds = content->bounds();
    m_contentLabel->setFrame(CGRectMake(16, padding, std::max(0.0, bounds.size.width - 32), std::max(0.0, bounds.size.height - 2 * padding)));
    // Text stays readable on the dark material.
    bool dark = content->effectiveUserInterfaceStyle() == UIUserInterfaceStyleDark;
    m_contentLabel->setTextColor(UIColor::colorWithWhite(dark ? 0.92 : 0.1, 1).get());
}
