#pragma once

#include "platform/uikit/NSIndexPath.h"
#include "platform/uikit/UILabel.h"
#include "platform/uikit/UIScrollView.h"
#include "platform/uikit/UITableViewCell.h"

#include <vector>

enum UITableViewStyle : long {
    UITableViewStylePlain = 0,
    UITableViewStyleGrouped = 1,
    UITableViewStyleInsetGrouped = 2,
};

// A scrolling list of sections of rows, filled from its data source through the runtime:
// numberOfSectionsInTableView:, tableView:numberOfRowsInSection:,
// tableView:cellForRowAtIndexPath:, and optionally tableView:titleForHeaderInSection: and
// tableView:titleForFooterInSection:. Rows are asked for at the layout after reloadData
// (every row: the lists of settings pages are short). The table header view sits at the
// top, stretched to the table's width; separators between rows take the separator colour. A
// person's tap selects the row and sends tableView:didSelectRowAtIndexPath: to the
// delegate; selectRowAtIndexPath:animated: scrollPosition: selects without telling the
// delegate, as on the phone.
class UITableView : public UIScrollView {
    TW_OBJECT(UITableView)
public:
    static RefPtr<UITableView> create(CGRect frame, long style);

    long style() const { return m_style; }
    Id dataSource() const { return m_dataSource.get(); }
    void setDataSource(id dataSource) { msgSend<void>(this, SELECTOR("setDataSource:"), dataSource); }
    void reloadData() { msgSend<void>(this, SELECTOR("reloadData")); }
    // The rows as last loaded; loads them first when a reload is pending.
    long numberOfSections();
    long numberOfRowsInSection(long section);
    RefPtr<UITableViewCell> cellForRowAtIndexPath(NSIndexPath* indexPath);
    RefPtr<NSIndexPath> indexPathForCell(UITableViewCell* cell);
    RefPtr<NSArray> visibleCells();
    RefPtr<NSString> footerTextInSection(long section);
    RefPtr<NSString> headerTextInSection(long section);
    RefPtr<UIView> tableHeaderView() const { return m_tableHeaderView; }
    void setTableHeaderView(UIView* view) { msgSend<void>(this, SELECTOR("setTableHeaderView:"), view); }
    RefPtr<UIColor> separatorColor() const { return m_separatorColor; }
    void setSeparatorColor(UIColor* color) { msgSend<void>(this, SELECTOR("setSeparatorColor:"), color); }
    RefPtr<UIColor> tintColor() const { return m_tintColor; }
    void setTintColor(UIColor* color) { msgSend<void>(this, SELECTOR("setTintColor:"), color); }
    // A person's tap on the row: selects it, then the delegate's tableView:didSelectRowAtIndexPath:.
    void selectRow(NSIndexPath* indexPath);
    RefPtr<NSIndexPath> indexPathForSelectedRow() const { return m_selectedIndexPath; }
    // Loads pending rows and places everything now.
    void loadAndLayoutNow();

    ~UITableView() override;

protected:
    UITableView();

private:
    struct Section {
        std::vector<RefPtr<UITableViewCell>> cells;
        RefPtr<UILabel> header;
        RefPtr<UILabel> footer;
    };

    Id initWithFrameStyleImpl(CGRect frame, long style);
    Id initWithFrameTableImpl(CGRect frame) { return initWithFrameStyleImpl(frame, UITableViewStyleGrouped); }
    void setDataSourceImpl(id dataSource);
    void reloadDataImpl();
    Id cellForRowAtIndexPathImpl(NSIndexPath* indexPath) { return cellForRowAtIndexPath(indexPath); }
    Id indexPathForCellImpl(UITableViewCell* cell) { return indexPathForCell(cell); }
    Id visibleCellsImpl() { return visibleCells(); }
    Id tableHeaderViewImpl() const { return m_tableHeaderView; }
    void setTableHeaderViewImpl(RefPtr<UIView> view);
    void setSeparatorColorImpl(RefPtr<UIColor> color);
    void setTintColorImpl(RefPtr<UIColor> color) { m_tintColor = std::move(color); }
    void selectRowImpl(NSIndexPath* indexPath, bool animated, long scrollPosition);
    Id indexPathForSelectedRowImpl() const { return m_selectedIndexPath; }
    void layoutSubviewsImpl();
    void loadRowsIfNeeded();
    void clearRows();
    RefPtr<UILabel> makeSectionLabel(NSString* text, bool footer);

    long m_style { UITableViewStyleGrouped };
    WeakId m_dataSource;
    std::vector<Section> m_sections;
    std::vector<RefPtr<UIView>> m_separators;
    RefPtr<UIView> m_tableHeaderView;
    RefPtr<UIColor> m_separatorColor;
    RefPtr<UIColor> m_tintColor;
    RefPtr<NSIndexPath> m_selectedIndexPath;
    bool m_needsReload { true };
    bool m_loading { false };
};
