#pragma once

#include "platform/uikit/UINavigationBar.h"
#include "platform/uikit/UIViewController.h"

#include <vector>

// A stack of controllers of which the top one is shown below the navigation bar (or filling
// the view when the bar is hidden). Pushing and popping while on screen send the appearance
// messages in the phone's order: the leaving controller's viewWillDisappear:, the arriving
// one's viewWillAppear:, then viewDidDisappear: and viewDidAppear:. Navigation controllers
// nest: a navigation controller pushed inside another, with its own bar hidden, shows its
// pages under the outer bar.
class UINavigationController : public UIViewController {
    TW_OBJECT(UINavigationController)
public:
    // alloc + initWithRootViewController: through the runtime.
    static RefPtr<UINavigationController> createWithRoot(UIViewController* root);

    const std::vector<RefPtr<UIViewController>>& viewControllerList() const { return m_stack; }
    RefPtr<NSArray> viewControllers() const;
    RefPtr<UIViewController> topViewController() const;
    // The innermost page shown: through nested navigation controllers.
    RefPtr<UIViewController> deepestTopViewController() const;
    void pushViewController(UIViewController* controller, bool animated) { msgSend<void>(this, SELECTOR("pushViewController:animated:"), controller, animated); }
    RefPtr<UIViewController> popViewController(bool animated) { return msgSend<RefPtr<UIViewController>>(this, SELECTOR("popViewControllerAnimated:"), animated); }
    // Never nil.
    RefPtr<UINavigationBar> navigationBar() const { return m_navigationBar; }
    bool isNavigationBarHidden() const { return m_navigationBarHidden; }
    void setNavigationBarHidden(bool hidden) { msgSend<void>(this, SELECTOR("setNavigationBarHidden:"), hidden); }

    ~UINavigationController() override;

protected:
    UINavigationController();

private:
    Id initImpl();
    Id initWithRootViewControllerImpl(RefPtr<UIViewController> root);
    Id viewControllersImpl() const { return viewControllers(); }
    void setViewControllersImpl(NSArray* controllers, bool animated);
    Id topViewControllerImpl() const { return topViewController(); }
    void pushViewControllerImpl(RefPtr<UIViewController> controller, bool animated);
    Id popViewControllerImpl(bool animated);
    Id popToRootViewControllerImpl(bool animated);
    Id navigationBarImpl() const { return m_navigationBar; }
    void setNavigationBarHiddenImpl(bool hidden);
    void setNavigationBarHiddenAnimatedImpl(bool hidden, bool) { setNavigationBarHiddenImpl(hidden); }
    void loadViewImpl();
    void viewDidLayoutSubviewsImpl();

    bool isOnScreen() const;
    CGRect contentFrame() const;
    void installTopView();
    void transition(UIViewController* leaving, UIViewController* arriving, bool animated, const std::function<void()>& swap);
    void barsNeedLayout();

    std::vector<RefPtr<UIViewController>> m_stack;
    RefPtr<UINavigationBar> m_navigationBar;
    RefPtr<UIView> m_shownView;
    bool m_navigationBarHidden { false };
};
