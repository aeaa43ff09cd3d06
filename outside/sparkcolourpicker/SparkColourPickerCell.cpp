#include "outside/sparkcolourpicker/SparkColourPickerCell.h"

#include "outside/sparkcolourpicker/SparkColourPickerUtils.h"
#include "platform/foundation/CFNotificationCenter.h"
#include "platform/foundation/CFPreferences.h"
#include "platform/foundation/NSNumber.h"
#include "platform/settings/PSListController.h"
#include "platform/settings/PreferencesAppController.h"

namespace {

bool isTrue(const Object* value)
{
    if (RefPtr<NSNumber> number = objectCast<NSNumber>(value))
        return number->boolValue();
    if (RefPtr<NSString> text = objectCast<NSString>(value))
        return text->boolValue();
    return false;
}

} // namespace

Class SparkColourPickerCell::classObject()
{
    static Class cls = ClassBuilder<SparkColourPickerCell>("SparkColourPickerCell", PSTableCell::classObject())
                           .method<&SparkColourPickerCell::refreshImpl>("refreshCellContentsWithSpecifier:")
                           .method<&SparkColourPickerCell::didSelectColourImpl>("colourPicker:didSelectColour:")
                           .method<&SparkColourPickerCell::displayedColourImpl>("displayedColour")
                           .method<&SparkColourPickerCell::colourTextImpl>("colourText")
                           .build();
    return cls;
}

RefPtr<NSDictionary> SparkColourPickerCell::options() const
{
    if (!m_specifier)
        return nullptr;
    return objectCast<NSDictionary>(m_specifier->propertyForKey("libsparkcolourpicker"));
}

std::string SparkColourPickerCell::domain() const
{
    auto settings = options();
    if (!settings)
        return {};
    RefPtr<NSString> defaults = objectCast<NSString>(settings->objectForStringKey("defaults"));
    return defaults ? defaults->utf8() : std::string();
}

RefPtr<NSString> SparkColourPickerCell::colourText() const
{
    if (!m_specifier)
        return nullptr;
    RefPtr<NSString> key = objectCast<NSString>(m_specifier->propertyForKey("key"));
    std::string defaults = domain();
    if (!key || defaults.empty())
        return nullptr;
    auto file = NSDictionary::sendDictionaryWithContentsOfFile(PSListController::domainPath(defaults));
    return file ? objectCast<NSString>(file->objectForKey(key.get())) : nullptr;
}

RefPtr<UIColor> SparkColourPickerCell::displayedColour() const
{
    auto settings = options();
    RefPtr<NSString> fallback = settings ? objectCast<NSString>(settings->objectForStringKey("fallback")) : nullptr;
    // Without a fallback a row with nothing picked shows no colour, as its reader gets none.
    if (!fallback)
        return SparkColourPickerUtils::sendColourWithString(colourText().get());
    return SparkColourPickerUtils::sendColourWithStringWithFallback(colourText().get(), fallback.get());
}

void SparkColourPickerCell::refreshImpl(PSSpecifier* specifier)
{
    msgSendSuper<void>(this, classObject(), SELECTOR("refreshCellContentsWithSpecifier:"), specifier);
    if (!m_swatch) {
        m_swatch = UIView::create(CGRectMake(0, 0, 29, 29));
        m_swatch->layer()->setCornerRadius(14.5);
        m_swatch->layer()->setBorderWidth(1);
        m_swatch->layer()->setBorderColor(UIColor::colorWithWhite(0.8, 1)->CGColor().get());
        setAccessoryView(m_swatch.get());
    }
    m_swatch->setBackgroundColor(displayedColour().get());
    if (auto text = colourText())
        m_value = text;
}

void SparkColourPickerCell::didSelectColourImpl(Object*, UIColor* colour)
{
    if (!colour || !m_specifier)
        return;
    RefPtr<NSString> key = objectCast<NSString>(m_specifier->propertyForKey("key"));
    std::string defaults = domain();
    std::string label = m_specifier->name() ? m_specifier->name()->utf8() : "a colour row";
    if (!key || defaults.empty()) {
        PreferencesAppController::reportProblem(label + ": the colour row names no \"key\" or colours file");
        return;
    }
    auto settings = options();
    bool alpha = settings && isTrue(settings->objectForStringKey("alpha").get());
    // Without the alpha option the picker offers opaque colours only.
    auto picked = alpha ? RefPtr<UIColor>(colour) : UIColor::colorWithRed(colour->red(), colour->green(), colour->blue(), 1);
    auto text = SparkColourPickerUtils::hexStringFromColour(picked.get());
    auto result = PSListController::writeDomainValue(defaults, text.get(), key.get());
    if (result != CFPreferences::WriteResult::Written) {
        PreferencesAppController::reportProblem(label + ": " + CFPreferences::describe(result, defaults));
        return;
    }
    m_value = text;
    if (m_swatch)
        m_swatch->setBackgroundColor(picked.get());
    auto notification = m_specifier->stringProperty("PostNotification");
    if (notification && !notification->empty())
        CFNotificationCenterPostNotification(CFNotificationCenterGetDarwinNotifyCenter(), NSString::string(*notification).get(), nullptr, nullptr, true);
}

// Specifier lists name the cell class ("cellClass"), so it is known once the library loads.
__attribute__((constructor)) static void registerColourPickerCell()
{
    SparkColourPickerCell::classObject();
}
