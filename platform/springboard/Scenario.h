#pragma once

#include <filesystem>
#include <functional>
#include <nlohmann/json.hpp>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

class ScenarioRunner;

// A scenario file: timed system events and user actions for the home screen, checked
// completely before anything runs. The file is a JSON object
//   { "description": "...", "events": [ { "at": 0.5, "publish": { ... } }, ... ] }
// or just the array of events. Each event is an object with one event key (the event
// types are listed in ScenarioEventTypes), an optional "at" (seconds since the scenario
// started, on the host clock) and an optional "note" (ignored). Events run in order;
// an event's "at" may not lie before the scenario clock the events above it reached.
class Scenario {
public:
    struct Event {
        // 1-based position in the file, for messages.
        size_t number { 0 };
        std::string type;
        std::optional<double> at;
        std::function<void(ScenarioRunner&)> action;
    };

    // Scenarios are a few kilobytes; anything near these is not one, and is refused before
    // the JSON parser sees it.
    static constexpr size_t maximumFileBytes = 1024 * 1024;
    static constexpr size_t maximumNesting = 32;

    // Nullopt with a message naming the file and the faulty event when the file cannot be
    // read or does not describe a scenario.
    static std::optional<Scenario> load(const std::filesystem::path& file, std::string& error);
    static std::optional<Scenario> parseText(std::string_view text, const std::filesystem::path& folder, std::string& error);
    // Relative paths inside the scenario (artwork, icons) resolve against folder.
    static std::optional<Scenario> parse(const nlohmann::json& document, const std::filesystem::path& folder, std::string& error);

    const std::string& description() const { return m_description; }
    const std::vector<Event>& events() const { return m_events; }
    // The system-wide notifications its "waitFor" events wait for.
    const std::set<std::string>& awaitedNotifications() const { return m_awaitedNotifications; }

private:
    std::string m_description;
    std::vector<Event> m_events;
    std::set<std::string> m_awaitedNotifications;
};
