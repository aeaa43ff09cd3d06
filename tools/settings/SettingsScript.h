#pragma once

#include <optional>
#include <string>
#include <vector>

// The user actions tintwell-settings performs, one per line:
//   open LABEL          tap the link row LABEL (on the first page: the settings entry)
//   url ADDRESS         open a "prefs:root=NAME[&path=A/B]" address
//   set ROW = VALUE     change the row as a person would (switch on/off, slider
//                       number, segment or list choice by title or value, text, colour);
//                       ROW is LABEL, GROUP/LABEL or key:KEY (SettingsSession::findRow)
//   tap ROW             tap the button row, else the bar button titled ROW
//   scroll Y            scroll the page to the vertical offset Y (points, may be negative)
//   alert BUTTON        choose BUTTON in the alert shown
//   back                go back one page
//   resume              the Settings app returns from the background
//   wait SECONDS        let the run loop run live (system-wide notifications arrive)
// Blank lines and lines starting with "#" are skipped.
struct SettingsAction {
    enum class Kind { Open, URL, Set, Tap, Scroll, Alert, Back, Resume, Wait };
    Kind kind { Kind::Back };
    std::string label;
    std::string value;
    double number { 0 };
    std::string source;

    // Nullopt with `error` set for a line that is no action; an empty action list for a
    // blank or comment line is signalled by `skip`.
    static std::optional<SettingsAction> parse(std::string_view line, std::string& error, bool& skip);
};

class SettingsScript {
public:
    // Every line of the file, or nullopt with `error` naming the first bad line.
    static std::optional<std::vector<SettingsAction>> load(const std::string& path, std::string& error);
};
