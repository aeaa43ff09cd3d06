#pragma once

#include "SettingsScript.h"

#include "platform/settings/PSTableCell.h"
#include "platform/settings/PreferencesAppController.h"
#include "platform/uikit/NSIndexPath.h"

#include <nlohmann/json.hpp>

// The Settings app driven as a person would: each action goes through the rows' own
// controls, the table's selection, the bar's buttons and the alert's buttons.
class SettingsSession {
public:
    SettingsSession();

    // False with `error` set when the action cannot be done (an unknown row, no alert,
    // a value the row cannot take, a page that does not open).
    bool perform(const SettingsAction& action, std::string& error);

    // The current page as a person reads it: title, bar, alert, groups and rows.
    nlohmann::json dump() const;
    bool writePicture(const std::string& path, double scale) const;

private:
    struct Row {
        RefPtr<PSTableCell> cell;
        RefPtr<NSIndexPath> indexPath;
    };

    // The one row an address names on the page shown: "key:KEY" (the row's preference
    // key), "LABEL", or "GROUP/LABEL" (the label under the group headed GROUP). Nullopt
    // with `error` set when none matches or a label is on more than one row (`ambiguous`).
    std::optional<Row> findRow(std::string_view address, std::string& error, bool* ambiguous = nullptr) const;
    bool setRow(const Row& row, const std::string& value, std::string& error);
    bool tap(std::string_view label, std::string& error);
    void settle();

    RefPtr<PreferencesAppController> m_app;
};
