#pragma once

#include <CLI/CLI.hpp>
#include <optional>
#include <string>

// What every Tintwell tool does alike on its command line: --help and --version answer on
// standard output with status 0; a usage error is one line on standard error,
// "TOOL: what is wrong (see TOOL --help)", and status 2.
class ToolCommandLine {
public:
    static constexpr int badUsageStatus = 2;

    // Adds --version to the tool's options.
    ToolCommandLine(CLI::App&, std::string toolName);

    // Nullopt when the tool goes on; else the status to exit with, already reported.
    std::optional<int> parse(int argc, char** argv);
    // For a tool that parses itself: the status for the parse error, reported.
    int exit(const CLI::ParseError&) const;
    // A usage error found after parsing: reported, answers badUsageStatus.
    int usageError(const std::string& message) const;

    static std::string version();

    // Validators whose messages name the value and what was expected.
    static CLI::Validator nonNegativeNumber();
    static CLI::Validator numberBetween(double lowest, double highest);

private:
    CLI::App& m_app;
    std::string m_toolName;
};
