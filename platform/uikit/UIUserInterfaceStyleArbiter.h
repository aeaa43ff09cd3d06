#pragma once

#include "platform/uikit/UITraitCollection.h"

// The system's record of the light/dark appearance. Extensions read its "_currentStyle"
// instance variable by name; the system's appearance switch calls setCurrentStyle, which
// sends traitCollectionDidChange: through every window tree and lays the windows out.
class UIUserInterfaceStyleArbiter : public Object {
    TW_OBJECT(UIUserInterfaceStyleArbiter)
public:
    // +[UIUserInterfaceStyleArbiter sharedInstance]; lives for the whole process.
    static RefPtr<UIUserInterfaceStyleArbiter> sharedInstance();

    long currentStyle() const { return m_currentStyle; }
    void setCurrentStyle(long style) { msgSend<void>(this, SELECTOR("setCurrentStyle:"), style); }

protected:
    UIUserInterfaceStyleArbiter() = default;

private:
    Id sharedInstanceImpl() const { return sharedInstance(); }
    void setCurrentStyleImpl(long style);

    long m_currentStyle { UIUserInterfaceStyleLight };
};
