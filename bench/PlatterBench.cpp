// The platter hooks' cost inside the home screen.
//
// The extension cannot be unloaded, so the baseline and the extension case share one
// process and run in registration order: BM_ListLayoutWithoutTintwell first, on a home
// screen of its own before any extension is loaded; then the Tintwell benchmarks load the
// real Tintwell.dylib from a temporary device root the way the host does and measure the
// same pass on a fresh home screen. The baseline refuses to run once the extension is in
// (e.g. under --benchmark_enable_random_interleaving). Compare the two list figures of
// one run.
#include "bench/BenchHomeScreen.h"
#include "device/SampleDevice.h"
#include "platform/foundation/DeviceRoot.h"
#include "platform/foundation/Dispatch.h"
#include "platform/springboard/BBServer.h"
#include "platform/springboard/NCNotificationListView.h"
#include "platform/springboard/NCNotificationStructuredListViewController.h"
#include "platform/springboard/SBHomeScreen.h"
#include "platform/springboard/SpringBoardHost.h"

#include <benchmark/benchmark.h>

#include <dlfcn.h>

#include <filesystem>
#include <memory>
#include <string>

namespace {

namespace fs = std::filesystem;

// The sample device with Tintwell installed; removed when the program ends.
class BenchDevice {
public:
    BenchDevice()
    {
        m_root = bench::sampleDeviceWithTintwell("tintwell-platter-bench", TINTWELL_DYLIB);
        m_host = std::make_unique<SpringBoardHost>(m_root);
    }
    ~BenchDevice() { fs::remove_all(m_root); }

    bool tintwellLoaded() const { return m_loaded; }
    bool loadTintwell()
    {
        if (!m_loaded)
            m_loaded = m_host->loadExtensions().loadedCount() == 1;
        return m_loaded;
    }

private:
    fs::path m_root;
    std::unique_ptr<SpringBoardHost> m_host;
    bool m_loaded { false };
};

BenchDevice& device()
{
    static BenchDevice instance;
    return instance;
}

std::unique_ptr<SBHomeScreen> homeScreenWith(long count)
{
    auto home = bench::homeScreenWith(count, true);
    // Settles the first colouring and the delayed repaints of newly shown platters.
    home->advanceTime(1);
    return home;
}

// Out of line so a profiler can collect the passes alone (callgrind --toggle-collect=*layoutPasses*).
[[gnu::noinline]] void layoutPasses(benchmark::State& state, UIView* list)
{
    for (auto _ : state) {
        list->setNeedsLayoutInSubtree();
        list->layoutIfNeeded();
    }
}

void measureListLayout(benchmark::State& state)
{
    auto home = homeScreenWith(state.range(0));
    layoutPasses(state, home->rootListView().get());
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_ListLayoutWithoutTintwell(benchmark::State& state)
{
    device();
    if (device().tintwellLoaded()) {
        state.SkipWithError("Tintwell is already loaded in this process; run the baseline first");
        return;
    }
    measureListLayout(state);
}

void BM_ListLayoutWithTintwell(benchmark::State& state)
{
    if (!device().loadTintwell()) {
        state.SkipWithError("Tintwell.dylib did not load");
        return;
    }
    measureListLayout(state);
}

// TWLsetNotificationColor on a laid-out platter whose app colour is cached and that
// nothing has changed since: what every later layout pass does for it.
void BM_RepaintCachedPlatter(benchmark::State& state)
{
    if (!device().loadTintwell()) {
        state.SkipWithError("Tintwell.dylib did not load");
        return;
    }
    auto home = homeScreenWith(state.range(0));
    auto identifiers = home->notificationIdentifiers();
    auto cell = home->cellForNotification(identifiers.back());
    auto controller = cell ? cell->contentViewController() : nullptr;
    if (!controller) {
        state.SkipWithError("no platter");
        return;
    }
    SEL repaint = sel_registerName("TWLsetNotificationColor");
    for (auto _ : state)
        msgSend<void>(controller, repaint);
}

// The painter alone on the same platter, to tell its share of the repaint.
void BM_PaintPlatterBackground(benchmark::State& state)
{
    if (!device().loadTintwell()) {
        state.SkipWithError("Tintwell.dylib did not load");
        return;
    }
    auto home = homeScreenWith(1);
    auto cell = home->cellForNotification(home->notificationIdentifiers().back());
    auto background = cell ? cell->contentViewController()->lookView()->backgroundView() : nullptr;
    auto* config = static_cast<RefPtr<Object>*>(dlsym(RTLD_DEFAULT, "NotifsConfig"));
    auto colour = UIColor::colorWithRed(0.2, 0.4, 0.6, 1);
    if (!background || !config) {
        state.SkipWithError("no platter or no style record");
        return;
    }
    SEL paint = sel_registerName("setColorWithQFConfig:color:");
    for (auto _ : state)
        msgSend<void>(background, paint, config->get(), colour);
}

} // namespace

BENCHMARK(BM_ListLayoutWithoutTintwell)->Arg(100)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ListLayoutWithTintwell)->Arg(100)->Unit(benchmark::kMicrosecond);
// One platter alone, and one in an app group of 25 (the list's first-notification rule).
BENCHMARK(BM_RepaintCachedPlatter)->Arg(1)->Arg(100)->Unit(benchmark::kNanosecond);
BENCHMARK(BM_PaintPlatterBackground)->Unit(benchmark::kNanosecond);

BENCHMARK_MAIN();
