#pragma once

#include "platform/foundation/CFPreferences.h"
#include "platform/foundation/NSArray.h"
#include "platform/foundation/NSBundle.h"
#include "platform/settings/PSSpecifier.h"
#include "platform/uikit/UITableView.h"
#include "platform/uikit/UIViewController.h"

#include <vector>

class PSTableCell;

// A settings page: a grouped table whose rows come from its specifiers. Everything the
// Settings app (and a subclass) may override is sent through the runtime: the table
// asks `specifiers` whenever it loads, cells come from tableView:cellForRowAtIndexPath:,
// the table's scrolling reaches scrollViewDidScroll:.
//
// - `specifiers`: the inherited specifier storage (ivar "_specifiers"); subclasses
//   override it to load their list on first call.
// - `loadSpecifiersFromPlistName:target:`: the specifiers of "<name>.plist" in the
//   controller's `bundle` (the bundle whose executable holds the controller's class);
//   an empty list when the file is missing or not a specifier list. Items that are not
//   rows (wrong shape, unknown cell type) are skipped with a problem report.
// - `setSpecifier:` / `specifier`: the link that opened the page; a page without a title
//   takes the link's name.
// - `reloadSpecifiers`: forgets the stored list, asks `specifiers` again and reloads.
// - `shouldReloadSpecifiersOnResume` (YES): whether `reloadSpecifiers` runs when the
//   Settings app returns from the background ("UIApplicationWillEnterForegroundNotification").
// - `readPreferenceValue:` reads the specifier's "key" from the domain file
//   "/var/mobile/Library/Preferences/<defaults>.plist", else its "default".
// - `setPreferenceValue:specifier:` writes the value under "key" into that file
//   atomically (read, set, write) and then posts "PostNotification" on the system-wide
//   centre. Without "defaults" and "key" nothing is written.
// - Selecting a link row creates its detail controller with alloc/init, gives it
//   `setSpecifier:` with the link and pushes it (`pushController:animate:`); a button row
//   sends its action to its target with the specifier.
class PSListController : public UIViewController {
    TW_OBJECT(PSListController)
public:
    static constexpr const char* preferencesFolder = "/var/mobile/Library/Preferences/";
    static constexpr const char* willEnterForegroundNotification = "UIApplicationWillEnterForegroundNotification";

    RefPtr<NSArray> specifiers() { return msgSend<RefPtr<NSArray>>(this, SELECTOR("specifiers")); }
    RefPtr<NSArray> loadSpecifiersFromPlistName(std::string_view name, id target);
    RefPtr<PSSpecifier> specifier() const { return m_specifier; }
    RefPtr<UITableView> table();
    RefPtr<NSBundle> bundle() { return msgSend<RefPtr<NSBundle>>(this, SELECTOR("bundle")); }
    void reloadSpecifiers() { msgSend<void>(this, SELECTOR("reloadSpecifiers")); }
    RefPtr<PSSpecifier> specifierForID(std::string_view identifier);
    RefPtr<NSIndexPath> indexPathForSpecifier(PSSpecifier* specifier);
    RefPtr<PSTableCell> cachedCellForSpecifier(PSSpecifier* specifier);

    // The domain file of a "defaults" name.
    static std::string domainPath(std::string_view defaults);
    // Through the domain's lock: read, set (nil removes), replace atomically. An existing file
    // that cannot be read is left untouched and the change refused.
    static CFPreferences::WriteResult writeDomainValue(std::string_view defaults, Object* value, NSString* key);

    ~PSListController() override;

protected:
    PSListController();

    // The group structure of the current specifiers: each section's group specifier
    // (nil for rows before the first group) and its rows.
    struct Group {
        RefPtr<PSSpecifier> group;
        std::vector<RefPtr<PSSpecifier>> rows;
    };
    const std::vector<Group>& groups() const { return m_groups; }
    RefPtr<PSSpecifier> specifierAtIndexPath(NSIndexPath* indexPath) const;

    RefPtr<NSArray> m_specifiers;
    RefPtr<PSSpecifier> m_specifier;

private:
    Id initImpl();
    void deallocImpl();
    void loadViewImpl();
    Id specifiersImpl() { return m_specifiers; }
    void setSpecifiersImpl(RefPtr<NSArray> specifiers);
    Id loadSpecifiersFromPlistNameImpl(NSString* name, id target);
    Id specifierImpl() const { return m_specifier; }
    void setSpecifierImpl(RefPtr<PSSpecifier> specifier);
    void reloadSpecifiersImpl();
    void reloadSpecifierImpl(PSSpecifier* specifier);
    bool shouldReloadSpecifiersOnResumeImpl() const { return true; }
    Id tableImpl() { return table(); }
    Id bundleImpl() const;
    Id readPreferenceValueImpl(PSSpecifier* specifier);
    void setPreferenceValueImpl(Object* value, PSSpecifier* specifier);
    Id specifierForIDImpl(NSString* identifier);
    Id indexPathForSpecifierImpl(PSSpecifier* specifier) { return indexPathForSpecifier(specifier); }
    Id cachedCellForSpecifierImpl(PSSpecifier* specifier);
    void pushControllerImpl(UIViewController* controller, bool animated);
    Id parentControllerImpl() const { return m_parentController.get(); }
    void setParentControllerImpl(id controller) { m_parentController = controller; }
    Id rootControllerImpl() const;
    void willBecomeActiveImpl();

    long numberOfSectionsImpl(UITableView* table);
    long numberOfRowsImpl(UITableView* table, long section);
    Id cellForRowImpl(UITableView* table, NSIndexPath* indexPath);
    Id titleForHeaderImpl(UITableView* table, long section);
    Id titleForFooterImpl(UITableView* table, long section);
    void didSelectRowImpl(UITableView* table, NSIndexPath* indexPath);
    void scrollViewDidScrollImpl(UIScrollView*) { }

    void rebuildGroups();
    void openLink(PSSpecifier* specifier);

    RefPtr<UITableView> m_table;
    std::vector<Group> m_groups;
    WeakId m_parentController;
};
