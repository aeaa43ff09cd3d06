#pragma once

#include <filesystem>
#include <functional>
#include <nlohmann/json.hpp>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

class ScenarioRunner;

// A scenario file that does not say what it means; the message names the fault.
class ScenarioError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// What a parser knows while reading the events top to bottom.
struct ScenarioParseContext {
    // The scenario file's folder: relative paths resolve against it.
    std::filesystem::path folder;
    // Names given to notifications by the publish events read so far.
    std::set<std::string> notificationNames;
    // System-wide notifications the scenario waits for; observed from the start of the run.
    std::set<std::string> awaitedNotifications;
    // Names of the snapshot events read so far.
    std::set<std::string> snapshotNames;
    // The whole event object, for event types that take keys beside their own.
    const nlohmann::json* event { nullptr };
};

// One checked event, ready to run.
struct ScenarioStep {
    // Scenario times and clock moves stay within a day, so a repeating timer cannot make a
    // run endless.
    static constexpr double maximumSeconds = 86400;

    std::function<void(ScenarioRunner&)> action;
    // How far the event moves the scenario clock, for checking later "at" times.
    double advancesClockBy { 0 };
};

// The table of event types: the event key of the file, and the parser that checks its
// value and returns the step. Adding an event type is adding one row (and its parser)
// to ScenarioEventTypes.cpp. A parser throws ScenarioError for a value of the wrong shape.
struct ScenarioEventType {
    std::string_view key;
    ScenarioStep (*parse)(const nlohmann::json& value, ScenarioParseContext&);
    // Keys the event may carry beside its own, "at" and "note" (waitFor's "timeout").
    std::vector<std::string_view> siblingKeys {};
};

const std::vector<ScenarioEventType>& scenarioEventTypes();
// Nullptr for an unknown key.
const ScenarioEventType* findScenarioEventType(std::string_view key);
