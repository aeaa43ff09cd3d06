#pragma once

#include "platform/settings/PSSpecifier.h"
#include "platform/uikit/UIControl.h"
#include "platform/uikit/UITableViewCell.h"

#include <optional>

// The cell of one specifier row. It builds what its cell type shows and reads its value
// through the specifier's getter:
// - PSSwitchCell: a switch (accessory), on when the value is true;
// - PSSliderCell: a slider between "min" and "max", with the value beside it when
//   "showValue" is true; with "isSegmented" true it rests on "segmentCount" equal steps
//   between them, and a value on whole steps is handed on as an integer;
// - PSSegmentCell: a segmented control of "validTitles" (else the values' texts), the
//   value's segment selected;
// - PSLinkListCell: the current value's title as detail, with a disclosure indicator;
// - PSEditTextCell: a text field with the value;
// - PSButtonCell: its title in the tint colour;
// - PSLinkCell: a disclosure indicator (and the entry's icon, property "iconImage");
// - PSStaticTextCell, PSTitleValueCell: the title and the value's text.
// A change of its control hands the new value, in the row's type, to the specifier's
// setter: a switch a boolean, a slider a real, a choice the element of "validValues"
// (so its property-list type is kept), a text field a string.
// Subclasses named by a specifier's "cellClass" (custom rows) override
// refreshCellContentsWithSpecifier: and do their own writing.
class PSTableCell : public UITableViewCell {
    TW_OBJECT(PSTableCell)
public:
    // alloc + initWithStyle:reuseIdentifier:specifier: of the class (PSTableCell when it is
    // not a PSTableCell subclass), then refreshCellContentsWithSpecifier:.
    static RefPtr<PSTableCell> createForSpecifier(Class cls, PSSpecifier* specifier);

    RefPtr<PSSpecifier> specifier() const { return m_specifier; }
    long type() const { return m_type; }
    RefPtr<UIControl> control() const { return m_control; }
    Id value() const { return m_value; }
    // The value shown, as text ("" when there is none); what a person reads on the row.
    std::string valueText() const;
    // The choices of a list or segment row: values and their titles.
    RefPtr<NSArray> validValues() const;
    RefPtr<NSArray> validTitles() const;
    // What picking a value on a list row's choices page does: the row shows it and hands
    // it to the specifier's setter.
    void chooseValue(Object* value);

    ~PSTableCell() override;

protected:
    PSTableCell();

    Id initWithStyleSpecifierImpl(long style, RefPtr<NSString> reuseIdentifier, RefPtr<PSSpecifier> specifier);
    void refreshCellContentsImpl(PSSpecifier* specifier);
    void setValueImpl(Object* value);

    RefPtr<PSSpecifier> m_specifier;
    Id m_value;

private:
    Id specifierImpl() const { return m_specifier; }
    void setSpecifierImpl(RefPtr<PSSpecifier> specifier) { m_specifier = std::move(specifier); }
    Id valueImpl() const { return m_value; }
    Id controlImpl() const { return m_control; }
    void controlChangedImpl(Object* sender);
    void buildControl();
    void showValue();
    std::string titleForValue(const Object* value) const;
    // The step of a segmented slider; nullopt for a free one.
    std::optional<double> sliderStep() const;

    long m_type { PSStaticTextCell };
    RefPtr<UIControl> m_control;
    RefPtr<UILabel> m_sliderValueLabel;
};
