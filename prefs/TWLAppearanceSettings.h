#pragma once

#include "outside/cephei/HBAppearanceSettings.h"

// The colours every Tintwell settings page shows: a blue bar with white text and
// buttons, and no separators between rows.
class TWLAppearanceSettings : public HBAppearanceSettings {
    TW_OBJECT(TWLAppearanceSettings)
protected:
    TWLAppearanceSettings() = default;

private:
    Id tintColorImpl() const;
    Id whiteImpl() const;
    Id tableViewCellSeparatorColorImpl() const;
    Id navigationBarBackgroundColorImpl() const;
    bool translucentNavigationBarImpl() const { return false; }
};
