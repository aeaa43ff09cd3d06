#pragma once

#include "platform/foundation/NSString.h"
#include "platform/uikit/UILabel.h"

// The texts of a notification: the primary (title), secondary (message) and summary ("3
// more notifications") labels, stacked in layoutSubviews.
class NCNotificationContentView : public UIView {
    TW_OBJECT(NCNotificationContentView)
public:
    static constexpr double lineHeight = 20;
    static constexpr double summaryHeight = 18;
    // The secondary text wraps at about this many characters a line, up to four lines.
    static constexpr size_t charactersPerLine = 42;
    static constexpr long maximumSecondaryLines = 4;

    RefPtr<UILabel> primaryLabel() const { return m_primaryLabel; }
    RefPtr<UILabel> secondaryLabel() const { return m_secondaryLabel; }
    RefPtr<UILabel> summaryLabel() const { return m_summaryLabel; }

    void setPrimaryText(NSString* text) { msgSend<void>(this, SELECTOR("setPrimaryText:"), text); }
    void setSecondaryText(NSString* text) { msgSend<void>(this, SELECTOR("setSecondaryText:"), text); }
    void setSummaryText(NSString* text) { msgSend<void>(this, SELECTOR("setSummaryText:"), text); }

    // The height the texts need; depends only on the texts.
    double preferredHeight() const;
    static long secondaryLineCount(const NSString* text);

protected:
    NCNotificationContentView() = default;

private:
    Id initWithFrameImpl(CGRect frame);
    Id primaryTextImpl() const { return m_primaryLabel->text(); }
    Id secondaryTextImpl() const { return m_secondaryLabel->text(); }
    Id summaryTextImpl() const { return m_summaryLabel->text(); }
    void setPrimaryTextImpl(RefPtr<NSString> text);
    void setSecondaryTextImpl(RefPtr<NSString> text);
    void setSummaryTextImpl(RefPtr<NSString> text);
    void layoutSubviewsImpl();

    RefPtr<UILabel> m_primaryLabel;
    RefPtr<UILabel> m_secondaryLabel;
    RefPtr<UILabel> m_summaryLabel;
};
