#include "platform/uikit/UIView.h"

#include "platform/foundation/NSArray.h"
#include "platform/foundation/NSBlock.h"
#include "platform/uikit/UIUserInterfaceStyleArbiter.h"
#include "platform/uikit/UIViewController.h"
#include "platform/uikit/UIWindow.h"

#include <algorithm>
#include <atomic>

namespace {

std::atomic<long> s_animationCount { 0 };
std::atomic<double> s_lastAnimationDuration { 0 };
std::atomic<uint64_t> s_hiddenChanges { 0 };

} // namespace

Class UIView::classObject()
{
    static Class cls = ClassBuilder<UIView>("UIView", UIResponder::classObject())
                           .method<&UIView::initImpl>("init")
                           .method<&UIView::initWithFrameImpl>("initWithFrame:")
                           .method<&UIView::frame>("frame")
                           .method<&UIView::setFrameImpl>("setFrame:")
                           .method<&UIView::bounds>("bounds")
                           .method<&UIView::setBoundsImpl>("setBounds:")
                           .method<&UIView::center>("center")
                           .method<&UIView::setCenterImpl>("setCenter:")
                           .method<&UIView::superviewImpl>("superview")
                           .method<&UIView::subviewsImpl>("subviews")
                           .method<&UIView::windowImpl>("window")
                           .method<&UIView::isDescendantOfViewImpl>("isDescendantOfView:")
                           .method<&UIView::addSubviewImpl>("addSubview:")
                           .method<&UIView::insertSubviewAtIndexImpl>("insertSubview:atIndex:")
                           .method<&UIView::removeFromSuperviewImpl>("removeFromSuperview")
                           .method<&UIView::bringSubviewToFrontImpl>("bringSubviewToFront:")
                           .method<&UIView::sendSubviewToBackImpl>("sendSubviewToBack:")
                           .method<&UIView::didAddSubviewImpl>("didAddSubview:")
                           .method<&UIView::willRemoveSubviewImpl>("willRemoveSubview:")
                           .method<&UIView::willMoveToSuperviewImpl>("willMoveToSuperview:")
                           .method<&UIView::didMoveToSuperviewImpl>("didMoveToSuperview")
                           .method<&UIView::willMoveToWindowImpl>("willMoveToWindow:")
                           .method<&UIView::didMoveToWindowImpl>("didMoveToWindow")
                           .method<&UIView::isHidden>("isHidden")
                           .method<&UIView::setHiddenImpl>("setHidden:")
                           .method<&UIView::alpha>("alpha")
                           .method<&UIView::setAlphaImpl>("setAlpha:")
                           .method<&UIView::backgroundColor>("backgroundColor")
                           .method<&UIView::setBackgroundColorImpl>("setBackgroundColor:")
                           .method<&UIView::layerImpl>("layer")
                           .method<&UIView::clipsToBounds>("clipsToBounds")
                           .method<&UIView::setClipsToBoundsImpl>("setClipsToBounds:")
                           .method<&UIView::isOpaque>("isOpaque")
                           .method<&UIView::setOpaqueImpl>("setOpaque:")
                           .classFunction("animateWithDuration:animations:", &UIView::animateImpl)
                           .classFunction("animateWithDuration:animations:completion:", &UIView::animateCompletionImpl)
                           .method<&UIView::contentMode>("contentMode")
                           .method<&UIView::setContentModeImpl>("setContentMode:")
                           .method<&UIView::tag>("tag")
                           .method<&UIView::setTagImpl>("setTag:")
                           .method<&UIView::viewWithTagImpl>("viewWithTag:")
                           .method<&UIView::setNeedsLayoutImpl>("setNeedsLayout")
                           .method<&UIView::layoutIfNeededImpl>("layoutIfNeeded")
                           .method<&UIView::layoutSubviewsImpl>("layoutSubviews")
                           .method<&UIView::nextResponderImpl>("nextResponder")
                           .method<&UIView::traitCollectionImpl>("traitCollection")
                           .method<&UIView::traitCollectionDidChangeImpl>("traitCollectionDidChange:")
                           .method<&UIView::tintColorDidChangeImpl>("tintColorDidChange")
                           .method<&UIView::overrideUserInterfaceStyle>("overrideUserInterfaceStyle")
                           .method<&UIView::setOverrideUserInterfaceStyleImpl>("setOverrideUserInterfaceStyle:")
                           .method<&UIView::convertRectToViewImpl>("convertRect:toView:")
                           .ivar<&UIView::m_superview>("_superview")
                           .ivar<&UIView::m_layer>("_layer")
                           .ivar<&UIView::m_backgroundColor>("_backgroundColor")
                           .ivar<&UIView::m_viewDelegate>("_viewDelegate")
                           .ivar<&UIView::m_tag>("_tag")
                           .build();
    return cls;
}

UIView::UIView()
    : m_layer(CALayer::layer())
{
}

UIView::~UIView() = default;

RefPtr<UIView> UIView::createWithClass(Class cls, CGRect frame)
{
    if (!cls || !class_isSubclassOf(cls, classObject()))
        return nullptr;
    auto object = class_createInstance(cls);
    return msgSend<RefPtr<UIView>>(object, SELECTOR("initWithFrame:"), frame);
}

Id UIView::initWithFrameImpl(CGRect frame)
{
    m_frame = frame;
    return Id(this);
}

void UIView::setFrameImpl(CGRect frame)
{
    if (!CGSizeEqualToSize(frame.size, m_frame.size))
        m_needsLayout = true;
    m_frame = frame;
}

void UIView::setBoundsImpl(CGRect bounds)
{
    CGPoint keptCenter = center();
    m_boundsOrigin = bounds.origin;
    if (CGSizeEqualToSize(bounds.size, m_frame.size))
        return;
    m_frame = CGRectMake(keptCenter.x - bounds.size.width / 2, keptCenter.y - bounds.size.height / 2,
        bounds.size.width, bounds.size.height);
    m_needsLayout = true;
}

void UIView::setCenterImpl(CGPoint center)
{
    m_frame.origin = { center.x - m_frame.size.width / 2, center.y - m_frame.size.height / 2 };
}

RefPtr<NSArray> UIView::subviews() const
{
    return NSArray::arrayWithObjects(std::vector<Id>(m_subviews.begin(), m_subviews.end()));
}

Id UIView::subviewsImpl() const { return subviews(); }

RefPtr<UIWindow> UIView::window() const
{
    RefPtr<UIView> root(const_cast<UIView*>(this));
    while (auto parent = root->superview())
        root = parent;
    return objectCast<UIWindow>(root);
}

Id UIView::windowImpl() const { return window(); }

bool UIView::isDescendantOfView(const UIView* ancestor) const
{
    if (!ancestor)
        return false;
    for (RefPtr<UIView> view(const_cast<UIView*>(this)); view; view = view->superview()) {
        if (view.get() == ancestor)
            return true;
    }
    return false;
}

void UIView::addSubviewImpl(UIView* view)
{
    insertSubviewAtIndexImpl(view, static_cast<long>(m_subviews.size()));
}

void UIView::insertSubviewAtIndexImpl(UIView* view, long index)
{
    // Adding an ancestor would make the tree a cycle; the phone refuses it too.
    if (!view || isDescendantOfView(view))
        return;
    RefPtr<UIView> protect(view);
    auto clampedIndex = [&] { return std::clamp<long>(index, 0, static_cast<long>(m_subviews.size())); };

    if (view->superview().get() == this) {
        // Only the order changes: no move messages, as on the phone.
        m_subviews.erase(std::find_if(m_subviews.begin(), m_subviews.end(), [&](auto& child) { return child.get() == view; }));
        m_subviews.insert(m_subviews.begin() + clampedIndex(), protect);
        return;
    }

    msgSend<void>(view, SELECTOR("willMoveToSuperview:"), this);
    auto newWindow = window();
    bool windowChanges = view->window().get() != newWindow.get();
    if (windowChanges)
        view->willMoveToWindowInSubtree(newWindow.get());
    if (auto previous = view->superview())
        previous->detachSubview(view);
    m_subviews.insert(m_subviews.begin() + clampedIndex(), protect);
    view->m_superview = this;
    view->m_needsLayout = true;
    m_needsLayout = true;
    if (windowChanges)
        view->didMoveToWindowInSubtree();
    msgSend<void>(view, SELECTOR("didMoveToSuperview"));
    msgSend<void>(this, SELECTOR("didAddSubview:"), view);
    if (view->superview().get() == this && window())
        view->deliverTraitsInSubtree(effectiveUserInterfaceStyle());
}

void UIView::detachSubview(UIView* view)
{
    msgSend<void>(this, SELECTOR("willRemoveSubview:"), view);
    auto it = std::find_if(m_subviews.begin(), m_subviews.end(), [&](auto& child) { return child.get() == view; });
    if (it == m_subviews.end())
        return;
    // The view may be freed with the erase; the caller holds it when it still needs it.
    view->m_superview.clear();
    m_subviews.erase(it);
    m_needsLayout = true;
}

void UIView::removeFromSuperviewImpl()
{
    if (!superview())
        return;
    RefPtr<UIView> protect(this);
    msgSend<void>(this, SELECTOR("willMoveToSuperview:"), nullptr);
    // A willMoveToSuperview: replacement may already have moved the view.
    auto parent = superview();
    if (!parent)
        return;
    bool leavesWindow = static_cast<bool>(window());
    if (leavesWindow)
        willMoveToWindowInSubtree(nullptr);
    parent->detachSubview(this);
    if (leavesWindow)
        didMoveToWindowInSubtree();
    msgSend<void>(this, SELECTOR("didMoveToSuperview"));
}

void UIView::willMoveToWindowInSubtree(UIWindow* window)
{
    RefPtr<UIView> protect(this);
    msgSend<void>(this, SELECTOR("willMoveToWindow:"), window);
    // A hook may re-arrange the subtree; only views still in it hear of the move.
    auto children = m_subviews;
    for (auto& child : children) {
        if (child->m_superview.get().get() == this)
            child->willMoveToWindowInSubtree(window);
    }
}

void UIView::didMoveToWindowInSubtree()
{
    RefPtr<UIView> protect(this);
    msgSend<void>(this, SELECTOR("didMoveToWindow"));
    auto children = m_subviews;
    for (auto& child : children) {
        if (child->m_superview.get().get() == this)
            child->didMoveToWindowInSubtree();
    }
}

void UIView::bringSubviewToFrontImpl(UIView* view)
{
    auto it = std::find_if(m_subviews.begin(), m_subviews.end(), [&](auto& child) { return child.get() == view; });
    if (it == m_subviews.end())
        return;
    std::rotate(it, it + 1, m_subviews.end());
}

void UIView::sendSubviewToBackImpl(UIView* view)
{
    auto it = std::find_if(m_subviews.begin(), m_subviews.end(), [&](auto& child) { return child.get() == view; });
    if (it == m_subviews.end())
        return;
    std::rotate(m_subviews.begin(), it, it + 1);
}

RefPtr<UIView> UIView::viewWithTag(long tag) const
{
    if (m_tag == tag)
        return RefPtr<UIView>(const_cast<UIView*>(this));
    for (auto& child : m_subviews) {
        if (auto found = child->viewWithTag(tag))
            return found;
    }
    return nullptr;
}

void UIView::layoutTreeNow()
{
    setNeedsLayoutInSubtree();
    layoutIfNeeded();
}

void UIView::setNeedsLayoutInSubtree()
{
    m_needsLayout = true;
    for (auto& child : m_subviews)
        child->setNeedsLayoutInSubtree();
}

void UIView::layoutSubtreeIfNeeded()
{
    RefPtr<UIView> protect(this);
    if (m_needsLayout) {
        m_needsLayout = false;
        runLayoutPass();
    }
    // layoutSubviews may add or remove subviews; lay out those still here.
    auto children = m_subviews;
    for (auto& child : children) {
        if (child->m_superview.get().get() == this)
            child->layoutSubtreeIfNeeded();
    }
}

void UIView::runLayoutPass()
{
    auto controller = viewDelegate();
    if (controller)
        msgSend<void>(controller, SELECTOR("viewWillLayoutSubviews"));
    layoutSubviews();
    if (controller)
        msgSend<void>(controller, SELECTOR("viewDidLayoutSubviews"));
}

Id UIView::nextResponderImpl() const
{
    if (auto controller = viewDelegate())
        return controller;
    return superview();
}

RefPtr<UIViewController> UIView::viewDelegate() const { return m_viewDelegate.get(); }

long UIView::effectiveUserInterfaceStyle() const
{
    if (m_overrideUserInterfaceStyle != UIUserInterfaceStyleUnspecified)
        return m_overrideUserInterfaceStyle;
    if (auto controller = viewDelegate(); controller && controller->overrideUserInterfaceStyle() != UIUserInterfaceStyleUnspecified)
        return controller->overrideUserInterfaceStyle();
    return styleInheritedFromAbove();
}

long UIView::styleInheritedFromAbove() const
{
    if (auto parent = superview())
        return parent->effectiveUserInterfaceStyle();
    return UIUserInterfaceStyleArbiter::sharedInstance()->currentStyle();
}

Id UIView::traitCollectionImpl() const
{
    return UITraitCollection::traitCollectionWithUserInterfaceStyle(effectiveUserInterfaceStyle());
}

void UIView::setOverrideUserInterfaceStyleImpl(long style)
{
    m_overrideUserInterfaceStyle = style;
    if (window())
        deliverTraitsInSubtree(styleInheritedFromAbove());
}

void UIView::deliverTraitsInSubtree(long inheritedStyle)
{
    RefPtr<UIView> protect(this);
    long style = inheritedStyle;
    auto controller = viewDelegate();
    if (controller && controller->overrideUserInterfaceStyle() != UIUserInterfaceStyleUnspecified)
        style = controller->overrideUserInterfaceStyle();
    if (m_overrideUserInterfaceStyle != UIUserInterfaceStyleUnspecified)
        style = m_overrideUserInterfaceStyle;
    if (controller)
        controller->deliverUserInterfaceStyle(style);
    deliverUserInterfaceStyle(style);
    auto children = m_subviews;
    for (auto& child : children) {
        if (child->m_superview.get().get() == this)
            child->deliverTraitsInSubtree(style);
    }
}

CGRect UIView::convertRectToView(CGRect rect, const UIView* view) const
{
    CGPoint from = originInRootCoordinates();
    CGPoint to = view ? view->originInRootCoordinates() : CGPointZero;
    return CGRectMake(rect.origin.x + from.x - to.x, rect.origin.y + from.y - to.y, rect.size.width, rect.size.height);
}

CGPoint UIView::originInRootCoordinates() const
{
    CGPoint offset {};
    RefPtr<UIView> view(const_cast<UIView*>(this));
    // The root's own frame is where it sits on the screen, outside the tree's coordinates.
    for (auto parent = view->superview(); parent; view = parent, parent = parent->superview()) {
        offset.x += view->m_frame.origin.x - view->m_boundsOrigin.x;
        offset.y += view->m_frame.origin.y - view->m_boundsOrigin.y;
    }
    return offset;
}

void UIView::animateWithDuration(double duration, id animations, id completion)
{
    s_animationCount.fetch_add(1);
    s_lastAnimationDuration.store(duration);
    msgSend<void>(animations, SELECTOR("invoke"));
    msgSend<void>(completion, SELECTOR("invoke"));
}

void UIView::sendAnimateWithDuration(double duration, id animations)
{
    msgSendClass<void>(classObject(), SELECTOR("animateWithDuration:animations:"), duration, animations);
}

void UIView::sendAnimateWithDuration(double duration, id animations, id completion)
{
    msgSendClass<void>(classObject(), SELECTOR("animateWithDuration:animations:completion:"), duration, animations, completion);
}

void UIView::animateWithDuration(double duration, const std::function<void()>& animations, const std::function<void()>& completion)
{
    s_animationCount.fetch_add(1);
    s_lastAnimationDuration.store(duration);
    if (animations)
        animations();
    if (completion)
        completion();
}

long UIView::animationCount() { return s_animationCount.load(); }

void UIView::setHiddenImpl(bool hidden)
{
    if (m_hidden == hidden)
        return;
    m_hidden = hidden;
    s_hiddenChanges.fetch_add(1, std::memory_order_relaxed);
}

uint64_t UIView::hiddenChangeCount() { return s_hiddenChanges.load(std::memory_order_relaxed); }
double UIView::lastAnimationDuration() { return s_lastAnimationDuration.load(); }
