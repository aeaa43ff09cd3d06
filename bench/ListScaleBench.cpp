// The notification list at scale: one scenario publishing N notifications from the sample
// device's thirteen apps (and scrolling through them, where the home screen has the scroll
// event), and the cost of publishing one more notification into a list of N.
//
// Extensions cannot be unloaded, so the benchmarks run in registration order: first
// without any extension, then with Tintwell and the three companions loaded from a
// temporary device root the way the host loads them. The plain ones refuse to run once the
// extensions are in. peak_rss_MB is the process's peak so far, so read it on the largest
// N of each group.
#include "device/SampleDevice.h"
#include "platform/springboard/ApplicationIconCache.h"
#include "platform/springboard/SBHomeScreen.h"
#include "platform/springboard/Scenario.h"
#include "platform/springboard/ScenarioEventTypes.h"
#include "platform/springboard/ScenarioRunner.h"
#include "platform/springboard/SpringBoardHost.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>

namespace {

namespace fs = std::filesystem;

constexpr const char* apps[] = {
    "com.apple.MobileSMS", "com.apple.Music", "com.apple.AppStore", "com.apple.mobilecal", "com.apple.mobilesafari",
    "com.apple.stocks", "com.apple.mobilephone", "com.apple.mobilemail", "com.apple.Preferences", "com.apple.tips",
    "com.example.lantern", "com.example.harbor", "com.example.inkwell",
};
constexpr size_t appCount = std::size(apps);

// The sample device with every extension the build made (Tintwell and the companions);
// removed when the program ends.
class BenchDevice {
public:
    BenchDevice()
    {
        std::string pattern = "/tmp/tintwell-list-scale-XXXXXX";
        m_root = mkdtemp(pattern.data());
        SampleDevice::write(m_root);
        auto libraries = m_root / "Library/MobileSubstrate/DynamicLibraries";
        fs::create_directories(libraries);
        for (auto& entry : fs::directory_iterator(TINTWELL_DYLIB_DIR)) {
            auto extension = entry.path().extension();
            if (extension == ".dylib" || extension == ".plist")
                fs::copy_file(entry.path(), libraries / entry.path().filename(), fs::copy_options::overwrite_existing);
        }
        m_host = std::make_unique<SpringBoardHost>(m_root);
        SpringBoardHost::registerSystemClasses();
    }
    ~BenchDevice() { fs::remove_all(m_root); }

    bool extensionsLoaded() const { return m_loaded; }
    bool loadExtensions()
    {
        if (!m_loaded)
            m_loaded = m_host->loadExtensions().loadedCount() >= 4;
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

bool hasScrollEvent() { return findScenarioEventType("scroll") != nullptr; }

// N publish events, a second apart in groups of a hundred, then a scroll to the bottom and
// back in screen-sized steps when the home screen can scroll.
Scenario scenarioPublishing(long count)
{
    nlohmann::json events = nlohmann::json::array();
    for (long index = 0; index < count; ++index) {
        events.push_back({ { "publish",
            { { "section", apps[size_t(index) % appCount] }, { "title", "Sender " + std::to_string(index % 97) },
                { "message", "Notification " + std::to_string(index) + (index % 3 ? " with a message long enough to wrap onto a second line" : "") } } } });
    }
    if (hasScrollEvent()) {
        for (auto* app : apps)
            events.push_back({ { "expandGroup", app } });
        // Down in a hundred jumps, each to a screen of other notifications (10,000 in
        // thirteen groups are about 800,000 points long), then to either end.
        for (int step = 0; step < 100; ++step)
            events.push_back({ { "scroll", { { "by", 8000 } } } });
        events.push_back({ { "scroll", { { "to", "bottom" } } } });
        events.push_back({ { "scroll", { { "to", "top" } } } });
    }
    std::string error;
    auto scenario = Scenario::parse({ { "events", events } }, fs::path("."), error);
    if (!scenario) {
        fprintf(stderr, "bad scenario: %s\n", error.c_str());
        std::abort();
    }
    return std::move(*scenario);
}

double peakResidentMegabytes()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024;
}

void runScenario(benchmark::State& state)
{
    auto scenario = scenarioPublishing(state.range(0));
    auto icons = ApplicationIconCache::shared().statistics();
    for (auto _ : state) {
        SBHomeScreen home;
        ScenarioRunner runner(home);
        runner.run(scenario);
        benchmark::DoNotOptimize(home.notificationIdentifiers().size());
    }
    state.counters["peak_rss_MB"] = peakResidentMegabytes();
    state.counters["scrolls"] = hasScrollEvent();
    // The home screen's drawn icons: handed out again, drawn, and what is kept at the end.
    auto iconsAfter = ApplicationIconCache::shared().statistics();
    state.counters["icons_kept"] = double(iconsAfter.hits - icons.hits);
    state.counters["icons_drawn"] = double(iconsAfter.misses - icons.misses);
    state.counters["icon_cache_kB"] = double(iconsAfter.bytes) / 1024;
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// Publishing one notification into a list already holding N (and taking it out again,
// outside the timing), so the figure is the cost of one more at that size.
void publishOneMore(benchmark::State& state)
{
    SBHomeScreen home;
    {
        ScenarioRunner runner(home);
        runner.run(scenarioPublishing(state.range(0)));
    }
    size_t index = 0;
    for (auto _ : state) {
        auto identifier = home.publishBulletin(apps[index++ % appCount], "Sender", "One more notification");
        state.PauseTiming();
        home.removeNotification(identifier);
        state.ResumeTiming();
    }
}

void BM_ScenarioWithoutExtensions(benchmark::State& state)
{
    device();
    if (device().extensionsLoaded()) {
        state.SkipWithError("the extensions are already loaded in this process; run the plain benchmarks first");
        return;
    }
    runScenario(state);
}

void BM_OneMoreWithoutExtensions(benchmark::State& state)
{
    if (device().extensionsLoaded()) {
        state.SkipWithError("the extensions are already loaded in this process; run the plain benchmarks first");
        return;
    }
    publishOneMore(state);
}

void BM_ScenarioWithExtensions(benchmark::State& state)
{
    if (!device().loadExtensions()) {
        state.SkipWithError("Tintwell and the companions did not all load");
        return;
    }
    runScenario(state);
}

void BM_OneMoreWithExtensions(benchmark::State& state)
{
    if (!device().loadExtensions()) {
        state.SkipWithError("Tintwell and the companions did not all load");
        return;
    }
    publishOneMore(state);
}

} // namespace

BENCHMARK(BM_ScenarioWithoutExtensions)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_OneMoreWithoutExtensions)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ScenarioWithExtensions)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_OneMoreWithExtensions)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
