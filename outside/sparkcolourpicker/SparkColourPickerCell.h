#pragma once

#include "platform/settings/PSTableCell.h"

// libsparkcolourpicker's colour row, used by specifiers with "cellClass"
// "SparkColourPickerCell" and a "libsparkcolourpicker" dictionary: "defaults" (the
// colours file's domain), "fallback" (a colour text) and "alpha" (whether the picker
// offers opacity). It shows a swatch of the stored colour, else of the fallback (else an
// empty swatch: the row's reader, given no fallback either, gets no colour); a
// picked colour is written as "#RRGGBB:A.AA" under the row's "key" into
// "/var/mobile/Library/Preferences/<defaults>.plist" (read, empty when missing; set;
// write atomically), then the row's "PostNotification" is posted system-wide.
// Registered: refreshCellContentsWithSpecifier:, colourPicker:didSelectColour:,
// displayedColour, colourText.
class SparkColourPickerCell : public PSTableCell {
    TW_OBJECT(SparkColourPickerCell)
public:
    // The colour the swatch shows, and its text.
    RefPtr<UIColor> displayedColour() const;
    RefPtr<NSString> colourText() const;
    RefPtr<UIView> swatch() const { return m_swatch; }

    // What the picker does when a person picks a colour; nil is ignored.
    void pickColour(UIColor* colour) { msgSend<void>(this, SELECTOR("colourPicker:didSelectColour:"), nullptr, colour); }

protected:
    SparkColourPickerCell() = default;

private:
    void refreshImpl(PSSpecifier* specifier);
    void didSelectColourImpl(Object* picker, UIColor* colour);
    Id displayedColourImpl() const { return displayedColour(); }
    Id colourTextImpl() const { return colourText(); }
    RefPtr<NSDictionary> options() const;
    std::string domain() const;

    RefPtr<UIView> m_swatch;
};
