#include "platform/uikit/UITableView.h"

#include "platform/foundation/NSArray.h"
#include "platform/foundation/NSString.h"
#include "platform/uikit/NSLayoutConstraint.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double sectionGap = 35;
constexpr double footerLineHeight = 18;

double footerHeight(const UILabel& label, double width)
{
    // The footer wraps; about seven points a character at its size.
    double characters = double(label.textString().size());
    double lines = std::max(1.0, std::ceil(characters * 7 / std::max(1.0, width)));
    return lines * footerLineHeight + 8;
}

} // namespace

Class UITableView::classObject()
{
    static Class cls = ClassBuilder<UITableView>("UITableView", UIScrollView::classObject())
                           .method<&UITableView::initWithFrameStyleImpl>("initWithFrame:style:")
                           .method<&UITableView::initWithFrameTableImpl>("initWithFrame:")
                           .method<&UITableView::style>("style")
                           .method<&UITableView::dataSource>("dataSource")
                           .method<&UITableView::setDataSourceImpl>("setDataSource:")
                           .method<&UITableView::reloadDataImpl>("reloadData")
                           .method<&UITableView::numberOfSections>("numberOfSections")
                           .method<&UITableView::numberOfRowsInSection>("numberOfRowsInSection:")
                           .method<&UITableView::cellForRowAtIndexPathImpl>("cellForRowAtIndexPath:")
                           .method<&UITableView::indexPathForCellImpl>("indexPathForCell:")
                           .method<&UITableView::visibleCellsImpl>("visibleCells")
                           .method<&UITableView::tableHeaderViewImpl>("tableHeaderView")
                           .method<&UITableView::setTableHeaderViewImpl>("setTableHeaderView:")
                           .method<&UITableView::separatorColor>("separatorColor")
                           .method<&UITableView::setSeparatorColorImpl>("setSeparatorColor:")
                           .method<&UITableView::tintColor>("tintColor")
                           .method<&UITableView::setTintColorImpl>("setTintColor:")
                           .method<&UITableView::selectRowImpl>("selectRowAtIndexPath:animated:scrollPosition:")
                           .method<&UITableView::indexPathForSelectedRowImpl>("indexPathForSelectedRow")
                           .method<&UITableView::layoutSubviewsImpl>("layoutSubviews")
                           .ivar<&UITableView::m_tableHeaderView>("_tableHeaderView")
                           .build();
    return cls;
}

UITableView::UITableView() = default;
UITableView::~UITableView() = default;

RefPtr<UITableView> UITableView::create(CGRect frame, long style)
{
    auto object = class_createInstance(classObject());
    return msgSend<RefPtr<UITableView>>(object, SELECTOR("initWithFrame:style:"), frame, style);
}

Id UITableView::initWithFrameStyleImpl(CGRect frame, long style)
{
    auto self = msgSendSuper<Id>(this, classObject(), SELECTOR("initWithFrame:"), frame);
    if (!self)
        return nullptr;
    m_style = style;
    m_separatorColor = UIColor::colorWithWhite(0.78, 1);
    if (style != UITableViewStylePlain)
        setBackgroundColor(UIColor::colorWithRed(0.95, 0.95, 0.97, 1).get());
    return self;
}

void UITableView::setDataSourceImpl(id dataSource)
{
    m_dataSource = dataSource;
    m_needsReload = true;
    setNeedsLayout();
}

void UITableView::reloadDataImpl()
{
    m_needsReload = true;
    setNeedsLayout();
}

void UITableView::clearRows()
{
    for (auto& section : m_sections) {
        for (auto& cell : section.cells)
            cell->removeFromSuperview();
        if (section.header)
            section.header->removeFromSuperview();
        if (section.footer)
            section.footer->removeFromSuperview();
    }
    m_sections.clear();
    m_selectedIndexPath = nullptr;
    for (auto& separator : m_separators)
        separator->removeFromSuperview();
    m_separators.clear();
}

RefPtr<UILabel> UITableView::makeSectionLabel(NSString* text, bool footer)
{
    if (!text || text->utf8().empty())
        return nullptr;
    auto label = UILabel::create();
    label->setText(text);
    label->setFont(UIFont::systemFontOfSize(13).get());
    label->setTextColor(UIColor::colorWithWhite(0.43, 1).get());
    label->setNumberOfLines(footer ? 0 : 1);
    addSubview(label.get());
    return label;
}

void UITableView::loadRowsIfNeeded()
{
    // The data source may touch the table while it is asked (a header view, say).
    if (!m_needsReload || m_loading)
        return;
    m_loading = true;
    m_needsReload = false;
    RefPtr<UITableView> protect(this);
    clearRows();
    auto source = m_dataSource.get();
    if (source) {
        long sections = 1;
        if (source->respondsToSelector(SELECTOR("numberOfSectionsInTableView:")))
            sections = msgSend<long>(source, SELECTOR("numberOfSectionsInTableView:"), this);
        for (long section = 0; section < sections; ++section) {
            Section loaded;
            long rows = msgSendIfResponds<long>(source.get(), SELECTOR("tableView:numberOfRowsInSection:"), this, section);
            for (long row = 0; row < rows; ++row) {
                auto path = NSIndexPath::indexPathForRow(row, section);
                auto cell = msgSendIfResponds<RefPtr<UITableViewCell>>(source.get(), SELECTOR("tableView:cellForRowAtIndexPath:"), this, path);
                // A data source that answers no cell still gets a row, as the phone shows an empty one.
                if (!cell)
                    cell = UITableViewCell::createWithClass(UITableViewCell::classObject(), UITableViewCellStyleDefault, nullptr);
                addSubview(cell.get());
                loaded.cells.push_back(cell);
            }
            auto header = msgSendIfResponds<RefPtr<NSString>>(source.get(), SELECTOR("tableView:titleForHeaderInSection:"), this, section);
            auto footer = msgSendIfResponds<RefPtr<NSString>>(source.get(), SELECTOR("tableView:titleForFooterInSection:"), this, section);
            loaded.header = makeSectionLabel(header.get(), false);
            loaded.footer = makeSectionLabel(footer.get(), true);
            m_sections.push_back(std::move(loaded));
        }
    }
    m_loading = false;
}

long UITableView::numberOfSections()
{
    loadRowsIfNeeded();
    return static_cast<long>(m_sections.size());
}

long UITableView::numberOfRowsInSection(long section)
{
    loadRowsIfNeeded();
    if (section < 0 || section >= static_cast<long>(m_sections.size()))
        return 0;
    return static_cast<long>(m_sections[section].cells.size());
}

RefPtr<UITableViewCell> UITableView::cellForRowAtIndexPath(NSIndexPath* indexPath)
{
    if (!indexPath)
        return nullptr;
    loadRowsIfNeeded();
    long section = indexPath->section();
    long row = indexPath->row();
    if (section < 0 || section >= static_cast<long>(m_sections.size()))
        return nullptr;
    auto& cells = m_sections[section].cells;
    if (row < 0 || row >= static_cast<long>(cells.size()))
        return nullptr;
    return cells[row];
}

RefPtr<NSIndexPath> UITableView::indexPathForCell(UITableViewCell* cell)
{
    loadRowsIfNeeded();
    for (size_t section = 0; section < m_sections.size(); ++section) {
        auto& cells = m_sections[section].cells;
        for (size_t row = 0; row < cells.size(); ++row) {
            if (cells[row].get() == cell)
                return NSIndexPath::indexPathForRow(static_cast<long>(row), static_cast<long>(section));
        }
    }
    return nullptr;
}

RefPtr<NSArray> UITableView::visibleCells()
{
    loadRowsIfNeeded();
    std::vector<Id> cells;
    for (auto& section : m_sections) {
        for (auto& cell : section.cells)
            cells.push_back(Id(cell.get()));
    }
    return NSArray::arrayWithObjects(std::move(cells));
}

RefPtr<NSString> UITableView::footerTextInSection(long section)
{
    loadRowsIfNeeded();
    if (section < 0 || section >= static_cast<long>(m_sections.size()) || !m_sections[section].footer)
        return nullptr;
    return m_sections[section].footer->text();
}

RefPtr<NSString> UITableView::headerTextInSection(long section)
{
    loadRowsIfNeeded();
    if (section < 0 || section >= static_cast<long>(m_sections.size()) || !m_sections[section].header)
        return nullptr;
    return m_sections[section].header->text();
}

void UITableView::setTableHeaderViewImpl(RefPtr<UIView> view)
{
    if (m_tableHeaderView.get() == view.get())
        return;
    if (m_tableHeaderView)
        m_tableHeaderView->removeFromSuperview();
    m_tableHeaderView = std::move(view);
    if (m_tableHeaderView)
        insertSubviewAtIndex(m_tableHeaderView.get(), 0);
    setNeedsLayout();
}

void UITableView::setSeparatorColorImpl(RefPtr<UIColor> color)
{
    m_separatorColor = std::move(color);
    for (auto& separator : m_separators)
        separator->setBackgroundColor(m_separatorColor.get());
}

void UITableView::selectRowImpl(NSIndexPath* indexPath, bool, long)
{
    // Nil, or a row the table does not have, clears the selection.
    m_selectedIndexPath = cellForRowAtIndexPath(indexPath) ? RefPtr<NSIndexPath>(indexPath) : nullptr;
}

void UITableView::selectRow(NSIndexPath* indexPath)
{
    if (!cellForRowAtIndexPath(indexPath))
        return;
    m_selectedIndexPath = indexPath;
    auto delegate = this->delegate();
    msgSendIfResponds<void>(delegate.get(), SELECTOR("tableView:didSelectRowAtIndexPath:"), this, indexPath);
}

void UITableView::loadAndLayoutNow()
{
    loadRowsIfNeeded();
    layoutSubviews();
    for (auto& section : m_sections) {
        for (auto& cell : section.cells)
            cell->layoutTreeNow();
    }
}

void UITableView::layoutSubviewsImpl()
{
    loadRowsIfNeeded();
    double width = bounds().size.width;
    double y = 0;
    if (m_tableHeaderView) {
        CGRect header = m_tableHeaderView->frame();
        if (header.size.width != width || header.origin.x != 0 || header.origin.y != 0) {
            m_tableHeaderView->setFrame(CGRectMake(0, 0, width, header.size.height));
            // Views pinned to the header follow its new width.
            NSLayoutConstraint::updateConstraintsInSubtree(m_tableHeaderView.get());
        }
        y = m_tableHeaderView->frame().size.height;
    }
    for (auto& separator : m_separators)
        separator->removeFromSuperview();
    m_separators.clear();
    for (auto& section : m_sections) {
        if (section.header) {
            section.header->setFrame(CGRectMake(16, y + sectionGap - 24, width - 32, 20));
            y += sectionGap;
        } else {
            y += sectionGap;
        }
        for (size_t row = 0; row < section.cells.size(); ++row) {
            auto& cell = section.cells[row];
            cell->setFrame(CGRectMake(0, y, width, UITableViewCell::defaultRowHeight));
            y += UITableViewCell::defaultRowHeight;
            if (row + 1 < section.cells.size()) {
                auto separator = UIView::create(CGRectMake(16, y - 0.5, width - 16, 0.5));
                separator->setBackgroundColor(m_separatorColor.get());
                addSubview(separator.get());
                m_separators.push_back(separator);
            }
        }
        if (section.footer) {
            double height = footerHeight(*section.footer, width - 32);
            section.footer->setFrame(CGRectMake(16, y + 4, width - 32, height - 4));
            y += height;
        }
    }
    setContentSize(CGSizeMake(width, y + sectionGap));
}
