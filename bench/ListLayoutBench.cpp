// A layout pass of the notification list without any extension: the baseline the
// extension's list and platter hooks are measured against.
#include "bench/BenchHomeScreen.h"
#include "platform/springboard/NCNotificationListView.h"
#include "platform/springboard/SBHomeScreen.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

using bench::homeScreenWith;

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
