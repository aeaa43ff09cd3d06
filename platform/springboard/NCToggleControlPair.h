#pragma once

#include "platform/springboard/NCToggleControl.h"

#include <vector>

// Two toggle controls side by side, the trailing one at the right edge.
class NCToggleControlPair : public UIView {
    TW_OBJECT(NCToggleControlPair)
public:
    static RefPtr<NCToggleControlPair> create(std::string_view leadingTitle, std::string_view trailingTitle);

    RefPtr<NSArray> toggleControls() const;
    const std::vector<RefPtr<NCToggleControl>>& toggleControlList() const { return m_toggleControls; }

protected:
    NCToggleControlPair() = default;

private:
    void layoutSubviewsImpl();

    std::vector<RefPtr<NCToggleControl>> m_toggleControls;
};
