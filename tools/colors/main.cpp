#include "tools/colors/ColorBatch.h"
#include "tools/colors/ColorReport.h"
#include "tools/colors/ProgressLine.h"

#include "platform/foundation/DeviceRoot.h"
#include "tweak/colour/UIImage+Tintwell.h"
#include "tools/common/ToolCommandLine.h"

#include <CLI/CLI.hpp>
#include <cstddef>
#include <dlfcn.h>
#include <filesystem>
#include <iostream>
#include <thread>
#include <unistd.h>

namespace {

constexpr int failedInputStatus = 1;

constexpr const char* explanation = R"(
Each input gives one JSON object on one line, in the order given (files first, then
bundle identifiers), however many jobs analyse them:

  palette  the icon's distinct colours, most frequent first: the icon is shrunk to a
           10 x 10 grid and a colour within 60 (of 255) of a more frequent one in red,
           green and blue is dropped. Transparent areas count as #00000000.
  merged   the icon's average colour, opaque. Transparent areas pull it toward black.
  modes    the colour each colour mode ("...ColorCalc" settings) would tint with:
             0      the merged colour
             1      the palette colour closest to the merged colour (with --bundle-id:
                    to the merged colour of that app's stock icon), preferring
                    colours that are neither near-black nor near-white
             2      the first palette colour that is neither transparent, near-black nor
                    near-white; else the first non-transparent one; else null
             other  the most frequent palette colour
  icon     (--bundle-id only) "app" for the app's own icon, "generic" when the app is not
           installed or has no loadable icon and the generic app icon was analysed, as the
           extension would
Colours are "#RRGGBBAA" ("#RRGGBB" for merged), each byte round(component x 255).

A file that is missing or not a readable PNG prints {"file": ..., "error": ...}; the
other inputs are still printed. Exit status: 0 all inputs analysed, 1 some failed,
2 bad usage.
)";

unsigned defaultJobs() { return std::max(1u, std::thread::hardware_concurrency()); }

// The folders this program's own libraries are looked for in, its run path first. dlopen
// would search the run path of its caller, which under the sanitizers is their runtime.
std::vector<std::filesystem::path> librarySearchPath()
{
    void* self = dlopen(nullptr, RTLD_NOW);
    Dl_serinfo size {};
    if (!self || dlinfo(self, RTLD_DI_SERINFOSIZE, &size) != 0)
        return {};
    std::vector<std::max_align_t> buffer(size.dls_size / sizeof(std::max_align_t) + 1);
    auto* info = reinterpret_cast<Dl_serinfo*>(buffer.data());
    *info = size;
    if (dlinfo(self, RTLD_DI_SERINFO, info) != 0)
        return {};
    std::vector<std::filesystem::path> folders;
    for (unsigned i = 0; i < info->dls_cnt; ++i) {
        // An empty entry would mean the current folder: never load from there.
        std::filesystem::path folder = info->dls_serpath[i].dls_name;
        if (folder.is_absolute())
            folders.push_back(std::move(folder));
    }
    return folders;
}

// The app records draw icons with cairo, whose loading takes longer than analysing a file,
// so they are loaded only when an app's icon is asked for.
bool loadAppRecords()
{
    void* library = nullptr;
    for (auto& folder : librarySearchPath()) {
        std::error_code error;
        if (auto path = folder / TINTWELL_APP_RECORDS_LIBRARY; std::filesystem::is_regular_file(path, error)) {
            library = dlopen(path.c_str(), RTLD_NOW | RTLD_GLOBAL);
            break;
        }
    }
    auto* registerClasses = library ? reinterpret_cast<void (*)()>(dlsym(library, "PlatformRegisterAppRecordClasses")) : nullptr;
    if (!registerClasses) {
        const char* reason = dlerror();
        std::cerr << "tintwell-colors: cannot load the app records: " << (reason ? reason : "unknown") << '\n';
        return false;
    }
    registerClasses();
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    CLI::App app { "Shows the colours Tintwell takes from app icons: palette, merged colour and each colour mode." };
    app.footer(explanation);
    ToolCommandLine commandLine(app, "tintwell-colors");
    std::vector<long> modes;
    std::vector<std::string> files;
    std::vector<std::string> bundleIDs;
    std::string root;
    unsigned jobs = defaultJobs();
    app.add_option("--mode", modes, "A colour mode to show (repeatable; may be negative). Default: 0 1 2 3")
        ->allow_extra_args(false)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    auto* rootOption = app.add_option("--root", root, "Device root folder (the phone's \"/\") holding the installed apps")
                           ->check(CLI::ExistingDirectory);
    app.add_option("--bundle-id", bundleIDs, "Analyse this installed app's icon, found as the extension finds it (repeatable; needs --root)")
        ->allow_extra_args(false)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll)
        ->needs(rootOption);
    app.add_option("--jobs,-j", jobs, "Files analysed at once (default: the number of cores, here " + std::to_string(defaultJobs()) + ")")
        ->check(CLI::PositiveNumber);
    app.add_option("FILE", files, "PNG images to analyse");
    try {
        app.parse(argc, argv);
        if (files.empty() && bundleIDs.empty())
            throw CLI::RequiredError("a FILE or --bundle-id");
    } catch (const CLI::ParseError& error) {
        return commandLine.exit(error);
    }
    if (modes.empty())
        modes = { 0, 1, 2, 3 };
    if (!root.empty())
        DeviceRoot::set(root);

    bool allSucceeded = true;
    {
        ProgressLine progress(files.size());
        // Lines printed to the terminal the progress line is on must not land after it.
        bool outputOnTerminal = ::isatty(STDOUT_FILENO);
        std::vector<char> failed(files.size()); // one element per input, each written by one thread
        ColorBatch::run(
            files.size(), jobs,
            [&](size_t i) {
                auto line = ColorReport::describeFile(files[i], modes);
                failed[i] = line.failed;
                return std::move(line.text);
            },
            [&](size_t i, std::string&& line) {
                if (failed[i])
                    allSucceeded = false;
                if (outputOnTerminal) {
                    progress.hide();
                    std::cout << line << std::endl;
                    return;
                }
                std::cout << line << '\n';
            },
            [&](size_t done) { progress.update(done); });
    }
    bool appRecords = bundleIDs.empty() || loadAppRecords();
    for (auto& bundleID : bundleIDs) {
        nlohmann::ordered_json line { { "bundleID", bundleID } };
        if (!appRecords) {
            line["error"] = "the app records could not be loaded";
            allSucceeded = false;
            std::cout << ColorReport::lineText(line) << '\n';
            continue;
        }
        auto identifier = NSString::string(bundleID);
        auto icon = stockIconForID(identifier.get());
        if (icon.image) {
            line["icon"] = icon.generic ? "generic" : "app";
            line.update(ColorReport::describe(*icon.image, modes, identifier.get()));
        } else {
            line["error"] = "no icon: neither the app's nor the generic icon could be loaded";
            allSucceeded = false;
        }
        std::cout << ColorReport::lineText(line) << '\n';
    }
    std::cout.flush();
    return allSucceeded ? 0 : failedInputStatus;
}
