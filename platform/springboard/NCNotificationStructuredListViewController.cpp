#include "platform/springboard/NCNotificationStructuredListViewController.h"

#include "platform/springboard/NCNotificationListCoalescingControlsCell.h"
#include "platform/springboard/NCNotificationListCoalescingHeaderCell.h"

Class NCNotificationStructuredListViewController::classObject()
{
    static Class cls = ClassBuilder<NCNotificationStructuredListViewController>("NCNotificationStructuredListViewController", UIViewController::classObject())
                           .method<&NCNotificationStructuredListViewController::loadViewImpl>("loadView")
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

void NCNotificationStructuredListViewController::loadViewImpl()
{
    auto root = UIView::create();
    m_rootListView = NCNotificationListView::create();
    root->addSubview(m_rootListView.get());
    m_sectionListView = NCNotificationListView::create();
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
    return m_sectionListView ? objectAs<NCNotificationListSectionHeaderView>(m_sectionListView->headerView().get()) : nullptr;
}

RefPtr<NCNotificationListView> NCNotificationStructuredListViewController::groupListView(std::string_view sectionID)
{
    auto section = sectionListView();
    return section ? objectAs<NCNotificationListView>(section->viewForKey(sectionID).get()) : nullptr;
}

RefPtr<NCNotificationListCell> NCNotificationStructuredListViewController::cellForNotification(std::string_view identifier)
{
    auto section = sectionListView();
    if (!section)
        return nullptr;
    for (auto& entry : section->entries()) {
        auto group = objectAs<NCNotificationListView>(entry.view.get());
        if (auto cell = group ? objectAs<NCNotificationListCell>(group->viewForKey(identifier).get()) : nullptr)
            return cell;
    }
    return nullptr;
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
    group->setGrouped(true);
    auto title = NCNotificationShortLookViewController::displayNameForSection(request->sectionIdentifier().get());
    auto header = NCNotificationListCoalescingHeaderCell::create(title ? title->view() : std::string_view());
    header->setFrame(CGRectMake(0, 0, 0, NCNotificationListCoalescingHeaderCell::height));
    auto controls = NCNotificationListCoalescingControlsCell::create({});
    controls->setFrame(CGRectMake(0, 0, 0, NCNotificationListCoalescingControlsCell::height));
    group->setCoalescingViews(header.get(), controls.get());
    return group;
}

void NCNotificationStructuredListViewController::insertNotificationRequestImpl(RefPtr<NCNotificationRequest> request)
{
    auto section = sectionListView();
    if (!request || !section || request->sectionID().empty())
        return;
    auto group = groupListView(request->sectionID());
    if (!group) {
        if (!section->headerView()) {
            auto header = objectAs<NCNotificationListSectionHeaderView>(UIView::createWithClass(NCNotificationListSectionHeaderView::classObject(),
                CGRectMake(0, 0, 0, NCNotificationListSectionHeaderView::height)).get());
            if (header) {
                header->setTitle(NSString::string(sectionTitle).get());
                section->setHeaderView(header.get());
            }
        }
        group = makeGroup(request.get());
        section->insertView(group.get(), request->sectionIdentifier().get(), section->count(), true);
    }
    auto controller = NCNotificationShortLookViewController::createForRequest(request.get());
    auto cell = NCNotificationListCell::create();
    if (!controller || !cell)
        return;
    addChildViewController(controller.get());
    cell->setContentViewController(controller.get());
    group->insertView(cell.get(), request->notificationIdentifier().get(), group->count(), true);
    updateSummaries(group.get());
    invalidate(cell.get());
}

void NCNotificationStructuredListViewController::removeNotificationRequestImpl(RefPtr<NCNotificationRequest> request)
{
    auto section = sectionListView();
    if (!request || !section)
        return;
    auto group = groupListView(request->sectionID());
    long index = group ? group->indexOfKey(request->identifier()) : -1;
    if (index < 0)
        return;
    auto cell = objectAs<NCNotificationListCell>(group->entries()[size_t(index)].view.get());
    group->removeViewAtIndex(static_cast<unsigned long>(index), true);
    if (auto controller = cell ? cell->contentViewController() : nullptr)
        controller->removeFromParentViewController();
    if (cell)
        cell->setContentViewController(nullptr);
    updateSummaries(group.get());
    invalidate(group.get());
    if (group->count())
        return;
    long groupIndex = section->indexOfKey(request->sectionID());
    if (groupIndex >= 0)
        section->removeViewAtIndex(static_cast<unsigned long>(groupIndex), true);
    // The header goes with the last group, as the phone drops an empty section's header.
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
    updateSummaries(group.get());
    group->setNeedsLayoutInSubtree();
    invalidate(group.get());
    return true;
}

void NCNotificationStructuredListViewController::updateSummaries(NCNotificationListView* group)
{
    auto& entries = group->entries();
    for (size_t index = 0; index < entries.size(); ++index) {
        auto cell = objectAs<NCNotificationListCell>(entries[index].view.get());
        auto controller = cell ? cell->contentViewController() : nullptr;
        auto look = controller ? controller->lookView() : nullptr;
        if (!look)
            continue;
        // The front of a stack tells how many notifications hide behind it.
        bool front = index + 1 == entries.size();
        RefPtr<NSString> summary;
        if (front && group->isGrouped() && entries.size() > 1) {
            size_t more = entries.size() - 1;
            summary = NSString::string(std::to_string(more) + (more == 1 ? " more notification" : " more notifications"));
        }
        auto current = look->notificationContentView()->summaryLabel()->text();
        bool same = (!current && !summary) || (current && summary && current->isEqualToString(summary.get()));
        if (!same)
            look->notificationContentView()->setSummaryText(summary.get());
    }
}

void NCNotificationStructuredListViewController::invalidate(UIView* view)
{
    for (RefPtr<UIView> ancestor(view); ancestor; ancestor = ancestor->superview()) {
        ancestor->setNeedsLayout();
        if (ancestor == m_rootListView)
            break;
    }
}
