#pragma once

#include "platform/uikit/UIControl.h"
#include "platform/uikit/UILabel.h"

#include <vector>

// A row of titled segments of which at most one is selected (-1: none). The selected
// segment is filled with the tint colour, its title white.
class UISegmentedControl : public UIControl {
    TW_OBJECT(UISegmentedControl)
public:
    static constexpr long noSegment = -1;

    // alloc + initWithItems: through the runtime; items that are not strings show empty.
    static RefPtr<UISegmentedControl> createWithItems(NSArray* items);

    unsigned long numberOfSegments() const { return m_labels.size(); }
    RefPtr<NSString> titleForSegmentAtIndex(unsigned long index) const;
    long selectedSegmentIndex() const { return m_selectedSegmentIndex; }
    void setSelectedSegmentIndex(long index) { msgSend<void>(this, SELECTOR("setSelectedSegmentIndex:"), index); }

    // What a person's tap on a segment does: the selection, then the value-changed actions.
    void userSelectSegment(long index);

    ~UISegmentedControl() override;

protected:
    UISegmentedControl();

private:
    Id initWithItemsImpl(NSArray* items);
    Id titleForSegmentAtIndexImpl(unsigned long index) const { return titleForSegmentAtIndex(index); }
    void setSelectedSegmentIndexImpl(long index);
    void layoutSubviewsImpl();
    void tintColorDidChangeImpl() { updateLook(); }
    void updateLook();

    std::vector<RefPtr<UILabel>> m_labels;
    long m_selectedSegmentIndex { noSegment };
};
