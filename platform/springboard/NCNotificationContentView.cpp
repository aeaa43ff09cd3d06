#include "platform/springboard/NCNotificationContentView.h"

#include "platform/uikit/UIFont.h"

#include <algorithm>

namespace {

constexpr double horizontalMargin = 12;

bool hasText(const UILabel& label)
{
    auto text = label.text();
    return text && !text->view().empty();
}

} // namespace

Class NCNotificationContentView::classObject()
{
    static Class cls = ClassBuilder<NCNotificationContentView>("NCNotificationContentView", UIView::classObject())
                           .method<&NCNotificationContentView::initWithFrameImpl>("initWithFrame:")
                           .method<&NCNotificationContentView::primaryLabel>("_primaryLabel")
                           .method<&NCNotificationContentView::secondaryLabel>("_secondaryLabel")
                           .method<&NCNotificationContentView::summaryLabel>("_summaryLabel")
                           .method<&NCNotificationContentView::primaryTextImpl>("primaryText")
                           .method<&NCNotificationContentView::setPrimaryTextImpl>("setPrimaryText:")
                           .method<&NCNotificationContentView::secondaryTextImpl>("secondaryText")
                           .method<&NCNotificationContentView::setSecondaryTextImpl>("setSecondaryText:")
                           .method<&NCNotificationContentView::summaryTextImpl>("summaryText")
                           .method<&NCNotificationContentView::setSummaryTextImpl>("setSummaryText:")
                           .method<&NCNotificationContentView::layoutSubviewsImpl>("layoutSubviews")
                           .ivar<&NCNotificationContentView::m_primaryLabel>("_primaryLabel")
                           .ivar<&NCNotificationContentView::m_secondaryLabel>("_secondaryLabel")
                           .ivar<&NCNotificationContentView::m_summaryLabel>("_summaryLabel")
                           .build();
    return cls;
}

Id NCNotificationContentView::initWithFrameImpl(CGRect frame)
{
    Id self = msgSendSuper<Id>(this, classObject(), SELECTOR("initWithFrame:"), frame);
    if (!self)
        return nullptr;
    m_primaryLabel = UILabel::create();
    m_primaryLabel->setFont(UIFont::boldSystemFontOfSize(15).get());
    addSubview(m_primaryLabel.get());
    m_secondaryLabel = UILabel::create();
    m_secondaryLabel->setFont(UIFont::systemFontOfSize(15).get());
    m_secondaryLabel->setNumberOfLines(maximumSecondaryLines);
    addSubview(m_secondaryLabel.get());
    m_summaryLabel = UILabel::create();
    m_summaryLabel->setFont(UIFont::systemFontOfSize(13).get());
    m_summaryLabel->setTextColor(UIColor::colorWithWhite(0.45, 1).get());
    addSubview(m_summaryLabel.get());
    return self;
}

void NCNotificationContentView::setPrimaryTextImpl(RefPtr<NSString> text)
{
    m_primaryLabel->setText(text.get());
    setNeedsLayout();
}

void NCNotificationContentView::setSecondaryTextImpl(RefPtr<NSString> text)
{
    m_secondaryLabel->setText(text.get());
    setNeedsLayout();
}

void NCNotificationContentView::setSummaryTextImpl(RefPtr<NSString> text)
{
    m_summaryLabel->setText(text.get());
    setNeedsLayout();
}

long NCNotificationContentView::secondaryLineCount(const NSString* text)
{
    if (!text || text->view().empty())
        return 0;
    long lines = long((text->view().size() + charactersPerLine - 1) / charactersPerLine);
    return std::clamp(lines, 1L, maximumSecondaryLines);
}

double NCNotificationContentView::preferredHeight() const
{
    double height = hasText(*m_primaryLabel) ? lineHeight : 0;
    height += lineHeight * double(secondaryLineCount(m_secondaryLabel->text().get()));
    if (hasText(*m_summaryLabel))
        height += summaryHeight;
    return height;
}

void NCNotificationContentView::layoutSubviewsImpl()
{
    double width = std::max(0.0, bounds().size.width - 2 * horizontalMargin);
    double y = 0;
    double primaryHeight = hasText(*m_primaryLabel) ? lineHeight : 0;
    m_primaryLabel->setFrame(CGRectMake(horizontalMargin, y, width, primaryHeight));
    y += primaryHeight;
    double secondaryHeight = lineHeight * double(secondaryLineCount(m_secondaryLabel->text().get()));
    m_secondaryLabel->setFrame(CGRectMake(horizontalMargin, y, width, secondaryHeight));
    y += secondaryHeight;
    bool showsSummary = hasText(*m_summaryLabel);
    m_summaryLabel->setHidden(!showsSummary);
    m_summaryLabel->setFrame(CGRectMake(horizontalMargin, y, width, showsSummary ? summaryHeight : 0));
}
