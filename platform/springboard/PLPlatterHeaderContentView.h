#pragma once

#include "platform/foundation/NSArray.h"
#include "platform/foundation/NSDate.h"
#include "platform/foundation/NSString.h"
#include "platform/uikit/UIImageView.h"
#include "platform/uikit/UILabel.h"

// The header strip of a platter: the app icon, the title and the date. The system sets it
// up with setTitle:, setIcons: and setDate: sent through the runtime, and its layout sends
// _layoutTitleLabelWithScale: and _layoutDateLabelWithScale:. The date reads relative to
// the host clock ("now", "5m ago", "2h ago").
class PLPlatterHeaderContentView : public UIView {
    TW_OBJECT(PLPlatterHeaderContentView)
public:
    static constexpr double height = 36;
    // Points per pixel the header lays its labels out for.
    static constexpr double displayScale = 3.0;

    RefPtr<NSString> title() const { return m_title; }
    void setTitle(NSString* title) { msgSend<void>(this, SELECTOR("setTitle:"), title); }
    // An array of UIImage; the first is shown.
    RefPtr<NSArray> icons() const { return m_icons; }
    void setIcons(NSArray* icons) { msgSend<void>(this, SELECTOR("setIcons:"), icons); }
    RefPtr<NSDate> date() const { return m_date; }
    void setDate(NSDate* date) { msgSend<void>(this, SELECTOR("setDate:"), date); }

    RefPtr<UILabel> titleLabel() const { return m_titleLabel; }
    RefPtr<UILabel> dateLabel() const { return m_dateLabel; }
    RefPtr<UIImageView> iconImageView() const { return m_iconImageView; }

    // The date as the header shows it, relative to the host clock; empty without a date.
    static std::string relativeDateText(const NSDate* date);

protected:
    PLPlatterHeaderContentView() = default;

    Id initWithFrameImpl(CGRect frame);
    void layoutSubviewsImpl();

private:
    void setTitleImpl(RefPtr<NSString> title);
    void setIconsImpl(RefPtr<NSArray> icons);
    void setDateImpl(RefPtr<NSDate> date);
    void layoutTitleLabelWithScaleImpl(double scale);
    void layoutDateLabelWithScaleImpl(double scale);

    RefPtr<NSString> m_title;
    RefPtr<NSArray> m_icons;
    RefPtr<NSDate> m_date;
    RefPtr<UIImageView> m_iconImageView;
    RefPtr<UILabel> m_titleLabel;
    RefPtr<UILabel> m_dateLabel;
};
