#pragma once

#include "platform/uikit/UILabel.h"

// A label drawn legibly over the wallpaper; its text is its "string".
class SBUILegibilityLabel : public UILabel {
    TW_OBJECT(SBUILegibilityLabel)
public:
    RefPtr<NSString> string() const { return text(); }
    void setString(NSString* string) { msgSend<void>(this, SELECTOR("setString:"), string); }

protected:
    SBUILegibilityLabel() = default;

private:
    Id stringImpl() const { return text(); }
    void setStringImpl(RefPtr<NSString> string) { setText(string.get()); }
};
