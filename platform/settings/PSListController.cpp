#include "platform/settings/PSListController.h"

#include "platform/foundation/CFNotificationCenter.h"
#include "platform/foundation/DeviceRoot.h"
#include "platform/foundation/NSFileManager.h"
#include "platform/foundation/NSMutableDictionary.h"
#include "platform/foundation/NSNotificationCenter.h"
#include "platform/foundation/PropertyList.h"
#include "platform/settings/PSTableCell.h"
#include "platform/settings/PreferencesAppController.h"
#include "platform/settings/SpecifierPlistReader.h"
#include "platform/uikit/UIControl.h"
#include "platform/uikit/UINavigationController.h"

#include <dlfcn.h>
#include <filesystem>

namespace {

std::string labelOf(const PSSpecifier& specifier)
{
    return specifier.name() ? "\"" + specifier.name()->utf8() + "\"" : "an unnamed row";
}

// The bundle whose executable holds the code of the class: what the phone's
// +[NSBundle bundleForClass:] answers.
RefPtr<NSBundle> bundleForClass(Class cls, Class stop)
{
    for (; cls && cls != stop; cls = class_getSuperclass(cls)) {
        for (SEL selector : class_copyMethodList(cls)) {
            Method method = class_getInstanceMethod(cls, selector);
            Dl_info info {};
            if (!method || !dladdr(reinterpret_cast<void*>(method_getImplementation(method)), &info) || !info.dli_fname)
                continue;
            std::error_code error;
            auto host = std::filesystem::weakly_canonical(info.dli_fname, error);
            auto device = DeviceRoot::devicePath(error ? std::filesystem::path(info.dli_fname) : host);
            if (!device)
                return nullptr;
            auto folder = std::filesystem::path(*device).parent_path().string();
            return NSBundle::bundleWithPath(folder);
        }
    }
    return nullptr;
}

} // namespace

Class PSListController::classObject()
{
    static Class cls = ClassBuilder<PSListController>("PSListController", UIViewController::classObject())
                           .method<&PSListController::initImpl>("init")
                           .method<&PSListController::deallocImpl>("dealloc")
                           .method<&PSListController::loadViewImpl>("loadView")
                           .method<&PSListController::specifiersImpl>("specifiers")
                           .method<&PSListController::setSpecifiersImpl>("setSpecifiers:")
                           .method<&PSListController::loadSpecifiersFromPlistNameImpl>("loadSpecifiersFromPlistName:target:")
                           .method<&PSListController::specifierImpl>("specifier")
                           .method<&PSListController::setSpecifierImpl>("setSpecifier:")
                           .method<&PSListController::reloadSpecifiersImpl>("reloadSpecifiers")
                           .method<&PSListController::reloadSpecifierImpl>("reloadSpecifier:")
                           .method<&PSListController::shouldReloadSpecifiersOnResumeImpl>("shouldReloadSpecifiersOnResume")
                           .method<&PSListController::tableImpl>("table")
                           .method<&PSListController::tableImpl>("tableView")
                           .method<&PSListController::bundleImpl>("bundle")
                           .method<&PSListController::readPreferenceValueImpl>("readPreferenceValue:")
                           .method<&PSListController::setPreferenceValueImpl>("setPreferenceValue:specifier:")
                           .method<&PSListController::specifierForIDImpl>("specifierForID:")
                           .method<&PSListController::indexPathForSpecifierImpl>("indexPathForSpecifier:")
                           .method<&PSListController::cachedCellForSpecifierImpl>("cachedCellForSpecifier:")
                           .method<&PSListController::pushControllerImpl>("pushController:animate:")
                           .method<&PSListController::parentControllerImpl>("parentController")
                           .method<&PSListController::setParentControllerImpl>("setParentController:")
                           .method<&PSListController::rootControllerImpl>("rootController")
                           .method<&PSListController::willBecomeActiveImpl>("willBecomeActive")
                           .method<&PSListController::numberOfSectionsImpl>("numberOfSectionsInTableView:")
                           .method<&PSListController::numberOfRowsImpl>("tableView:numberOfRowsInSection:")
                           .method<&PSListController::cellForRowImpl>("tableView:cellForRowAtIndexPath:")
                           .method<&PSListController::titleForHeaderImpl>("tableView:titleForHeaderInSection:")
                           .method<&PSListController::titleForFooterImpl>("tableView:titleForFooterInSection:")
                           .method<&PSListController::didSelectRowImpl>("tableView:didSelectRowAtIndexPath:")
                           .method<&PSListController::scrollViewDidScrollImpl>("scrollViewDidScroll:")
                           .ivar<&PSListController::m_specifiers>("_specifiers")
                           .ivar<&PSListController::m_specifier>("_specifier")
                           .ivar<&PSListController::m_table>("_table")
                           .build();
    return cls;
}

PSListController::PSListController() = default;
PSListController::~PSListController() = default;

Id PSListController::initImpl()
{
    auto self = msgSendSuper<Id>(this, classObject(), SELECTOR("init"));
    if (!self)
        return nullptr;
    NSNotificationCenter::sendDefaultCenter()->addObserver(this, SELECTOR("willBecomeActive"), willEnterForegroundNotification, nullptr);
    return self;
}

void PSListController::deallocImpl()
{
    NSNotificationCenter::sendDefaultCenter()->removeObserver(this);
    msgSendSuper<void>(this, classObject(), SELECTOR("dealloc"));
}

void PSListController::loadViewImpl()
{
    m_table = UITableView::create(CGRectMake(0, 0, 375, 603), UITableViewStyleGrouped);
    m_table->setDataSource(this);
    m_table->setDelegate(this);
    setView(m_table.get());
}

void PSListController::setSpecifierImpl(RefPtr<PSSpecifier> specifier)
{
    m_specifier = std::move(specifier);
    if (m_specifier && !title())
        setTitle(m_specifier->name().get());
}

RefPtr<UITableView> PSListController::table()
{
    view();
    return m_table;
}

void PSListController::setSpecifiersImpl(RefPtr<NSArray> specifiers)
{
    m_specifiers = std::move(specifiers);
    if (m_table)
        m_table->reloadData();
}

RefPtr<NSArray> PSListController::loadSpecifiersFromPlistName(std::string_view name, id target)
{
    return msgSend<RefPtr<NSArray>>(this, SELECTOR("loadSpecifiersFromPlistName:target:"), NSString::string(name), target);
}

Id PSListController::loadSpecifiersFromPlistNameImpl(NSString* name, id target)
{
    if (!name)
        return NSArray::array();
    auto bundle = this->bundle();
    auto path = bundle ? bundle->pathForResource(name->view(), "plist") : nullptr;
    if (!path) {
        PreferencesAppController::reportProblem(name->utf8() + ".plist: no such specifier list in " + (bundle ? bundle->path() : std::string("the page's bundle")));
        return NSArray::array();
    }
    auto result = SpecifierPlistReader::read(PropertyList::readFile(path->view()).get(), target, name->view());
    for (auto& problem : result.problems)
        PreferencesAppController::reportProblem(problem);
    return result.specifiers;
}

Id PSListController::bundleImpl() const
{
    return bundleForClass(isa(), PSListController::classObject());
}

void PSListController::reloadSpecifiersImpl()
{
    m_specifiers = nullptr;
    specifiers();
    if (m_table)
        m_table->reloadData();
}

void PSListController::reloadSpecifierImpl(PSSpecifier*)
{
    if (m_table)
        m_table->reloadData();
}

void PSListController::rebuildGroups()
{
    m_groups.clear();
    auto list = specifiers();
    if (!list)
        return;
    for (auto& object : *list) {
        RefPtr<PSSpecifier> specifier = objectCast<PSSpecifier>(object);
        if (!specifier)
            continue;
        if (specifier->cellType() == PSGroupCell) {
            m_groups.push_back({ specifier, {} });
            continue;
        }
        if (m_groups.empty())
            m_groups.push_back({ nullptr, {} });
        m_groups.back().rows.push_back(specifier);
    }
}

RefPtr<PSSpecifier> PSListController::specifierAtIndexPath(NSIndexPath* indexPath) const
{
    if (!indexPath)
        return nullptr;
    long section = indexPath->section();
    long row = indexPath->row();
    if (section < 0 || section >= static_cast<long>(m_groups.size()))
        return nullptr;
    auto& rows = m_groups[section].rows;
    if (row < 0 || row >= static_cast<long>(rows.size()))
        return nullptr;
    return rows[row];
}

long PSListController::numberOfSectionsImpl(UITableView*)
{
    rebuildGroups();
    return static_cast<long>(m_groups.size());
}

long PSListController::numberOfRowsImpl(UITableView*, long section)
{
    if (section < 0 || section >= static_cast<long>(m_groups.size()))
        return 0;
    return static_cast<long>(m_groups[section].rows.size());
}

Id PSListController::cellForRowImpl(UITableView*, NSIndexPath* indexPath)
{
    auto specifier = specifierAtIndexPath(indexPath);
    if (!specifier)
        return nullptr;
    Class cellClass = PSTableCell::classObject();
    if (auto name = specifier->stringProperty("cellClass")) {
        Class named = NSClassFromString(*name);
        if (named && class_isSubclassOf(named, PSTableCell::classObject()))
            cellClass = named;
        else
            PreferencesAppController::reportProblem(labelOf(*specifier) + ": the cell class \"" + *name + "\" is not a table cell; shown as a plain row");
    }
    return PSTableCell::createForSpecifier(cellClass, specifier.get());
}

Id PSListController::titleForHeaderImpl(UITableView*, long section)
{
    if (section < 0 || section >= static_cast<long>(m_groups.size()) || !m_groups[section].group)
        return nullptr;
    return m_groups[section].group->name();
}

Id PSListController::titleForFooterImpl(UITableView*, long section)
{
    if (section < 0 || section >= static_cast<long>(m_groups.size()) || !m_groups[section].group)
        return nullptr;
    return objectCast<NSString>(m_groups[section].group->propertyForKey("footerText"));
}

RefPtr<PSSpecifier> PSListController::specifierForID(std::string_view identifier)
{
    auto list = specifiers();
    if (!list)
        return nullptr;
    for (auto& object : *list) {
        RefPtr<PSSpecifier> specifier = objectCast<PSSpecifier>(object);
        if (specifier && specifier->identifier() && specifier->identifier()->view() == identifier)
            return specifier;
    }
    return nullptr;
}

Id PSListController::specifierForIDImpl(NSString* identifier)
{
    if (!identifier)
        return nullptr;
    return specifierForID(identifier->view());
}

RefPtr<NSIndexPath> PSListController::indexPathForSpecifier(PSSpecifier* specifier)
{
    if (!specifier)
        return nullptr;
    table()->numberOfSections();
    for (size_t section = 0; section < m_groups.size(); ++section) {
        auto& rows = m_groups[section].rows;
        for (size_t row = 0; row < rows.size(); ++row) {
            if (rows[row].get() == specifier)
                return NSIndexPath::indexPathForRow(static_cast<long>(row), static_cast<long>(section));
        }
    }
    return nullptr;
}

RefPtr<PSTableCell> PSListController::cachedCellForSpecifier(PSSpecifier* specifier)
{
    auto path = indexPathForSpecifier(specifier);
    if (!path)
        return nullptr;
    return objectCast<PSTableCell>(table()->cellForRowAtIndexPath(path.get()));
}

Id PSListController::cachedCellForSpecifierImpl(PSSpecifier* specifier) { return cachedCellForSpecifier(specifier); }

std::string PSListController::domainPath(std::string_view defaults)
{
    return CFPreferences::domainPath(defaults);
}

CFPreferences::WriteResult PSListController::writeDomainValue(std::string_view defaults, Object* value, NSString* key)
{
    if (defaults.empty() || !key)
        return CFPreferences::WriteResult::Failed;
    return CFPreferences::setAppValue(defaults, key, value);
}

Id PSListController::readPreferenceValueImpl(PSSpecifier* specifier)
{
    if (!specifier)
        return nullptr;
    auto defaults = specifier->stringProperty("defaults");
    RefPtr<NSString> key = objectCast<NSString>(specifier->propertyForKey("key"));
    if (defaults && key) {
        if (auto domain = CFPreferences::copyDomain(*defaults)) {
            if (auto value = domain->objectForKey(key.get()))
                return value;
        }
    }
    return specifier->propertyForKey("default");
}

void PSListController::setPreferenceValueImpl(Object* value, PSSpecifier* specifier)
{
    if (!specifier)
        return;
    auto defaults = specifier->stringProperty("defaults");
    RefPtr<NSString> key = objectCast<NSString>(specifier->propertyForKey("key"));
    if (!defaults || !key)
        return;
    auto result = writeDomainValue(*defaults, value, key.get());
    if (result != CFPreferences::WriteResult::Written) {
        PreferencesAppController::reportProblem(labelOf(*specifier) + ": " + CFPreferences::describe(result, *defaults));
        return;
    }
    auto notification = specifier->stringProperty("PostNotification");
    if (notification && !notification->empty())
        CFNotificationCenterPostNotification(CFNotificationCenterGetDarwinNotifyCenter(), NSString::string(*notification).get(), nullptr, nullptr, true);
}

void PSListController::pushControllerImpl(UIViewController* controller, bool animated)
{
    if (!controller)
        return;
    auto navigation = navigationController();
    if (!navigation) {
        PreferencesAppController::reportProblem(std::string("a page outside any navigation controller cannot open ") + controller->className());
        return;
    }
    msgSend<void>(navigation, SELECTOR("pushViewController:animated:"), controller, animated);
}

Id PSListController::rootControllerImpl() const
{
    RefPtr<UIViewController> root = navigationController();
    while (root) {
        auto outer = root->navigationController();
        if (!outer)
            break;
        root = outer;
    }
    return root;
}

void PSListController::willBecomeActiveImpl()
{
    if (msgSend<bool>(this, SELECTOR("shouldReloadSpecifiersOnResume")))
        reloadSpecifiers();
}

void PSListController::openLink(PSSpecifier* specifier)
{
    Class detail = specifier->detailControllerClass();
    if (!detail) {
        PreferencesAppController::reportProblem(labelOf(*specifier) + ": the link names no page to open");
        return;
    }
    auto controller = UIViewController::createWithClass(detail);
    if (!controller) {
        PreferencesAppController::reportProblem(labelOf(*specifier) + std::string(": ") + class_getName(detail) + " is not a page");
        return;
    }
    msgSendIfResponds<void>(controller.get(), SELECTOR("setParentController:"), this);
    msgSendIfResponds<void>(controller.get(), SELECTOR("setSpecifier:"), specifier);
    msgSend<void>(this, SELECTOR("pushController:animate:"), controller, true);
}

void PSListController::didSelectRowImpl(UITableView*, NSIndexPath* indexPath)
{
    auto specifier = specifierAtIndexPath(indexPath);
    if (!specifier)
        return;
    RefPtr<PSListController> protect(this);
    switch (specifier->cellType()) {
    case PSLinkCell:
        openLink(specifier.get());
        return;
    case PSButtonCell: {
        auto target = specifier->target();
        if (!UIControl::sendAction(target.get(), specifier->buttonAction(), specifier.get()))
            PreferencesAppController::reportProblem(labelOf(*specifier) + ": the button's action \""
                + (specifier->buttonAction() ? std::string(sel_getName(specifier->buttonAction())) : std::string()) + "\" is not implemented by its target");
        return;
    }
    default:
        return;
    }
}
