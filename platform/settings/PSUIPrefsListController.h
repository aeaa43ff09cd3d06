#pragma once

#include "platform/settings/PSListController.h"

// The Settings app's own first page: one link per installed settings entry. Opening an
// entry pushes its bundle's page inside a navigation controller of its own, whose bar is
// hidden so the app's bar shows the page's navigation item.
class PSUIPrefsListController : public PSListController {
    TW_OBJECT(PSUIPrefsListController)
public:
    // Opens the entry whose label (else bundle name) is `name`; false when there is none
    // or its bundle gives no page.
    bool openEntryNamed(std::string_view name);
    bool openEntry(PSSpecifier* entry);

protected:
    PSUIPrefsListController() = default;

private:
    Id initImpl();
    Id specifiersImpl();
    void didSelectRowImpl(UITableView* table, NSIndexPath* indexPath);
};
