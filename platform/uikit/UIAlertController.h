#pragma once

#include "platform/uikit/UIAlertAction.h"
#include "platform/uikit/UIViewController.h"

#include <vector>

enum UIAlertControllerStyle : long {
    UIAlertControllerStyleActionSheet = 0,
    UIAlertControllerStyleAlert = 1,
};

// A title, a message and buttons in the order they were added, shown over a dimmed screen
// once presented. A person's choice dismisses the alert, then runs the chosen action's
// handler.
class UIAlertController : public UIViewController {
    TW_OBJECT(UIAlertController)
public:
    static RefPtr<UIAlertController> alertControllerWithTitle(NSString* title, NSString* message, long preferredStyle);

    RefPtr<NSString> message() const { return m_message; }
    long preferredStyle() const { return m_preferredStyle; }
    const std::vector<RefPtr<UIAlertAction>>& actionList() const { return m_actions; }
    RefPtr<NSArray> actions() const;
    void addAction(UIAlertAction* action) { msgSend<void>(this, SELECTOR("addAction:"), action); }

    // What a person's tap on the button does. False for an unknown or disabled action.
    bool chooseAction(UIAlertAction* action);
    // The first enabled action with that title, or nil.
    RefPtr<UIAlertAction> actionWithTitle(std::string_view title) const;

    ~UIAlertController() override;

protected:
    UIAlertController();

private:
    static Id alertControllerImpl(NSString* title, NSString* message, long preferredStyle) { return alertControllerWithTitle(title, message, preferredStyle); }
    Id messageImpl() const { return m_message; }
    void setMessageImpl(RefPtr<NSString> message) { m_message = std::move(message); }
    Id actionsImpl() const { return actions(); }
    void addActionImpl(RefPtr<UIAlertAction> action);
    void loadViewImpl();
    void viewDidLayoutSubviewsImpl();

    RefPtr<NSString> m_message;
    long m_preferredStyle { UIAlertControllerStyleAlert };
    std::vector<RefPtr<UIAlertAction>> m_actions;
    RefPtr<UIView> m_box;
};
