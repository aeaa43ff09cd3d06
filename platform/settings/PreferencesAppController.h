#pragma once

#include "platform/settings/PSSpecifier.h"
#include "platform/uikit/UINavigationController.h"
#include "platform/uikit/UIWindow.h"

#include <string>
#include <vector>

// The Settings app: a 375 × 667 window whose root is the app's own navigation controller,
// starting on the list of installed settings entries (PSUIPrefsListController). An
// entry's bundle page is pushed inside a navigation controller of its own (bar hidden),
// so a page's navigationController.navigationController.navigationBar is the app's bar.
// Problems met on the way (bad specifier lists, missing bundles, actions nobody
// implements) are collected for the host to report; none stops the app.
// Registered class method: sharedApplication. Instance methods: openURL:, window,
// rootNavigationController, applicationWillEnterForeground.
class PreferencesAppController : public Object {
    TW_OBJECT(PreferencesAppController)
public:
    static RefPtr<PreferencesAppController> sharedApplication();
    static void reportProblem(std::string problem);
    static std::vector<std::string> takeProblems();

    // Makes the window and shows the entry list; later calls do nothing.
    void launch();
    RefPtr<UIWindow> window() const { return m_window; }
    RefPtr<UINavigationController> rootNavigationController() const { return m_navigationController; }
    // The page shown: the innermost top controller.
    RefPtr<UIViewController> currentPage() const;
    // The alert (or other controller) presented over the pages, if any.
    RefPtr<UIViewController> presentedController() const;
    // "prefs:root=NAME[&path=A/B]": back to the entry list, then the entry whose label
    // (else bundle) is NAME, then the links A, B in turn. False when a step is missing.
    bool openURL(std::string_view address);
    // Pops the innermost page that can be popped; false on the entry list.
    bool goBack();
    // The app returns from the background: "UIApplicationWillEnterForegroundNotification".
    void applicationWillEnterForeground();
    // Taps the link row labelled `label` on the current page; false when there is none
    // or it opens nothing.
    bool openLinkLabelled(std::string_view label);
    // Lays the window out as it is about to be shown.
    void layoutNow();

    ~PreferencesAppController() override;

protected:
    PreferencesAppController() = default;

private:
    static Id sharedApplicationImpl() { return sharedApplication(); }
    bool openURLImpl(Object* address);
    Id windowImpl() const { return m_window; }
    Id rootNavigationControllerImpl() const { return m_navigationController; }

    RefPtr<UIWindow> m_window;
    RefPtr<UINavigationController> m_navigationController;
};
