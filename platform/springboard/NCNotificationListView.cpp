#include "platform/springboard/NCNotificationListView.h"

#include "platform/springboard/NCNotificationListCell.h"

#include <algorithm>

Class NCNotificationListView::classObject()
{
    static Class cls = ClassBuilder<NCNotificationListView>("NCNotificationListView", UIScrollView::classObject())
                           .method<&NCNotificationListView::visibleViewsImpl>("visibleViews")
                           .method<&NCNotificationListView::isGrouped>("isGrouped")
                           .method<&NCNotificationListView::setGroupedImpl>("setGrouped:")
                           .method<&NCNotificationListView::insertViewAtIndexImpl>("insertViewAtIndex:animated:")
                           .method<&NCNotificationListView::removeViewAtIndexImpl>("removeViewAtIndex:animated:")
                           .method<&NCNotificationListView::layoutSubviewsImpl>("layoutSubviews")
                           .method<&NCNotificationListView::traitCollectionDidChangeImpl>("traitCollectionDidChange:")
                           .ivar<&NCNotificationListView::m_headerView>("_headerView")
                           .ivar<&NCNotificationListView::m_footerView>("_footerView")
                           .build();
    return cls;
}

NCNotificationListView::NCNotificationListView() = default;
NCNotificationListView::~NCNotificationListView() = default;

long NCNotificationListView::indexOfKey(std::string_view key) const
{
    for (size_t index = 0; index < m_entries.size(); ++index) {
        if (m_entries[index].key->view() == key)
            return long(index);
    }
    return -1;
}

RefPtr<UIView> NCNotificationListView::viewForKey(std::string_view key) const
{
    long index = indexOfKey(key);
    return index < 0 ? nullptr : m_entries[size_t(index)].view;
}

void NCNotificationListView::insertView(UIView* view, NSString* key, unsigned long index, bool animated)
{
    if (!view || !key)
        return;
    m_pendingInsertion = { key, view };
    msgSend<void>(this, SELECTOR("insertViewAtIndex:animated:"), index, animated);
    // A replacement that skipped the system's insertion leaves nothing staged for later.
    m_pendingInsertion = {};
}

void NCNotificationListView::insertViewAtIndexImpl(unsigned long index, bool)
{
    auto entry = std::exchange(m_pendingInsertion, {});
    if (!entry.view)
        return;
    index = std::min<unsigned long>(index, m_entries.size());
    m_entries.insert(m_entries.begin() + long(index), entry);
    m_visibleViews = nullptr;
    // Newer views draw over older ones, which matters once they stack; chrome stays on top.
    long subviewIndex = long(subviewList().size());
    if (m_footerView && m_footerView->superview().get() == this)
        --subviewIndex;
    insertSubviewAtIndex(entry.view.get(), subviewIndex);
    updateChromeVisibility();
    setNeedsLayout();
}

void NCNotificationListView::removeViewAtIndexImpl(unsigned long index, bool)
{
    if (index >= m_entries.size())
        return;
    auto entry = m_entries[index];
    m_entries.erase(m_entries.begin() + long(index));
    m_visibleViews = nullptr;
    if (entry.view->superview().get() == this)
        entry.view->removeFromSuperview();
    updateChromeVisibility();
    setNeedsLayout();
}

RefPtr<NSDictionary> NCNotificationListView::visibleViews() const
{
    if (m_visibleViews && m_visibleViewsHidden.size() == m_entries.size()) {
        uint64_t hiddenChanges = UIView::hiddenChangeCount();
        if (hiddenChanges == m_visibleViewsHiddenChanges)
            return m_visibleViews;
        size_t index = 0;
        while (index < m_entries.size() && m_entries[index].view->isHidden() == bool(m_visibleViewsHidden[index]))
            ++index;
        if (index == m_entries.size()) {
            m_visibleViewsHiddenChanges = hiddenChanges;
            return m_visibleViews;
        }
    }
    m_visibleViewsHiddenChanges = UIView::hiddenChangeCount();
    std::vector<std::pair<Id, Id>> pairs;
    pairs.reserve(m_entries.size());
    m_visibleViewsHidden.clear();
    for (auto& entry : m_entries) {
        bool hidden = entry.view->isHidden();
        m_visibleViewsHidden.push_back(hidden);
        if (!hidden)
            pairs.emplace_back(entry.key, entry.view);
    }
    m_visibleViews = NSDictionary::dictionaryWithPairs(pairs);
    return m_visibleViews;
}

void NCNotificationListView::setGroupedImpl(bool grouped)
{
    m_grouped = grouped;
    updateChromeVisibility();
    setNeedsLayout();
}

void NCNotificationListView::setHeaderView(UIView* view)
{
    m_coalescing = false;
    if (m_headerView)
        m_headerView->removeFromSuperview();
    m_headerView = view;
    if (view)
        insertSubviewAtIndex(view, 0);
    setNeedsLayout();
}

void NCNotificationListView::setFooterView(UIView* view)
{
    m_coalescing = false;
    if (m_footerView)
        m_footerView->removeFromSuperview();
    m_footerView = view;
    if (view)
        addSubview(view);
    setNeedsLayout();
}

void NCNotificationListView::setCoalescingViews(UIView* header, UIView* footer)
{
    setHeaderView(nullptr);
    setFooterView(nullptr);
    m_headerView = header;
    m_footerView = footer;
    m_coalescing = header && footer;
    updateChromeVisibility();
    setNeedsLayout();
}

void NCNotificationListView::updateChromeVisibility()
{
    if (!m_coalescing)
        return;
    bool attached = m_entries.size() > 1;
    if (attached && m_headerView->superview().get() != this) {
        insertSubviewAtIndex(m_headerView.get(), 0);
        addSubview(m_footerView.get());
    } else if (!attached && m_headerView->superview().get() == this) {
        m_headerView->removeFromSuperview();
        m_footerView->removeFromSuperview();
    }
    m_headerView->setHidden(m_grouped || !attached);
    m_footerView->setHidden(m_grouped || !attached);
}

double NCNotificationListView::preferredHeight(const UIView* view, double width)
{
    if (!view)
        return 0;
    if (auto* list = dynamic_cast<const NCNotificationListView*>(view))
        return list->contentHeightForWidth(width);
    if (auto* cell = dynamic_cast<const NCNotificationListCell*>(view))
        return cell->preferredHeight(width);
    return view->frame().size.height;
}

double NCNotificationListView::contentHeightForWidth(double width) const
{
    if (m_entries.empty())
        return 0;
    if (showsStack()) {
        double front = preferredHeight(m_entries.back().view.get(), width);
        return front + stackOffset * double(std::min(m_entries.size(), stackDepth) - 1);
    }
    double height = 0;
    auto addRow = [&](double rowHeight) {
        if (height > 0)
            height += spacing;
        height += rowHeight;
    };
    if (m_headerView && !m_headerView->isHidden())
        addRow(m_headerView->frame().size.height);
    for (auto& entry : m_entries)
        addRow(preferredHeight(entry.view.get(), width));
    if (m_footerView && !m_footerView->isHidden())
        addRow(m_footerView->frame().size.height);
    return height;
}

void NCNotificationListView::layoutSubviewsImpl()
{
    double width = bounds().size.width;
    if (showsStack()) {
        auto& front = m_entries.back();
        double frontHeight = preferredHeight(front.view.get(), width);
        size_t shown = std::min(m_entries.size(), stackDepth);
        for (size_t depth = 0; depth < m_entries.size(); ++depth) {
            auto& view = m_entries[m_entries.size() - 1 - depth].view;
            view->setHidden(depth >= shown);
            if (depth >= shown)
                continue;
            if (auto* cell = dynamic_cast<NCNotificationListCell*>(view.get()))
                cell->setStackedBehind(depth > 0);
            double inset = stackInset * double(depth);
            view->setFrame(CGRectMake(inset, stackOffset * double(depth), std::max(0.0, width - 2 * inset), frontHeight));
        }
        setContentSize(CGSizeMake(width, contentHeightForWidth(width)));
        return;
    }

    double y = 0;
    auto place = [&](UIView* view) {
        if (y > 0)
            y += spacing;
        double height = preferredHeight(view, width);
        view->setFrame(CGRectMake(0, y, width, height));
        y += height;
    };
    if (m_headerView && !m_headerView->isHidden())
        place(m_headerView.get());
    // Newest on top.
    for (auto it = m_entries.rbegin(); it != m_entries.rend(); ++it) {
        it->view->setHidden(false);
        if (auto* cell = dynamic_cast<NCNotificationListCell*>(it->view.get()))
            cell->setStackedBehind(false);
        place(it->view.get());
    }
    if (m_footerView && !m_footerView->isHidden())
        place(m_footerView.get());
    setContentSize(CGSizeMake(width, y));
}

void NCNotificationListView::traitCollectionDidChangeImpl(UITraitCollection* previous)
{
    msgSendSuper<void>(this, classObject(), SELECTOR("traitCollectionDidChange:"), previous);
}
