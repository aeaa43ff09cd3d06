#include "UIKitTestSupport.h"

#include "platform/uikit/UIKitClasses.h"
#include "platform/uikit/UILabel.h"

namespace {

std::vector<std::string> g_events;

void (*loadViewSlot)(id, SEL);
void recordLoadView(id self, SEL sel)
{
    g_events.push_back("loadView");
    uncheckedObjectCast<UIViewController>(self)->setView(UILabel::create().get());
}

void (*viewDidLoadSlot)(id, SEL);
void recordViewDidLoad(id self, SEL sel)
{
    g_events.push_back("viewDidLoad");
    viewDidLoadSlot(self, sel);
}

template<const char* Name>
void recordAppearance(id self, SEL, bool animated)
{
    g_events.push_back(std::string(self->className()).substr(0, 5) + ":" + Name);
}
constexpr char willAppear[] = "willAppear";
constexpr char didAppear[] = "didAppear";
constexpr char willDisappear[] = "willDisappear";
constexpr char didDisappear[] = "didDisappear";

void (*unusedSlot)(id, SEL, bool);

Class appearanceRecordingClass(const char* stem)
{
    Class cls = freshSubclass(UIViewController::classObject(), stem);
    MSHookMessageEx(cls, SELECTOR("viewWillAppear:"), &recordAppearance<willAppear>, &unusedSlot);
    MSHookMessageEx(cls, SELECTOR("viewDidAppear:"), &recordAppearance<didAppear>, &unusedSlot);
    MSHookMessageEx(cls, SELECTOR("viewWillDisappear:"), &recordAppearance<willDisappear>, &unusedSlot);
    MSHookMessageEx(cls, SELECTOR("viewDidDisappear:"), &recordAppearance<didDisappear>, &unusedSlot);
    return cls;
}

using ViewController = UIKitTest;

TEST_F(ViewController, ViewIsLoadedLazilyOnceThroughTheRuntime)
{
    Class cls = freshSubclass(UIViewController::classObject(), "LazyController");
    MSHookMessageEx(cls, SELECTOR("loadView"), &recordLoadView, &loadViewSlot);
    MSHookMessageEx(cls, SELECTOR("viewDidLoad"), &recordViewDidLoad, &viewDidLoadSlot);
    auto controller = UIViewController::createWithClass(cls);
    g_events.clear();
    EXPECT_FALSE(controller->isViewLoaded());
    auto view = msgSend<RefPtr<UIView>>(controller, SELECTOR("view"));
    EXPECT_EQ(controller->view().get(), view.get());
    EXPECT_NE(objectCast<UILabel>(view), nullptr);
    EXPECT_EQ(g_events, (std::vector<std::string> { "loadView", "viewDidLoad" }));
}

TEST_F(ViewController, ResponderChainRunsFromViewsThroughControllersToTheWindow)
{
    auto window = UIWindow::create(CGRectMake(0, 0, 320, 480));
    auto parent = UIViewController::create();
    auto child = UIViewController::create();
    auto label = UILabel::create();
    parent->addChildViewController(child.get());
    parent->view()->addSubview(child->view().get());
    child->view()->addSubview(label.get());
    window->setRootViewController(parent.get());

    auto step1 = label->nextResponder();
    auto step2 = step1->nextResponder();
    auto step3 = step2->nextResponder();
    auto step4 = step3->nextResponder();
    auto step5 = step4->nextResponder();
    EXPECT_EQ(step1.get(), child->view().get());
    EXPECT_EQ(step2.get(), child.get());
    EXPECT_EQ(step3.get(), parent->view().get());
    EXPECT_EQ(step4.get(), parent.get());
    EXPECT_EQ(step5.get(), window.get());
    EXPECT_EQ(parent->view()->frame(), window->bounds());

    // A controller whose view is off screen hands on to its parent.
    child->view()->removeFromSuperview();
    EXPECT_EQ(child->nextResponder().get(), parent.get());
}

TEST_F(ViewController, ChildrenKnowTheirParentAndNavigationController)
{
    registerUIKitClasses();
    Class navigationClass = objc_getClass("UINavigationController");
    if (!navigationClass) {
        navigationClass = objc_allocateClassPair(UIViewController::classObject(), "UINavigationController");
        objc_registerClassPair(navigationClass);
    }
    auto outer = UIViewController::createWithClass(navigationClass);
    auto inner = UIViewController::createWithClass(navigationClass);
    auto page = UIViewController::create();
    outer->addChildViewController(inner.get());
    inner->addChildViewController(page.get());
    EXPECT_EQ(page->parentViewController().get(), inner.get());
    EXPECT_EQ(msgSend<Id>(page, SELECTOR("navigationController")).get(), inner.get());
    EXPECT_EQ(inner->navigationController().get(), outer.get());
    EXPECT_EQ(outer->navigationController().get(), nullptr);
    EXPECT_EQ(inner->childViewControllers()->count(), 1u);

    page->removeFromParentViewController();
    EXPECT_EQ(page->parentViewController().get(), nullptr);
    EXPECT_TRUE(inner->childViewControllerList().empty());
}

TEST_F(ViewController, TitleAndNavigationItemAreShared)
{
    auto controller = UIViewController::create();
    msgSend<void>(controller, SELECTOR("setTitle:"), NSString::string("Tintwell"));
    auto item = msgSend<RefPtr<UINavigationItem>>(controller, SELECTOR("navigationItem"));
    ASSERT_TRUE(item);
    EXPECT_EQ(item->title()->utf8(), "Tintwell");
    EXPECT_EQ(controller->title()->utf8(), "Tintwell");
    item->setLargeTitleDisplayMode(UINavigationItemLargeTitleDisplayModeNever);
    auto titleView = UIView::create();
    item->setTitleView(titleView.get());
    EXPECT_EQ(controller->navigationItem()->largeTitleDisplayMode(), 2);
    EXPECT_EQ(controller->navigationItem()->titleView().get(), titleView.get());
}

TEST_F(ViewController, RootControllersAppearAndDisappearWithChildrenOnScreen)
{
    auto window = UIWindow::create(CGRectMake(0, 0, 100, 100));
    auto first = UIViewController::createWithClass(appearanceRecordingClass("First"));
    auto shownChild = UIViewController::createWithClass(appearanceRecordingClass("Shown"));
    auto hiddenChild = UIViewController::createWithClass(appearanceRecordingClass("Other"));
    first->addChildViewController(shownChild.get());
    first->addChildViewController(hiddenChild.get());
    first->view()->addSubview(shownChild->view().get());
    g_events.clear();

    window->setRootViewController(first.get());
    EXPECT_EQ(g_events, (std::vector<std::string> { "First:willAppear", "Shown:willAppear", "First:didAppear", "Shown:didAppear" }));

    g_events.clear();
    window->setRootViewController(nullptr);
    EXPECT_EQ(g_events, (std::vector<std::string> { "First:willDisappear", "Shown:willDisappear", "First:didDisappear", "Shown:didDisappear" }));
    EXPECT_TRUE(window->subviewList().empty());
}

TEST_F(ViewController, ControllerAndViewAreFreedTogether)
{
    int64_t before = Object::liveObjectCount();
    {
        auto controller = UIViewController::create();
        controller->view()->addSubview(UILabel::create().get());
        controller->navigationItem()->setTitle(NSString::string("x").get());
        controller->addChildViewController(UIViewController::create().get());
    }
    EXPECT_EQ(Object::liveObjectCount(), before);
}

} // namespace
