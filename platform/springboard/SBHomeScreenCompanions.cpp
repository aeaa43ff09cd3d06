#include "platform/springboard/SBHomeScreenCompanions.h"

#include "platform/foundation/NSString.h"
#include "platform/springboard/NCNotificationListCell.h"
#include "platform/springboard/NCNotificationStructuredListViewController.h"
#include "platform/springboard/UIImage+ApplicationIcons.h"
#include "platform/uikit/UIView.h"

#include <algorithm>

namespace {

// The container is a bar in the list's margin beside the platter's leading edge, clear
// of its rounded corners: painted like the platter, on the platter it would not show.
constexpr double containerGap = 1.5;
constexpr double containerWidth = 5;
constexpr double containerVerticalInset = 12;

struct RowSpec {
    SBHomeScreenCompanions::AppCellRow row;
    const char* cellClass;
};

constexpr RowSpec rowSpecs[] = {
    { SBHomeScreenCompanions::AppCellRow::Axon, "AXNAppCell" },
    { SBHomeScreenCompanions::AppCellRow::Grupi, "GRPAppCell" },
};

void sendSelected(const UIView* cell, bool selected) { msgSendIfResponds<void>(cell, SELECTOR("setSelected:"), selected); }

} // namespace

struct SBHomeScreenCompanions::Row {
    // Until someone taps a cell the first one is selected; a tapped app stays selected
    // while it has a cell, and an untapped row stays without a selection.
    enum class Choice { First, App, None };

    struct Cell {
        std::string app;
        RefPtr<UIView> view;
    };

    AppCellRow kind;
    Class cellClass { nullptr };
    RefPtr<UIView> view;
    std::vector<Cell> cells;
    std::optional<std::string> selected;
    Choice choice { Choice::First };

    const Cell* cellFor(std::string_view app) const
    {
        auto found = std::find_if(cells.begin(), cells.end(), [&](auto& cell) { return cell.app == app; });
        return found == cells.end() ? nullptr : &*found;
    }
};

SBHomeScreenCompanions::SBHomeScreenCompanions(UIView* parent, UIView* belowView)
{
    for (auto& spec : rowSpecs) {
        Class cls = NSClassFromString(spec.cellClass);
        if (!cls)
            continue;
        Row row { spec.row, cls, UIView::create(), {}, std::nullopt, Row::Choice::First };
        row.view->setClipsToBounds(true);
        row.view->setHidden(true);
        if (parent) {
            auto& siblings = parent->subviewList();
            auto below = std::find_if(siblings.begin(), siblings.end(), [&](auto& view) { return view.get() == belowView; });
            parent->insertSubviewAtIndex(row.view.get(), long(below - siblings.begin()));
        }
        m_rows.push_back(std::move(row));
    }
    m_containerClass = NSClassFromString("DaynContainer");
}

SBHomeScreenCompanions::~SBHomeScreenCompanions()
{
    for (auto& row : m_rows)
        row.view->removeFromSuperview();
}

SBHomeScreenCompanions::Row* SBHomeScreenCompanions::row(AppCellRow kind)
{
    for (auto& row : m_rows) {
        if (row.kind == kind)
            return &row;
    }
    return nullptr;
}

const SBHomeScreenCompanions::Row* SBHomeScreenCompanions::row(AppCellRow kind) const
{
    return const_cast<SBHomeScreenCompanions*>(this)->row(kind);
}

void SBHomeScreenCompanions::updateRows(NCNotificationStructuredListViewController& list)
{
    if (m_rows.empty())
        return;
    auto apps = list.appsInListOrder();
    // The empty name stands for the cell without an app.
    if (m_sectionlessCell)
        apps.emplace_back();
    for (auto& row : m_rows)
        updateRow(row, apps);
}

void SBHomeScreenCompanions::updateContainers(NCNotificationStructuredListViewController& list)
{
    if (!m_containerClass)
        return;
    std::erase_if(m_decorated, [](auto& decorated) { return !decorated.cell.get(); });
    for (auto& cell : list.shownCells()) {
        auto controller = cell->contentViewController();
        auto request = controller ? controller->notificationRequest() : nullptr;
        auto known = std::find_if(m_decorated.begin(), m_decorated.end(), [&](auto& decorated) { return decorated.cell.get() == cell; });
        if (known != m_decorated.end() && request && known->request.get().get() == request.get())
            continue;
        attachContainer(cell.get(), containerInCell(cell.get()).get());
        if (known == m_decorated.end())
            m_decorated.push_back({ cell.get(), request.get() });
        else
            known->request = request.get();
    }
}

RefPtr<UIView> SBHomeScreenCompanions::makeCell(const Row& row, const std::string& bundleIdentifier) const
{
    auto cell = UIView::createWithClass(row.cellClass, CGRectMake(0, 0, cellSide, cellSide));
    if (!cell)
        return nullptr;
    if (bundleIdentifier.empty())
        return cell;
    msgSendIfResponds<void>(cell.get(), SELECTOR("setBundleIdentifier:"), NSString::string(bundleIdentifier));
    auto iconView = msgSendIfResponds<Id>(cell.get(), SELECTOR("iconView"));
    auto icon = sendApplicationIconImage(bundleIdentifier, 1, 2.0);
    msgSendIfResponds<void>(iconView.get(), SELECTOR("setImage:"), icon);
    return cell;
}

void SBHomeScreenCompanions::updateRow(Row& row, const std::vector<std::string>& apps)
{
    std::vector<Row::Cell> cells;
    std::vector<const UIView*> fresh;
    for (auto& app : apps) {
        if (auto existing = row.cellFor(app)) {
            cells.push_back(*existing);
            continue;
        }
        if (auto view = makeCell(row, app)) {
            fresh.push_back(view.get());
            cells.push_back({ app, std::move(view) });
        }
    }
    for (auto& cell : row.cells) {
        if (std::none_of(cells.begin(), cells.end(), [&](auto& kept) { return kept.view == cell.view; }))
            cell.view->removeFromSuperview();
    }
    row.cells = std::move(cells);
    // Subviews in row order, so a snapshot lists the cells as they are shown.
    for (size_t index = 0; index < row.cells.size(); ++index) {
        auto& shown = row.view->subviewList();
        if (index >= shown.size() || shown[index].get() != row.cells[index].view.get())
            row.view->insertSubviewAtIndex(row.cells[index].view.get(), long(index));
    }

    auto previous = row.selected;
    if (row.choice == Row::Choice::App && !row.cellFor(*row.selected))
        row.choice = Row::Choice::First;
    if (row.choice == Row::Choice::First)
        row.selected = row.cells.empty() ? std::nullopt : std::optional(row.cells.front().app);

    for (auto& cell : row.cells) {
        bool isNew = std::find(fresh.begin(), fresh.end(), cell.view.get()) != fresh.end();
        bool selected = row.selected == cell.app;
        // As a collection view does: new cells learn their state, others only a change.
        if (isNew || selected != (previous == cell.app))
            sendSelected(cell.view.get(), selected);
    }
    row.view->setHidden(row.cells.empty());
}

double SBHomeScreenCompanions::rowsHeight() const
{
    double height = 0;
    for (auto& row : m_rows) {
        if (!row.cells.empty())
            height += cellSide + cellSpacing;
    }
    return height;
}

void SBHomeScreenCompanions::placeRows(double x, double top, double width)
{
    for (auto& row : m_rows) {
        if (row.cells.empty()) {
            row.view->setFrame(CGRectMake(x, top, width, 0));
            continue;
        }
        row.view->setFrame(CGRectMake(x, top, width, cellSide));
        double cellX = 0;
        for (auto& cell : row.cells) {
            cell.view->setFrame(CGRectMake(cellX, 0, cellSide, cellSide));
            cellX += cellSide + cellSpacing;
        }
        top += cellSide + cellSpacing;
    }
}

void SBHomeScreenCompanions::placeContainers(NCNotificationStructuredListViewController& list)
{
    if (!m_containerClass)
        return;
    for (auto& cell : list.shownCells()) {
        auto container = containerInCell(cell.get());
        if (!container)
            continue;
        CGSize size = cell->bounds().size;
        auto content = cell->contentView();
        double leading = content ? content->frame().origin.x : 0;
        double height = std::max(0.0, size.height - 2 * containerVerticalInset);
        container->setFrame(CGRectMake(leading - containerGap - containerWidth, containerVerticalInset, containerWidth, height));
    }
}

void SBHomeScreenCompanions::attachContainer(UIView* cell, UIView* existing)
{
    RefPtr<NCNotificationListCell> listCell = objectCast<NCNotificationListCell>(cell);
    auto controller = listCell ? listCell->contentViewController() : nullptr;
    if (!controller)
        return;
    RefPtr<UIView> container(existing);
    if (container) {
        container->removeFromSuperview();
    } else {
        container = UIView::createWithClass(m_containerClass);
        if (!container)
            return;
        container->layer()->setCornerRadius(containerWidth / 2);
    }
    // Dayn knows its notification before the container joins the platter's cell.
    msgSendIfResponds<void>(container.get(), SELECTOR("setDelegate:"), controller);
    cell->addSubview(container.get());
}

RefPtr<UIView> SBHomeScreenCompanions::attachContainer(UIView* view, Object* delegate, CGRect frame) const
{
    if (!view || !m_containerClass)
        return nullptr;
    auto container = UIView::createWithClass(m_containerClass, frame);
    if (!container)
        return nullptr;
    container->layer()->setCornerRadius(containerWidth / 2);
    msgSendIfResponds<void>(container.get(), SELECTOR("setDelegate:"), delegate);
    view->addSubview(container.get());
    return container;
}

RefPtr<UIView> SBHomeScreenCompanions::containerInCell(const UIView* cell) const
{
    if (!cell || !m_containerClass)
        return nullptr;
    for (auto& view : cell->subviewList()) {
        if (view->isKindOfClass(m_containerClass))
            return view;
    }
    return nullptr;
}

bool SBHomeScreenCompanions::isLoaded(AppCellRow kind) const { return row(kind) != nullptr; }

std::vector<RefPtr<UIView>> SBHomeScreenCompanions::cells(AppCellRow kind) const
{
    std::vector<RefPtr<UIView>> views;
    if (auto found = row(kind)) {
        for (auto& cell : found->cells)
            views.push_back(cell.view);
    }
    return views;
}

std::optional<std::string> SBHomeScreenCompanions::selectedApp(AppCellRow kind) const
{
    auto found = row(kind);
    return found ? found->selected : std::nullopt;
}

bool SBHomeScreenCompanions::setSelected(AppCellRow kind, std::string_view bundleIdentifier, bool selected)
{
    auto found = row(kind);
    auto target = found ? found->cellFor(bundleIdentifier) : nullptr;
    if (!target)
        return false;
    auto& row = *found;
    if (!selected) {
        if (row.selected == bundleIdentifier) {
            row.selected.reset();
            row.choice = Row::Choice::None;
            sendSelected(target->view.get(), false);
        }
        return true;
    }
    row.choice = Row::Choice::App;
    if (row.selected == bundleIdentifier)
        return true;
    if (auto previous = row.selected ? row.cellFor(*row.selected) : nullptr)
        sendSelected(previous->view.get(), false);
    row.selected = std::string(bundleIdentifier);
    sendSelected(target->view.get(), true);
    return true;
}
