#include "UIKitTestSupport.h"

#include "platform/uikit/UIScrollView.h"
#include "platform/uikit/UIStackView.h"

namespace {

std::vector<std::string> g_layouts;

void (*layoutSlot)(id, SEL);
void recordLayout(id self, SEL sel)
{
    g_layouts.push_back("layout:" + std::to_string(uncheckedObjectCast<UIView>(self)->tag()));
    layoutSlot(self, sel);
}

void (*willLayoutSlot)(id, SEL);
void recordWillLayout(id self, SEL sel)
{
    g_layouts.push_back("will");
    willLayoutSlot(self, sel);
}

void (*didLayoutSlot)(id, SEL);
void recordDidLayout(id self, SEL sel)
{
    g_layouts.push_back("did");
    didLayoutSlot(self, sel);
}

RefPtr<UIView> taggedView(Class cls, long tag, CGRect frame = CGRectZero)
{
    auto view = UIView::createWithClass(cls, frame);
    view->setTag(tag);
    return view;
}

class Layout : public UIKitTest {
protected:
    void SetUp() override
    {
        UIKitTest::SetUp();
        m_class = freshSubclass(UIView::classObject(), "LayoutView");
        MSHookMessageEx(m_class, SELECTOR("layoutSubviews"), &recordLayout, &layoutSlot);
        g_layouts.clear();
    }
    Class m_class {};
};

TEST_F(Layout, PassSendsLayoutSubviewsThroughTheRuntimeParentsFirst)
{
    auto root = taggedView(m_class, 1);
    auto child = taggedView(m_class, 2);
    auto grandchild = taggedView(m_class, 3);
    root->addSubview(child.get());
    child->addSubview(grandchild.get());
    root->layoutIfNeeded();
    EXPECT_EQ(g_layouts, (std::vector<std::string> { "layout:1", "layout:2", "layout:3" }));

    g_layouts.clear();
    root->layoutIfNeeded();
    EXPECT_TRUE(g_layouts.empty());

    grandchild->setNeedsLayout();
    root->layoutIfNeeded();
    EXPECT_EQ(g_layouts, (std::vector<std::string> { "layout:3" }));

    g_layouts.clear();
    root->layoutTreeNow();
    EXPECT_EQ(g_layouts.size(), 3u);
}

TEST_F(Layout, ResizingMarksTheViewButMovingDoesNot)
{
    auto view = taggedView(m_class, 1, CGRectMake(0, 0, 10, 10));
    view->layoutIfNeeded();
    g_layouts.clear();
    view->setFrame(CGRectMake(5, 5, 10, 10));
    view->layoutIfNeeded();
    EXPECT_TRUE(g_layouts.empty());
    view->setFrame(CGRectMake(5, 5, 20, 10));
    view->layoutIfNeeded();
    EXPECT_EQ(g_layouts.size(), 1u);
}

TEST_F(Layout, ControllerHearsAroundItsRootViewsLayout)
{
    Class controllerClass = freshSubclass(UIViewController::classObject(), "LayoutController");
    MSHookMessageEx(controllerClass, SELECTOR("viewWillLayoutSubviews"), &recordWillLayout, &willLayoutSlot);
    MSHookMessageEx(controllerClass, SELECTOR("viewDidLayoutSubviews"), &recordDidLayout, &didLayoutSlot);
    auto controller = UIViewController::createWithClass(controllerClass);
    auto root = taggedView(m_class, 1);
    root->addSubview(taggedView(m_class, 2).get());
    controller->setView(root.get());
    root->layoutIfNeeded();
    EXPECT_EQ(g_layouts, (std::vector<std::string> { "will", "layout:1", "did", "layout:2" }));
}

TEST_F(Layout, StackViewLinesUpShownArrangedSubviews)
{
    auto stack = UIStackView::create(CGRectMake(0, 0, 100, 40));
    auto a = UIView::create(CGRectMake(0, 0, 20, 5));
    auto hidden = UIView::create(CGRectMake(0, 0, 30, 5));
    auto b = UIView::create(CGRectMake(0, 0, 25, 5));
    hidden->setHidden(true);
    stack->addArrangedSubview(a.get());
    stack->addArrangedSubview(hidden.get());
    stack->addArrangedSubview(b.get());
    stack->setSpacing(4);
    stack->layoutIfNeeded();
    EXPECT_EQ(a->frame(), CGRectMake(0, 0, 20, 40));
    EXPECT_EQ(b->frame(), CGRectMake(24, 0, 25, 40));
    EXPECT_EQ(msgSend<RefPtr<NSArray>>(stack, SELECTOR("arrangedSubviews"))->count(), 3u);

    stack->setAxis(UILayoutConstraintAxisVertical);
    stack->setDistribution(UIStackViewDistributionFillEqually);
    stack->layoutIfNeeded();
    EXPECT_EQ(a->frame(), CGRectMake(0, 0, 100, 18));
    EXPECT_EQ(b->frame(), CGRectMake(0, 22, 100, 18));

    // Leaving the stack also leaves the arranged list; removeArrangedSubview keeps the subview.
    b->removeFromSuperview();
    stack->removeArrangedSubview(a.get());
    EXPECT_EQ(stack->arrangedSubviewList().size(), 1u);
    EXPECT_EQ(a->superview().get(), stack.get());
}

int g_scrolls = 0;
void countScroll(id, SEL, id scrollView)
{
    if (objectCast<UIScrollView>(scrollView))
        ++g_scrolls;
}

TEST_F(Layout, ScrollingMovesBoundsAndTellsTheDelegate)
{
    Class delegateClass = freshSubclass(Object::classObject(), "ScrollDelegate");
    class_addMethod(delegateClass, SELECTOR("scrollViewDidScroll:"), &countScroll);
    auto delegate = class_createInstance(delegateClass);
    auto scrollView = UIScrollView::create(CGRectMake(0, 0, 100, 100));
    scrollView->setDelegate(delegate.get());
    g_scrolls = 0;

    scrollView->setContentOffset(CGPointMake(0, 250));
    scrollView->setContentOffset(CGPointMake(0, 250));
    EXPECT_EQ(g_scrolls, 1);
    EXPECT_EQ(scrollView->bounds(), CGRectMake(0, 250, 100, 100));
    EXPECT_EQ(scrollView->frame(), CGRectMake(0, 0, 100, 100));

    // A delegate that does not implement the method is not sent it.
    auto silent = make<UIView>();
    scrollView->setDelegate(silent.get());
    scrollView->setContentOffset(CGPointMake(0, 10));
    EXPECT_EQ(g_scrolls, 1);
}

} // namespace
