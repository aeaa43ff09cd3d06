#include "platform/foundation/DeviceRoot.h"
#include "platform/foundation/NSRunLoop.h"
#include "platform/settings/SettingsClasses.h"
#include "platform/springboard/AppIndex.h"
#include "platform/springboard/ExtensionLoader.h"
#include "tools/common/ToolCommandLine.h"
#include "tools/preview/HomeScreenChild.h"
#include "tools/preview/PreviewAssets.h"
#include "tools/preview/PreviewServer.h"
#include "tools/preview/SettingsPane.h"

#include <CLI/CLI.hpp>
#include <atomic>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

constexpr int failureStatus = 1;
constexpr const char* entryLabel = "Tintwell";

std::atomic<bool> stopRequested { false };

void requestStop(int) { stopRequested = true; }

fs::path ownFolder()
{
    std::error_code error;
    auto self = fs::read_symlink("/proc/self/exe", error);
    return error ? fs::path() : self.parent_path();
}

// Found beside the tool, so no path of the build is compiled in: installed, the tools sit
// together in /usr/bin and the sample device in /usr/share/tintwell; in a build folder the
// tool is tools/preview/, the home screen tools/ and the sample device device/.
fs::path firstExisting(std::initializer_list<fs::path> candidates)
{
    std::error_code error;
    for (auto& candidate : candidates) {
        if (fs::exists(candidate, error))
            return candidate.lexically_normal();
    }
    return *candidates.begin();
}

fs::path defaultSpringBoard()
{
    return firstExisting({ ownFolder() / "tintwell-springboard", ownFolder() / "../tintwell-springboard" });
}

fs::path sampleDevice()
{
    return firstExisting({ ownFolder() / "../share/tintwell/device", ownFolder() / "../../device" });
}

std::optional<fs::path> temporaryFolder(const std::string& stem)
{
    std::string pattern = (fs::temp_directory_path() / (stem + "-XXXXXX")).string();
    if (!::mkdtemp(pattern.data()))
        return std::nullopt;
    return fs::path(pattern);
}

// What a run leaves in a device ("private": sockets, pid files, logs) is not copied.
bool copyDevice(const fs::path& from, const fs::path& to)
{
    std::error_code error;
    for (auto it = fs::recursive_directory_iterator(from, error); !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
        auto relative = fs::relative(it->path(), from, error);
        if (relative.begin() != relative.end() && *relative.begin() == "private") {
            it.disable_recursion_pending();
            continue;
        }
        auto target = to / relative;
        if (it->is_directory(error))
            fs::create_directories(target, error);
        else if (it->is_regular_file(error))
            fs::copy_file(it->path(), target, fs::copy_options::overwrite_existing, error);
        if (error)
            return false;
    }
    return !error;
}

nlohmann::json installedApps()
{
    nlohmann::json apps = nlohmann::json::array();
    for (auto& app : AppIndex::installed()) {
        auto identifier = objectCast<NSString>(app.info->objectForStringKey("CFBundleIdentifier"));
        RefPtr<NSString> name;
        for (auto key : { "CFBundleDisplayName", "CFBundleName" }) {
            if (!name)
                name = objectCast<NSString>(app.info->objectForStringKey(key));
        }
        apps.push_back({ { "id", identifier->utf8() }, { "name", name ? name->utf8() : identifier->utf8() } });
    }
    return apps;
}

} // namespace

int main(int argc, char** argv)
{
    CLI::App app { "A live preview in the browser: Tintwell's settings pages beside the live home screen, which repaints after every change." };
    std::string root;
    int port = 0;
    double pictureScale = 2;
    std::string springBoard = defaultSpringBoard().string();
    ToolCommandLine commandLine(app, "tintwell-preview");
    app.add_option("--root", root, "Device root folder, the phone's \"/\" (default: a fresh copy of the sample device)")->check(CLI::ExistingDirectory);
    app.add_option("--port", port, "Port on 127.0.0.1 (default: a free one, printed)")->check(CLI::Range(0, 65535));
    app.add_option("--picture-scale", pictureScale, "Pixels per point of the lock screen's picture (default 2)")->check(ToolCommandLine::numberBetween(0.5, 4));
    app.add_option("--springboard", springBoard, "The home-screen host to run (default: the one installed beside this tool)")->check(CLI::ExistingFile);
    app.footer("Prints \"tintwell-preview: http://127.0.0.1:PORT/\" once it serves; stops on Ctrl-C (SIGINT) or SIGTERM.\n"
               "Exit status: 0 stopped; 1 the home screen, the settings pages or the port could not be had; 2 bad usage.");
    if (auto status = commandLine.parse(argc, argv))
        return *status;

    if (std::error_code error; !fs::is_regular_file(springBoard, error))
        return commandLine.usageError("no home-screen host at " + springBoard + " (name one with --springboard)");
    std::optional<fs::path> copiedRoot;
    if (root.empty()) {
        copiedRoot = temporaryFolder("tintwell-preview-device");
        if (!copiedRoot || !copyDevice(sampleDevice(), *copiedRoot)) {
            std::cerr << "tintwell-preview: cannot copy the sample device " << sampleDevice().string() << '\n';
            return failureStatus;
        }
        root = copiedRoot->string();
    }
    auto workFolder = temporaryFolder("tintwell-preview");
    if (!workFolder) {
        std::cerr << "tintwell-preview: cannot make a temporary folder\n";
        return failureStatus;
    }
    int status = 0;
    {
        struct sigaction action {};
        action.sa_handler = requestStop;
        ::sigaction(SIGINT, &action, nullptr);
        ::sigaction(SIGTERM, &action, nullptr);
        ::signal(SIGPIPE, SIG_IGN);

        DeviceRoot::set(fs::absolute(root));
        NSRunLoop::mainRunLoop();
        registerSettingsClasses();
        auto report = ExtensionLoader("com.apple.Preferences", "Preferences").loadExtensions();
        for (auto& extension : report.extensions) {
            if (extension.outcome == ExtensionLoader::Outcome::LoadFailed || extension.outcome == ExtensionLoader::Outcome::BadFilter)
                std::cerr << "tintwell-preview: warning: " << extension.name << ": " << ExtensionLoader::describe(extension.outcome) << ' ' << extension.error << '\n';
        }

        std::string error;
        SettingsPane settings(entryLabel);
        HomeScreenChild homeScreen(springBoard, *workFolder, pictureScale);
        // The media control plays the demo's artwork, named by the inbox's scenarios.
        auto artwork = PreviewAssets::find("/golden-hour.png");
        std::error_code folderError;
        fs::create_directories(homeScreen.inboxFolder() / "artwork", folderError);
        std::ofstream(homeScreen.inboxFolder() / "artwork/golden-hour.png", std::ios::binary).write(artwork->bytes.data(), artwork->bytes.size());
        if (!settings.open(error) || !homeScreen.start(error)) {
            std::cerr << "tintwell-preview: " << error << '\n';
            status = failureStatus;
        } else {
            PreviewServer server(settings, homeScreen, installedApps());
            auto bound = server.listen(port);
            if (!bound) {
                std::cerr << "tintwell-preview: cannot listen on 127.0.0.1:" << port << '\n';
                status = failureStatus;
            } else {
                std::cout << "tintwell-preview: http://127.0.0.1:" << *bound << "/" << std::endl;
                server.serve(stopRequested);
            }
        }
    }
    std::error_code error;
    fs::remove_all(*workFolder, error);
    if (copiedRoot)
        fs::remove_all(*copiedRoot, error);
    return status;
}
