#include "SettingsScript.h"
#include "SettingsSession.h"

#include "platform/foundation/DeviceRoot.h"
#include "platform/foundation/NSRunLoop.h"
#include "platform/settings/SettingsClasses.h"
#include "platform/springboard/ExtensionLoader.h"
#include "tools/common/ToolCommandLine.h"

#include <CLI/CLI.hpp>
#include <filesystem>
#include <iostream>

namespace {

constexpr int failureStatus = 1;
constexpr int badUsageStatus = ToolCommandLine::badUsageStatus;

std::string checkOutputFolder(const std::string& path)
{
    auto folder = std::filesystem::path(path).parent_path();
    if (folder.empty() || std::filesystem::is_directory(folder))
        return {};
    return "the folder of " + path + " does not exist";
}

void printProblems()
{
    for (auto& problem : PreferencesAppController::takeProblems())
        std::cerr << "tintwell-settings: warning: " << problem << '\n';
}

} // namespace

int main(int argc, char** argv)
{
    CLI::App app { "The simulated Settings app: loads the settings bundles of a device root and performs user actions on them." };
    std::string root;
    std::string scriptFile;
    std::vector<std::string> inlineActions;
    bool dump = false;
    std::string pictureFile;
    double pictureScale = 2;
    ToolCommandLine commandLine(app, "tintwell-settings");
    app.add_option("--root", root, "Device root folder, the phone's \"/\"")->required()->check(CLI::ExistingDirectory);
    app.add_option("--script", scriptFile, "File of user actions, one per line")->check(CLI::ExistingFile);
    app.add_option("--do", inlineActions, "A user action (repeatable; after the script's)");
    app.add_flag("--dump", dump, "Print the final page's rows and values as JSON");
    app.add_option("--picture", pictureFile, "Write a picture of the final screen (PNG) here")->check(checkOutputFolder);
    app.add_option("--picture-scale", pictureScale, "Pixels per point of the picture (default 2)")->check(ToolCommandLine::numberBetween(0.5, 4));
    app.footer("Actions: open LABEL | url prefs:root=NAME | set ROW = VALUE | tap ROW | scroll Y | alert BUTTON | back | resume | wait SECONDS\n"
               "A ROW is LABEL when only one row has it, GROUP/LABEL, or key:KEY (its preference key).\n"
               "Exit status: 0 every action done; 1 the picture could not be written; 2 bad usage or an action that cannot be done.");
    if (auto status = commandLine.parse(argc, argv))
        return *status;

    // Every action is checked before anything runs, so a typo costs no run.
    std::vector<SettingsAction> actions;
    if (!scriptFile.empty()) {
        std::string error;
        auto script = SettingsScript::load(scriptFile, error);
        if (!script) {
            std::cerr << "tintwell-settings: bad script: " << error << '\n';
            return badUsageStatus;
        }
        actions = std::move(*script);
    }
    for (auto& line : inlineActions) {
        std::string error;
        bool skip = false;
        auto action = SettingsAction::parse(line, error, skip);
        if (skip)
            continue;
        if (!action) {
            std::cerr << "tintwell-settings: bad action \"" << line << "\": " << error << '\n';
            return badUsageStatus;
        }
        actions.push_back(std::move(*action));
    }

    DeviceRoot::set(root);
    NSRunLoop::mainRunLoop();
    registerSettingsClasses();
    // The hooking framework loads the extensions whose filters name the Settings app, as
    // on the phone, before the app makes its first object.
    auto report = ExtensionLoader("com.apple.Preferences", "Preferences").loadExtensions();
    for (auto& extension : report.extensions) {
        if (extension.outcome == ExtensionLoader::Outcome::LoadFailed || extension.outcome == ExtensionLoader::Outcome::BadFilter)
            std::cerr << "tintwell-settings: warning: " << extension.name << ": " << ExtensionLoader::describe(extension.outcome) << ' ' << extension.error << '\n';
    }
    SettingsSession session;
    printProblems();
    for (auto& action : actions) {
        std::string error;
        bool done = session.perform(action, error);
        printProblems();
        if (!done) {
            std::cerr << "tintwell-settings: " << action.source << ": " << error << '\n';
            return badUsageStatus;
        }
    }

    int status = 0;
    if (dump)
        std::cout << session.dump().dump(2) << '\n';
    if (!pictureFile.empty() && !session.writePicture(pictureFile, pictureScale)) {
        std::cerr << "tintwell-settings: cannot write the picture " << pictureFile << '\n';
        status = failureStatus;
    }
    printProblems();
    std::cout.flush();
    return status;
}
