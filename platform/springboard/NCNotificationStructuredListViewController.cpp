#include "platform/springboard/NCNotificationStructuredListViewController.h"

#include "platform/springboard/NCNotificationListCoalescingControlsCell.h"
#include "platform/springboard/NCNotificationListCoalescingHeaderCell.h"

#include <algorithm>

Class NCNotificationStructuredListViewController::classObject()
{
    static Class cls = ClassBuilder<NCNotificationStructuredListViewController>("NCNotificationStructuredListViewController", UIViewController::classObject())
                           .method<&NCNotificationStructuredListViewController::loadViewImpl>("loadView")
                           .method<&NCNotificationStructuredListViewController::didReceiveMemoryWarningImpl>("didReceiveMemoryWarning")
                           .method<&NCNotificationStructuredListViewController::viewWillLayoutSubviewsImpl>("viewWillLayoutSubviews")
                           .method<&NCNotificationStructuredListViewController::insertNotificationRequestImpl>("insertNotificationRequest:")
                           .method<&NCNotificationStructuredListViewController::removeNotificationRequestImpl>("removeNotificationRequest:")
                           .method<&NCNotificationStructuredListViewController::revealNotificationHistoryImpl>("revealNotificationHistory:animated:")
                           .method<&NCNotificationStructuredListViewController::isNotificationHistoryRevealed>("isNotificationHistoryRevealed")
                           .method<&NCNotificationStructuredListViewController::rootListViewImpl>("rootListView")
                           .ivar<&NCNotificationStructuredListViewController::m_rootListView>("_rootListView")
                           .build();
    return cls;
}

NCNotificationStructuredListViewController::~NCNotificationStructuredListViewController()
{
    // The lists may outlive the controller in someone's hands; they must not call back.
    if (m_rootListView)
        m_rootListView->setDataSource(nullptr);
    if (!m_sectionListView)
        return;
    m_sectionListView->setDataSource(nullptr);
    for (auto& entry : m_sectionListView->entries()) {
        if (RefPtr<NCNotificationListView> group = objectCast<NCNotificationListView>(entry.view))
            group->setDataSource(nullptr);
    }
}

void NCNotificationStructuredListViewController::loadViewImpl()
{
    auto root = UIView::create();
    m_rootListView = NCNotificationListView::create();
    // The list scrolls: what lies outside it is not shown.
    m_rootListView->setClipsToBounds(true);
    root->addSubview(m_rootListView.get());
    m_sectionListView = NCNotificationListView::create();
    m_sectionListView->setDataSource(&m_cellSource);
    m_rootListView->insertView(m_sectionListView.get(), NSString::string(incomingSectionIdentifier).get(), 0, false);
    m_revealHintView = UIView::create<NCNotificationListSectionRevealHintView>(CGRectMake(0, 0, 0, NCNotificationListSectionRevealHintView::height));
    m_revealHintView->setHidden(true);
    m_rootListView->setFooterView(m_revealHintView.get());
    setView(root.get());
}

RefPtr<NCNotificationListView> NCNotificationStructuredListViewController::rootListView()
{
    view();
    return m_rootListView;
}

RefPtr<NCNotificationListView> NCNotificationStructuredListViewController::sectionListView()
{
    view();
    return m_sectionListView;
}

RefPtr<NCNotificationListSectionHeaderView> NCNotificationStructuredListViewController::sectionHeaderView() const
{
    return m_sectionListView ? objectCast<NCNotificationListSectionHeaderView>(m_sectionListView->headerView()) : nullptr;
}

RefPtr<NCNotificationListView> NCNotificationStructuredListViewController::groupListView(std::string_view sectionID)
{
    auto section = sectionListView();
    if (!section || m_grouping != Grouping::ByApp)
        return nullptr;
    return objectCast<NCNotificationListView>(section->viewForKey(sectionID));
}

RefPtr<NCNotificationListCell> NCNotificationStructuredListViewController::cellForNotification(std::string_view identifier)
{
    auto found = m_listed.find(std::string(identifier));
    auto section = sectionListView();
    if (found == m_listed.end() || !section)
        return nullptr;
    if (m_grouping == Grouping::Off)
        return objectCast<NCNotificationListCell>(section->viewForKey(identifier));
    auto group = groupListView(found->second.request->sectionID());
    return group ? objectCast<NCNotificationListCell>(group->viewForKey(identifier)) : nullptr;
}

std::vector<RefPtr<NCNotificationListCell>> NCNotificationStructuredListViewController::shownCells()
{
    std::vector<RefPtr<NCNotificationListCell>> cells;
    auto section = sectionListView();
    if (!section)
        return cells;
    for (size_t index : section->shownIndices()) {
        auto& view = section->entries()[index].shownView;
        if (RefPtr<NCNotificationListCell> cell = objectCast<NCNotificationListCell>(view)) {
            cells.push_back(cell);
            continue;
        }
        RefPtr<NCNotificationListView> group = objectCast<NCNotificationListView>(view);
        if (!group)
            continue;
        for (size_t groupIndex : group->shownIndices()) {
            if (RefPtr<NCNotificationListCell> cell = objectCast<NCNotificationListCell>(group->entries()[groupIndex].shownView))
                cells.push_back(cell);
        }
    }
    return cells;
}

std::vector<std::string> NCNotificationStructuredListViewController::appsInListOrder()
{
    std::vector<std::string> apps;
    auto section = sectionListView();
    if (m_grouping == Grouping::ByApp) {
        auto& entries = section->entries();
        for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry)
            apps.push_back(entry->key->utf8());
        return apps;
    }
    std::vector<std::pair<uint64_t, std::string>> newest;
    for (auto& [app, arrivals] : m_appArrivals) {
        if (!arrivals.empty())
            newest.emplace_back(*arrivals.rbegin(), app);
    }
    std::sort(newest.begin(), newest.end(), std::greater<>());
    for (auto& [arrival, app] : newest)
        apps.push_back(app);
    return apps;
}

std::optional<double> NCNotificationStructuredListViewController::contentOriginOfNotification(std::string_view identifier)
{
    auto found = m_listed.find(std::string(identifier));
    auto section = sectionListView();
    if (found == m_listed.end() || !section)
        return std::nullopt;
    long sectionIndex = m_rootListView->indexOfKey(incomingSectionIdentifier);
    double origin = sectionIndex < 0 ? 0 : m_rootListView->originOfItem(size_t(sectionIndex));
    if (m_grouping == Grouping::Off) {
        long index = section->indexOfKey(identifier);
        return index < 0 ? std::nullopt : std::optional(origin + section->originOfItem(size_t(index)));
    }
    auto sectionID = found->second.request->sectionID();
    long groupIndex = section->indexOfKey(sectionID);
    auto group = groupListView(sectionID);
    long index = group ? group->indexOfKey(identifier) : -1;
    if (groupIndex < 0 || index < 0)
        return std::nullopt;
    return origin + section->originOfItem(size_t(groupIndex)) + group->originOfItem(size_t(index));
}

void NCNotificationStructuredListViewController::viewWillLayoutSubviewsImpl()
{
    auto root = viewIfLoaded();
    if (!root || !m_rootListView)
        return;
    CGRect bounds = root->bounds();
    m_rootListView->setFrame(CGRectMake(horizontalMargin, 0, std::max(0.0, bounds.size.width - 2 * horizontalMargin), bounds.size.height));
}

RefPtr<NCNotificationListView> NCNotificationStructuredListViewController::makeGroup(NCNotificationRequest* request)
{
    auto group = NCNotificationListView::create();
    group->setDataSource(&m_cellSource);
    group->setGrouped(true);
    auto title = NCNotificationShortLookViewController::displayNameForSection(request->sectionIdentifier().get());
    auto header = NCNotificationListCoalescingHeaderCell::create(title ? title->view() : std::string_view());
    header->setFrame(CGRectMake(0, 0, 0, NCNotificationListCoalescingHeaderCell::height));
    auto controls = NCNotificationListCoalescingControlsCell::create({});
    controls->setFrame(CGRectMake(0, 0, 0, NCNotificationListCoalescingControlsCell::height));
    group->setCoalescingViews(header.get(), controls.get());
    return group;
}

void NCNotificationStructuredListViewController::ensureSectionHeader(NCNotificationListView& section)
{
    if (section.headerView())
        return;
    RefPtr<NCNotificationListSectionHeaderView> header = objectCast<NCNotificationListSectionHeaderView>(UIView::createWithClass(NCNotificationListSectionHeaderView::classObject(),
        CGRectMake(0, 0, 0, NCNotificationListSectionHeaderView::height)));
    if (!header)
        return;
    header->setTitle(NSString::string(sectionTitle).get());
    section.setHeaderView(header.get());
}

void NCNotificationStructuredListViewController::insertNotificationRequestImpl(RefPtr<NCNotificationRequest> request)
{
    auto section = sectionListView();
    if (!request || !section || request->sectionID().empty())
        return;
    // The same notification again replaces the one listed.
    std::string identifier(request->identifier());
    if (auto found = m_listed.find(identifier); found != m_listed.end())
        unlist(Listed(found->second));
    uint64_t arrival = m_nextArrival++;
    m_listed[identifier] = { request, arrival };
    m_arrivals[arrival] = request;
    m_appArrivals[std::string(request->sectionID())].insert(arrival);
    list(request.get());
}

void NCNotificationStructuredListViewController::list(NCNotificationRequest* request)
{
    auto section = m_sectionListView;
    ensureSectionHeader(*section);
    auto key = request->notificationIdentifier();
    double height = NCNotificationListCell::heightForRequest(request, false);
    if (m_grouping == Grouping::Off) {
        section->insertItem(key.get(), height, section->count(), true);
        invalidate(section.get());
        return;
    }
    auto group = groupListView(request->sectionID());
    if (!group) {
        group = makeGroup(request);
        section->insertView(group.get(), request->sectionIdentifier().get(), section->count(), true);
    }
    group->insertItem(key.get(), height, group->count(), true);
    updateSummaries(*group);
    invalidate(group.get());
}

void NCNotificationStructuredListViewController::removeNotificationRequestImpl(RefPtr<NCNotificationRequest> request)
{
    if (!request)
        return;
    auto found = m_listed.find(std::string(request->identifier()));
    if (found == m_listed.end())
        return;
    unlist(Listed(found->second));
}

void NCNotificationStructuredListViewController::unlist(const Listed& listed)
{
    auto section = sectionListView();
    auto& request = listed.request;
    std::string identifier(request->identifier());
    std::string sectionID(request->sectionID());
    m_listed.erase(identifier);
    m_arrivals.erase(listed.arrival);
    if (auto app = m_appArrivals.find(sectionID); app != m_appArrivals.end()) {
        app->second.erase(listed.arrival);
        if (app->second.empty())
            m_appArrivals.erase(app);
    }
    if (m_grouping == Grouping::Off) {
        long index = section->indexOfKey(identifier);
        if (index >= 0)
            section->removeViewAtIndex(static_cast<unsigned long>(index), true);
    } else if (auto group = groupListView(sectionID)) {
        long index = group->indexOfKey(identifier);
        if (index >= 0)
            group->removeViewAtIndex(static_cast<unsigned long>(index), true);
        updateSummaries(*group);
        invalidate(group.get());
        long groupIndex = group->count() ? -1 : section->indexOfKey(sectionID);
        if (groupIndex >= 0)
            section->removeViewAtIndex(static_cast<unsigned long>(groupIndex), true);
    }
    // The header goes with the last notification, as the phone drops an empty section's header.
    if (!section->count())
        section->setHeaderView(nullptr);
    invalidate(section.get());
}

void NCNotificationStructuredListViewController::setGrouping(Grouping grouping)
{
    auto section = sectionListView();
    if (grouping == m_grouping || !section)
        return;
    RefPtr<NCNotificationStructuredListViewController> protect(this);
    // Taken out newest first, so every removal is at the end of its list.
    while (section->count()) {
        size_t last = section->count() - 1;
        if (RefPtr<NCNotificationListView> group = objectCast<NCNotificationListView>(section->entries()[last].view)) {
            while (group->count())
                group->removeViewAtIndex(group->count() - 1, false);
        }
        section->removeViewAtIndex(last, false);
    }
    m_grouping = grouping;
    for (auto& [arrival, request] : m_arrivals)
        list(request.get());
    if (!section->count())
        section->setHeaderView(nullptr);
    invalidate(section.get());
}

void NCNotificationStructuredListViewController::revealNotificationHistoryImpl(bool revealed, bool)
{
    m_historyRevealed = revealed;
    if (!m_revealHintView)
        return;
    m_revealHintView->setHidden(!revealed);
    invalidate(m_revealHintView.get());
}

bool NCNotificationStructuredListViewController::setGroupCollapsed(std::string_view sectionID, bool collapsed)
{
    auto group = groupListView(sectionID);
    if (!group)
        return false;
    group->setGrouped(collapsed);
    updateSummaries(*group);
    group->setNeedsLayoutInSubtree();
    invalidate(group.get());
    return true;
}

RefPtr<NSString> NCNotificationStructuredListViewController::summaryFor(const NCNotificationListView& list, size_t index) const
{
    size_t count = list.count();
    if (!list.isGrouped() || count < 2 || index + 1 != count)
        return nullptr;
    size_t more = count - 1;
    return NSString::string(std::to_string(more) + (more == 1 ? " more notification" : " more notifications"));
}

void NCNotificationStructuredListViewController::updateSummaries(NCNotificationListView& group)
{
    auto& entries = group.entries();
    // Only the front and the one it just covered or uncovered can change.
    for (size_t back = 0; back < std::min<size_t>(2, entries.size()); ++back) {
        size_t index = entries.size() - 1 - back;
        auto listed = m_listed.find(entries[index].key->utf8());
        if (listed != m_listed.end())
            group.setHeightOfItem(index, NCNotificationListCell::heightForRequest(listed->second.request.get(), summaryFor(group, index).get() != nullptr));
    }
    for (size_t index : group.shownIndices()) {
        RefPtr<NCNotificationListCell> cell = objectCast<NCNotificationListCell>(entries[index].shownView);
        auto controller = cell ? cell->contentViewController() : nullptr;
        auto look = controller ? controller->lookView() : nullptr;
        if (!look)
            continue;
        auto summary = summaryFor(group, index);
        auto current = look->notificationContentView()->summaryLabel()->text();
        bool same = (!current && !summary) || (current && summary && current->isEqualToString(summary.get()));
        if (!same)
            look->notificationContentView()->setSummaryText(summary.get());
    }
}

RefPtr<UIView> NCNotificationStructuredListViewController::cellForKey(NCNotificationListView& list, const NSString* key)
{
    auto found = key ? m_listed.find(key->utf8()) : m_listed.end();
    if (found == m_listed.end())
        return nullptr;
    auto& request = found->second.request;
    RefPtr<NCNotificationListCell> cell;
    if (!m_reusableCells.empty()) {
        cell = std::move(m_reusableCells.back());
        m_reusableCells.pop_back();
        // As the phone's list does: the same cell and controller, told their new notification.
        if (auto controller = cell->contentViewController())
            controller->setNotificationRequest(request.get());
    } else {
        auto controller = NCNotificationShortLookViewController::createForRequest(request.get());
        cell = NCNotificationListCell::create();
        if (!controller || !cell)
            return nullptr;
        addChildViewController(controller.get());
        cell->setContentViewController(controller.get());
    }
    long index = list.indexOfKey(key->view());
    auto summary = index < 0 ? nullptr : summaryFor(list, size_t(index));
    auto controller = cell->contentViewController();
    auto look = controller ? controller->lookView() : nullptr;
    if (look && (summary || look->notificationContentView()->summaryLabel()->text()))
        look->notificationContentView()->setSummaryText(summary.get());
    cell->setNeedsLayout();
    return cell;
}

void NCNotificationStructuredListViewController::reuseLater(UIView* view)
{
    RefPtr<NCNotificationListCell> cell = objectCast<NCNotificationListCell>(view);
    if (!cell)
        return;
    cell->closeSwipe();
    if (m_reusableCells.size() < maximumReusableCells) {
        m_reusableCells.push_back(cell);
        return;
    }
    letGo(*cell);
}

void NCNotificationStructuredListViewController::letGo(NCNotificationListCell& cell)
{
    if (auto controller = cell.contentViewController())
        controller->removeFromParentViewController();
    cell.setContentViewController(nullptr);
}

void NCNotificationStructuredListViewController::didReceiveMemoryWarningImpl()
{
    for (auto& cell : std::exchange(m_reusableCells, {}))
        letGo(*cell);
}

void NCNotificationStructuredListViewController::invalidate(UIView* view)
{
    for (RefPtr<UIView> ancestor(view); ancestor; ancestor = ancestor->superview()) {
        ancestor->setNeedsLayout();
        if (ancestor.get() == m_rootListView.get())
            break;
    }
}
