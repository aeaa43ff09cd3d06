#pragma once

#include "platform/uikit/UIViewController.h"

// The root of a view tree shown on screen. Its trait style is its own
// overrideUserInterfaceStyle, or else the system's appearance (the arbiter).
class UIWindow : public UIView {
    TW_OBJECT(UIWindow)
public:
    static RefPtr<UIWindow> create(CGRect frame) { return UIView::create<UIWindow>(frame); }

    RefPtr<UIViewController> rootViewController() const { return m_rootViewController; }
    // Installs the controller's view filling the window; the previous root controller
    // disappears and the new one appears.
    void setRootViewController(UIViewController* controller) { msgSend<void>(this, SELECTOR("setRootViewController:"), controller); }
    void makeKeyAndVisible() { msgSend<void>(this, SELECTOR("makeKeyAndVisible")); }
    bool isKeyWindow() const;
    static RefPtr<UIWindow> keyWindow();

    // Live windows, oldest first.
    static std::vector<RefPtr<UIWindow>> allWindows();
    // The system's appearance changed: every window tree gets traitCollectionDidChange:
    // where its style changed, then is laid out.
    static void systemAppearanceDidChange();
    // True while a light/dark switch is being delivered, as opposed to a view joining a
    // window, which takes the window's style at once.
    static bool isSwitchingAppearance();

    ~UIWindow() override;

protected:
    UIWindow();

private:
    Id initWithFrameWindowImpl(CGRect frame);
    Id rootViewControllerImpl() const { return m_rootViewController; }
    void setRootViewControllerImpl(RefPtr<UIViewController> controller);
    void makeKeyAndVisibleImpl();

    RefPtr<UIViewController> m_rootViewController;
};
