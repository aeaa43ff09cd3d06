#include "UIKitTestSupport.h"

#include "platform/foundation/NSBlock.h"

namespace {

struct TraitChange {
    std::string receiver;
    long previous; // -1 for no previous collection
    long current;
};
std::vector<TraitChange> g_changes;

void record(id self, id previous)
{
    auto* traits = objectCast<UITraitCollection>(previous);
    auto current = msgSend<RefPtr<UITraitCollection>>(self, SELECTOR("traitCollection"));
    g_changes.push_back({ self->className(), traits ? traits->userInterfaceStyle() : -1, current->userInterfaceStyle() });
}

void (*viewTraitSlot)(id, SEL, id);
void recordViewTraits(id self, SEL sel, id previous)
{
    viewTraitSlot(self, sel, previous);
    record(self, previous);
}

void (*controllerTraitSlot)(id, SEL, id);
void recordControllerTraits(id self, SEL sel, id previous)
{
    controllerTraitSlot(self, sel, previous);
    record(self, previous);
}

int g_layouts = 0;
void (*layoutSlot)(id, SEL);
void countLayout(id self, SEL sel)
{
    ++g_layouts;
    layoutSlot(self, sel);
}

long currentStyleByName()
{
    Class arbiterClass = objc_getClass("UIUserInterfaceStyleArbiter");
    Ivar ivar = class_getInstanceVariable(arbiterClass, "_currentStyle");
    EXPECT_STREQ(ivar_getTypeEncoding(ivar), "q");
    auto arbiter = UIUserInterfaceStyleArbiter::sharedInstance();
    return *static_cast<long*>(object_getIvarAddress(arbiter.get(), ivar));
}

class Appearance : public UIKitTest {
protected:
    void SetUp() override
    {
        UIKitTest::SetUp();
        m_viewClass = freshSubclass(UIView::classObject(), "TraitView");
        MSHookMessageEx(m_viewClass, SELECTOR("traitCollectionDidChange:"), &recordViewTraits, &viewTraitSlot);
        MSHookMessageEx(m_viewClass, SELECTOR("layoutSubviews"), &countLayout, &layoutSlot);
        m_window = UIWindow::create(CGRectMake(0, 0, 100, 100));
        g_changes.clear();
        g_layouts = 0;
    }
    Class m_viewClass {};
    RefPtr<UIWindow> m_window;
};

TEST_F(Appearance, JoiningAWindowDeliversTheFirstTraitCollectionWithoutAPrevious)
{
    auto detached = UIView::createWithClass(m_viewClass);
    auto child = UIView::createWithClass(m_viewClass);
    detached->addSubview(child.get());
    EXPECT_TRUE(g_changes.empty());
    m_window->addSubview(detached.get());
    ASSERT_EQ(g_changes.size(), 2u);
    EXPECT_EQ(g_changes[0].previous, -1);
    EXPECT_EQ(g_changes[0].current, UIUserInterfaceStyleLight);
}

TEST_F(Appearance, SwitchSendsThePreviousTraitsToViewsAndControllersThenLaysOut)
{
    Class controllerClass = freshSubclass(UIViewController::classObject(), "TraitController");
    MSHookMessageEx(controllerClass, SELECTOR("traitCollectionDidChange:"), &recordControllerTraits, &controllerTraitSlot);
    auto controller = UIViewController::createWithClass(controllerClass);
    controller->setView(UIView::createWithClass(m_viewClass).get());
    m_window->setRootViewController(controller.get());
    m_window->layoutIfNeeded();
    g_changes.clear();
    g_layouts = 0;

    UIUserInterfaceStyleArbiter::sharedInstance()->setCurrentStyle(UIUserInterfaceStyleDark);
    ASSERT_EQ(g_changes.size(), 2u);
    EXPECT_EQ(g_changes[0].receiver, class_getName(controllerClass));
    EXPECT_EQ(g_changes[0].previous, UIUserInterfaceStyleLight);
    EXPECT_EQ(g_changes[0].current, UIUserInterfaceStyleDark);
    EXPECT_EQ(g_changes[1].previous, UIUserInterfaceStyleLight);
    EXPECT_EQ(g_changes[1].current, UIUserInterfaceStyleDark);
    EXPECT_EQ(g_layouts, 1);
    EXPECT_EQ(currentStyleByName(), UIUserInterfaceStyleDark);

    // Setting the style already in force changes nothing.
    UIUserInterfaceStyleArbiter::sharedInstance()->setCurrentStyle(UIUserInterfaceStyleDark);
    EXPECT_EQ(g_changes.size(), 2u);
}

TEST_F(Appearance, OverriddenSubtreesKeepTheirStyleAcrossASwitch)
{
    auto pinned = UIView::create();
    pinned->setOverrideUserInterfaceStyle(UIUserInterfaceStyleLight);
    auto inside = UIView::createWithClass(m_viewClass);
    pinned->addSubview(inside.get());
    m_window->addSubview(pinned.get());
    g_changes.clear();

    UIUserInterfaceStyleArbiter::sharedInstance()->setCurrentStyle(UIUserInterfaceStyleDark);
    EXPECT_TRUE(g_changes.empty());
    EXPECT_EQ(inside->traitCollection()->userInterfaceStyle(), UIUserInterfaceStyleLight);

    pinned->setOverrideUserInterfaceStyle(UIUserInterfaceStyleUnspecified);
    ASSERT_EQ(g_changes.size(), 1u);
    EXPECT_EQ(g_changes[0].previous, UIUserInterfaceStyleLight);
    EXPECT_EQ(g_changes[0].current, UIUserInterfaceStyleDark);
}

TEST_F(Appearance, WindowsWithTheirOwnAppearanceIgnoreTheSystemSwitch)
{
    auto darkWindow = UIWindow::create(CGRectMake(0, 0, 10, 10));
    darkWindow->setOverrideUserInterfaceStyle(UIUserInterfaceStyleDark);
    auto view = UIView::createWithClass(m_viewClass);
    darkWindow->addSubview(view.get());
    EXPECT_EQ(view->traitCollection()->userInterfaceStyle(), UIUserInterfaceStyleDark);
    g_changes.clear();
    UIUserInterfaceStyleArbiter::sharedInstance()->setCurrentStyle(UIUserInterfaceStyleDark);
    UIUserInterfaceStyleArbiter::sharedInstance()->setCurrentStyle(UIUserInterfaceStyleLight);
    EXPECT_TRUE(g_changes.empty());
}

TEST_F(Appearance, ArbiterIsFoundByNameAndAnswersItsSharedInstance)
{
    Class arbiterClass = objc_getClass("UIUserInterfaceStyleArbiter");
    ASSERT_EQ(arbiterClass, UIUserInterfaceStyleArbiter::classObject());
    auto shared = UIUserInterfaceStyleArbiter::sharedInstance();
    EXPECT_EQ(msgSend<Id>(shared, SELECTOR("sharedInstance")).get(), shared.get());
    EXPECT_EQ(currentStyleByName(), UIUserInterfaceStyleLight);
    msgSend<void>(shared, SELECTOR("setCurrentStyle:"), long(UIUserInterfaceStyleDark));
    EXPECT_EQ(currentStyleByName(), UIUserInterfaceStyleDark);
}

TEST_F(Appearance, AnimationsRunTheirBlocksAtOnceAndAreCounted)
{
    auto view = UIView::create();
    long before = UIView::animationCount();
    bool completed = false;
    auto animations = NSBlock::create([&] { view->setAlpha(0.25); });
    auto completion = NSBlock::create([&] { completed = true; });
    UIView::animateWithDuration(0.2, animations.get(), completion.get());
    EXPECT_EQ(view->alpha(), 0.25);
    EXPECT_TRUE(completed);
    UIView::animateWithDuration(0.35, [&] { view->setHidden(true); });
    EXPECT_TRUE(view->isHidden());
    EXPECT_EQ(UIView::animationCount(), before + 2);
    EXPECT_EQ(UIView::lastAnimationDuration(), 0.35);
}

} // namespace
