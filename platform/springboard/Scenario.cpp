#include "platform/springboard/Scenario.h"

#include "platform/springboard/ScenarioEventTypes.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>

using nlohmann::json;

namespace {

constexpr double maximumSeconds = ScenarioStep::maximumSeconds;

std::string typeName(const json& value)
{
    return value.type_name();
}

bool isSiblingKey(std::string_view key)
{
    for (auto& type : scenarioEventTypes()) {
        if (std::find(type.siblingKeys.begin(), type.siblingKeys.end(), key) != type.siblingKeys.end())
            return true;
    }
    return false;
}

// The one event key of an event object, with its value.
std::pair<const ScenarioEventType*, const json*> eventKey(const json& event)
{
    const ScenarioEventType* type = nullptr;
    const json* value = nullptr;
    std::vector<std::string> siblings;
    for (auto& [key, member] : event.items()) {
        if (key == "at" || key == "note")
            continue;
        if (isSiblingKey(key)) {
            siblings.push_back(key);
            continue;
        }
        auto* found = findScenarioEventType(key);
        if (!found)
            throw ScenarioError("unknown event type \"" + key + "\"");
        if (type)
            throw ScenarioError("more than one event type (\"" + std::string(type->key) + "\" and \"" + key + "\"); give each its own event");
        type = found;
        value = &member;
    }
    if (!type)
        throw ScenarioError("no event type");
    for (auto& key : siblings) {
        if (std::find(type->siblingKeys.begin(), type->siblingKeys.end(), key) == type->siblingKeys.end())
            throw ScenarioError("\"" + key + "\" does not belong to a \"" + std::string(type->key) + "\" event");
    }
    return { type, value };
}

// Arrays and objects open deeper than the limit, outside strings; a JSON text that is
// malformed in other ways is left for the parser to name.
bool nestsDeeperThan(std::string_view text, size_t limit)
{
    size_t depth = 0;
    bool inString = false;
    for (size_t index = 0; index < text.size(); ++index) {
        char c = text[index];
        if (inString) {
            if (c == '\\')
                ++index;
            else if (c == '"')
                inString = false;
        } else if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            if (++depth > limit)
                return true;
        } else if ((c == ']' || c == '}') && depth) {
            --depth;
        }
    }
    return false;
}

// Messages quote the file's own texts; control characters in them must not reach a
// terminal, and one message stays one readable line. The parser's own messages quote the
// bytes it stopped at, which need not be UTF-8, so those escape every byte past ASCII.
std::string printable(std::string_view text, bool asciiOnly = false)
{
    constexpr size_t longest = 400;
    std::string result;
    for (unsigned char c : text) {
        if (result.size() >= longest && (asciiOnly || (c & 0xC0) != 0x80))
            return result + "...";
        if (c < 0x20 || c == 0x7F || (asciiOnly && c > 0x7F)) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
            result += escaped;
        } else {
            result += char(c);
        }
    }
    return result;
}

std::optional<double> eventTime(const json& event, double clock)
{
    auto found = event.find("at");
    if (found == event.end())
        return std::nullopt;
    if (!found->is_number())
        throw ScenarioError("\"at\" must be a number of seconds, not " + typeName(*found));
    double at = found->get<double>();
    if (!std::isfinite(at) || at < 0 || at > maximumSeconds)
        throw ScenarioError("\"at\" must be between 0 and " + std::to_string(long(maximumSeconds)) + " seconds");
    if (at < clock) {
        std::ostringstream message;
        message << "\"at\" " << at << " lies before the scenario clock " << clock << " reached by the events above; events run in order";
        throw ScenarioError(message.str());
    }
    return at;
}

} // namespace

std::optional<Scenario> Scenario::load(const std::filesystem::path& file, std::string& error)
{
    std::ifstream stream(file, std::ios::binary);
    if (!stream) {
        error = file.string() + ": cannot be read";
        return std::nullopt;
    }
    // Read one byte past the limit, so a device or a pipe that never ends is refused too.
    std::string text(maximumFileBytes + 1, '\0');
    stream.read(text.data(), std::streamsize(text.size()));
    if (stream.bad()) {
        error = file.string() + ": cannot be read";
        return std::nullopt;
    }
    text.resize(size_t(stream.gcount()));
    auto scenario = parseText(text, file.parent_path(), error);
    if (!scenario)
        error = file.string() + ": " + error;
    return scenario;
}

std::optional<Scenario> Scenario::parseText(std::string_view text, const std::filesystem::path& folder, std::string& error)
{
    if (text.size() > maximumFileBytes) {
        error = "larger than " + std::to_string(maximumFileBytes / 1024) + " KiB; a scenario is a few kilobytes";
        return std::nullopt;
    }
    if (nestsDeeperThan(text, maximumNesting)) {
        error = "arrays and objects nested deeper than " + std::to_string(maximumNesting);
        return std::nullopt;
    }
    json document;
    try {
        document = json::parse(text);
    } catch (const json::out_of_range& fault) {
        // The parser's only range fault: a number beyond what a double holds.
        error = "a number out of range (" + printable(fault.what(), true) + ")";
        return std::nullopt;
    } catch (const json::exception& fault) {
        error = "not JSON (" + printable(fault.what(), true) + ")";
        return std::nullopt;
    }
    return parse(document, folder, error);
}

std::optional<Scenario> Scenario::parse(const json& document, const std::filesystem::path& folder, std::string& error)
{
    Scenario scenario;
    const json* events = &document;
    if (document.is_object()) {
        for (auto& [key, member] : document.items()) {
            if (key != "events" && key != "description") {
                error = "unknown top-level key \"" + printable(key) + "\" (a scenario has \"description\" and \"events\")";
                return std::nullopt;
            }
        }
        auto description = document.find("description");
        if (description != document.end()) {
            if (!description->is_string()) {
                error = "\"description\" must be a string";
                return std::nullopt;
            }
            scenario.m_description = description->get<std::string>();
        }
        auto found = document.find("events");
        if (found == document.end()) {
            error = "no \"events\" array";
            return std::nullopt;
        }
        events = &*found;
    }
    if (!events->is_array()) {
        error = "a scenario is an array of events or an object with an \"events\" array, not " + typeName(*events);
        return std::nullopt;
    }

    ScenarioParseContext context;
    context.folder = folder;
    double clock = 0;
    size_t number = 0;
    for (auto& event : *events) {
        ++number;
        std::string type;
        try {
            if (!event.is_object())
                throw ScenarioError("an event is an object, not " + typeName(event));
            auto [eventType, value] = eventKey(event);
            type = eventType->key;
            auto at = eventTime(event, clock);
            if (at)
                clock = *at;
            context.event = &event;
            ScenarioStep step = eventType->parse(*value, context);
            context.event = nullptr;
            clock += step.advancesClockBy;
            if (clock > maximumSeconds)
                throw ScenarioError("the scenario clock would pass " + std::to_string(long(maximumSeconds)) + " seconds (one day)");
            scenario.m_events.push_back({ number, type, at, std::move(step.action) });
        } catch (const ScenarioError& fault) {
            error = "event " + std::to_string(number);
            if (!type.empty())
                error += " (\"" + type + "\")";
            error += ": " + printable(fault.what());
            return std::nullopt;
        }
    }
    scenario.m_awaitedNotifications = std::move(context.awaitedNotifications);
    return scenario;
}
