#pragma once

#include "tools/settings/SettingsSession.h"

#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>
#include <vector>

// One settings entry's pages as the preview shows them, run in this process's Settings app:
// the pages are the bundle's own controllers built from its own specifier lists, reached
// from the entry through the links a person taps, and every change goes through the row's
// own control (SettingsSession), so it is stored, written and announced exactly as the
// Settings host does it. A page is named by the link labels that lead to it from the
// entry's page ("" for that page, "Notifications", "A/B").
class SettingsPane {
public:
    // The HTTP status a request earns and, when refused, why.
    struct Outcome {
        int status { 200 };
        std::string message;
        bool done() const { return status == 200; }
    };

    explicit SettingsPane(std::string entryLabel);
    ~SettingsPane();

    // Launches the Settings app (the settings classes and extensions must be loaded) and
    // finds every page reachable from the entry. False with `error` set.
    bool open(std::string& error);

    // Every page: its path, title and groups of rows with their controls and values. While
    // an alert is shown the pages are as they were before it (moving would dismiss it).
    nlohmann::json pages();
    // The alert shown over the pages, or null.
    nlohmann::json alert() const;

    Outcome change(std::string_view page, std::string_view key, const nlohmann::json& value);
    // Taps a button row of the page, or a button of its navigation bar.
    Outcome tap(std::string_view page, std::string_view label);
    Outcome answerAlert(std::string_view button);

    // Problems the Settings app met (bad specifier lists, refused writes), taken.
    std::vector<std::string> takeProblems();

private:
    void collectProblems();
    bool show(std::string_view page);
    nlohmann::json describeShownPage(std::string_view path) const;
    Outcome refuseWhileAlertShown() const;
    Outcome findPage(std::string_view page) const;
    // Refused while an alert is up, for an unknown page, or when the page does not open.
    Outcome openForAction(std::string_view page);

    std::string m_entryLabel;
    std::unique_ptr<SettingsSession> m_session;
    std::vector<std::string> m_pagePaths;
    nlohmann::json m_pages = nlohmann::json::array();
    std::vector<std::string> m_problems;
};
