#include "UIKitTestSupport.h"

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
    auto superview = static_cast<UIView*>(self)->superview();
    g_moves.push_back(std::string("did:") + (superview ? superview->className() : "nil"));
    didMoveSlot(self, sel);
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
    parent->addSubview(a);
    parent->addSubview(b);
    parent->insertSubviewAtIndex(c, 1);
    EXPECT_EQ(order(*parent), (std::vector<UIView*> { a.get(), c.get(), b.get() }));

    parent->bringSubviewToFront(a);
    EXPECT_EQ(order(*parent), (std::vector<UIView*> { c.get(), b.get(), a.get() }));
    parent->sendSubviewToBack(a);
    EXPECT_EQ(order(*parent), (std::vector<UIView*> { a.get(), c.get(), b.get() }));
    // Adding an existing subview again moves it to the front without a second entry.
    parent->addSubview(a);
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

    first->addSubview(view);
    second->addSubview(view);
    EXPECT_TRUE(first->subviewList().empty());
    EXPECT_EQ(view->superview().get(), second.get());
    view->removeFromSuperview();
    EXPECT_EQ(view->superview().get(), nullptr);
    view->removeFromSuperview();
    EXPECT_EQ(g_moves, (std::vector<std::string> { "will:UIView", "did:UIView", "will:UILabel", "did:UILabel", "will:nil", "did:nil" }));
}

TEST_F(ViewTree, AnAncestorCannotBecomeASubview)
{
    auto root = UIView::create();
    auto child = UIView::create();
    root->addSubview(child);
    child->addSubview(root);
    child->addSubview(child);
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
        container->addSubview(label);
        container->addSubview(UIView::create());
        window->addSubview(container);
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
        parent->addSubview(child);
    }
    EXPECT_EQ(child->superview().get(), nullptr);
    EXPECT_EQ(child->nextResponder().get(), nullptr);
}

TEST_F(ViewTree, ConvertsRectsThroughOffsetsAndScrolledBounds)
{
    auto root = UIView::create(CGRectMake(100, 100, 300, 300));
    auto middle = UIView::create(CGRectMake(10, 20, 200, 200));
    auto leaf = UIView::create(CGRectMake(5, 5, 10, 10));
    root->addSubview(middle);
    middle->addSubview(leaf);
    // The root's own position on screen is outside the tree's coordinates.
    EXPECT_EQ(leaf->convertRectToView(leaf->bounds(), nullptr), CGRectMake(15, 25, 10, 10));
    middle->setBounds(CGRectMake(0, 8, 200, 200));
    EXPECT_EQ(leaf->convertRectToView(leaf->bounds(), nullptr), CGRectMake(15, 17, 10, 10));
    EXPECT_EQ(leaf->convertRectToView(leaf->bounds(), middle), CGRectMake(5, 5, 10, 10));
    EXPECT_EQ(middle->frame(), CGRectMake(10, 20, 200, 200));
}

} // namespace
