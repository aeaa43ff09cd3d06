#include "platform/uikit/UIViewController.h"

#include "platform/foundation/NSArray.h"
#include "platform/foundation/NSString.h"
#include "platform/uikit/UINavigationItem.h"
#include "platform/uikit/UIUserInterfaceStyleArbiter.h"
#include "platform/uikit/UIView.h"
#include "platform/uikit/UIWindow.h"

#include <algorithm>

Class UIViewController::classObject()
{
    static Class cls = ClassBuilder<UIViewController>("UIViewController", UIResponder::classObject())
                           .method<&UIViewController::initImpl>("init")
                           .method<&UIViewController::viewImpl>("view")
                           .method<&UIViewController::setViewImpl>("setView:")
                           .method<&UIViewController::loadViewImpl>("loadView")
                           .method<&UIViewController::viewDidLoadImpl>("viewDidLoad")
                           .method<&UIViewController::isViewLoaded>("isViewLoaded")
                           .method<&UIViewController::viewIfLoadedImpl>("viewIfLoaded")
                           .method<&UIViewController::viewWillLayoutSubviewsImpl>("viewWillLayoutSubviews")
                           .method<&UIViewController::viewDidLayoutSubviewsImpl>("viewDidLayoutSubviews")
                           .method<&UIViewController::viewWillAppearImpl>("viewWillAppear:")
                           .method<&UIViewController::viewDidAppearImpl>("viewDidAppear:")
                           .method<&UIViewController::viewWillDisappearImpl>("viewWillDisappear:")
                           .method<&UIViewController::viewDidDisappearImpl>("viewDidDisappear:")
                           .method<&UIViewController::beginAppearanceTransitionImpl>("beginAppearanceTransition:animated:")
                           .method<&UIViewController::endAppearanceTransitionImpl>("endAppearanceTransition")
                           .method<&UIViewController::nextResponderImpl>("nextResponder")
                           .method<&UIViewController::traitCollectionImpl>("traitCollection")
                           .method<&UIViewController::traitCollectionDidChangeImpl>("traitCollectionDidChange:")
                           .method<&UIViewController::overrideUserInterfaceStyle>("overrideUserInterfaceStyle")
                           .method<&UIViewController::setOverrideUserInterfaceStyleImpl>("setOverrideUserInterfaceStyle:")
                           .method<&UIViewController::addChildViewControllerImpl>("addChildViewController:")
                           .method<&UIViewController::removeFromParentViewControllerImpl>("removeFromParentViewController")
                           .method<&UIViewController::willMoveToParentViewControllerImpl>("willMoveToParentViewController:")
                           .method<&UIViewController::didMoveToParentViewControllerImpl>("didMoveToParentViewController:")
                           .method<&UIViewController::childViewControllersImpl>("childViewControllers")
                           .method<&UIViewController::parentViewControllerImpl>("parentViewController")
                           .method<&UIViewController::navigationControllerImpl>("navigationController")
                           .method<&UIViewController::navigationItemImpl>("navigationItem")
                           .method<&UIViewController::titleImpl>("title")
                           .method<&UIViewController::setTitleImpl>("setTitle:")
                           .ivar<&UIViewController::m_view>("_view")
                           .ivar<&UIViewController::m_parent>("_parentViewController")
                           .ivar<&UIViewController::m_navigationItem>("_navigationItem")
                           .build();
    return cls;
}

UIViewController::UIViewController() = default;
UIViewController::~UIViewController() = default;

RefPtr<UIViewController> UIViewController::createWithClass(Class cls)
{
    if (!cls || !class_isSubclassOf(cls, classObject()))
        return nullptr;
    auto object = class_createInstance(cls);
    return msgSend<RefPtr<UIViewController>>(object, SELECTOR("init"));
}

Id UIViewController::viewImpl()
{
    if (m_view)
        return m_view;
    RefPtr<UIViewController> protect(this);
    msgSend<void>(this, SELECTOR("loadView"));
    // A loadView that installs nothing still leaves the controller a view, as on the phone.
    if (!m_view)
        setViewImpl(UIView::create());
    msgSend<void>(this, SELECTOR("viewDidLoad"));
    return m_view;
}

void UIViewController::loadViewImpl()
{
    setView(UIView::create().get());
}

RefPtr<UIView> UIViewController::viewIfLoaded() const { return m_view; }
Id UIViewController::viewIfLoadedImpl() const { return m_view; }

void UIViewController::setViewImpl(RefPtr<UIView> view)
{
    if (m_view)
        m_view->m_viewDelegate.clear();
    m_view = std::move(view);
    if (m_view)
        m_view->m_viewDelegate = this;
}

void UIViewController::beginAppearanceTransitionImpl(bool isAppearing, bool animated)
{
    RefPtr<UIViewController> protect(this);
    m_transition = isAppearing ? AppearanceTransition::Appearing : AppearanceTransition::Disappearing;
    m_transitionAnimated = animated;
    if (isAppearing)
        msgSend<void>(this, SELECTOR("viewWillAppear:"), animated);
    else
        msgSend<void>(this, SELECTOR("viewWillDisappear:"), animated);
    // Only children whose views are on screen with ours take part, as the phone forwards.
    auto children = m_children;
    for (auto& child : children) {
        if (child->m_view && m_view && child->m_view->isDescendantOfView(m_view.get()))
            child->beginAppearanceTransition(isAppearing, animated);
    }
}

void UIViewController::endAppearanceTransitionImpl()
{
    if (m_transition == AppearanceTransition::None)
        return;
    RefPtr<UIViewController> protect(this);
    bool appearing = m_transition == AppearanceTransition::Appearing;
    m_transition = AppearanceTransition::None;
    if (appearing)
        msgSend<void>(this, SELECTOR("viewDidAppear:"), m_transitionAnimated);
    else
        msgSend<void>(this, SELECTOR("viewDidDisappear:"), m_transitionAnimated);
    auto children = m_children;
    for (auto& child : children)
        child->endAppearanceTransition();
}

Id UIViewController::nextResponderImpl() const
{
    if (m_view) {
        if (auto superview = m_view->superview())
            return superview;
    }
    return parentViewController();
}

long UIViewController::effectiveUserInterfaceStyle() const
{
    if (m_overrideUserInterfaceStyle != UIUserInterfaceStyleUnspecified)
        return m_overrideUserInterfaceStyle;
    if (m_view) {
        if (auto superview = m_view->superview())
            return superview->effectiveUserInterfaceStyle();
    }
    if (auto parent = parentViewController())
        return parent->effectiveUserInterfaceStyle();
    return UIUserInterfaceStyleArbiter::sharedInstance()->currentStyle();
}

Id UIViewController::traitCollectionImpl() const
{
    return UITraitCollection::traitCollectionWithUserInterfaceStyle(effectiveUserInterfaceStyle());
}

void UIViewController::setOverrideUserInterfaceStyleImpl(long style)
{
    m_overrideUserInterfaceStyle = style;
    if (!m_view || !m_view->window())
        return;
    auto superview = m_view->superview();
    m_view->deliverTraitsInSubtree(superview ? superview->effectiveUserInterfaceStyle()
                                             : UIUserInterfaceStyleArbiter::sharedInstance()->currentStyle());
}

void UIViewController::addChildViewControllerImpl(RefPtr<UIViewController> child)
{
    if (!child || child.get() == this || child->parentViewController().get() == this)
        return;
    msgSend<void>(child, SELECTOR("willMoveToParentViewController:"), this);
    if (auto previous = child->parentViewController()) {
        auto& siblings = previous->m_children;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), child), siblings.end());
    }
    m_children.push_back(child);
    child->m_parent = this;
}

void UIViewController::removeFromParentViewControllerImpl()
{
    auto parent = parentViewController();
    if (!parent)
        return;
    RefPtr<UIViewController> protect(this);
    auto& siblings = parent->m_children;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), protect), siblings.end());
    m_parent.clear();
    msgSend<void>(this, SELECTOR("didMoveToParentViewController:"), nullptr);
}

RefPtr<NSArray> UIViewController::childViewControllers() const
{
    return NSArray::arrayWithObjects(std::vector<Id>(m_children.begin(), m_children.end()));
}

RefPtr<UIViewController> UIViewController::navigationController() const
{
    // Looked up by name: the navigation controller is a class of its own module.
    Class navigationClass = objc_getClass("UINavigationController");
    if (!navigationClass)
        return nullptr;
    for (auto controller = parentViewController(); controller; controller = controller->parentViewController()) {
        if (controller->isKindOfClass(navigationClass))
            return controller;
    }
    return nullptr;
}

RefPtr<UINavigationItem> UIViewController::navigationItem()
{
    if (!m_navigationItem)
        m_navigationItem = UINavigationItem::create();
    return m_navigationItem;
}

RefPtr<NSString> UIViewController::title() const { return objectCast<NSString>(m_title); }
Id UIViewController::titleImpl() const { return title(); }

void UIViewController::setTitleImpl(id title)
{
    m_title = objectCast<NSString>(title);
    navigationItem()->setTitle(objectCast<NSString>(title));
}
