#pragma once

#include "platform/springboard/PLPlatterHeaderContentView.h"

// The header strip of a widget platter: the widget's icon and name, no date. Its superview
// is the widget platter (WGWidgetPlatterView).
class WGPlatterHeaderContentView : public PLPlatterHeaderContentView {
    TW_OBJECT(WGPlatterHeaderContentView)
public:
    static RefPtr<WGPlatterHeaderContentView> create(CGRect frame = CGRectZero) { return UIView::create<WGPlatterHeaderContentView>(frame); }

protected:
    WGPlatterHeaderContentView() = default;
};
