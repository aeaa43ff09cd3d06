#include "platform/springboard/NCNotificationListView.h"

#include "platform/springboard/NCNotificationListCell.h"

#include <algorithm>
#include <limits>

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
                           .method<&NCNotificationListView::setContentOffsetImpl>("setContentOffset:")
                           .ivar<&NCNotificationListView::m_headerView>("_headerView")
                           .ivar<&NCNotificationListView::m_footerView>("_footerView")
                           .build();
    return cls;
}

NCNotificationListView::NCNotificationListView() = default;
NCNotificationListView::~NCNotificationListView() = default;

long NCNotificationListView::indexOfKey(std::string_view key) const
{
    auto found = m_indexOfKey.find(std::string(key));
    if (found == m_indexOfKey.end() || m_entries.empty())
        return -1;
    // Each removal since the index was made moved some items one place up.
    size_t stored = std::min(found->second, m_entries.size() - 1);
    size_t lowest = stored > m_removalsSinceKeyIndex ? stored - m_removalsSinceKeyIndex : 0;
    for (size_t index = stored + 1; index-- > lowest;) {
        if (m_entries[index].key->view() == key)
            return long(index);
    }
    return -1;
}

RefPtr<UIView> NCNotificationListView::viewForKey(std::string_view key) const
{
    long index = indexOfKey(key);
    if (index < 0)
        return nullptr;
    auto& entry = m_entries[size_t(index)];
    return entry.view ? entry.view : entry.shownView;
}

void NCNotificationListView::insertView(UIView* view, NSString* key, unsigned long index, bool animated)
{
    if (!view || !key)
        return;
    m_pendingInsertion = { key, view, nullptr, preferredHeight(view) };
    msgSend<void>(this, SELECTOR("insertViewAtIndex:animated:"), index, animated);
    // A replacement that skipped the system's insertion leaves nothing staged for later.
    m_pendingInsertion = {};
}

void NCNotificationListView::insertItem(NSString* key, double height, unsigned long index, bool animated)
{
    if (!key)
        return;
    m_pendingInsertion = { key, nullptr, nullptr, height };
    msgSend<void>(this, SELECTOR("insertViewAtIndex:animated:"), index, animated);
    m_pendingInsertion = {};
}

void NCNotificationListView::rebuildKeyIndex()
{
    m_removalsSinceKeyIndex = 0;
    for (size_t index = 0; index < m_entries.size(); ++index)
        m_indexOfKey[m_entries[index].key->utf8()] = index;
}

void NCNotificationListView::insertViewAtIndexImpl(unsigned long index, bool)
{
    auto entry = std::exchange(m_pendingInsertion, {});
    if (!entry.key || indexOfKey(entry.key->view()) >= 0)
        return;
    index = std::min<unsigned long>(index, m_entries.size());
    if (RefPtr<NCNotificationListView> nested = objectCast<NCNotificationListView>(entry.view))
        nested->m_containingList = this;
    double rowHeight = entry.height + spacing;
    m_entries.insert(m_entries.begin() + long(index), std::move(entry));
    // New notifications arrive at the end; only an insertion further in moves the others.
    m_offsets.insert(m_offsets.begin() + long(index) + 1, m_offsets[index] + rowHeight);
    for (size_t later = index + 2; later < m_offsets.size(); ++later)
        m_offsets[later] += rowHeight;
    // At the end nothing moves; further in, every later item does.
    if (index + 1 == m_entries.size())
        m_indexOfKey[m_entries[index].key->utf8()] = index;
    else
        rebuildKeyIndex();
    for (auto& shown : m_shown) {
        if (shown >= index)
            ++shown;
    }
    // A view handed in joins the list at once, as before any layout; the next pass keeps it
    // while it is on screen.
    if (m_entries[index].view) {
        m_entries[index].shownView = m_entries[index].view;
        m_shown.insert(std::upper_bound(m_shown.begin(), m_shown.end(), index), index);
        orderShownSubviews();
    }
    m_visibleViews = nullptr;
    updateChromeVisibility();
    setNeedsLayout();
    contentHeightChanged();
}

void NCNotificationListView::removeViewAtIndexImpl(unsigned long index, bool)
{
    if (index >= m_entries.size())
        return;
    RefPtr<NCNotificationListView> protect(this);
    if (m_entries[index].shownView)
        hide(index);
    auto entry = m_entries[index];
    double rowHeight = entry.height + spacing;
    m_indexOfKey.erase(entry.key->utf8());
    m_entries.erase(m_entries.begin() + long(index));
    m_offsets.erase(m_offsets.begin() + long(index) + 1);
    for (size_t later = index + 1; later < m_offsets.size(); ++later)
        m_offsets[later] -= rowHeight;
    // Renumbering every later key at each removal would make clearing a long list from
    // its oldest end quadratic; lookups allow for the removals since, up to a bound.
    if (++m_removalsSinceKeyIndex > maximumRemovalsBeforeReindex)
        rebuildKeyIndex();
    for (auto& shown : m_shown) {
        if (shown > index)
            --shown;
    }
    if (RefPtr<NCNotificationListView> nested = objectCast<NCNotificationListView>(entry.view)) {
        nested->endDisplayingItems();
        nested->m_containingList = nullptr;
    }
    m_visibleViews = nullptr;
    updateChromeVisibility();
    setNeedsLayout();
    contentHeightChanged();
}

void NCNotificationListView::setHeightOfItem(size_t index, double height)
{
    if (index >= m_entries.size() || m_entries[index].height == height)
        return;
    double change = height - m_entries[index].height;
    m_entries[index].height = height;
    for (size_t later = index + 1; later < m_offsets.size(); ++later)
        m_offsets[later] += change;
    setNeedsLayout();
    contentHeightChanged();
}

void NCNotificationListView::contentHeightChanged()
{
    double height = contentHeight();
    if (height == m_reportedHeight)
        return;
    m_reportedHeight = height;
    auto containing = m_containingList.get();
    if (!containing)
        return;
    // A list holds few nested lists: the section's app groups, the top list's section.
    for (size_t index = 0; index < containing->m_entries.size(); ++index) {
        if (containing->m_entries[index].view.get() == this) {
            containing->setHeightOfItem(index, height);
            return;
        }
    }
}

RefPtr<NSDictionary> NCNotificationListView::visibleViews() const
{
    if (m_visibleViews && m_visibleViewsHidden.size() == m_shown.size()) {
        uint64_t hiddenChanges = UIView::hiddenChangeCount();
        if (hiddenChanges == m_visibleViewsHiddenChanges)
            return m_visibleViews;
        size_t position = 0;
        while (position < m_shown.size() && m_entries[m_shown[position]].shownView->isHidden() == bool(m_visibleViewsHidden[position]))
            ++position;
        if (position == m_shown.size()) {
            m_visibleViewsHiddenChanges = hiddenChanges;
            return m_visibleViews;
        }
    }
    m_visibleViewsHiddenChanges = UIView::hiddenChangeCount();
    std::vector<std::pair<Id, Id>> pairs;
    pairs.reserve(m_shown.size());
    m_visibleViewsHidden.clear();
    for (size_t index : m_shown) {
        auto& entry = m_entries[index];
        bool hidden = entry.shownView->isHidden();
        m_visibleViewsHidden.push_back(hidden);
        if (!hidden)
            pairs.emplace_back(entry.key, entry.shownView);
    }
    m_visibleViews = NSDictionary::dictionaryWithPairs(pairs);
    return m_visibleViews;
}

void NCNotificationListView::setGroupedImpl(bool grouped)
{
    m_grouped = grouped;
    updateChromeVisibility();
    setNeedsLayout();
    contentHeightChanged();
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
    contentHeightChanged();
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
    contentHeightChanged();
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
    contentHeightChanged();
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

double NCNotificationListView::preferredHeight(const UIView* view)
{
    if (!view)
        return 0;
    if (auto* list = objectCast<const NCNotificationListView>(view))
        return list->contentHeight();
    if (auto* cell = objectCast<const NCNotificationListCell>(view))
        return cell->preferredHeight(0);
    return view->frame().size.height;
}

double NCNotificationListView::itemsTop() const
{
    return showsHeader() ? m_headerView->frame().size.height + spacing : 0;
}

double NCNotificationListView::contentHeight() const
{
    if (m_entries.empty())
        return 0;
    if (showsStack())
        return m_entries.back().height + stackOffset * double(std::min(m_entries.size(), stackDepth) - 1);
    double height = itemsTop() + m_offsets.back() - spacing;
    if (showsFooter())
        height += spacing + m_footerView->frame().size.height;
    return height;
}

double NCNotificationListView::originOfItem(size_t index) const
{
    if (index >= m_entries.size())
        return 0;
    if (showsStack()) {
        size_t depth = m_entries.size() - 1 - index;
        return depth < stackDepth ? stackOffset * double(depth) : 0;
    }
    // Newest on top: an item starts below every newer one.
    return itemsTop() + m_offsets.back() - m_offsets[index + 1];
}

std::pair<double, double> NCNotificationListView::visibleSpan() const
{
    double top = -std::numeric_limits<double>::infinity();
    double bottom = std::numeric_limits<double>::infinity();
    // A point of this list lies at `offset` further down in the ancestor reached so far.
    double offset = 0;
    const UIView* view = this;
    while (view) {
        auto parent = view->superview();
        // Whatever clips, and the screen itself, bounds what can be seen.
        if (view->clipsToBounds() || !parent) {
            CGRect bounds = view->bounds();
            top = std::max(top, bounds.origin.y - offset);
            bottom = std::min(bottom, bounds.origin.y + bounds.size.height - offset);
        }
        if (!parent)
            break;
        offset += view->frame().origin.y - view->bounds().origin.y;
        view = parent.get();
    }
    return { top - visibleMargin, bottom + visibleMargin };
}

void NCNotificationListView::show(size_t index)
{
    auto& entry = m_entries[index];
    if (entry.shownView)
        return;
    if (entry.view)
        entry.shownView = entry.view;
    else if (m_dataSource)
        entry.shownView = m_dataSource->listViewViewForKey(*this, entry.key.get());
}

void NCNotificationListView::hide(size_t index)
{
    RefPtr<UIView> view = std::exchange(m_entries[index].shownView, nullptr);
    if (!view)
        return;
    if (view->superview().get() == this)
        view->removeFromSuperview();
    if (RefPtr<NCNotificationListView> nested = objectCast<NCNotificationListView>(view))
        nested->endDisplayingItems();
    else if (m_dataSource)
        m_dataSource->listViewDidEndDisplayingView(*this, view.get());
    std::erase(m_shown, index);
    m_visibleViews = nullptr;
}

void NCNotificationListView::endDisplayingItems()
{
    RefPtr<NCNotificationListView> protect(this);
    auto shown = m_shown;
    for (size_t index : shown)
        hide(index);
    m_shown.clear();
}

void NCNotificationListView::orderShownSubviews()
{
    // Header, the shown items oldest first (newer ones draw over older ones, which matters
    // once they stack), footer.
    long position = m_headerView && m_headerView->superview().get() == this ? 1 : 0;
    for (size_t index : m_shown) {
        auto& view = m_entries[index].shownView;
        auto& subviews = subviewList();
        if (size_t(position) >= subviews.size() || subviews[size_t(position)].get() != view.get())
            insertSubviewAtIndex(view.get(), position);
        ++position;
    }
    if (m_footerView && m_footerView->superview().get() == this && subviewList().back().get() != m_footerView.get())
        addSubview(m_footerView.get());
}

void NCNotificationListView::needsLayoutInShownLists()
{
    for (size_t index : m_shown) {
        if (RefPtr<NCNotificationListView> nested = objectCast<NCNotificationListView>(m_entries[index].shownView)) {
            nested->setNeedsLayout();
            nested->needsLayoutInShownLists();
        }
    }
}

void NCNotificationListView::setContentOffsetImpl(CGPoint offset)
{
    msgSendSuper<void>(this, classObject(), SELECTOR("setContentOffset:"), offset);
    // What is on screen changed for every list inside, though none of them moved.
    setNeedsLayout();
    needsLayoutInShownLists();
}

void NCNotificationListView::layoutSubviewsImpl()
{
    RefPtr<NCNotificationListView> protect(this);
    // A scrolling list whose content shrank below where it was scrolled shows its end, not
    // an empty screen.
    if (clipsToBounds()) {
        double furthest = std::max(0.0, contentHeight() - bounds().size.height);
        if (contentOffset().y > furthest)
            setContentOffset(CGPointMake(contentOffset().x, furthest));
    }
    double width = bounds().size.width;
    size_t first = 0;
    size_t end = 0;
    if (showsStack()) {
        first = m_entries.size() - std::min(m_entries.size(), stackDepth);
        end = m_entries.size();
    } else if (!m_entries.empty()) {
        // Item i covers [origin(i), origin(i) + height(i)); origins fall as i grows.
        auto [top, bottom] = visibleSpan();
        double itemsBottom = itemsTop() + m_offsets.back();
        // Items starting above the span's bottom: m_offsets[i + 1] > itemsBottom - bottom.
        auto firstShown = std::upper_bound(m_offsets.begin() + 1, m_offsets.end(), itemsBottom - bottom);
        first = size_t(firstShown - (m_offsets.begin() + 1));
        // Items ending below the span's top: m_offsets[i] + spacing < itemsBottom - top.
        auto endShown = std::lower_bound(m_offsets.begin(), m_offsets.end() - 1, itemsBottom - top - spacing);
        end = std::max(first, size_t(endShown - m_offsets.begin()));
    }
    auto previous = m_shown;
    for (size_t index : previous) {
        if (index < first || index >= end)
            hide(index);
    }
    std::vector<size_t> shown;
    for (size_t index = first; index < end; ++index) {
        show(index);
        if (m_entries[index].shownView)
            shown.push_back(index);
    }
    if (shown != m_shown) {
        m_shown = std::move(shown);
        m_visibleViews = nullptr;
    }
    orderShownSubviews();

    if (showsStack()) {
        double frontHeight = m_entries.back().height;
        for (size_t index : m_shown) {
            auto& view = m_entries[index].shownView;
            size_t depth = m_entries.size() - 1 - index;
            view->setHidden(false);
            if (auto* cell = objectCast<NCNotificationListCell>(view))
                cell->setStackedBehind(depth > 0);
            double inset = stackInset * double(depth);
            view->setFrame(CGRectMake(inset, stackOffset * double(depth), std::max(0.0, width - 2 * inset), frontHeight));
        }
        setContentSize(CGSizeMake(width, contentHeight()));
        return;
    }

    if (showsHeader())
        m_headerView->setFrame(CGRectMake(0, 0, width, m_headerView->frame().size.height));
    for (size_t index : m_shown) {
        auto& entry = m_entries[index];
        entry.shownView->setHidden(false);
        if (auto* cell = objectCast<NCNotificationListCell>(entry.shownView))
            cell->setStackedBehind(false);
        entry.shownView->setFrame(CGRectMake(0, originOfItem(index), width, entry.height));
    }
    // Moving a nested list changes what of it is on screen.
    needsLayoutInShownLists();
    if (showsFooter())
        m_footerView->setFrame(CGRectMake(0, itemsTop() + m_offsets.back(), width, m_footerView->frame().size.height));
    setContentSize(CGSizeMake(width, contentHeight()));
}

void NCNotificationListView::traitCollectionDidChangeImpl(UITraitCollection* previous)
{
    msgSendSuper<void>(this, classObject(), SELECTOR("traitCollectionDidChange:"), previous);
}
