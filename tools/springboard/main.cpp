#include "platform/foundation/DeviceRoot.h"
#include "platform/springboard/SBHomeScreen.h"
#include "platform/springboard/Scenario.h"
#include "platform/springboard/ScenarioRunner.h"
#include "platform/springboard/SpringBoardHost.h"
#include "platform/uikit/UIWindow.h"
#include "platform/uikit/ViewRenderer.h"
#include "platform/uikit/ViewSnapshot.h"

#include <CLI/CLI.hpp>
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>
#include <unistd.h>

namespace {

constexpr int failureStatus = 1;
constexpr int badArgumentsStatus = 2;

// An output file's folder must exist before anything runs, so a typo costs no run.
std::string checkOutputFolder(const std::string& path)
{
    auto folder = std::filesystem::path(path).parent_path();
    if (folder.empty() || std::filesystem::is_directory(folder))
        return {};
    return "the folder of " + path + " does not exist";
}

} // namespace

int main(int argc, char** argv)
{
    CLI::App app { "The simulated home screen: loads the extensions of a device root, launches and runs." };
    std::string root;
    double runFor = 0;
    bool quiet = false;
    std::string scenarioFile;
    std::string snapshotFile;
    std::string pictureFile;
    double pictureScale = 2;
    app.add_option("--root", root, "Device root folder, the phone's \"/\"")->required()->check(CLI::ExistingDirectory);
    app.add_option("--run-for", runFor, "Seconds to keep the run loop live, delivering system-wide notifications (0: run what is due and exit)")
        ->check(CLI::NonNegativeNumber);
    app.add_flag("--quiet", quiet, "Print nothing of the host's own");
    app.add_option("--scenario", scenarioFile, "Scenario file (JSON) of timed events to run after launching")->check(CLI::ExistingFile);
    app.add_option("--snapshot", snapshotFile, "Write the screen's view tree as JSON here at the end")->check(checkOutputFolder);
    app.add_option("--picture", pictureFile, "Write a picture of the screen (PNG) here at the end")->check(checkOutputFolder);
    app.add_option("--picture-scale", pictureScale, "Pixels per point of the picture (default 2)")->check(CLI::Range(0.5, 4.0));
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        // Help answers 0; every other parse failure is a bad argument.
        return app.exit(error) == 0 ? 0 : badArgumentsStatus;
    }

    // A scenario is checked whole before anything runs.
    std::optional<Scenario> scenario;
    if (!scenarioFile.empty()) {
        std::string error;
        scenario = Scenario::load(scenarioFile, error);
        if (!scenario) {
            std::cerr << "tintwell-springboard: bad scenario: " << error << '\n';
            return badArgumentsStatus;
        }
    }

    SpringBoardHost host(root);
    // The restart tool ("/usr/bin/sbreload") finds the host of this root by this file.
    auto pidFile = DeviceRoot::resolve("/private/var/run/springboard.pid");
    if (pidFile) {
        std::error_code error;
        std::filesystem::create_directories(pidFile->parent_path(), error);
        std::ofstream(*pidFile) << ::getpid() << '\n';
    }
    auto report = host.loadExtensions();
    if (!quiet) {
        if (report.extensions.empty())
            std::cout << "no extensions\n";
        for (const std::string& line : report.lines())
            std::cout << line << '\n';
        std::cout.flush();
    }
    host.finishLaunching();

    // The launch may already have made the home screen; otherwise it is made now.
    std::unique_ptr<SBHomeScreen> ownedHomeScreen;
    SBHomeScreen* homeScreen = SBHomeScreen::current();
    if (!homeScreen) {
        ownedHomeScreen = std::make_unique<SBHomeScreen>();
        homeScreen = ownedHomeScreen.get();
    }
    host.run(0);

    ScenarioRunner runner(*homeScreen);
    if (scenario) {
        runner.run(*scenario);
        if (!quiet) {
            for (auto& warning : runner.warnings())
                std::cerr << "tintwell-springboard: scenario " << scenarioFile << ": " << warning << '\n';
        }
    }
    host.run(runFor);
    homeScreen->layoutNow();

    int status = 0;
    auto window = homeScreen->window();
    if (!snapshotFile.empty() && !ViewSnapshot::writeToFile(window.get(), snapshotFile)) {
        std::cerr << "tintwell-springboard: cannot write the snapshot " << snapshotFile << '\n';
        status = failureStatus;
    }
    if (!pictureFile.empty() && !ViewRenderer::writePNG(window.get(), pictureFile, pictureScale)) {
        std::cerr << "tintwell-springboard: cannot write the picture " << pictureFile << '\n';
        status = failureStatus;
    }
    std::cout.flush();
    if (pidFile) {
        long recorded = 0;
        std::ifstream(*pidFile) >> recorded;
        if (recorded == ::getpid())
            std::filesystem::remove(*pidFile);
    }
    return status;
}
