// A layout pass of the notification list without any extension: the baseline the
// extension's list and platter hooks are measured against.
#include "platform/foundation/Dispatch.h"
#include "platform/springboard/BBServer.h"
#include "platform/springboard/NCNotificationListView.h"
#include "platform/springboard/SBHomeScreen.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

const char* const sections[] = { "com.apple.MobileSMS", "com.apple.Music", "com.apple.AppStore", "com.apple.mobilemail" };

std::unique_ptr<SBHomeScreen> homeScreenWith(long count, bool expanded)
{
    auto home = std::make_unique<SBHomeScreen>();
    auto server = home->server();
    dispatch_sync(home->serverQueue().get(), [&] {
        for (long index = 0; index < count; ++index) {
            auto bulletin = BBBulletin::create();
            bulletin->setSectionID(NSString::string(sections[index % 4]).get());
            bulletin->setTitle(NSString::string("Tintwell").get());
            bulletin->setMessage(NSString::string("Notification " + std::to_string(index) + " with a message long enough to wrap").get());
            server->publishBulletin(bulletin.get(), SBHomeScreen::destinationLockScreen, true);
        }
    });
    home->layoutNow();
    if (expanded) {
        for (auto* section : sections)
            home->expandGroup(section);
    }
    return home;
}

void layoutPass(benchmark::State& state, bool expanded)
{
    auto home = homeScreenWith(state.range(0), expanded);
    auto list = home->rootListView();
    for (auto _ : state) {
        list->setNeedsLayoutInSubtree();
        list->layoutIfNeeded();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_ListLayoutStackedGroups(benchmark::State& state) { layoutPass(state, false); }
void BM_ListLayoutExpandedGroups(benchmark::State& state) { layoutPass(state, true); }

} // namespace

BENCHMARK(BM_ListLayoutStackedGroups)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ListLayoutExpandedGroups)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
