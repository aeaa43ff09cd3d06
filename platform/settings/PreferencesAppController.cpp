#include "platform/settings/PreferencesAppController.h"

#include "platform/foundation/NSNotificationCenter.h"
#include "platform/foundation/NSURL.h"
#include "platform/settings/PSListController.h"
#include "platform/settings/PSUIPrefsListController.h"
#include "platform/uikit/UIViewController+UIPresentation.h"

#include <mutex>

namespace {

struct ProblemList {
    std::mutex mutex;
    std::vector<std::string> problems;
};

ProblemList& problemList()
{
    static auto* list = new ProblemList;
    return *list;
}

RefPtr<PreferencesAppController>& sharedSlot()
{
    static auto* slot = new RefPtr<PreferencesAppController>;
    return *slot;
}

std::string_view parameter(std::string_view query, std::string_view name)
{
    while (!query.empty()) {
        auto end = query.find('&');
        auto pair = query.substr(0, end);
        if (pair.starts_with(name) && pair.size() > name.size() && pair[name.size()] == '=')
            return pair.substr(name.size() + 1);
        if (end == std::string_view::npos)
            break;
        query.remove_prefix(end + 1);
    }
    return {};
}

} // namespace

Class PreferencesAppController::classObject()
{
    static Class cls = ClassBuilder<PreferencesAppController>("PreferencesAppController", Object::classObject())
                           .classMethod<&PreferencesAppController::sharedApplicationImpl>("sharedApplication")
                           .method<&PreferencesAppController::openURLImpl>("openURL:")
                           .method<&PreferencesAppController::windowImpl>("window")
                           .method<&PreferencesAppController::rootNavigationControllerImpl>("rootNavigationController")
                           .method<&PreferencesAppController::applicationWillEnterForeground>("applicationWillEnterForeground")
                           .build();
    return cls;
}

PreferencesAppController::~PreferencesAppController() = default;

RefPtr<PreferencesAppController> PreferencesAppController::sharedApplication()
{
    auto& slot = sharedSlot();
    if (!slot)
        slot = make<PreferencesAppController>();
    return slot;
}

void PreferencesAppController::reportProblem(std::string problem)
{
    auto& list = problemList();
    std::lock_guard lock(list.mutex);
    list.problems.push_back(std::move(problem));
}

std::vector<std::string> PreferencesAppController::takeProblems()
{
    auto& list = problemList();
    std::lock_guard lock(list.mutex);
    return std::exchange(list.problems, {});
}

void PreferencesAppController::launch()
{
    if (m_window)
        return;
    auto root = UIViewController::create<PSUIPrefsListController>();
    m_navigationController = UINavigationController::createWithRoot(root.get());
    m_window = UIWindow::create(CGRectMake(0, 0, 375, 667));
    m_window->setRootViewController(m_navigationController.get());
    m_window->makeKeyAndVisible();
    layoutNow();
}

void PreferencesAppController::layoutNow()
{
    if (m_window)
        m_window->layoutTreeNow();
}

RefPtr<UIViewController> PreferencesAppController::currentPage() const
{
    if (!m_navigationController)
        return nullptr;
    return m_navigationController->deepestTopViewController();
}

RefPtr<UIViewController> PreferencesAppController::presentedController() const
{
    return UIViewControllerPresentation::presentedViewController(m_navigationController.get());
}

bool PreferencesAppController::goBack()
{
    auto page = currentPage();
    if (!page)
        return false;
    for (auto navigation = page->navigationController(); navigation; navigation = navigation->navigationController()) {
        RefPtr<UINavigationController> stack = objectCast<UINavigationController>(navigation);
        if (stack && stack->viewControllerList().size() > 1) {
            stack->popViewController(true);
            layoutNow();
            return true;
        }
    }
    return false;
}

bool PreferencesAppController::openLinkLabelled(std::string_view label)
{
    RefPtr<PSListController> page = objectCast<PSListController>(currentPage());
    if (!page)
        return false;
    auto specifiers = page->specifiers();
    if (!specifiers)
        return false;
    for (auto& object : *specifiers) {
        RefPtr<PSSpecifier> specifier = objectCast<PSSpecifier>(object);
        if (!specifier || specifier->cellType() != PSLinkCell || !specifier->name() || specifier->name()->view() != label)
            continue;
        auto path = page->indexPathForSpecifier(specifier.get());
        if (!path)
            return false;
        auto before = currentPage();
        page->table()->selectRow(path.get());
        layoutNow();
        return currentPage().get() != before.get();
    }
    return false;
}

bool PreferencesAppController::openURL(std::string_view address)
{
    constexpr std::string_view scheme = "prefs:";
    if (!address.starts_with(scheme))
        return false;
    auto query = address.substr(scheme.size());
    auto rootName = parameter(query, "root");
    launch();
    if (auto presented = presentedController())
        msgSend<void>(presented, SELECTOR("dismissViewControllerAnimated:completion:"), false, nullptr);
    while (goBack()) { }
    if (rootName.empty())
        return true;
    RefPtr<PSUIPrefsListController> list = objectCast<PSUIPrefsListController>(currentPage());
    if (!list || !list->openEntryNamed(rootName))
        return false;
    layoutNow();
    auto path = parameter(query, "path");
    while (!path.empty()) {
        auto end = path.find('/');
        if (!openLinkLabelled(path.substr(0, end)))
            return false;
        path = end == std::string_view::npos ? std::string_view {} : path.substr(end + 1);
    }
    return true;
}

bool PreferencesAppController::openURLImpl(Object* address)
{
    if (RefPtr<NSString> text = objectCast<NSString>(address))
        return openURL(text->view());
    if (RefPtr<NSURL> url = objectCast<NSURL>(address))
        return openURL(url->absoluteString());
    return false;
}

void PreferencesAppController::applicationWillEnterForeground()
{
    NSNotificationCenter::sendDefaultCenter()->postNotificationName(PSListController::willEnterForegroundNotification, this);
    layoutNow();
}
