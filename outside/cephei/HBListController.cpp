#include "outside/cephei/HBListController.h"

#include "outside/cephei/PSListController+HBTintAdditions.h"
#include "platform/foundation/NSDictionary.h"
#include "platform/uikit/NSAttributedString.h"
#include "platform/uikit/UINavigationController.h"

Class HBListController::classObject()
{
    static Class cls = [] {
        Class cls = ClassBuilder<HBListController>("HBListController", PSListController::classObject())
                        .method<&HBListController::viewWillAppearImpl>("viewWillAppear:")
                        .method<&HBListController::realNavigationControllerImpl>("realNavigationController")
                        .build();
        PSListControllerHBTintAdditions::install();
        return cls;
    }();
    return cls;
}

RefPtr<HBAppearanceSettings> HBListController::appearanceSettingsOf(const PSListController* controller)
{
    return PSListControllerHBTintAdditions::appearanceSettings(controller);
}

RefPtr<UIViewController> HBListController::realNavigationController() const
{
    auto own = navigationController();
    if (!own)
        return nullptr;
    if (auto outer = own->navigationController())
        return outer;
    return own;
}

void HBListController::viewWillAppearImpl(bool animated)
{
    msgSendSuper<void>(this, classObject(), SELECTOR("viewWillAppear:"), animated);
    applyAppearance();
}

void HBListController::applyAppearance()
{
    auto settings = appearanceSettingsOf(this);
    if (!settings)
        return;
    auto table = this->table();
    if (auto tint = settings->tintColor())
        table->setTintColor(tint.get());
    if (auto separator = settings->tableViewCellSeparatorColor())
        table->setSeparatorColor(separator.get());
    if (auto background = settings->tableViewBackgroundColor())
        table->setBackgroundColor(background.get());

    RefPtr<UINavigationController> navigation = objectCast<UINavigationController>(realNavigationController());
    if (!navigation)
        return;
    auto bar = navigation->navigationBar();
    if (auto background = settings->navigationBarBackgroundColor())
        bar->setBarTintColor(background.get());
    if (auto tint = settings->navigationBarTintColor())
        bar->setTintColor(tint.get());
    if (auto title = settings->navigationBarTitleColor())
        bar->setTitleTextAttributes(NSDictionary::dictionaryWithPairs({ { Id(const_cast<NSString*>(NSForegroundColorAttributeName)), Id(title.get()) } }).get());
    bar->setTranslucent(settings->translucentNavigationBar());
}
