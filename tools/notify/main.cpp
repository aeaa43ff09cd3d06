#include "platform/foundation/CFNotificationCenter.h"
#include "platform/foundation/DeviceRoot.h"
#include "tools/common/ToolCommandLine.h"

#include <CLI/CLI.hpp>
#include <string>

namespace {

// The notify centre drops longer names, so such a post could never arrive.
constexpr size_t longestName = 1024;

std::string checkName(const std::string& name)
{
    if (name.empty())
        return "the notification name is empty";
    if (name.size() > longestName)
        return "the notification name is longer than " + std::to_string(longestName) + " bytes";
    return {};
}

} // namespace

int main(int argc, char** argv)
{
    CLI::App app { "Posts a system-wide (Darwin) notification to every process of a device root that observes it,\n"
                   "e.g. a running tintwell-springboard: tintwell-notify --root DIR com.quillfen.tintwell/TestBanner" };
    std::string root;
    std::string name;
    ToolCommandLine commandLine(app, "tintwell-notify");
    app.footer("Exit status: 0 posted (also when nobody observes the name); 2 bad usage.");
    app.add_option("--root", root, "Device root folder, the phone's \"/\"")->required()->check(CLI::ExistingDirectory);
    app.add_option("NAME", name, "Notification name, e.g. com.quillfen.tintwell/TestNotifications")->required()->check(checkName);
    if (auto status = commandLine.parse(argc, argv))
        return *status;

    DeviceRoot::set(root);
    // Nobody observing is not an error: the phone's notify_post does not know either.
    postDarwinNotification(name);
    return 0;
}
