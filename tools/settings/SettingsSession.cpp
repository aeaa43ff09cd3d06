#include "SettingsSession.h"

#include "platform/foundation/NSNumber.h"
#include "platform/graphics/UIColor.h"
#include "platform/foundation/NSRunLoop.h"
#include "platform/settings/PSListController.h"
#include "platform/uikit/UIAlertController.h"
#include "platform/uikit/UISegmentedControl.h"
#include "platform/uikit/UISlider.h"
#include "platform/uikit/UISwitch.h"
#include "platform/uikit/UITextField.h"
#include "platform/uikit/ViewRenderer.h"
#include "platform/uikit/ViewSnapshot.h"
#include "tools/common/ScalarJSON.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>

namespace {

std::string lower(std::string_view text)
{
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(), [](unsigned char c) { return std::tolower(c); });
    return result;
}

std::optional<bool> parseSwitch(std::string_view text)
{
    auto word = lower(text);
    if (word == "on" || word == "true" || word == "yes" || word == "1")
        return true;
    if (word == "off" || word == "false" || word == "no" || word == "0")
        return false;
    return std::nullopt;
}

std::optional<double> parseNumber(std::string_view text)
{
    double value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}


std::string text(const NSString* string) { return string ? string->utf8() : std::string(); }

// The Settings app knows the colour row only as the class its library registers when a
// bundle brings it in, as on the phone: the host links no outside library.
bool isColourPicker(const Object* cell)
{
    Class picker = objc_getClass("SparkColourPickerCell");
    return picker && cell && cell->isKindOfClass(picker);
}

// The index of the choice a person means: its title first, else its value's text.
std::optional<NSUInteger> choiceIndex(const PSTableCell& cell, std::string_view wanted)
{
    auto values = cell.validValues();
    if (!values)
        return std::nullopt;
    auto titles = cell.validTitles();
    for (int pass = 0; pass < 2; ++pass) {
        for (NSUInteger index = 0; index < values->count(); ++index) {
            auto candidate = pass == 0 ? (titles && index < titles->count() ? titles->objectAtIndex(index) : nullptr) : values->objectAtIndex(index);
            auto json = scalarJSON(candidate.get());
            std::string shown = json.is_string() ? json.get<std::string>() : json.is_null() ? std::string() : json.dump();
            if (!shown.empty() && shown == wanted)
                return index;
        }
    }
    return std::nullopt;
}

} // namespace

SettingsSession::SettingsSession()
    : m_app(PreferencesAppController::sharedApplication())
{
    m_app->launch();
    settle();
}

void SettingsSession::settle()
{
    m_app->layoutNow();
    NSRunLoop::mainRunLoop().runUntilIdle();
}

std::optional<SettingsSession::Row> SettingsSession::findRow(std::string_view address, std::string& error, bool* ambiguous) const
{
    RefPtr<PSListController> page = objectCast<PSListController>(m_app->currentPage());
    if (!page) {
        error = "this page has no rows";
        return std::nullopt;
    }
    struct Candidate {
        Row row;
        std::string group;
        std::string label;
        std::string key;
    };
    std::vector<Candidate> candidates;
    auto table = page->table();
    for (long section = 0; section < table->numberOfSections(); ++section) {
        auto header = scalarJSON(table->headerTextInSection(section).get());
        std::string group = header.is_string() ? header.get<std::string>() : std::string();
        for (long row = 0; row < table->numberOfRowsInSection(section); ++row) {
            auto path = NSIndexPath::indexPathForRow(row, section);
            RefPtr<PSTableCell> cell = objectCast<PSTableCell>(table->cellForRowAtIndexPath(path.get()));
            if (!cell || !cell->specifier())
                continue;
            auto key = scalarJSON(cell->specifier()->propertyForKey("key").get());
            candidates.push_back({ Row { cell, path }, group, text(cell->specifier()->name().get()), key.is_string() ? key.get<std::string>() : std::string() });
        }
    }

    auto trimmed = [](std::string_view part) {
        while (!part.empty() && part.front() == ' ')
            part.remove_prefix(1);
        while (!part.empty() && part.back() == ' ')
            part.remove_suffix(1);
        return std::string(part);
    };
    std::vector<const Candidate*> matches;
    auto collect = [&](auto&& accepts) {
        for (auto& candidate : candidates) {
            if (accepts(candidate))
                matches.push_back(&candidate);
        }
    };
    constexpr std::string_view keyPrefix = "key:";
    if (address.starts_with(keyPrefix)) {
        auto key = trimmed(address.substr(keyPrefix.size()));
        collect([&](const Candidate& c) { return !c.key.empty() && c.key == key; });
    } else {
        // A label holding "/" itself wins over reading the "/" as a group separator.
        collect([&](const Candidate& c) { return c.label == address; });
        auto slash = address.find('/');
        if (matches.empty() && slash != std::string_view::npos) {
            auto group = trimmed(address.substr(0, slash));
            auto label = trimmed(address.substr(slash + 1));
            collect([&](const Candidate& c) { return c.group == group && c.label == label; });
        }
    }

    if (matches.size() == 1)
        return matches.front()->row;
    if (matches.empty()) {
        error = "no row \"" + std::string(address) + "\" on this page";
        return std::nullopt;
    }
    // Changing the first of two rows without a word would change the wrong setting.
    if (ambiguous)
        *ambiguous = true;
    error = "\"" + std::string(address) + "\" is on " + std::to_string(matches.size()) + " rows of this page; name one:";
    for (auto* match : matches) {
        error += " \"" + match->group + "/" + match->label + "\"";
        if (!match->key.empty())
            error += " (key:" + match->key + ")";
    }
    return std::nullopt;
}

bool SettingsSession::setRow(const Row& row, const std::string& value, std::string& error)
{
    auto& cell = *row.cell;
    std::string label = text(cell.specifier()->name().get());
    if (isColourPicker(row.cell.get())) {
        auto colour = msgSendClass<Id>(objc_getClass("SparkColourPickerUtils"), SELECTOR("colourWithString:"), NSString::string(value));
        if (!objectCast<UIColor>(colour)) {
            error = "\"" + value + "\" is not a colour for \"" + label + "\"";
            return false;
        }
        msgSend<void>(row.cell.get(), SELECTOR("colourPicker:didSelectColour:"), nullptr, colour.get());
        return true;
    }
    switch (cell.type()) {
    case PSSwitchCell: {
        auto on = parseSwitch(value);
        RefPtr<UISwitch> toggle = objectCast<UISwitch>(cell.control());
        if (!on || !toggle) {
            error = "\"" + label + "\" is a switch: set it to on or off";
            return false;
        }
        toggle->userSetOn(*on);
        return true;
    }
    case PSSliderCell: {
        auto number = parseNumber(value);
        RefPtr<UISlider> slider = objectCast<UISlider>(cell.control());
        if (!number || !slider) {
            error = "\"" + label + "\" is a slider: set it to a number";
            return false;
        }
        slider->userSetValue(*number);
        return true;
    }
    case PSSegmentCell:
    case PSLinkListCell: {
        auto index = choiceIndex(cell, value);
        if (!index) {
            error = "\"" + value + "\" is not one of the choices of \"" + label + "\"";
            return false;
        }
        if (RefPtr<UISegmentedControl> segments = objectCast<UISegmentedControl>(cell.control()))
            segments->userSelectSegment(static_cast<long>(*index));
        else
            row.cell->chooseValue(cell.validValues()->objectAtIndex(*index).get());
        return true;
    }
    case PSEditTextCell:
    case PSSecureEditTextCell:
        if (RefPtr<UITextField> field = objectCast<UITextField>(cell.control())) {
            field->userEnterText(NSString::string(value).get());
            return true;
        }
        break;
    default:
        break;
    }
    error = "\"" + label + "\" has nothing to set";
    return false;
}

bool SettingsSession::tap(std::string_view label, std::string& error)
{
    std::string rowError;
    bool ambiguous = false;
    if (auto row = findRow(label, rowError, &ambiguous)) {
        RefPtr<PSListController> page = objectCast<PSListController>(m_app->currentPage());
        page->table()->selectRow(row->indexPath.get());
        return true;
    }
    if (ambiguous) {
        error = rowError;
        return false;
    }
    auto page = m_app->currentPage();
    auto item = page ? page->navigationItem() : nullptr;
    for (auto candidate : { item ? item->rightBarButtonItem() : nullptr, item ? item->leftBarButtonItem() : nullptr }) {
        RefPtr<UIBarButtonItem> button = objectCast<UIBarButtonItem>(candidate);
        if (button && button->title() && button->title()->view() == label) {
            if (!button->press())
                error = "the bar button \"" + std::string(label) + "\" does nothing";
            return error.empty();
        }
    }
    error = "no row or bar button \"" + std::string(label) + "\" on this page";
    return false;
}

bool SettingsSession::perform(const SettingsAction& action, std::string& error)
{
    using Kind = SettingsAction::Kind;
    bool done = true;
    RefPtr<UIAlertController> alert = objectCast<UIAlertController>(m_app->presentedController());
    if (alert && action.kind != Kind::Alert && action.kind != Kind::Wait && action.kind != Kind::Resume) {
        error = "an alert is shown: answer it first (\"alert BUTTON\")";
        return false;
    }
    switch (action.kind) {
    case Kind::Open:
        done = m_app->openLinkLabelled(action.label);
        if (!done)
            error = "no page opens from \"" + action.label + "\"";
        break;
    case Kind::URL:
        done = m_app->openURL(action.label);
        if (!done)
            error = "the address \"" + action.label + "\" leads nowhere";
        break;
    case Kind::Set: {
        auto row = findRow(action.label, error);
        if (!row)
            return false;
        done = setRow(*row, action.value, error);
        break;
    }
    case Kind::Tap:
        done = tap(action.label, error);
        break;
    case Kind::Scroll: {
        RefPtr<PSListController> page = objectCast<PSListController>(m_app->currentPage());
        if (!page) {
            error = "this page does not scroll";
            return false;
        }
        page->table()->setContentOffset(CGPointMake(0, action.number));
        break;
    }
    case Kind::Alert: {
        if (!alert) {
            error = "no alert is shown";
            return false;
        }
        auto button = alert->actionWithTitle(action.label);
        done = button && alert->chooseAction(button.get());
        if (!done)
            error = "the alert has no button \"" + action.label + "\"";
        break;
    }
    case Kind::Back:
        done = m_app->goBack();
        if (!done)
            error = "there is no page to go back to";
        break;
    case Kind::Resume:
        m_app->applicationWillEnterForeground();
        break;
    case Kind::Wait:
        NSRunLoop::mainRunLoop().runFor(action.number);
        break;
    }
    settle();
    return done;
}

nlohmann::json SettingsSession::dump() const
{
    m_app->layoutNow();
    auto page = m_app->currentPage();
    auto navigation = m_app->rootNavigationController();
    auto bar = navigation->navigationBar();
    nlohmann::json result;
    result["page"] = page ? page->className() : "";
    result["title"] = text(bar->displayedTitle().get());
    result["navigationBar"] = {
        { "barTintColor", ViewSnapshot::colorJSON(bar->barTintColor().get()) },
        { "tintColor", ViewSnapshot::colorJSON(bar->tintColor().get()) },
        { "titleColor", ViewSnapshot::colorJSON(bar->titleColor().get()) },
        { "translucent", bar->isTranslucent() },
        { "hairline", !bar->shadowImage() },
        { "backButton", bar->showsBackButton() },
    };
    auto item = page ? page->navigationItem() : nullptr;
    auto right = item ? objectCast<UIBarButtonItem>(item->rightBarButtonItem()) : nullptr;
    result["navigationBar"]["rightButton"] = right ? nlohmann::json(text(right->title().get())) : nlohmann::json(nullptr);
    result["navigationBar"]["titleView"] = item && item->titleView();

    result["alert"] = nullptr;
    if (RefPtr<UIAlertController> alert = objectCast<UIAlertController>(m_app->presentedController())) {
        nlohmann::json actions = nlohmann::json::array();
        for (auto& action : alert->actionList())
            actions.push_back({ { "title", text(action->title().get()) }, { "style", action->style() } });
        result["alert"] = { { "title", text(alert->title().get()) }, { "message", text(alert->message().get()) }, { "preferredStyle", alert->preferredStyle() }, { "actions", actions } };
    }

    nlohmann::json groups = nlohmann::json::array();
    if (RefPtr<PSListController> list = objectCast<PSListController>(page)) {
        auto table = list->table();
        result["contentOffset"] = table->contentOffset().y;
        result["separatorColor"] = ViewSnapshot::colorJSON(table->separatorColor().get());
        for (long section = 0; section < table->numberOfSections(); ++section) {
            nlohmann::json rows = nlohmann::json::array();
            for (long row = 0; row < table->numberOfRowsInSection(section); ++row) {
                RefPtr<PSTableCell> cell = objectCast<PSTableCell>(table->cellForRowAtIndexPath(NSIndexPath::indexPathForRow(row, section).get()));
                if (!cell || !cell->specifier())
                    continue;
                auto specifier = cell->specifier();
                nlohmann::json entry = {
                    { "label", text(specifier->name().get()) },
                    { "cell", std::string(PSSpecifier::cellTypeName(specifier->cellType())) },
                    { "cellClass", cell->className() },
                    { "key", scalarJSON(specifier->propertyForKey("key").get()) },
                    { "value", scalarJSON(cell->value().get()) },
                    { "display", cell->valueText() },
                };
                if (isColourPicker(cell.get())) {
                    auto colour = msgSend<Id>(cell.get(), SELECTOR("displayedColour"));
                    entry["colour"] = ViewSnapshot::colorJSON(objectCast<UIColor>(colour));
                }
                rows.push_back(std::move(entry));
            }
            groups.push_back({ { "header", scalarJSON(table->headerTextInSection(section).get()) },
                { "footer", scalarJSON(table->footerTextInSection(section).get()) },
                { "rows", rows } });
        }
    }
    result["groups"] = groups;
    return result;
}

bool SettingsSession::writePicture(const std::string& path, double scale) const
{
    m_app->layoutNow();
    return ViewRenderer::writePNG(m_app->window().get(), path, scale);
}
