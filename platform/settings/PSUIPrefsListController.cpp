#include "platform/settings/PSUIPrefsListController.h"

#include "platform/foundation/NSMutableArray.h"
#include "platform/settings/PreferenceLoader.h"
#include "platform/uikit/UINavigationController.h"

Class PSUIPrefsListController::classObject()
{
    static Class cls = ClassBuilder<PSUIPrefsListController>("PSUIPrefsListController", PSListController::classObject())
                           .method<&PSUIPrefsListController::initImpl>("init")
                           .method<&PSUIPrefsListController::specifiersImpl>("specifiers")
                           .method<&PSUIPrefsListController::didSelectRowImpl>("tableView:didSelectRowAtIndexPath:")
                           .build();
    return cls;
}

Id PSUIPrefsListController::initImpl()
{
    auto self = msgSendSuper<Id>(this, classObject(), SELECTOR("init"));
    if (!self)
        return nullptr;
    setTitle(NSString::string("Settings").get());
    return self;
}

Id PSUIPrefsListController::specifiersImpl()
{
    if (!m_specifiers) {
        auto list = NSMutableArray::array();
        list->addObject(PSSpecifier::groupSpecifierWithName(nullptr).get());
        list->addObjectsFromArray(PreferenceLoader::entrySpecifiers(this).get());
        m_specifiers = list;
    }
    return m_specifiers;
}

bool PSUIPrefsListController::openEntry(PSSpecifier* entry)
{
    auto page = PreferenceLoader::controllerForEntry(entry);
    if (!page)
        return false;
    auto navigation = navigationController();
    if (!navigation)
        return false;
    auto inner = UINavigationController::createWithRoot(page.get());
    inner->setNavigationBarHidden(true);
    msgSend<void>(navigation, SELECTOR("pushViewController:animated:"), inner, true);
    return true;
}

bool PSUIPrefsListController::openEntryNamed(std::string_view name)
{
    auto list = specifiers();
    RefPtr<PSSpecifier> byBundle;
    for (auto& object : *list) {
        RefPtr<PSSpecifier> entry = objectCast<PSSpecifier>(object);
        if (!entry || entry->cellType() != PSLinkCell)
            continue;
        if (entry->name() && entry->name()->view() == name)
            return openEntry(entry.get());
        if (!byBundle && entry->stringProperty("bundle") == name)
            byBundle = entry;
    }
    return byBundle && openEntry(byBundle.get());
}

void PSUIPrefsListController::didSelectRowImpl(UITableView* table, NSIndexPath* indexPath)
{
    auto entry = specifierAtIndexPath(indexPath);
    if (!entry || !entry->propertyForKey("bundle")) {
        msgSendSuper<void>(this, classObject(), SELECTOR("tableView:didSelectRowAtIndexPath:"), table, indexPath);
        return;
    }
    openEntry(entry.get());
}
