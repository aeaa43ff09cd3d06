#include "platform/uikit/UINavigationController.h"

#include "platform/foundation/NSArray.h"
#include "platform/uikit/UIWindow.h"

Class UINavigationController::classObject()
{
    static Class cls = ClassBuilder<UINavigationController>("UINavigationController", UIViewController::classObject())
                           .method<&UINavigationController::initImpl>("init")
                           .method<&UINavigationController::initWithRootViewControllerImpl>("initWithRootViewController:")
                           .method<&UINavigationController::viewControllersImpl>("viewControllers")
                           .method<&UINavigationController::setViewControllersImpl>("setViewControllers:animated:")
                           .method<&UINavigationController::pushViewControllerImpl>("pushViewController:animated:")
                           .method<&UINavigationController::popViewControllerImpl>("popViewControllerAnimated:")
                           .method<&UINavigationController::popToRootViewControllerImpl>("popToRootViewControllerAnimated:")
                           .method<&UINavigationController::topViewControllerImpl>("topViewController")
                           .method<&UINavigationController::topViewControllerImpl>("visibleViewController")
                           .method<&UINavigationController::navigationBarImpl>("navigationBar")
                           .method<&UINavigationController::isNavigationBarHidden>("isNavigationBarHidden")
                           .method<&UINavigationController::setNavigationBarHiddenImpl>("setNavigationBarHidden:")
                           .method<&UINavigationController::setNavigationBarHiddenAnimatedImpl>("setNavigationBarHidden:animated:")
                           .method<&UINavigationController::loadViewImpl>("loadView")
                           .method<&UINavigationController::viewDidLayoutSubviewsImpl>("viewDidLayoutSubviews")
                           .ivar<&UINavigationController::m_navigationBar>("_navigationBar")
                           .build();
    return cls;
}

UINavigationController::UINavigationController() = default;
UINavigationController::~UINavigationController() = default;

RefPtr<UINavigationController> UINavigationController::createWithRoot(UIViewController* root)
{
    auto object = class_createInstance(classObject());
    return msgSend<RefPtr<UINavigationController>>(object, SELECTOR("initWithRootViewController:"), root);
}

Id UINavigationController::initImpl()
{
    auto self = msgSendSuper<Id>(this, classObject(), SELECTOR("init"));
    if (!self)
        return nullptr;
    m_navigationBar = UINavigationBar::create();
    m_navigationBar->setNavigationController(this);
    return self;
}

Id UINavigationController::initWithRootViewControllerImpl(RefPtr<UIViewController> root)
{
    auto self = msgSend<Id>(this, SELECTOR("init"));
    if (!self)
        return nullptr;
    if (root)
        pushViewController(root.get(), false);
    return self;
}

RefPtr<NSArray> UINavigationController::viewControllers() const
{
    return NSArray::arrayWithObjects(std::vector<Id>(m_stack.begin(), m_stack.end()));
}

RefPtr<UIViewController> UINavigationController::topViewController() const
{
    if (m_stack.empty())
        return nullptr;
    return m_stack.back();
}

RefPtr<UIViewController> UINavigationController::deepestTopViewController() const
{
    auto top = topViewController();
    while (RefPtr<UINavigationController> nested = objectCast<UINavigationController>(top)) {
        if (!nested->isNavigationBarHidden() || nested->m_stack.empty())
            break;
        top = nested->topViewController();
    }
    return top;
}

bool UINavigationController::isOnScreen() const
{
    auto view = viewIfLoaded();
    return view && view->window();
}

CGRect UINavigationController::contentFrame() const
{
    auto view = viewIfLoaded();
    CGRect bounds = view ? view->bounds() : CGRectZero;
    if (m_navigationBarHidden)
        return bounds;
    return CGRectMake(0, UINavigationBar::height, bounds.size.width, std::max(0.0, bounds.size.height - UINavigationBar::height));
}

void UINavigationController::installTopView()
{
    auto view = viewIfLoaded();
    if (!view)
        return;
    auto top = topViewController();
    auto topView = top ? top->view() : nullptr;
    if (m_shownView && m_shownView.get() != topView.get())
        m_shownView->removeFromSuperview();
    m_shownView = topView;
    if (!m_shownView)
        return;
    m_shownView->setFrame(contentFrame());
    if (m_shownView->superview().get() != view.get())
        view->insertSubviewAtIndex(m_shownView.get(), 0);
    m_shownView->setNeedsLayoutInSubtree();
}

void UINavigationController::barsNeedLayout()
{
    // An outer bar may show this controller's top item.
    for (RefPtr<UIViewController> controller(this); controller; controller = controller->parentViewController()) {
        if (RefPtr<UINavigationController> navigation = objectCast<UINavigationController>(controller))
            navigation->m_navigationBar->setNeedsLayout();
    }
}

void UINavigationController::transition(UIViewController* leaving, UIViewController* arriving, bool animated, const std::function<void()>& swap)
{
    bool onScreen = isOnScreen();
    if (arriving)
        arriving->view();
    if (onScreen && leaving)
        leaving->beginAppearanceTransition(false, animated);
    if (onScreen && arriving)
        arriving->beginAppearanceTransition(true, animated);
    swap();
    installTopView();
    if (onScreen && leaving)
        leaving->endAppearanceTransition();
    if (onScreen && arriving)
        arriving->endAppearanceTransition();
    barsNeedLayout();
}

void UINavigationController::pushViewControllerImpl(RefPtr<UIViewController> controller, bool animated)
{
    if (!controller || controller->parentViewController() || std::find(m_stack.begin(), m_stack.end(), controller) != m_stack.end())
        return;
    RefPtr<UINavigationController> protect(this);
    auto leaving = topViewController();
    addChildViewController(controller.get());
    transition(leaving.get(), controller.get(), animated, [&] { m_stack.push_back(controller); });
    msgSend<void>(controller, SELECTOR("didMoveToParentViewController:"), this);
}

Id UINavigationController::popViewControllerImpl(bool animated)
{
    // The root stays.
    if (m_stack.size() < 2)
        return nullptr;
    RefPtr<UINavigationController> protect(this);
    auto leaving = m_stack.back();
    auto arriving = m_stack[m_stack.size() - 2];
    msgSend<void>(leaving, SELECTOR("willMoveToParentViewController:"), nullptr);
    transition(leaving.get(), arriving.get(), animated, [&] { m_stack.pop_back(); });
    leaving->removeFromParentViewController();
    return leaving;
}

Id UINavigationController::popToRootViewControllerImpl(bool animated)
{
    std::vector<Id> popped;
    while (m_stack.size() > 1) {
        if (auto controller = popViewControllerImpl(animated))
            popped.insert(popped.begin(), controller);
    }
    return NSArray::arrayWithObjects(std::move(popped));
}

void UINavigationController::setViewControllersImpl(NSArray* controllers, bool animated)
{
    while (m_stack.size() > 1)
        popViewControllerImpl(false);
    if (!m_stack.empty()) {
        auto root = m_stack.back();
        m_stack.clear();
        root->removeFromParentViewController();
        installTopView();
    }
    if (!controllers)
        return;
    for (auto& object : *controllers) {
        if (RefPtr<UIViewController> controller = objectCast<UIViewController>(object))
            pushViewController(controller.get(), animated);
    }
}

void UINavigationController::setNavigationBarHiddenImpl(bool hidden)
{
    m_navigationBarHidden = hidden;
    m_navigationBar->setHidden(hidden);
    if (m_shownView)
        m_shownView->setFrame(contentFrame());
    barsNeedLayout();
}

void UINavigationController::loadViewImpl()
{
    auto view = UIView::create(CGRectMake(0, 0, 375, 667));
    view->setBackgroundColor(UIColor::whiteColor().get());
    view->addSubview(m_navigationBar.get());
    setView(view.get());
    m_navigationBar->setHidden(m_navigationBarHidden);
    installTopView();
}

void UINavigationController::viewDidLayoutSubviewsImpl()
{
    auto view = viewIfLoaded();
    if (!view)
        return;
    m_navigationBar->setFrame(CGRectMake(0, 0, view->bounds().size.width, UINavigationBar::height));
    m_navigationBar->setNeedsLayout();
    if (m_shownView)
        m_shownView->setFrame(contentFrame());
}
