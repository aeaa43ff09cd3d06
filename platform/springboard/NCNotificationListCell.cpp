#include "platform/springboard/NCNotificationListCell.h"
#include "platform/springboard/NCNotificationShortLookView.h"

#include <algorithm>

namespace {

constexpr double minimumHeight = 64;

} // namespace

Class NCNotificationListCell::classObject()
{
    static Class cls = ClassBuilder<NCNotificationListCell>("NCNotificationListCell", UIView::classObject())
                           .method<&NCNotificationListCell::initWithFrameImpl>("initWithFrame:")
                           .method<&NCNotificationListCell::contentViewController>("contentViewController")
                           .method<&NCNotificationListCell::setContentViewControllerImpl>("setContentViewController:")
                           .method<&NCNotificationListCell::contentView>("contentView")
                           .method<&NCNotificationListCell::cellActionButtonsView>("cellActionButtonsView")
                           .method<&NCNotificationListCell::layoutSubviewsImpl>("layoutSubviews")
                           .ivar<&NCNotificationListCell::m_contentViewController>("_contentViewController")
                           .ivar<&NCNotificationListCell::m_contentView>("_contentView")
                           .ivar<&NCNotificationListCell::m_cellActionButtonsView>("_cellActionButtonsView")
                           .build();
    return cls;
}

Id NCNotificationListCell::initWithFrameImpl(CGRect frame)
{
    Id self = msgSendSuper<Id>(this, classObject(), SELECTOR("initWithFrame:"), frame);
    if (!self)
        return nullptr;
    m_contentView = UIView::create();
    addSubview(m_contentView.get());
    return self;
}

void NCNotificationListCell::setContentViewControllerImpl(RefPtr<NCNotificationShortLookViewController> controller)
{
    if (m_contentViewController) {
        if (auto view = m_contentViewController->viewIfLoaded(); view && view->superview().get() == m_contentView.get())
            view->removeFromSuperview();
    }
    m_contentViewController = std::move(controller);
    if (!m_contentViewController)
        return;
    if (auto view = m_contentViewController->view())
        m_contentView->addSubview(view.get());
    setNeedsLayout();
}

double NCNotificationListCell::preferredHeight(double) const
{
    auto look = m_contentViewController ? m_contentViewController->lookView() : nullptr;
    return std::max(minimumHeight, look ? look->preferredHeight() : 0);
}

double NCNotificationListCell::heightForRequest(const NCNotificationRequest* request, bool withSummary)
{
    auto content = request ? request->content() : nullptr;
    auto title = content ? content->title() : nullptr;
    double texts = title && !title->view().empty() ? NCNotificationContentView::lineHeight : 0;
    texts += NCNotificationContentView::lineHeight * double(NCNotificationContentView::secondaryLineCount(content ? content->message().get() : nullptr));
    if (withSummary)
        texts += NCNotificationContentView::summaryHeight;
    return std::max(minimumHeight, PLPlatterHeaderContentView::height + texts + NCNotificationShortLookView::bottomPadding);
}

void NCNotificationListCell::swipeOpen()
{
    RefPtr<NCNotificationListCell> protect(this);
    if (!m_cellActionButtonsView) {
        m_cellActionButtonsView = UIView::create<NCNotificationListCellActionButtonsView>();
        if (!m_cellActionButtonsView)
            return;
        // Behind the content, which slides aside to uncover it.
        insertSubviewAtIndex(m_cellActionButtonsView.get(), 0);
    }
    auto request = m_contentViewController ? m_contentViewController->notificationRequest() : nullptr;
    m_cellActionButtonsView->configureOpenActionButton(request.get(), this);
    m_cellActionButtonsView->configureCellActionButtons(request.get(), nullptr, this);
    m_cellActionButtonsView->setHidden(false);
    m_swipedOpen = true;
    setNeedsLayout();
}

void NCNotificationListCell::closeSwipe()
{
    if (!m_swipedOpen)
        return;
    m_swipedOpen = false;
    if (m_cellActionButtonsView)
        m_cellActionButtonsView->setHidden(true);
    setNeedsLayout();
}

void NCNotificationListCell::setStackedBehind(bool behind)
{
    RefPtr<NCNotificationShortLookView> platter = objectCast<NCNotificationShortLookView>(m_contentViewController ? m_contentViewController->viewIfLoaded().get() : nullptr);
    if (!platter)
        return;
    double alpha = behind ? 0.0 : 1.0;
    for (UIView* part : { static_cast<UIView*>(platter->headerContentView().get()), static_cast<UIView*>(platter->notificationContentView().get()) }) {
        if (part && part->alpha() != alpha)
            part->setAlpha(alpha);
    }
}

void NCNotificationListCell::layoutSubviewsImpl()
{
    CGSize size = bounds().size;
    double slide = 0;
    if (m_swipedOpen && m_cellActionButtonsView) {
        double buttonsWidth = std::min(size.width, m_cellActionButtonsView->preferredWidth());
        m_cellActionButtonsView->setFrame(CGRectMake(size.width - buttonsWidth, 0, buttonsWidth, size.height));
        slide = buttonsWidth + 8;
    }
    m_contentView->setFrame(CGRectMake(-slide, 0, size.width, size.height));
    if (auto view = m_contentViewController ? m_contentViewController->viewIfLoaded() : nullptr)
        view->setFrame(m_contentView->bounds());
}
