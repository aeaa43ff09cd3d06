#include "platform/settings/PSTableCell.h"

#include "platform/foundation/NSNumber.h"
#include "platform/graphics/UIImage.h"
#include "platform/uikit/UISegmentedControl.h"
#include "platform/uikit/UISlider.h"
#include "platform/uikit/UISwitch.h"
#include "platform/uikit/UITableView.h"
#include "platform/uikit/UITextField.h"

#include <cmath>
#include <cstdio>

namespace {

std::string numberText(double value)
{
    if (std::isfinite(value) && value == std::floor(value) && std::fabs(value) < 1e15)
        return std::to_string(static_cast<long long>(value));
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", value);
    return text;
}

// What a person reads for a value.
std::string describe(const Object* value)
{
    if (RefPtr<NSString> text = objectCast<NSString>(value))
        return text->utf8();
    if (RefPtr<NSNumber> number = objectCast<NSNumber>(value)) {
        switch (number->kind()) {
        case NSNumber::Kind::Bool:
            return number->boolValue() ? "true" : "false";
        case NSNumber::Kind::Integer:
            return std::to_string(number->integerValue());
        case NSNumber::Kind::Real:
            return numberText(number->doubleValue());
        }
    }
    return {};
}

bool truthy(const Object* value)
{
    if (RefPtr<NSNumber> number = objectCast<NSNumber>(value))
        return number->boolValue();
    if (RefPtr<NSString> text = objectCast<NSString>(value))
        return text->boolValue();
    return false;
}

double realValue(const Object* value, double fallback)
{
    if (RefPtr<NSNumber> number = objectCast<NSNumber>(value))
        return number->doubleValue();
    if (RefPtr<NSString> text = objectCast<NSString>(value))
        return text->doubleValue();
    return fallback;
}

} // namespace

Class PSTableCell::classObject()
{
    static Class cls = ClassBuilder<PSTableCell>("PSTableCell", UITableViewCell::classObject())
                           .method<&PSTableCell::initWithStyleSpecifierImpl>("initWithStyle:reuseIdentifier:specifier:")
                           .method<&PSTableCell::specifierImpl>("specifier")
                           .method<&PSTableCell::setSpecifierImpl>("setSpecifier:")
                           .method<&PSTableCell::type>("type")
                           .method<&PSTableCell::refreshCellContentsImpl>("refreshCellContentsWithSpecifier:")
                           .method<&PSTableCell::setValueImpl>("setValue:")
                           .method<&PSTableCell::valueImpl>("value")
                           .method<&PSTableCell::controlImpl>("control")
                           .method<&PSTableCell::controlChangedImpl>("controlChanged:")
                           .ivar<&PSTableCell::m_specifier>("_specifier")
                           .build();
    return cls;
}

PSTableCell::PSTableCell() = default;
PSTableCell::~PSTableCell() = default;

RefPtr<PSTableCell> PSTableCell::createForSpecifier(Class cls, PSSpecifier* specifier)
{
    if (!cls || !class_isSubclassOf(cls, classObject()))
        cls = classObject();
    auto object = class_createInstance(cls);
    std::string reuse = "PSTableCell-" + std::string(PSSpecifier::cellTypeName(specifier ? specifier->cellType() : PSStaticTextCell));
    auto cell = msgSend<RefPtr<PSTableCell>>(object, SELECTOR("initWithStyle:reuseIdentifier:specifier:"), long(UITableViewCellStyleValue1),
        NSString::string(reuse), specifier);
    if (!cell)
        return nullptr;
    msgSend<void>(cell, SELECTOR("refreshCellContentsWithSpecifier:"), specifier);
    return cell;
}

Id PSTableCell::initWithStyleSpecifierImpl(long style, RefPtr<NSString> reuseIdentifier, RefPtr<PSSpecifier> specifier)
{
    auto self = msgSendSuper<Id>(this, classObject(), SELECTOR("initWithStyle:reuseIdentifier:"), style, reuseIdentifier);
    if (!self)
        return nullptr;
    m_specifier = std::move(specifier);
    m_type = m_specifier ? m_specifier->cellType() : PSStaticTextCell;
    buildControl();
    return self;
}

RefPtr<NSArray> PSTableCell::validValues() const
{
    return m_specifier ? objectCast<NSArray>(m_specifier->propertyForKey("validValues")) : nullptr;
}

RefPtr<NSArray> PSTableCell::validTitles() const
{
    return m_specifier ? objectCast<NSArray>(m_specifier->propertyForKey("validTitles")) : nullptr;
}

std::string PSTableCell::titleForValue(const Object* value) const
{
    auto values = validValues();
    auto titles = validTitles();
    if (values && value) {
        NSUInteger index = values->indexOfObject(value);
        if (index != NSNotFound) {
            if (titles && index < titles->count())
                return describe(titles->objectAtIndex(index).get());
            return describe(values->objectAtIndex(index).get());
        }
    }
    return describe(value);
}

void PSTableCell::buildControl()
{
    switch (m_type) {
    case PSSwitchCell:
        m_control = UISwitch::create();
        setAccessoryView(m_control.get());
        break;
    case PSSliderCell: {
        auto slider = UISlider::create(CGRectMake(0, 0, 180, 31));
        slider->setMinimumValue(realValue(m_specifier->propertyForKey("min").get(), 0));
        slider->setMaximumValue(realValue(m_specifier->propertyForKey("max").get(), 1));
        m_control = slider;
        auto box = UIView::create(CGRectMake(0, 0, 230, 31));
        box->addSubview(slider.get());
        if (truthy(m_specifier->propertyForKey("showValue").get())) {
            m_sliderValueLabel = UILabel::create(CGRectMake(184, 0, 46, 31));
            m_sliderValueLabel->setTextAlignment(NSTextAlignmentRight);
            m_sliderValueLabel->setTextColor(UIColor::colorWithWhite(0.43, 1).get());
            box->addSubview(m_sliderValueLabel.get());
        }
        setAccessoryView(box.get());
        break;
    }
    case PSSegmentCell: {
        auto titles = validTitles();
        std::vector<Id> items;
        if (auto values = validValues()) {
            for (NSUInteger index = 0; index < values->count(); ++index) {
                auto title = titles && index < titles->count() ? titles->objectAtIndex(index) : values->objectAtIndex(index);
                items.push_back(NSString::string(describe(title.get())));
            }
        }
        auto segments = UISegmentedControl::createWithItems(NSArray::arrayWithObjects(std::move(items)).get());
        segments->setFrame(CGRectMake(0, 0, 60 * double(std::max<unsigned long>(1, segments->numberOfSegments())), 30));
        m_control = segments;
        setAccessoryView(segments.get());
        break;
    }
    case PSEditTextCell:
    case PSSecureEditTextCell: {
        auto field = UITextField::create();
        if (auto placeholder = m_specifier->stringProperty("placeholder"))
            field->setPlaceholder(NSString::string(*placeholder).get());
        m_control = field;
        setAccessoryView(field.get());
        break;
    }
    case PSLinkCell:
    case PSLinkListCell:
        setAccessoryType(UITableViewCellAccessoryDisclosureIndicator);
        break;
    default:
        break;
    }
    if (m_control) {
        unsigned long events = m_type == PSEditTextCell || m_type == PSSecureEditTextCell ? UITextField::editingDidEndEvent : UIControlEventValueChanged;
        m_control->addTarget(this, SELECTOR("controlChanged:"), events);
    }
}

void PSTableCell::refreshCellContentsImpl(PSSpecifier* specifier)
{
    if (specifier && specifier != m_specifier.get())
        m_specifier = specifier;
    if (!m_specifier)
        return;
    textLabel()->setText(m_specifier->name().get());
    if (m_type == PSButtonCell)
        textLabel()->setTextColor(UIColor::colorWithRed(0, 0.48, 1, 1).get());
    if (RefPtr<UIImage> icon = objectCast<UIImage>(m_specifier->propertyForKey("iconImage")))
        imageView()->setImage(icon.get());
    if (m_type != PSGroupCell && m_type != PSButtonCell && m_type != PSLinkCell)
        msgSend<void>(this, SELECTOR("setValue:"), m_specifier->performGetter().get());
}

void PSTableCell::setValueImpl(Object* value)
{
    m_value = Id(value);
    showValue();
}

void PSTableCell::showValue()
{
    switch (m_type) {
    case PSSwitchCell:
        if (RefPtr<UISwitch> toggle = objectCast<UISwitch>(m_control))
            toggle->setOn(truthy(m_value.get()));
        return;
    case PSSliderCell:
        if (RefPtr<UISlider> slider = objectCast<UISlider>(m_control)) {
            slider->setValue(realValue(m_value.get(), slider->minimumValue()));
            if (m_sliderValueLabel)
                m_sliderValueLabel->setText(std::string_view(numberText(slider->value())));
        }
        return;
    case PSSegmentCell:
        if (RefPtr<UISegmentedControl> segments = objectCast<UISegmentedControl>(m_control)) {
            auto values = validValues();
            long index = values && m_value ? static_cast<long>(values->indexOfObject(m_value.get())) : -1;
            segments->setSelectedSegmentIndex(values && index >= 0 && static_cast<NSUInteger>(index) < values->count() ? index : UISegmentedControl::noSegment);
        }
        return;
    case PSEditTextCell:
    case PSSecureEditTextCell:
        if (RefPtr<UITextField> field = objectCast<UITextField>(m_control))
            field->setText(NSString::string(describe(m_value.get())).get());
        return;
    case PSLinkListCell:
        detailTextLabel()->setText(std::string_view(titleForValue(m_value.get())));
        return;
    case PSStaticTextCell:
    case PSTitleValueCell:
        if (m_value)
            detailTextLabel()->setText(std::string_view(describe(m_value.get())));
        return;
    default:
        return;
    }
}

std::string PSTableCell::valueText() const
{
    switch (m_type) {
    case PSSwitchCell:
        if (RefPtr<UISwitch> toggle = objectCast<UISwitch>(m_control))
            return toggle->isOn() ? "on" : "off";
        return {};
    case PSSliderCell:
        if (RefPtr<UISlider> slider = objectCast<UISlider>(m_control))
            return numberText(slider->value());
        return {};
    case PSSegmentCell:
    case PSLinkListCell:
        return titleForValue(m_value.get());
    default:
        return describe(m_value.get());
    }
}

void PSTableCell::controlChangedImpl(Object* sender)
{
    if (!m_specifier || !m_control || sender != m_control.get())
        return;
    RefPtr<PSTableCell> protect(this);
    Id value;
    switch (m_type) {
    case PSSwitchCell:
        value = NSNumber::numberWithBool(objectCast<UISwitch>(m_control)->isOn());
        break;
    case PSSliderCell: {
        RefPtr<UISlider> slider = objectCast<UISlider>(m_control);
        if (auto step = sliderStep()) {
            // A segmented slider rests on its stops; whole stops are stored as integers.
            double stop = slider->minimumValue() + std::round((slider->value() - slider->minimumValue()) / *step) * *step;
            slider->setValue(stop);
            bool whole = *step == std::floor(*step) && slider->minimumValue() == std::floor(slider->minimumValue());
            value = whole ? NSNumber::numberWithInteger(std::lround(slider->value())) : NSNumber::numberWithDouble(slider->value());
        } else {
            value = NSNumber::numberWithDouble(slider->value());
        }
        if (m_sliderValueLabel)
            m_sliderValueLabel->setText(std::string_view(numberText(slider->value())));
        break;
    }
    case PSSegmentCell: {
        long index = objectCast<UISegmentedControl>(m_control)->selectedSegmentIndex();
        auto values = validValues();
        if (!values || index < 0)
            return;
        value = values->objectAtIndex(static_cast<NSUInteger>(index));
        break;
    }
    case PSEditTextCell:
    case PSSecureEditTextCell:
        value = objectCast<UITextField>(m_control)->text();
        break;
    default:
        return;
    }
    m_value = value;
    m_specifier->performSetterWithValue(value.get());
}

std::optional<double> PSTableCell::sliderStep() const
{
    RefPtr<UISlider> slider = objectCast<UISlider>(m_control);
    if (!slider || !truthy(m_specifier->propertyForKey("isSegmented").get()))
        return std::nullopt;
    double segments = std::floor(realValue(m_specifier->propertyForKey("segmentCount").get(), 0));
    double span = slider->maximumValue() - slider->minimumValue();
    if (!std::isfinite(segments) || segments < 1 || !std::isfinite(span) || span <= 0)
        return std::nullopt;
    return span / segments;
}

void PSTableCell::chooseValue(Object* value)
{
    if (!m_specifier)
        return;
    RefPtr<PSTableCell> protect(this);
    msgSend<void>(this, SELECTOR("setValue:"), value);
    m_specifier->performSetterWithValue(value);
}
