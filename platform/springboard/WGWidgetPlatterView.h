#pragma once

#include "platform/springboard/MTMaterialView.h"
#include "platform/springboard/WGPlatterHeaderContentView.h"
#include "platform/springboard/WGWidgetHostingViewController.h"

// One widget on the widgets page. Its direct subviews, back to front: the platter's
// material background, the header strip's material, the header (WGPlatterHeaderContentView)
// and the hosted widget's view. Setting the host configures the header through the runtime
// (setTitle: with the widget's name, setIcons: with its icon).
class WGWidgetPlatterView : public UIView {
    TW_OBJECT(WGWidgetPlatterView)
public:
    static RefPtr<WGWidgetPlatterView> create(CGRect frame = CGRectZero) { return UIView::create<WGWidgetPlatterView>(frame); }

    RefPtr<WGWidgetHostingViewController> widgetHost() const { return m_widgetHost; }
    void setWidgetHost(WGWidgetHostingViewController* host) { msgSend<void>(this, SELECTOR("setWidgetHost:"), host); }

    RefPtr<WGPlatterHeaderContentView> headerContentView() const { return m_headerContentView; }
    RefPtr<MTMaterialView> backgroundView() const { return m_backgroundView; }
    RefPtr<MTMaterialView> headerBackgroundView() const { return m_headerBackgroundView; }

    // Header and content, in points.
    double preferredHeight() const;

protected:
    WGWidgetPlatterView() = default;

private:
    Id initWithFrameImpl(CGRect frame);
    void setWidgetHostImpl(RefPtr<WGWidgetHostingViewController> host);
    void layoutSubviewsImpl();

    RefPtr<WGWidgetHostingViewController> m_widgetHost;
    RefPtr<MTMaterialView> m_backgroundView;
    RefPtr<MTMaterialView> m_headerBackgroundView;
    RefPtr<WGPlatterHeaderContentView> m_headerContentView;
};
