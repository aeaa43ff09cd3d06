#pragma once

#include "platform/graphics/CGGeometry.h"
#include "platform/runtime/Object.h"
#include "platform/runtime/WeakPtr.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

class NCNotificationStructuredListViewController;
class UIView;

// What the optional extensions Axon, Grupi and Dayn add to the lock screen when the
// extension loader has loaded them. Their classes are found by name once the extensions
// are in (nothing here links them), so a device root without their libraries shows none.
//
// Axon and Grupi: a row of app cells above the notification list, one per app with
// notifications, top to bottom as the list shows the apps, each made with alloc +
// initWithFrame: through the runtime, given the app's bundle identifier and icon. One
// cell of a row is selected: the first, until a scenario or test selects another (which
// stays selected while its app has notifications) or deselects it (leaving none). New
// cells get setSelected: with their state; a change sends it to the cells it changed.
//
// Dayn: a container in each notification cell on screen, a bar in the list's margin
// beside the platter's leading edge, its delegate the cell's short-look controller, set
// before it joins the cell. When the list reuses a cell for another notification, the
// container leaves the cell and joins it again, as Dayn redecorates a reused cell.
class SBHomeScreenCompanions {
public:
    enum class AppCellRow { Axon, Grupi };

    static constexpr double cellSide = 56;
    static constexpr double cellSpacing = 8;

    // Rows go into parent in front of belowView's position, so the list and everything
    // added later stay above them.
    SBHomeScreenCompanions(UIView* parent, UIView* belowView);
    ~SBHomeScreenCompanions();
    SBHomeScreenCompanions(const SBHomeScreenCompanions&) = delete;
    SBHomeScreenCompanions& operator=(const SBHomeScreenCompanions&) = delete;

    // Brings the rows in line with the list's apps.
    void updateRows(NCNotificationStructuredListViewController&);
    // Brings the containers in line with the cells on screen, after the list's layout pass
    // has made them.
    void updateContainers(NCNotificationStructuredListViewController&);
    // Notifications without a section identifier are listed nowhere by app; the rows show
    // one cell for them at their end, a cell without a bundle identifier (or icon).
    void setShowsSectionlessCell(bool shown) { m_sectionlessCell = shown; }
    // The height the shown rows take, spacing below each included.
    double rowsHeight() const;
    void placeRows(double x, double top, double width);
    // After the list's layout pass, which sizes the cells the containers follow.
    void placeContainers(NCNotificationStructuredListViewController&);

    bool isLoaded(AppCellRow) const;
    bool isDaynLoaded() const { return m_containerClass; }
    std::vector<RefPtr<UIView>> cells(AppCellRow) const;
    std::optional<std::string> selectedApp(AppCellRow) const;
    // False when the row has no cell for the app.
    bool setSelected(AppCellRow, std::string_view bundleIdentifier, bool selected);

    // The container of a notification cell, or nil.
    RefPtr<UIView> containerInCell(const UIView* cell) const;
    // A Dayn container with this delegate (any object, as Dayn's long-look option gives it
    // the long-look controller) put into view at frame; nil when Dayn is not loaded.
    RefPtr<UIView> attachContainer(UIView* view, Object* delegate, CGRect frame) const;

private:
    struct Row;
    void updateRow(Row&, const std::vector<std::string>& apps);
    RefPtr<UIView> makeCell(const Row&, const std::string& bundleIdentifier) const;
    void attachContainer(UIView* cell, UIView* container);
    Row* row(AppCellRow);
    const Row* row(AppCellRow) const;

    std::vector<Row> m_rows;
    Class m_containerClass { nullptr };
    bool m_sectionlessCell { false };
    // Per cell, the request its container was last given; weak, so a request gone and
    // another made in its place is not taken for the same.
    struct Decorated {
        WeakPtr<UIView> cell;
        WeakPtr<Object> request;
    };
    std::vector<Decorated> m_decorated;
};
