#include "tools/preview/SettingsPane.h"

#include "platform/graphics/UIColor.h"
#include "platform/settings/PSListController.h"
#include "platform/settings/PreferencesAppController.h"
#include "platform/uikit/UIAlertController.h"
#include "platform/uikit/UIBarButtonItem.h"
#include "platform/uikit/UINavigationBar.h"
#include "platform/uikit/ViewSnapshot.h"
#include "tools/common/ScalarJSON.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <deque>
#include <utility>

namespace {

using nlohmann::json;

constexpr size_t maximumTextBytes = 1000;
// Links lead a few pages deep at most; a bundle linking in circles ends here.
constexpr size_t maximumDepth = 4;

std::string text(const NSString* string) { return string ? string->utf8() : std::string(); }

bool isColourPicker(const Object* cell)
{
    Class picker = objc_getClass("SparkColourPickerCell");
    return picker && cell && cell->isKindOfClass(picker);
}

std::string kindOf(const PSTableCell& cell)
{
    if (isColourPicker(&cell))
        return "colour";
    switch (cell.type()) {
    case PSSwitchCell:
        return "switch";
    case PSSliderCell:
        return "slider";
    case PSSegmentCell:
        return "segment";
    case PSLinkListCell:
        return "list";
    case PSEditTextCell:
    case PSSecureEditTextCell:
        return "text";
    case PSButtonCell:
        return "button";
    case PSLinkCell:
        return cell.specifier()->detailControllerClass() ? "link" : "static";
    default:
        return "static";
    }
}

double realProperty(const PSSpecifier& specifier, std::string_view key, double fallback)
{
    auto number = objectCast<NSNumber>(specifier.propertyForKey(key));
    return number ? number->doubleValue() : fallback;
}

bool truthy(const Object* value)
{
    auto number = objectCast<NSNumber>(value);
    return number && number->boolValue();
}

std::string numberText(double value)
{
    char buffer[32];
    auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
    return error == std::errc() ? std::string(buffer, end) : std::string();
}

bool isColourText(const std::string& value)
{
    if (value.size() != 7 || value[0] != '#')
        return false;
    for (size_t index = 1; index < value.size(); ++index) {
        if (!std::isxdigit(static_cast<unsigned char>(value[index])))
            return false;
    }
    return true;
}

// A choice's value given with another property-list type is a different value: 1 is not 1.0.
bool sameKind(const json& a, const json& b)
{
    return (a.is_number_integer() && b.is_number_integer()) || (a.is_number_float() && b.is_number_float()) || a.type() == b.type();
}

std::string joinPath(std::string_view parent, std::string_view label)
{
    return parent.empty() ? std::string(label) : std::string(parent) + "/" + std::string(label);
}

SettingsPane::Outcome refused(int status, std::string message) { return { status, std::move(message) }; }

} // namespace

SettingsPane::SettingsPane(std::string entryLabel)
    : m_entryLabel(std::move(entryLabel))
{
}

SettingsPane::~SettingsPane() = default;

void SettingsPane::collectProblems()
{
    for (auto& problem : PreferencesAppController::takeProblems())
        m_problems.push_back(std::move(problem));
}

std::vector<std::string> SettingsPane::takeProblems()
{
    collectProblems();
    return std::exchange(m_problems, {});
}

bool SettingsPane::open(std::string& error)
{
    m_session = std::make_unique<SettingsSession>();
    std::deque<std::string> waiting { "" };
    while (!waiting.empty()) {
        auto path = waiting.front();
        waiting.pop_front();
        if (!show(path)) {
            if (path.empty()) {
                error = "the settings entry \"" + m_entryLabel + "\" does not open";
                return false;
            }
            continue;
        }
        auto page = describeShownPage(path);
        m_pagePaths.push_back(path);
        m_pages.push_back(page);
        size_t depth = path.empty() ? 0 : std::count(path.begin(), path.end(), '/') + 1;
        for (auto& group : page["groups"]) {
            for (auto& row : group["rows"]) {
                // A label holding "/" cannot be told apart from two steps of a path.
                auto label = row["label"].get<std::string>();
                if (row["kind"] == "link" && depth < maximumDepth && label.find('/') == std::string::npos && !label.empty())
                    waiting.push_back(joinPath(path, label));
            }
        }
    }
    return true;
}

bool SettingsPane::show(std::string_view page)
{
    auto app = PreferencesAppController::sharedApplication();
    if (!app->openURL("prefs:root=" + m_entryLabel))
        return false;
    while (!page.empty()) {
        auto end = page.find('/');
        if (!app->openLinkLabelled(page.substr(0, end)))
            return false;
        page = end == std::string_view::npos ? std::string_view {} : page.substr(end + 1);
    }
    app->layoutNow();
    return true;
}

json SettingsPane::describeShownPage(std::string_view path) const
{
    auto app = PreferencesAppController::sharedApplication();
    json page = { { "path", std::string(path) }, { "title", text(app->rootNavigationController()->navigationBar()->displayedTitle().get()) } };
    json groups = json::array();
    auto list = objectCast<PSListController>(app->currentPage());
    if (list) {
        auto table = list->table();
        for (long section = 0; section < table->numberOfSections(); ++section) {
            json rows = json::array();
            for (long index = 0; index < table->numberOfRowsInSection(section); ++index) {
                auto cell = objectCast<PSTableCell>(table->cellForRowAtIndexPath(NSIndexPath::indexPathForRow(index, section).get()));
                if (!cell || !cell->specifier())
                    continue;
                auto& specifier = *cell->specifier();
                auto kind = kindOf(*cell);
                json row = {
                    { "label", text(specifier.name().get()) },
                    { "kind", kind },
                    { "key", scalarJSON(specifier.propertyForKey("key").get()) },
                    { "value", scalarJSON(cell->value().get()) },
                    { "display", cell->valueText() },
                };
                if (kind == "slider") {
                    double minimum = realProperty(specifier, "min", 0);
                    double maximum = realProperty(specifier, "max", 1);
                    row["min"] = minimum;
                    row["max"] = maximum;
                    double segments = std::floor(realProperty(specifier, "segmentCount", 0));
                    if (truthy(specifier.propertyForKey("isSegmented").get()) && segments >= 1 && maximum > minimum)
                        row["step"] = (maximum - minimum) / segments;
                    row["showValue"] = truthy(specifier.propertyForKey("showValue").get());
                }
                if (kind == "segment" || kind == "list") {
                    json choices = json::array();
                    auto values = cell->validValues();
                    auto titles = cell->validTitles();
                    for (NSUInteger choice = 0; values && choice < values->count(); ++choice) {
                        auto title = titles && choice < titles->count() ? scalarJSON(titles->objectAtIndex(choice).get()) : json();
                        auto value = scalarJSON(values->objectAtIndex(choice).get());
                        choices.push_back({ { "title", title.is_string() ? title : json(value.is_string() ? value : json(value.dump())) }, { "value", value } });
                    }
                    row["choices"] = choices;
                }
                if (kind == "colour") {
                    auto colour = objectCast<UIColor>(msgSend<Id>(cell.get(), SELECTOR("displayedColour")));
                    row["colour"] = colour ? ViewSnapshot::colorJSON(colour.get())["hex"] : json();
                }
                if (kind == "link")
                    row["page"] = joinPath(path, row["label"].get<std::string>());
                rows.push_back(std::move(row));
            }
            groups.push_back({ { "header", scalarJSON(table->headerTextInSection(section).get()) },
                { "footer", scalarJSON(table->footerTextInSection(section).get()) }, { "rows", rows } });
        }
        auto item = list->navigationItem();
        auto right = item ? objectCast<UIBarButtonItem>(item->rightBarButtonItem()) : nullptr;
        page["barButton"] = right && right->title() ? json(text(right->title().get())) : json();
    }
    page["groups"] = groups;
    return page;
}

json SettingsPane::pages()
{
    if (!alert().is_null())
        return m_pages;
    json fresh = json::array();
    for (auto& path : m_pagePaths) {
        if (show(path))
            fresh.push_back(describeShownPage(path));
    }
    m_pages = fresh;
    return m_pages;
}

json SettingsPane::alert() const
{
    auto shown = objectCast<UIAlertController>(PreferencesAppController::sharedApplication()->presentedController());
    if (!shown)
        return nullptr;
    json actions = json::array();
    for (auto& action : shown->actionList())
        actions.push_back({ { "title", text(action->title().get()) }, { "style", action->style() } });
    return { { "title", text(shown->title().get()) }, { "message", text(shown->message().get()) }, { "actions", actions } };
}

SettingsPane::Outcome SettingsPane::refuseWhileAlertShown() const
{
    if (!alert().is_null())
        return refused(409, "an alert is shown: answer it first");
    return {};
}

SettingsPane::Outcome SettingsPane::findPage(std::string_view page) const
{
    if (std::find(m_pagePaths.begin(), m_pagePaths.end(), page) == m_pagePaths.end())
        return refused(404, "no page \"" + std::string(page) + "\" among the pages of " + m_entryLabel);
    return {};
}

SettingsPane::Outcome SettingsPane::openForAction(std::string_view page)
{
    if (auto outcome = refuseWhileAlertShown(); !outcome.done())
        return outcome;
    if (auto outcome = findPage(page); !outcome.done())
        return outcome;
    if (!show(page))
        return refused(500, "the page \"" + std::string(page) + "\" does not open");
    return {};
}

SettingsPane::Outcome SettingsPane::change(std::string_view page, std::string_view key, const json& value)
{
    if (auto outcome = openForAction(page); !outcome.done())
        return outcome;
    auto shown = describeShownPage(page);
    std::vector<json> matches;
    for (auto& group : shown["groups"]) {
        for (auto& row : group["rows"]) {
            if (row["key"].is_string() && row["key"] == key)
                matches.push_back(row);
        }
    }
    if (matches.empty())
        return refused(404, "no setting \"" + std::string(key) + "\" on the page \"" + std::string(page) + "\"");
    if (matches.size() > 1)
        return refused(409, "the setting \"" + std::string(key) + "\" is on " + std::to_string(matches.size()) + " rows of the page");
    auto& row = matches.front();
    auto kind = row["kind"].get<std::string>();
    auto label = row["label"].get<std::string>();

    // The value becomes what a person does with the row's control.
    std::string action;
    if (kind == "switch") {
        if (!value.is_boolean())
            return refused(422, "\"" + label + "\" is a switch: its value is true or false");
        action = value.get<bool>() ? "on" : "off";
    } else if (kind == "slider") {
        double minimum = row["min"].get<double>();
        double maximum = row["max"].get<double>();
        if (!value.is_number() || !std::isfinite(value.get<double>()))
            return refused(422, "\"" + label + "\" is a slider: its value is a number");
        if (value.get<double>() < minimum || value.get<double>() > maximum)
            return refused(422, "\"" + label + "\" goes from " + numberText(minimum) + " to " + numberText(maximum) + ", not " + numberText(value.get<double>()));
        action = numberText(value.get<double>());
    } else if (kind == "segment" || kind == "list") {
        for (auto& choice : row["choices"]) {
            if (choice["value"] == value && sameKind(choice["value"], value))
                action = choice["title"].get<std::string>();
        }
        if (action.empty()) {
            std::string allowed;
            for (auto& choice : row["choices"])
                allowed += (allowed.empty() ? "" : ", ") + choice["value"].dump();
            return refused(422, "\"" + label + "\" takes one of " + allowed + ", not " + value.dump());
        }
    } else if (kind == "text") {
        if (!value.is_string())
            return refused(422, "\"" + label + "\" is a text field: its value is a string");
        action = value.get<std::string>();
        if (action.size() > maximumTextBytes || action.find('\0') != std::string::npos)
            return refused(422, "\"" + label + "\" takes a text of at most " + std::to_string(maximumTextBytes) + " bytes without NUL");
    } else if (kind == "colour") {
        if (!value.is_string() || !isColourText(value.get<std::string>()))
            return refused(422, "\"" + label + "\" is a colour: its value is a text \"#RRGGBB\"");
        action = value.get<std::string>();
    } else {
        return refused(422, "\"" + label + "\" has no value to set");
    }

    collectProblems();
    SettingsAction set;
    set.kind = SettingsAction::Kind::Set;
    set.label = "key:" + std::string(key);
    set.value = action;
    std::string error;
    if (!m_session->perform(set, error))
        return refused(422, error);
    // The Settings app refuses a write it cannot make safely and says so.
    auto problems = PreferencesAppController::takeProblems();
    if (!problems.empty()) {
        std::string message = "not stored:";
        for (auto& problem : problems) {
            message += " " + problem;
            m_problems.push_back(std::move(problem));
        }
        return refused(409, message);
    }
    return {};
}

SettingsPane::Outcome SettingsPane::tap(std::string_view page, std::string_view label)
{
    if (auto outcome = openForAction(page); !outcome.done())
        return outcome;
    auto shown = describeShownPage(page);
    bool found = shown["barButton"] == label;
    for (auto& group : shown["groups"]) {
        for (auto& row : group["rows"])
            found = found || (row["kind"] == "button" && row["label"] == label);
    }
    if (!found)
        return refused(404, "no button \"" + std::string(label) + "\" on the page \"" + std::string(page) + "\"");
    SettingsAction tap;
    tap.kind = SettingsAction::Kind::Tap;
    tap.label = label;
    std::string error;
    if (!m_session->perform(tap, error))
        return refused(409, error);
    return {};
}

SettingsPane::Outcome SettingsPane::answerAlert(std::string_view button)
{
    auto shown = alert();
    if (shown.is_null())
        return refused(409, "no alert is shown");
    bool found = false;
    for (auto& action : shown["actions"])
        found = found || action["title"] == button;
    if (!found)
        return refused(404, "the alert has no button \"" + std::string(button) + "\"");
    SettingsAction answer;
    answer.kind = SettingsAction::Kind::Alert;
    answer.label = button;
    std::string error;
    if (!m_session->perform(answer, error))
        return refused(409, error);
    return {};
}
