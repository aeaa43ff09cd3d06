#include "SettingsScript.h"

#include <charconv>
#include <cmath>
#include <fstream>

namespace {

std::string_view trim(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t' || text.front() == '\r'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r' || text.back() == '\n'))
        text.remove_suffix(1);
    return text;
}

std::optional<double> parseNumber(std::string_view text)
{
    double value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

} // namespace

std::optional<SettingsAction> SettingsAction::parse(std::string_view line, std::string& error, bool& skip)
{
    skip = false;
    line = trim(line);
    if (line.empty() || line.front() == '#') {
        skip = true;
        return std::nullopt;
    }
    auto space = line.find_first_of(" \t");
    std::string_view verb = line.substr(0, space);
    std::string_view rest = space == std::string_view::npos ? std::string_view {} : trim(line.substr(space + 1));
    SettingsAction action;
    action.source = std::string(line);
    auto needs = [&](const char* what) {
        if (!rest.empty())
            return true;
        error = "\"" + std::string(verb) + "\" needs " + what;
        return false;
    };
    if (verb == "open" || verb == "tap" || verb == "alert" || verb == "url") {
        if (!needs(verb == "alert" ? "a button title" : verb == "url" ? "an address" : "a row label"))
            return std::nullopt;
        action.kind = verb == "open" ? Kind::Open : verb == "tap" ? Kind::Tap : verb == "alert" ? Kind::Alert : Kind::URL;
        action.label = std::string(rest);
        return action;
    }
    if (verb == "set") {
        auto equals = rest.find('=');
        if (equals == std::string_view::npos || trim(rest.substr(0, equals)).empty()) {
            error = "\"set\" needs LABEL = VALUE";
            return std::nullopt;
        }
        action.kind = Kind::Set;
        action.label = std::string(trim(rest.substr(0, equals)));
        action.value = std::string(trim(rest.substr(equals + 1)));
        return action;
    }
    if (verb == "scroll" || verb == "wait") {
        auto number = parseNumber(rest);
        if (!number || (verb == "wait" && *number < 0)) {
            error = "\"" + std::string(verb) + "\" needs " + (verb == "wait" ? "a non-negative number of seconds" : "a number of points");
            return std::nullopt;
        }
        action.kind = verb == "scroll" ? Kind::Scroll : Kind::Wait;
        action.number = *number;
        return action;
    }
    if (verb == "back" || verb == "resume") {
        if (!rest.empty()) {
            error = "\"" + std::string(verb) + "\" takes nothing after it";
            return std::nullopt;
        }
        action.kind = verb == "back" ? Kind::Back : Kind::Resume;
        return action;
    }
    error = "unknown action \"" + std::string(verb) + "\"";
    return std::nullopt;
}

std::optional<std::vector<SettingsAction>> SettingsScript::load(const std::string& path, std::string& error)
{
    std::ifstream file(path);
    if (!file) {
        error = path + ": cannot be read";
        return std::nullopt;
    }
    std::vector<SettingsAction> actions;
    std::string line;
    for (int number = 1; std::getline(file, line); ++number) {
        bool skip = false;
        std::string problem;
        auto action = SettingsAction::parse(line, problem, skip);
        if (skip)
            continue;
        if (!action) {
            error = path + ":" + std::to_string(number) + ": " + problem;
            return std::nullopt;
        }
        actions.push_back(std::move(*action));
    }
    return actions;
}
