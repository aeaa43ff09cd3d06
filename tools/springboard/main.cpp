#include "platform/springboard/SpringBoardHost.h"

#include <CLI/CLI.hpp>
#include <iostream>

namespace {

constexpr int badArgumentsStatus = 2;

} // namespace

int main(int argc, char** argv)
{
    CLI::App app { "The simulated home screen: loads the extensions of a device root, launches and runs." };
    std::string root;
    double runFor = 0;
    bool quiet = false;
    app.add_option("--root", root, "Device root folder, the phone's \"/\"")->required()->check(CLI::ExistingDirectory);
    app.add_option("--run-for", runFor, "Seconds to keep the run loop live, delivering system-wide notifications (0: run what is due and exit)")
        ->check(CLI::NonNegativeNumber);
    app.add_flag("--quiet", quiet, "Print nothing of the host's own");
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        // Help answers 0; every other parse failure is a bad argument.
        return app.exit(error) == 0 ? 0 : badArgumentsStatus;
    }

    SpringBoardHost host(root);
    auto report = host.loadExtensions();
    if (!quiet) {
        if (report.extensions.empty())
            std::cout << "no extensions\n";
        for (const std::string& line : report.lines())
            std::cout << line << '\n';
        std::cout.flush();
    }
    host.finishLaunching();
    host.run(runFor);
    std::cout.flush();
    return 0;
}
