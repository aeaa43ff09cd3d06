#pragma once

#include "outside/cephei/HBListController.h"

// Every Tintwell sub-page: the link that opens it names its list ("TWLSub") and its title.
// Registered: init, setSpecifier:, loadFromSpecifier:, specifiers,
// shouldReloadSpecifiersOnResume, viewWillAppear:.
class TWLSubPrefsListController : public HBListController {
    TW_OBJECT(TWLSubPrefsListController)
protected:
    TWLSubPrefsListController() = default;

private:
    Id initImpl();
    void setSpecifierImpl(PSSpecifier* specifier);
    void loadFromSpecifierImpl(PSSpecifier* specifier);
    Id specifiersImpl() { return m_specifiers; }
    bool shouldReloadSpecifiersOnResumeImpl() const { return false; }
    void viewWillAppearImpl(bool animated);
};
