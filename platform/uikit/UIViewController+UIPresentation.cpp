#include "platform/uikit/UIViewController+UIPresentation.h"

#include "platform/uikit/UIWindow.h"

#include <mutex>

namespace {

const char presentedKey = 0;
const char presentingKey = 0;

// The presenter, held weakly so an unfinished presentation keeps nothing alive.
class UIPresentationLink : public Object {
    TW_OBJECT(UIPresentationLink)
public:
    WeakPtr<UIViewController> presenter;

protected:
    UIPresentationLink() = default;
};

Class UIPresentationLink::classObject()
{
    static Class cls = ClassBuilder<UIPresentationLink>("_UIPresentationLink", Object::classObject()).build();
    return cls;
}

RefPtr<UIViewController> presentationContext(const UIViewController* controller)
{
    RefPtr<UIViewController> context(const_cast<UIViewController*>(controller));
    while (auto parent = context->parentViewController())
        context = parent;
    return context;
}

void invokeCompletion(id completion) { msgSendIfResponds<void>(completion, SELECTOR("invoke")); }

void presentImp(id self, SEL, id presented, bool animated, id completion)
{
    RefPtr<UIViewController> presenter = objectCast<UIViewController>(self);
    RefPtr<UIViewController> controller = objectCast<UIViewController>(presented);
    if (!presenter || !controller)
        return;
    auto context = presentationContext(presenter.get());
    if (objc_getAssociatedObject(context.get(), &presentedKey))
        return;
    auto link = make<UIPresentationLink>();
    link->presenter = context.get();
    objc_setAssociatedObject(controller.get(), &presentingKey, link.get(), OBJC_ASSOCIATION_RETAIN_NONATOMIC);
    objc_setAssociatedObject(context.get(), &presentedKey, controller.get(), OBJC_ASSOCIATION_RETAIN_NONATOMIC);
    auto contextView = context->viewIfLoaded();
    auto window = contextView ? contextView->window() : nullptr;
    controller->beginAppearanceTransition(true, animated);
    if (window) {
        auto view = controller->view();
        view->setFrame(window->bounds());
        window->addSubview(view.get());
        view->setNeedsLayoutInSubtree();
    }
    controller->endAppearanceTransition();
    invokeCompletion(completion);
}

void dismissImp(id self, SEL, bool animated, id completion)
{
    RefPtr<UIViewController> controller = objectCast<UIViewController>(self);
    if (!controller)
        return;
    // Sent to the presented controller or to its presenter: both dismiss the presentation.
    RefPtr<UIViewController> context;
    if (RefPtr<UIPresentationLink> link = objectCast<UIPresentationLink>(objc_getAssociatedObject(controller.get(), &presentingKey)))
        context = link->presenter.get();
    else
        context = presentationContext(controller.get());
    if (!context)
        return;
    RefPtr<UIViewController> presented = objectCast<UIViewController>(objc_getAssociatedObject(context.get(), &presentedKey));
    if (!presented)
        return;
    presented->beginAppearanceTransition(false, animated);
    if (auto view = presented->viewIfLoaded())
        view->removeFromSuperview();
    presented->endAppearanceTransition();
    objc_setAssociatedObject(presented.get(), &presentingKey, nullptr, OBJC_ASSOCIATION_RETAIN_NONATOMIC);
    objc_setAssociatedObject(context.get(), &presentedKey, nullptr, OBJC_ASSOCIATION_RETAIN_NONATOMIC);
    invokeCompletion(completion);
}

Id presentedImp(id self, SEL) { return UIViewControllerPresentation::presentedViewController(objectCast<UIViewController>(self)); }
Id presentingImp(id self, SEL) { return UIViewControllerPresentation::presentingViewController(objectCast<UIViewController>(self)); }

} // namespace

void UIViewControllerPresentation::install()
{
    static std::once_flag once;
    std::call_once(once, [] {
        Class cls = UIViewController::classObject();
        UIPresentationLink::classObject();
        class_addMethod(cls, sel_registerName("presentViewController:animated:completion:"), &presentImp);
        class_addMethod(cls, sel_registerName("dismissViewControllerAnimated:completion:"), &dismissImp);
        class_addMethod(cls, sel_registerName("presentedViewController"), &presentedImp);
        class_addMethod(cls, sel_registerName("presentingViewController"), &presentingImp);
    });
}

RefPtr<UIViewController> UIViewControllerPresentation::presentedViewController(const UIViewController* controller)
{
    if (!controller)
        return nullptr;
    auto context = presentationContext(controller);
    return objectCast<UIViewController>(objc_getAssociatedObject(context.get(), &presentedKey));
}

RefPtr<UIViewController> UIViewControllerPresentation::presentingViewController(const UIViewController* controller)
{
    if (!controller)
        return nullptr;
    RefPtr<UIPresentationLink> link = objectCast<UIPresentationLink>(objc_getAssociatedObject(const_cast<UIViewController*>(controller), &presentingKey));
    return link ? link->presenter.get() : nullptr;
}
