#include "prefs/TWLSubPrefsListController.h"

#include "platform/foundation/NSDictionary.h"
#include "platform/uikit/NSAttributedString.h"
#include "platform/uikit/UINavigationController.h"
#include "prefs/TWLAppearanceSettings.h"

Class TWLSubPrefsListController::classObject()
{
    static Class cls = ClassBuilder<TWLSubPrefsListController>("TWLSubPrefsListController", HBListController::classObject())
                           .method<&TWLSubPrefsListController::initImpl>("init")
                           .method<&TWLSubPrefsListController::setSpecifierImpl>("setSpecifier:")
                           .method<&TWLSubPrefsListController::loadFromSpecifierImpl>("loadFromSpecifier:")
                           .method<&TWLSubPrefsListController::specifiersImpl>("specifiers")
                           .method<&TWLSubPrefsListController::shouldReloadSpecifiersOnResumeImpl>("shouldReloadSpecifiersOnResume")
                           .method<&TWLSubPrefsListController::viewWillAppearImpl>("viewWillAppear:")
                           .build();
    return cls;
}

Id TWLSubPrefsListController::initImpl()
{
    auto self = msgSendSuper<Id>(this, classObject(), SELECTOR("init"));
    if (!self)
        return nullptr;
    msgSend<void>(this, SELECTOR("hb_setAppearanceSettings:"), HBAppearanceSettings::createWithClass(TWLAppearanceSettings::classObject()));
    return self;
}

void TWLSubPrefsListController::setSpecifierImpl(PSSpecifier* specifier)
{
    msgSend<void>(this, SELECTOR("loadFromSpecifier:"), specifier);
    msgSendSuper<void>(this, classObject(), SELECTOR("setSpecifier:"), specifier);
}

void TWLSubPrefsListController::loadFromSpecifierImpl(PSSpecifier* specifier)
{
    if (!specifier)
        return;
    auto list = specifier->stringProperty("TWLSub");
    auto name = specifier->name();
    m_specifiers = loadSpecifiersFromPlistName(list ? *list : std::string(), this);
    setTitle(name.get());
    navigationItem()->setTitle(name.get());
}

void TWLSubPrefsListController::viewWillAppearImpl(bool animated)
{
    msgSendSuper<void>(this, classObject(), SELECTOR("viewWillAppear:"), animated);
    // The root page turns the title black when it disappears; a sub-page shows it white.
    auto own = navigationController();
    auto outer = own ? objectCast<UINavigationController>(own->navigationController()) : nullptr;
    if (!outer)
        return;
    outer->navigationBar()->setTitleTextAttributes(NSDictionary::dictionaryWithPairs({ { Id(const_cast<NSString*>(NSForegroundColorAttributeName)), UIColor::whiteColor() } }).get());
}

// The Settings app finds the bundle's classes by name once it has opened the bundle.
__attribute__((constructor)) static void registerTWLSubPrefsListController() { TWLSubPrefsListController::classObject(); }
