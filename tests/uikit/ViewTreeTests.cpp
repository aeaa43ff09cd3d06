#include "UIKitTestSupport.h"

#include "platform/foundation/NSBlock.h"
#include "platform/uikit/UILabel.h"

namespace {

std::vector<std::string> g_moves;

void (*willMoveSlot)(id, SEL, id);
void recordWillMove(id self, SEL sel, id superview)
{
    g_moves.push_back(std::string("will:") + (superview ? superview->className() : "nil"));
    willMoveSlot(self, sel, superview);
}

void (*didMoveSlot)(id, SEL);
void recordDidMove(id self, SEL sel)
{
    auto superview = uncheckedObjectCast<UIView>(self)->superview();
    g_moves.push_back(std::string("did:") + (superview ? superview->className() : "nil"));
    didMoveSlot(self, sel);
}

// Each move message as "<tag> <message>", for views of a hooked class.
void (*windowWillMoveToSuperviewSlot)(id, SEL, id);
void (*windowDidMoveToSuperviewSlot)(id, SEL);
void (*willMoveToWindowSlot)(id, SEL, id);
void (*didMoveToWindowSlot)(id, SEL);

std::string tagOf(id view) { return std::to_string(uncheckedObjectCast<UIView>(view)->tag()); }

void logWillMoveToSuperview(id self, SEL sel, id superview)
{
    g_moves.push_back(tagOf(self) + " willMoveToSuperview:");
    windowWillMoveToSuperviewSlot(self, sel, superview);
}

void logDidMoveToSuperview(id self, SEL sel)
{
    g_moves.push_back(tagOf(self) + " didMoveToSuperview");
    windowDidMoveToSuperviewSlot(self, sel);
}

void logWillMoveToWindow(id self, SEL sel, id window)
{
    // Still in the old window: the move has not happened yet.
    bool inWindow = static_cast<bool>(uncheckedObjectCast<UIView>(self)->window());
    g_moves.push_back(tagOf(self) + " willMoveToWindow:" + (window ? "window" : "nil") + (inWindow ? " from a window" : ""));
    willMoveToWindowSlot(self, sel, window);
}

void logDidMoveToWindow(id self, SEL sel)
{
    bool inWindow = static_cast<bool>(uncheckedObjectCast<UIView>(self)->window());
    g_moves.push_back(tagOf(self) + " didMoveToWindow" + (inWindow ? " in a window" : ""));
    didMoveToWindowSlot(self, sel);
}

std::vector<UIView*> order(const UIView& parent)
{
    std::vector<UIView*> views;
    for (auto& child : parent.subviewList())
        views.push_back(child.get());
    return views;
}

using ViewTree = UIKitTest;

TEST_F(ViewTree, SubviewsKeepInsertionOrderAndReorder)
{
    auto parent = UIView::create();
    auto a = UIView::create();
    auto b = UIView::create();
    auto c = UIView::create();
    parent->addSubview(a.get());
    parent->addSubview(b.get());
    parent->insertSubviewAtIndex(c.get(), 1);
    EXPECT_EQ(order(*parent), (std::vector<UIView*> { a.get(), c.get(), b.get() }));

    parent->bringSubviewToFront(a.get());
    EXPECT_EQ(order(*parent), (std::vector<UIView*> { c.get(), b.get(), a.get() }));
    parent->sendSubviewToBack(a.get());
    EXPECT_EQ(order(*parent), (std::vector<UIView*> { a.get(), c.get(), b.get() }));
    // Adding an existing subview again moves it to the front without a second entry.
    parent->addSubview(a.get());
    EXPECT_EQ(order(*parent), (std::vector<UIView*> { c.get(), b.get(), a.get() }));

    auto subviews = msgSend<RefPtr<NSArray>>(parent, SELECTOR("subviews"));
    ASSERT_EQ(subviews->count(), 3u);
    EXPECT_EQ(subviews->objectAtIndex(0).get(), c.get());
    EXPECT_EQ(msgSend<RefPtr<UIView>>(b, SELECTOR("superview")).get(), parent.get());
}

TEST_F(ViewTree, ReparentingMovesTheViewAndSendsMoveMessagesThroughTheRuntime)
{
    Class cls = freshSubclass(UIView::classObject(), "MovingView");
    MSHookMessageEx(cls, SELECTOR("willMoveToSuperview:"), &recordWillMove, &willMoveSlot);
    MSHookMessageEx(cls, SELECTOR("didMoveToSuperview"), &recordDidMove, &didMoveSlot);
    auto first = UIView::create();
    auto second = UILabel::create();
    auto view = UIView::createWithClass(cls);
    g_moves.clear();

    first->addSubview(view.get());
    second->addSubview(view.get());
    EXPECT_TRUE(first->subviewList().empty());
    EXPECT_EQ(view->superview().get(), second.get());
    view->removeFromSuperview();
    EXPECT_EQ(view->superview().get(), nullptr);
    view->removeFromSuperview();
    EXPECT_EQ(g_moves, (std::vector<std::string> { "will:UIView", "did:UIView", "will:UILabel", "did:UILabel", "will:nil", "did:nil" }));
}

TEST_F(ViewTree, ViewsHearOfAWindowChangeThroughTheRuntimeParentsFirst)
{
    Class cls = freshSubclass(UIView::classObject(), "WindowedView");
    MSHookMessageEx(cls, SELECTOR("willMoveToSuperview:"), &logWillMoveToSuperview, &windowWillMoveToSuperviewSlot);
    MSHookMessageEx(cls, SELECTOR("didMoveToSuperview"), &logDidMoveToSuperview, &windowDidMoveToSuperviewSlot);
    MSHookMessageEx(cls, SELECTOR("willMoveToWindow:"), &logWillMoveToWindow, &willMoveToWindowSlot);
    MSHookMessageEx(cls, SELECTOR("didMoveToWindow"), &logDidMoveToWindow, &didMoveToWindowSlot);
    auto window = UIWindow::create(CGRectMake(0, 0, 100, 100));
    auto holder = UIView::create();
    window->addSubview(holder.get());
    auto outer = UIView::createWithClass(cls);
    auto inner = UIView::createWithClass(cls);
    outer->setTag(1);
    inner->setTag(2);
    outer->addSubview(inner.get());
    g_moves.clear();

    window->addSubview(outer.get());
    EXPECT_EQ(g_moves, (std::vector<std::string> { "1 willMoveToSuperview:", "1 willMoveToWindow:window", "2 willMoveToWindow:window",
                           "1 didMoveToWindow in a window", "2 didMoveToWindow in a window", "1 didMoveToSuperview" }));

    // Within the same window only the superview changes.
    g_moves.clear();
    holder->addSubview(outer.get());
    EXPECT_EQ(g_moves, (std::vector<std::string> { "1 willMoveToSuperview:", "1 didMoveToSuperview" }));

    g_moves.clear();
    outer->removeFromSuperview();
    EXPECT_EQ(g_moves, (std::vector<std::string> { "1 willMoveToSuperview:", "1 willMoveToWindow:nil from a window", "2 willMoveToWindow:nil from a window",
                           "1 didMoveToWindow", "2 didMoveToWindow", "1 didMoveToSuperview" }));

    // Taking a subview out of a tree that is in no window tells it nothing of windows.
    g_moves.clear();
    inner->removeFromSuperview();
    EXPECT_EQ(g_moves, (std::vector<std::string> { "2 willMoveToSuperview:", "2 didMoveToSuperview" }));
}

TEST_F(ViewTree, AnAncestorCannotBecomeASubview)
{
    auto root = UIView::create();
    auto child = UIView::create();
    root->addSubview(child.get());
    child->addSubview(root.get());
    child->addSubview(child.get());
    EXPECT_EQ(root->superview().get(), nullptr);
    EXPECT_TRUE(child->subviewList().empty());
}

TEST_F(ViewTree, RemovedSubtreeIsFreed)
{
    auto window = UIWindow::create(CGRectMake(0, 0, 100, 100));
    int64_t before = Object::liveObjectCount();
    {
        auto container = UIView::create(CGRectMake(0, 0, 50, 50));
        auto label = UILabel::create();
        label->setText("freed");
        label->setBackgroundColor(UIColor::redColor().get());
        label->layer()->setBorderColor(UIColor::blueColor()->CGColor().get());
        container->addSubview(label.get());
        container->addSubview(UIView::create().get());
        window->addSubview(container.get());
        window->layoutIfNeeded();
    }
    EXPECT_GT(Object::liveObjectCount(), before);
    window->subviewList().front()->removeFromSuperview();
    EXPECT_EQ(Object::liveObjectCount(), before);
}

TEST_F(ViewTree, ChildrenOutliveTheirSuperviewWithoutADanglingParent)
{
    auto child = UIView::create();
    {
        auto parent = UIView::create();
        parent->addSubview(child.get());
    }
    EXPECT_EQ(child->superview().get(), nullptr);
    EXPECT_EQ(child->nextResponder().get(), nullptr);
}

TEST_F(ViewTree, ConvertsRectsThroughOffsetsAndScrolledBounds)
{
    auto root = UIView::create(CGRectMake(100, 100, 300, 300));
    auto middle = UIView::create(CGRectMake(10, 20, 200, 200));
    auto leaf = UIView::create(CGRectMake(5, 5, 10, 10));
    root->addSubview(middle.get());
    middle->addSubview(leaf.get());
    // The root's own position on screen is outside the tree's coordinates.
    EXPECT_EQ(leaf->convertRectToView(leaf->bounds(), nullptr), CGRectMake(15, 25, 10, 10));
    middle->setBounds(CGRectMake(0, 8, 200, 200));
    EXPECT_EQ(leaf->convertRectToView(leaf->bounds(), nullptr), CGRectMake(15, 17, 10, 10));
    EXPECT_EQ(leaf->convertRectToView(leaf->bounds(), middle.get()), CGRectMake(5, 5, 10, 10));
    EXPECT_EQ(middle->frame(), CGRectMake(10, 20, 200, 200));
}

TEST_F(ViewTree, OpaqueIsAViewPropertyThroughTheRuntime)
{
    auto view = UIView::create(CGRectMake(0, 0, 10, 10));
    EXPECT_TRUE(msgSend<bool>(view, SELECTOR("isOpaque"))) << "a new view is opaque, as on the phone";
    msgSend<void>(view, SELECTOR("setOpaque:"), false);
    EXPECT_FALSE(view->isOpaque());
    view->setOpaque(true);
    EXPECT_TRUE(msgSend<bool>(view, SELECTOR("isOpaque")));
}

void (*originalAnimate)(Class, SEL, double, id);
std::vector<double> g_animatedDurations;
void recordAnimate(Class cls, SEL sel, double duration, id animations)
{
    g_animatedDurations.push_back(duration);
    originalAnimate(cls, sel, duration, animations);
}

TEST_F(ViewTree, AnimationsAnswerAsClassMessagesThatAHookSees)
{
    auto view = UIView::create(CGRectMake(0, 0, 10, 10));
    long before = UIView::animationCount();
    bool completed = false;
    UIView::sendAnimateWithDuration(0.3, NSBlock::create([&] { view->setAlpha(0.5); }).get(), NSBlock::create([&] { completed = true; }).get());
    EXPECT_EQ(view->alpha(), 0.5);
    EXPECT_TRUE(completed);

    Class meta = objc_getMetaClass(UIView::classObject());
    MSHookMessageEx(meta, SELECTOR("animateWithDuration:animations:"), &recordAnimate, &originalAnimate);
    UIView::sendAnimateWithDuration(0.2, NSBlock::create([&] { view->setAlpha(1); }).get());
    decltype(originalAnimate) replaced = nullptr;
    MSHookMessageEx(meta, SELECTOR("animateWithDuration:animations:"), originalAnimate, &replaced);

    // The hook ran and the original still animated.
    EXPECT_EQ(g_animatedDurations, std::vector<double> { 0.2 });
    EXPECT_EQ(view->alpha(), 1);
    EXPECT_EQ(UIView::animationCount(), before + 2);
    EXPECT_EQ(UIView::lastAnimationDuration(), 0.2);
}

} // namespace
