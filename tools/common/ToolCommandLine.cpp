#include "tools/common/ToolCommandLine.h"

#include <cmath>
#include <iostream>
#include <sstream>

namespace {

std::optional<double> number(const std::string& text)
{
    if (text.empty())
        return std::nullopt;
    size_t used = 0;
    double value = 0;
    try {
        value = std::stod(text, &used);
    } catch (const std::exception&) {
        return std::nullopt;
    }
    if (used != text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::string shortest(double value)
{
    std::ostringstream text;
    text << value;
    return text.str();
}

} // namespace

ToolCommandLine::ToolCommandLine(CLI::App& app, std::string toolName)
    : m_app(app)
    , m_toolName(std::move(toolName))
{
    m_app.set_version_flag("--version", m_toolName + " " + version(), "Print the version and exit");
}

std::string ToolCommandLine::version()
{
    return TINTWELL_VERSION;
}

std::optional<int> ToolCommandLine::parse(int argc, char** argv)
{
    try {
        m_app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        return exit(error);
    }
    return std::nullopt;
}

int ToolCommandLine::exit(const CLI::ParseError& error) const
{
    // --help and --version come as "errors" that succeed; CLI11 prints them.
    if (error.get_exit_code() == 0)
        return m_app.exit(error);
    return usageError(error.what());
}

int ToolCommandLine::usageError(const std::string& message) const
{
    std::string line = message;
    // One line, whatever the message held.
    for (char& c : line) {
        if (c == '\n')
            c = ' ';
    }
    std::cerr << m_toolName << ": " << line << " (see " << m_toolName << " --help)\n";
    return badUsageStatus;
}

CLI::Validator ToolCommandLine::nonNegativeNumber()
{
    return CLI::Validator([](std::string& text) -> std::string {
        auto value = number(text);
        if (value && *value >= 0)
            return {};
        return "expects a number of 0 or more, not \"" + text + "\"";
    },
        "NUMBER >= 0");
}

CLI::Validator ToolCommandLine::numberBetween(double lowest, double highest)
{
    auto range = shortest(lowest) + " to " + shortest(highest);
    return CLI::Validator([lowest, highest, range](std::string& text) -> std::string {
        auto value = number(text);
        if (value && *value >= lowest && *value <= highest)
            return {};
        return "expects a number from " + range + ", not \"" + text + "\"";
    },
        "NUMBER " + range);
}
