#include "platform/springboard/HomeScreenSnapshot.h"

#include "platform/foundation/NSDate.h"
#include "platform/springboard/SBHomeScreen.h"
#include "platform/uikit/UIWindow.h"
#include "platform/uikit/ViewSnapshot.h"

#include <fstream>

namespace {

using nlohmann::json;

template<typename T>
json optional(const std::optional<T>& value) { return value ? json(*value) : json(nullptr); }

json bulletinJSON(const SBHomeScreen::PublishedBulletin& published)
{
    return {
        { "server", published.server },
        { "call", published.call },
        { "destinations", published.destinations },
        { "alwaysToLockScreen", published.alwaysToLockScreen },
        { "title", optional(published.title) },
        { "message", optional(published.message) },
        { "sectionID", optional(published.sectionID) },
        { "bulletinID", optional(published.bulletinID) },
        { "recordID", optional(published.recordID) },
        { "publisherBulletinID", optional(published.publisherBulletinID) },
        { "date", optional(published.date) },
        { "publicationDate", optional(published.publicationDate) },
        { "lastInterruptDate", optional(published.lastInterruptDate) },
        { "launchBundleID", optional(published.launchBundleID) },
        { "clearable", published.clearable },
        { "showsMessagePreview", published.showsMessagePreview },
    };
}

} // namespace

json HomeScreenSnapshot::capture(const SBHomeScreen& homeScreen)
{
    auto window = homeScreen.window();
    auto snapshot = ViewSnapshot::capture(window.get());
    snapshot["date"] = NSDate::date()->timeIntervalSinceReferenceDate();
    auto& bulletins = snapshot["bulletins"] = json::array();
    for (auto& published : homeScreen.publishedBulletins())
        bulletins.push_back(bulletinJSON(published));
    return snapshot;
}

bool HomeScreenSnapshot::writeToFile(const SBHomeScreen& homeScreen, const std::filesystem::path& path)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out)
        return false;
    out << capture(homeScreen).dump(2) << '\n';
    return static_cast<bool>(out);
}
