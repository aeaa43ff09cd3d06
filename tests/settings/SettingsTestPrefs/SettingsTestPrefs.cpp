#include "outside/cephei/HBAppearanceSettings.h"
#include "outside/cephei/HBRespringController.h"
#include "outside/cephei/HBRootListController.h"
#include "platform/foundation/CFNotificationCenter.h"
#include "platform/foundation/NSBlock.h"
#include "platform/foundation/NSMutableArray.h"
#include "platform/uikit/NSAttributedString.h"
#include "platform/uikit/UIAlertController.h"
#include "platform/uikit/UIBarButtonItem.h"
#include "platform/uikit/UINavigationController.h"

// A small settings bundle for the tests: a root page in the shape of the product's, with
// a tinted bar, a confirmed restart and a button, and sub-pages named by their link.

class STPAppearanceSettings : public HBAppearanceSettings {
    TW_OBJECT(STPAppearanceSettings)
protected:
    STPAppearanceSettings() = default;

private:
    Id barColour() const { return UIColor::colorWithRed(0.2, 0.6, 0.4, 1); }
    Id white() const { return UIColor::whiteColor(); }
    bool opaque() const { return false; }
};

Class STPAppearanceSettings::classObject()
{
    static Class cls = ClassBuilder<STPAppearanceSettings>("STPAppearanceSettings", HBAppearanceSettings::classObject())
                           .method<&STPAppearanceSettings::barColour>("navigationBarBackgroundColor")
                           .method<&STPAppearanceSettings::white>("navigationBarTitleColor")
                           .method<&STPAppearanceSettings::white>("navigationBarTintColor")
                           .method<&STPAppearanceSettings::opaque>("translucentNavigationBar")
                           .build();
    return cls;
}

namespace {

void post(const char* name)
{
    CFNotificationCenterPostNotification(CFNotificationCenterGetDarwinNotifyCenter(), CFSTR(name), nullptr, nullptr, true);
}

RefPtr<UIViewController> outerNavigation(UIViewController* page)
{
    auto own = page->navigationController();
    return own ? own->navigationController() : nullptr;
}

} // namespace

class STPRootListController : public HBRootListController {
    TW_OBJECT(STPRootListController)
public:
    double lastScrollOffset { -1 };
    long scrollEvents { 0 };
    long rootLoads { 0 };

protected:
    STPRootListController() = default;

private:
    Id initImpl()
    {
        auto self = msgSendSuper<Id>(this, classObject(), SELECTOR("init"));
        if (!self)
            return nullptr;
        msgSend<void>(this, SELECTOR("hb_setAppearanceSettings:"), HBAppearanceSettings::createWithClass(STPAppearanceSettings::classObject()));
        auto button = UIBarButtonItem::create(NSString::string("Restart").get(), UIBarButtonItemStylePlain, this, SELECTOR("respring"));
        navigationItem()->setRightBarButtonItem(button.get());
        return self;
    }

    Id specifiersImpl()
    {
        if (!m_specifiers) {
            ++rootLoads;
            m_specifiers = loadSpecifiersFromPlistName("Root", this);
        }
        return m_specifiers;
    }

    void viewDidAppearImpl(bool animated)
    {
        msgSendSuper<void>(this, classObject(), SELECTOR("viewDidAppear:"), animated);
        RefPtr<UINavigationController> outer = objectCast<UINavigationController>(outerNavigation(this));
        if (!outer)
            return;
        outer->navigationBar()->setTitleTextAttributes(NSDictionary::dictionaryWithPairs({ { Id(const_cast<NSString*>(NSForegroundColorAttributeName)), UIColor::whiteColor() } }).get());
    }

    void viewWillDisappearImpl(bool animated)
    {
        msgSendSuper<void>(this, classObject(), SELECTOR("viewWillDisappear:"), animated);
        RefPtr<UINavigationController> outer = objectCast<UINavigationController>(outerNavigation(this));
        if (!outer)
            return;
        outer->navigationBar()->setTitleTextAttributes(NSDictionary::dictionaryWithPairs({ { Id(const_cast<NSString*>(NSForegroundColorAttributeName)), UIColor::blackColor() } }).get());
    }

    void scrollViewDidScrollImpl(UIScrollView* scrollView)
    {
        ++scrollEvents;
        lastScrollOffset = scrollView ? scrollView->contentOffset().y : -1;
    }

    void pingImpl(Object*) { post("com.tintwell.settingstest/Ping"); }

    void respringImpl()
    {
        auto alert = UIAlertController::alertControllerWithTitle(NSString::string("Settings Test").get(), NSString::string("Restart the home screen?").get(), UIAlertControllerStyleAlert);
        RefPtr<STPRootListController> self(this);
        alert->addAction(UIAlertAction::actionWithTitle(NSString::string("Confirm").get(), UIAlertActionStyleDestructive,
                                         NSBlock::create([self] {
                                             // The handler runs once the alert is gone.
                                             post(msgSend<Id>(self, SELECTOR("presentedViewController")) ? "com.tintwell.settingstest/ConfirmWhilePresented" : "com.tintwell.settingstest/Confirm");
                                             msgSendClass<void>(objc_getClass("HBRespringController"), SELECTOR("respringAndReturnTo:"), NSString::string("prefs:root=Settings Test"));
                                         }).get())
                             .get());
        alert->addAction(UIAlertAction::actionWithTitle(NSString::string("Cancel").get(), UIAlertActionStyleCancel, nullptr).get());
        msgSend<void>(this, SELECTOR("presentViewController:animated:completion:"), alert, true, nullptr);
    }

    double lastScrollOffsetImpl() const { return lastScrollOffset; }
    long scrollEventsImpl() const { return scrollEvents; }
    long rootLoadsImpl() const { return rootLoads; }
};

Class STPRootListController::classObject()
{
    static Class cls = ClassBuilder<STPRootListController>("STPRootListController", HBRootListController::classObject())
                           .method<&STPRootListController::initImpl>("init")
                           .method<&STPRootListController::specifiersImpl>("specifiers")
                           .method<&STPRootListController::viewDidAppearImpl>("viewDidAppear:")
                           .method<&STPRootListController::viewWillDisappearImpl>("viewWillDisappear:")
                           .method<&STPRootListController::scrollViewDidScrollImpl>("scrollViewDidScroll:")
                           .method<&STPRootListController::pingImpl>("ping:")
                           .method<&STPRootListController::respringImpl>("respring")
                           .method<&STPRootListController::lastScrollOffsetImpl>("lastScrollOffset")
                           .method<&STPRootListController::scrollEventsImpl>("scrollEvents")
                           .method<&STPRootListController::rootLoadsImpl>("rootLoads")
                           .build();
    return cls;
}

// A sub-page whose list is named by its link ("TWLSub"), titled by the link's name.
class STPSubListController : public HBListController {
    TW_OBJECT(STPSubListController)
public:
    bool initialisedBeforeSpecifier { false };

protected:
    STPSubListController() = default;

private:
    Id initImpl()
    {
        auto self = msgSendSuper<Id>(this, classObject(), SELECTOR("init"));
        if (!self)
            return nullptr;
        m_initialised = true;
        msgSend<void>(this, SELECTOR("hb_setAppearanceSettings:"), HBAppearanceSettings::createWithClass(STPAppearanceSettings::classObject()));
        return self;
    }

    void setSpecifierImpl(PSSpecifier* specifier)
    {
        initialisedBeforeSpecifier = m_initialised;
        if (specifier) {
            auto list = specifier->stringProperty("TWLSub");
            m_specifiers = loadSpecifiersFromPlistName(list ? *list : "", this);
            setTitle(specifier->name().get());
        }
        msgSendSuper<void>(this, classObject(), SELECTOR("setSpecifier:"), specifier);
    }

    Id specifiersImpl() { return m_specifiers; }
    bool shouldReloadImpl() const { return false; }
    bool initialisedBeforeSpecifierImpl() const { return initialisedBeforeSpecifier; }

    bool m_initialised { false };
};

Class STPSubListController::classObject()
{
    static Class cls = ClassBuilder<STPSubListController>("STPSubListController", HBListController::classObject())
                           .method<&STPSubListController::initImpl>("init")
                           .method<&STPSubListController::setSpecifierImpl>("setSpecifier:")
                           .method<&STPSubListController::specifiersImpl>("specifiers")
                           .method<&STPSubListController::shouldReloadImpl>("shouldReloadSpecifiersOnResume")
                           .method<&STPSubListController::initialisedBeforeSpecifierImpl>("initialisedBeforeSpecifier")
                           .build();
    return cls;
}

// The same sub-page left to the machinery's default: reloaded when the app resumes.
class STPReloadingSubListController : public STPSubListController {
    TW_OBJECT(STPReloadingSubListController)
protected:
    STPReloadingSubListController() = default;

private:
    bool shouldReloadImpl() const { return true; }
};

Class STPReloadingSubListController::classObject()
{
    static Class cls = ClassBuilder<STPReloadingSubListController>("STPReloadingSubListController", STPSubListController::classObject())
                           .method<&STPReloadingSubListController::shouldReloadImpl>("shouldReloadSpecifiersOnResume")
                           .build();
    return cls;
}

__attribute__((constructor)) static void registerSettingsTestClasses()
{
    STPAppearanceSettings::classObject();
    STPRootListController::classObject();
    STPSubListController::classObject();
    STPReloadingSubListController::classObject();
}
