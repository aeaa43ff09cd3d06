#include "platform/foundation/CFNotificationCenter.h"
#include "platform/foundation/DeviceRoot.h"
#include "platform/springboard/HomeScreenSnapshot.h"
#include "platform/springboard/SBHomeScreen.h"
#include "platform/springboard/Scenario.h"
#include "platform/springboard/ScenarioRunner.h"
#include "platform/springboard/SpringBoardHost.h"
#include "platform/uikit/UIWindow.h"
#include "platform/uikit/ViewRenderer.h"
#include "tools/common/ToolCommandLine.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <fstream>
#include <functional>
#include <iostream>
#include <memory>
#include <optional>
#include <unistd.h>

namespace {

constexpr int failureStatus = 1;
constexpr int badArgumentsStatus = ToolCommandLine::badUsageStatus;
constexpr int scenarioTimedOutStatus = 3;

// An output file's folder must exist before anything runs, so a typo costs no run.
std::string checkOutputFolder(const std::string& path)
{
    auto folder = std::filesystem::path(path).parent_path();
    if (folder.empty() || std::filesystem::is_directory(folder))
        return {};
    return "the folder of " + path + " does not exist";
}

// Written beside the target and renamed over it, so a reader polling for the file never
// sees half of it.
bool writeAtomically(const std::filesystem::path& path, const std::function<bool(const std::filesystem::path&)>& write)
{
    auto partial = path.parent_path() / ("." + path.filename().string() + "." + std::to_string(::getpid()) + ".partial" + path.extension().string());
    std::error_code error;
    if (!write(partial)) {
        std::filesystem::remove(partial, error);
        return false;
    }
    std::filesystem::rename(partial, path, error);
    if (error)
        std::filesystem::remove(partial, error);
    return !error;
}

struct Outputs {
    std::string snapshotFile;
    std::string pictureFile;
    double pictureScale { 2 };
};

// "out/screen.json" and the name "switched" give "out/screen.switched.json".
std::string namedOutput(const std::string& file, const std::string& name)
{
    if (file.empty() || name.empty())
        return file;
    std::filesystem::path path(file);
    return (path.parent_path() / (path.stem().string() + "." + name + path.extension().string())).string();
}

// False when a file that was asked for could not be written (reported on stderr). A named
// snapshot event's files carry its name; with layout false the screen is recorded as it is.
bool writeOutputs(SBHomeScreen& homeScreen, const Outputs& outputs, bool layout = true, const std::string& name = {})
{
    if (layout)
        homeScreen.layoutNow();
    auto window = homeScreen.window();
    auto snapshotFile = namedOutput(outputs.snapshotFile, name);
    auto pictureFile = namedOutput(outputs.pictureFile, name);
    bool written = true;
    if (!snapshotFile.empty() && !writeAtomically(snapshotFile, [&](auto& path) { return HomeScreenSnapshot::writeToFile(homeScreen, path); })) {
        std::cerr << "tintwell-springboard: cannot write the snapshot " << snapshotFile << '\n';
        written = false;
    }
    if (!pictureFile.empty() && !writeAtomically(pictureFile, [&](auto& path) { return ViewRenderer::writePNG(window.get(), path, outputs.pictureScale); })) {
        std::cerr << "tintwell-springboard: cannot write the picture " << pictureFile << '\n';
        written = false;
    }
    return written;
}

// Lets a test or a demo look at the running home screen: each post of the name writes the
// snapshot (and picture) at once.
struct OutputsOnRequest {
    SBHomeScreen* homeScreen;
    Outputs outputs;

    static void requested(CFNotificationCenterRef, void* observer, CFStringRef, const void*, CFDictionaryRef)
    {
        auto& self = *static_cast<OutputsOnRequest*>(observer);
        writeOutputs(*self.homeScreen, self.outputs);
    }
};

// Lets another process drive the running home screen: each post of the name plays the
// scenario files waiting in the inbox folder, in name order, and removes each once played,
// so the sender knows when its events have run.
struct InboxOnRequest {
    ScenarioRunner* runner;
    std::filesystem::path folder;
    bool quiet;
    bool playing { false };
    bool requestedAgain { false };

    static void requested(CFNotificationCenterRef, void* observer, CFStringRef, const void*, CFDictionaryRef)
    {
        auto& self = *static_cast<InboxOnRequest*>(observer);
        // A scenario's events run the run loop, where the next post may arrive: played after.
        if (self.playing) {
            self.requestedAgain = true;
            return;
        }
        self.playing = true;
        do {
            self.requestedAgain = false;
            self.playWaiting();
        } while (self.requestedAgain);
        self.playing = false;
    }

    void playWaiting()
    {
        std::vector<std::filesystem::path> files;
        std::error_code error;
        for (auto it = std::filesystem::directory_iterator(folder, error); !error && it != std::filesystem::directory_iterator(); it.increment(error)) {
            auto name = it->path().filename().string();
            // Dot files are still being written by the sender.
            if (!name.starts_with(".") && name.ends_with(".json") && it->is_regular_file(error))
                files.push_back(it->path());
        }
        std::sort(files.begin(), files.end());
        for (auto& file : files) {
            std::string problem;
            auto scenario = Scenario::load(file, problem);
            // A wait would hold the home screen inside the sender's request.
            if (scenario && !scenario->awaitedNotifications().empty())
                problem = file.string() + ": an inbox scenario cannot wait (waitFor)";
            if (scenario && problem.empty()) {
                size_t warningsBefore = runner->warnings().size();
                runner->run(*scenario);
                for (size_t index = warningsBefore; !quiet && index < runner->warnings().size(); ++index)
                    std::cerr << "tintwell-springboard: inbox " << file.string() << ": " << runner->warnings()[index] << '\n';
            } else if (!quiet) {
                std::cerr << "tintwell-springboard: bad inbox scenario: " << problem << '\n';
            }
            std::filesystem::remove(file, error);
        }
    }
};

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
    std::string snapshotOn;
    std::string inbox;
    std::string playOn;
    bool verbose = false;
    ToolCommandLine commandLine(app, "tintwell-springboard");
    app.footer("Exit status: 0 launched and ran; 1 the snapshot or picture could not be written; 2 bad usage;\n"
               "3 a scenario's waitFor timed out.");
    app.add_option("--root", root, "Device root folder, the phone's \"/\"")->required()->check(CLI::ExistingDirectory);
    app.add_option("--run-for", runFor, "Seconds to keep the run loop live, delivering system-wide notifications (0: run what is due and exit)")
        ->check(ToolCommandLine::nonNegativeNumber());
    auto* quietOption = app.add_flag("--quiet", quiet, "Print nothing of the host's own");
    app.add_flag("--verbose", verbose, "Print the full load report: every method each extension replaced or added")->excludes(quietOption);
    auto* scenarioOption = app.add_option("--scenario", scenarioFile, "Scenario file (JSON) of timed events to run after launching")->check(CLI::ExistingFile);
    auto* snapshotOption = app.add_option("--snapshot", snapshotFile, "Write the screen's view tree and the delivered bulletins as JSON here at the end (a scenario's \"snapshot\" events write beside it, their name before the extension)")->check(checkOutputFolder);
    app.add_option("--picture", pictureFile, "Write a picture of the screen (PNG) here at the end (and for each \"snapshot\" event, named like the snapshot)")->check(checkOutputFolder);
    app.add_option("--picture-scale", pictureScale, "Pixels per point of the picture (default 2)")->check(ToolCommandLine::numberBetween(0.5, 4));
    app.add_option("--snapshot-on", snapshotOn, "Also write the snapshot (and picture) whenever this system-wide notification is posted")
        ->needs(snapshotOption);
    auto* inboxOption = app.add_option("--inbox", inbox, "Folder of scenario files played, and removed, on each post of the --play-on notification")
                            ->check(CLI::ExistingDirectory);
    auto* playOnOption = app.add_option("--play-on", playOn, "System-wide notification that plays the scenario files waiting in --inbox")
                             ->needs(inboxOption);
    // One player at a time: an inbox file played while a scenario waits would end its wait.
    inboxOption->needs(playOnOption)->excludes(scenarioOption);
    if (auto status = commandLine.parse(argc, argv))
        return *status;

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
        for (const std::string& line : verbose ? report.lines() : report.summaryLines())
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

    Outputs outputs { snapshotFile, pictureFile, pictureScale };
    OutputsOnRequest outputsOnRequest { homeScreen, outputs };
    if (!snapshotOn.empty())
        CFNotificationCenter::darwinNotifyCenter().addObserver(&outputsOnRequest, &OutputsOnRequest::requested, snapshotOn);

    int status = 0;
    ScenarioRunner runner(*homeScreen);
    bool snapshotsWritten = true;
    // The scenario's snapshot events have laid out (or not) already.
    runner.setSnapshotWriter([&](const std::string& name) { snapshotsWritten = writeOutputs(*homeScreen, outputs, false, name) && snapshotsWritten; });
    InboxOnRequest inboxOnRequest { &runner, inbox, quiet };
    if (!playOn.empty())
        CFNotificationCenter::darwinNotifyCenter().addObserver(&inboxOnRequest, &InboxOnRequest::requested, playOn);
    if (scenario) {
        runner.run(*scenario);
        if (!quiet) {
            for (auto& warning : runner.warnings())
                std::cerr << "tintwell-springboard: scenario " << scenarioFile << ": " << warning << '\n';
        }
        if (runner.failure()) {
            std::cerr << "tintwell-springboard: scenario " << scenarioFile << ": " << *runner.failure() << '\n';
            status = scenarioTimedOutStatus;
        }
    }
    if (!status)
        host.run(runFor);
    if (!snapshotOn.empty())
        CFNotificationCenter::darwinNotifyCenter().removeObserver(&outputsOnRequest, {});
    if (!playOn.empty())
        CFNotificationCenter::darwinNotifyCenter().removeObserver(&inboxOnRequest, {});

    if ((!writeOutputs(*homeScreen, outputs) || !snapshotsWritten) && !status)
        status = failureStatus;
    std::cout.flush();
    if (pidFile) {
        long recorded = 0;
        std::ifstream(*pidFile) >> recorded;
        if (recorded == ::getpid())
            std::filesystem::remove(*pidFile);
    }
    return status;
}
