#include "platform/uikit/UIWindow.h"

#include "platform/uikit/UIUserInterfaceStyleArbiter.h"
#include "platform/uikit/UIViewController.h"

#include <algorithm>
#include <mutex>

namespace {

struct WindowList {
    std::mutex mutex;
    std::vector<WeakPtr<UIWindow>> windows;
    WeakPtr<UIWindow> keyWindow;
};

WindowList& windowList()
{
    static auto* list = new WindowList;
    return *list;
}

} // namespace

Class UIWindow::classObject()
{
    static Class cls = ClassBuilder<UIWindow>("UIWindow", UIView::classObject())
                           .method<&UIWindow::initWithFrameWindowImpl>("initWithFrame:")
                           .method<&UIWindow::rootViewControllerImpl>("rootViewController")
                           .method<&UIWindow::setRootViewControllerImpl>("setRootViewController:")
                           .method<&UIWindow::makeKeyAndVisibleImpl>("makeKeyAndVisible")
                           .method<&UIWindow::isKeyWindow>("isKeyWindow")
                           .ivar<&UIWindow::m_rootViewController>("_rootViewController")
                           .build();
    return cls;
}

UIWindow::UIWindow() = default;
UIWindow::~UIWindow() = default;

Id UIWindow::initWithFrameWindowImpl(CGRect frame)
{
    Id self = msgSendSuper<Id>(this, classObject(), SELECTOR("initWithFrame:"), frame);
    if (!self)
        return nullptr;
    {
        auto& list = windowList();
        std::lock_guard lock(list.mutex);
        std::erase_if(list.windows, [](auto& window) { return !window.get(); });
        list.windows.emplace_back(this);
    }
    deliverTraitsInSubtree(UIUserInterfaceStyleArbiter::sharedInstance()->currentStyle());
    return self;
}

std::vector<RefPtr<UIWindow>> UIWindow::allWindows()
{
    auto& list = windowList();
    std::lock_guard lock(list.mutex);
    std::vector<RefPtr<UIWindow>> windows;
    for (auto& weak : list.windows) {
        if (auto window = weak.get())
            windows.push_back(std::move(window));
    }
    return windows;
}

bool UIWindow::isKeyWindow() const
{
    auto& list = windowList();
    std::lock_guard lock(list.mutex);
    return list.keyWindow.get().get() == this;
}

RefPtr<UIWindow> UIWindow::keyWindow()
{
    auto& list = windowList();
    std::lock_guard lock(list.mutex);
    return list.keyWindow.get();
}

void UIWindow::makeKeyAndVisibleImpl()
{
    {
        auto& list = windowList();
        std::lock_guard lock(list.mutex);
        list.keyWindow = this;
    }
    setHidden(false);
}

void UIWindow::setRootViewControllerImpl(RefPtr<UIViewController> controller)
{
    if (controller.get() == m_rootViewController.get())
        return;
    RefPtr<UIWindow> protect(this);
    auto previous = std::exchange(m_rootViewController, controller);
    if (previous) {
        previous->beginAppearanceTransition(false, false);
        if (auto view = previous->viewIfLoaded(); view && view->superview().get() == this)
            view->removeFromSuperview();
        previous->endAppearanceTransition();
    }
    if (!controller)
        return;
    auto view = controller->view();
    if (!view)
        return;
    view->setFrame(bounds());
    controller->beginAppearanceTransition(true, false);
    addSubview(view.get());
    controller->endAppearanceTransition();
}

namespace {
bool switchingAppearance = false;
}

bool UIWindow::isSwitchingAppearance() { return switchingAppearance; }

void UIWindow::systemAppearanceDidChange()
{
    long style = UIUserInterfaceStyleArbiter::sharedInstance()->currentStyle();
    for (auto& window : allWindows()) {
        switchingAppearance = true;
        window->deliverTraitsInSubtree(style);
        switchingAppearance = false;
        window->layoutTreeNow();
    }
}
