#pragma once

#include "platform/foundation/NSArray.h"
#include "platform/foundation/NSString.h"
#include "platform/uikit/UINavigationItem.h"
#include "platform/uikit/UIView.h"

#include <vector>


// Owns a root view, made lazily: the first `view` sends loadView then viewDidLoad through
// the runtime. Its root view's layout pass is wrapped in viewWillLayoutSubviews /
// viewDidLayoutSubviews; appearance transitions send viewWillAppear: / viewDidAppear: /
// viewWillDisappear: / viewDidDisappear: to it and then to its children.
class UIViewController : public UIResponder {
    TW_OBJECT(UIViewController)
public:
    // alloc + init through the runtime, for any class built from UIViewController.
    static RefPtr<UIViewController> createWithClass(Class cls);
    template<typename T = UIViewController>
    static RefPtr<T> create()
    {
        return objectCast<T>(createWithClass(T::classObject()));
    }

    RefPtr<UIView> view() { return msgSend<RefPtr<UIView>>(this, SELECTOR("view")); }
    void setView(UIView* view) { msgSend<void>(this, SELECTOR("setView:"), view); }
    bool isViewLoaded() const { return static_cast<bool>(m_view); }
    RefPtr<UIView> viewIfLoaded() const;

    void beginAppearanceTransition(bool isAppearing, bool animated)
    {
        msgSend<void>(this, SELECTOR("beginAppearanceTransition:animated:"), isAppearing, animated);
    }
    void endAppearanceTransition() { msgSend<void>(this, SELECTOR("endAppearanceTransition")); }

    void addChildViewController(UIViewController* child) { msgSend<void>(this, SELECTOR("addChildViewController:"), child); }
    void removeFromParentViewController() { msgSend<void>(this, SELECTOR("removeFromParentViewController")); }
    const std::vector<RefPtr<UIViewController>>& childViewControllerList() const { return m_children; }
    RefPtr<NSArray> childViewControllers() const;
    RefPtr<UIViewController> parentViewController() const { return m_parent.get(); }
    // The nearest ancestor controller of the class named "UINavigationController".
    RefPtr<UIViewController> navigationController() const;
    RefPtr<UINavigationItem> navigationItem();

    RefPtr<NSString> title() const;
    void setTitle(NSString* title) { msgSend<void>(this, SELECTOR("setTitle:"), title); }

    long overrideUserInterfaceStyle() const { return m_overrideUserInterfaceStyle; }
    void setOverrideUserInterfaceStyle(long style) { msgSend<void>(this, SELECTOR("setOverrideUserInterfaceStyle:"), style); }
    long effectiveUserInterfaceStyle() const;

    // For the system's trait propagation through the controller's view.
    using UIResponder::deliverUserInterfaceStyle;

    ~UIViewController() override;

protected:
    UIViewController();

private:
    Id initImpl() { return Id(this); }
    Id viewImpl();
    void setViewImpl(RefPtr<UIView> view);
    void loadViewImpl();
    void viewDidLoadImpl() { }
    Id viewIfLoadedImpl() const;
    void viewWillLayoutSubviewsImpl() { }
    void viewDidLayoutSubviewsImpl() { }
    void viewWillAppearImpl(bool) { }
    void viewDidAppearImpl(bool) { }
    void viewWillDisappearImpl(bool) { }
    void viewDidDisappearImpl(bool) { }
    void beginAppearanceTransitionImpl(bool isAppearing, bool animated);
    void endAppearanceTransitionImpl();
    Id nextResponderImpl() const;
    Id traitCollectionImpl() const;
    void traitCollectionDidChangeImpl(UITraitCollection*) { }
    void setOverrideUserInterfaceStyleImpl(long style);
    void addChildViewControllerImpl(RefPtr<UIViewController> child);
    void removeFromParentViewControllerImpl();
    void willMoveToParentViewControllerImpl(UIViewController*) { }
    void didMoveToParentViewControllerImpl(UIViewController*) { }
    Id childViewControllersImpl() const { return childViewControllers(); }
    Id parentViewControllerImpl() const { return parentViewController(); }
    Id navigationControllerImpl() const { return navigationController(); }
    Id navigationItemImpl() { return navigationItem(); }
    Id titleImpl() const;
    void setTitleImpl(id title);

    enum class AppearanceTransition { None, Appearing, Disappearing };

    RefPtr<UIView> m_view;
    WeakPtr<UIViewController> m_parent;
    std::vector<RefPtr<UIViewController>> m_children;
    RefPtr<UINavigationItem> m_navigationItem;
    RefPtr<Object> m_title;
    long m_overrideUserInterfaceStyle { 0 };
    AppearanceTransition m_transition { AppearanceTransition::None };
    bool m_transitionAnimated { false };
};
