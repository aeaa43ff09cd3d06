// App lookups that miss, inside the home screen with Tintwell loaded: 1,000 installed apps
// (ten of them with hostile Info.plists beside the sample device's own) and notifications
// from sections no installed app declares, so every icon lookup of them misses.
//
// Each iteration publishes `N` notifications from sections never seen before (Tintwell
// caches a colour per section, so a repeated section would not ask again). The counters
// are the app index's own: "scans" lists the application folders, "plistReads" opens and
// parses an Info.plist. Both are totals over the iteration, averaged over iterations.
#include "bench/BenchHomeScreen.h"
#include "device/SampleDevice.h"
#include "platform/foundation/DeviceRoot.h"
#include "platform/foundation/NSDictionary.h"
#include "platform/foundation/NSMutableDictionary.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/PropertyList.h"
#include "platform/springboard/AppIndex.h"
#include "platform/springboard/SBHomeScreen.h"
#include "platform/springboard/SpringBoardHost.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>

namespace {

namespace fs = std::filesystem;

constexpr int installedApps = 1000;

void writeBytes(const fs::path& path, const std::string& bytes)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string xmlPlist(const std::string& body)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n" + body + "\n</plist>\n";
}

// Unreadable or costly, but none of them crashes the reader: garbage, truncated binary
// lists, an empty file, nesting past the reader's limit, and large but legal lists.
void writeHostileApps(const fs::path& root)
{
    auto folder = [&](int index) { return root / ("Applications/Hostile" + std::to_string(index) + ".app/Info.plist"); };
    std::mt19937 random(15);
    std::string garbage(64 << 10, '\0');
    for (auto& byte : garbage)
        byte = static_cast<char>(random() % 255 + 1);
    writeBytes(folder(0), garbage);
    writeBytes(folder(1), "bplist00" + garbage);
    auto binary = NSMutableDictionary::dictionary();
    binary->setObjectForStringKey(NSString::string("com.example.hostile.truncated").get(), "CFBundleIdentifier");
    binary->setObjectForStringKey(NSString::string(std::string(4096, 'x')).get(), "CFBundleName");
    auto bytes = *PropertyList::serialize(binary.get(), PropertyList::Format::Binary);
    writeBytes(folder(2), bytes.substr(0, bytes.size() / 2));
    writeBytes(folder(3), bytes.substr(0, bytes.size() - 3));
    writeBytes(folder(4), "");
    std::string nested;
    for (int depth = 0; depth < 400; ++depth)
        nested += "<array>";
    for (int depth = 0; depth < 400; ++depth)
        nested += "</array>";
    writeBytes(folder(5), xmlPlist("<dict><key>CFBundleIdentifier</key><string>com.example.hostile.nested</string><key>Deep</key>" + nested + "</dict>"));
    writeBytes(folder(6), xmlPlist(nested));
    std::string filler;
    for (int entry = 0; entry < 20000; ++entry)
        filler += "<string>filler " + std::to_string(entry) + "</string>";
    writeBytes(folder(7), xmlPlist("<dict><key>Filler</key><array>" + filler + "</array></dict>"));
    writeBytes(folder(8), xmlPlist("<dict><key>CFBundleIdentifier</key><string>com.example.hostile.large</string><key>Filler</key><array>" + filler + "</array></dict>"));
    writeBytes(folder(9), xmlPlist("<dict><key>CFBundleIdentifier</key><string>com.example.hostile.unclosed</string><key>Filler</key><array>" + filler));
}

// The sample device, the filler apps, the hostile ones and Tintwell; removed at exit.
class BenchDevice {
public:
    BenchDevice()
    {
        m_root = bench::sampleDeviceWithTintwell("tintwell-app-index-bench", TINTWELL_DYLIB);
        DeviceRoot::set(m_root);
        int filler = installedApps - 10 - static_cast<int>(SampleDevice::apps().size());
        for (int index = 0; index < filler; ++index) {
            auto info = NSMutableDictionary::dictionary();
            info->setObjectForStringKey(NSString::string("com.example.filler" + std::to_string(index)).get(), "CFBundleIdentifier");
            info->setObjectForStringKey(NSString::string("Filler " + std::to_string(index)).get(), "CFBundleName");
            std::string folder = "/Applications/Filler" + std::to_string(index) + ".app";
            fs::create_directories(m_root / folder.substr(1));
            PropertyList::writeFile(info.get(), folder + "/Info.plist", PropertyList::Format::Binary, false);
        }
        writeHostileApps(m_root);
        m_host = std::make_unique<SpringBoardHost>(m_root);
        m_loaded = m_host->loadExtensions().loadedCount() == 1;
        m_home = std::make_unique<SBHomeScreen>();
    }
    ~BenchDevice() { fs::remove_all(m_root); }

    bool tintwellLoaded() const { return m_loaded; }
    SBHomeScreen& home() { return *m_home; }

private:
    fs::path m_root;
    std::unique_ptr<SpringBoardHost> m_host;
    std::unique_ptr<SBHomeScreen> m_home;
    bool m_loaded { false };
};

BenchDevice& device()
{
    static BenchDevice instance;
    return instance;
}

void BM_NotificationsFromUnknownSections(benchmark::State& state)
{
    if (!device().tintwellLoaded()) {
        state.SkipWithError("Tintwell.dylib did not load");
        return;
    }
    auto& home = device().home();
    static int batch = 0;
    auto before = AppIndex::statistics();
    for (auto _ : state) {
        ++batch;
        for (long index = 0; index < state.range(0); ++index) {
            home.publishBulletin("com.example.unknown" + std::to_string(batch) + "." + std::to_string(index), "Unknown", "From a section no app declares");
            home.layoutNow();
        }
    }
    auto after = AppIndex::statistics();
    state.counters["scans"] = benchmark::Counter(double(after.scans - before.scans), benchmark::Counter::kAvgIterations);
    state.counters["plistReads"] = benchmark::Counter(double(after.infoPlistReads - before.infoPlistReads), benchmark::Counter::kAvgIterations);
    state.counters["apps"] = double(after.apps);
    state.counters["unreadable"] = double(after.unreadable);
}
BENCHMARK(BM_NotificationsFromUnknownSections)->Arg(1)->Arg(100)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

BENCHMARK_MAIN();
