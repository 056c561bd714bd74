// Settings store benchmarks: Load, Save and lookups with 10, 1 000 and 100 000 entries.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "settings/settings_store.h"

namespace {
namespace fs = std::filesystem;

// A scratch folder (on tmpfs where there is one, so the disk does not dominate) that also
// serves as HOME, so that the store's folder choice never touches the user's own folders.
const fs::path& ScratchFolder()
{
    static const fs::path dir = [] {
        const fs::path base = fs::exists("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
        fs::path d = base / ("lvp_bench_settings_" + std::to_string(std::rand()));
        fs::create_directories(d / ".config");
        setenv("HOME", d.c_str(), 1);
        setenv("XDG_CONFIG_HOME", (d / ".config").c_str(), 1);
        return d;
    }();
    return dir;
}

std::string Key(int64_t i)
{
    return "Setting" + std::to_string(i);
}

// A settings file of n entries, one of each type in turn, written once per size.
const fs::path& SettingsFile(int64_t n)
{
    static std::map<int64_t, fs::path> files;
    auto [it, inserted] = files.try_emplace(n, ScratchFolder() / ("lvp_hdr_" + std::to_string(n) + ".xml"));
    if (inserted) {
        static const char* const kValues[][2] = {{"string", "C:\\Program Files\\enfuse\\enfuse.exe"},
                                                 {"int", "1234"},
                                                 {"bin", "2c0000000200000003000000"},
                                                 {"bool", "true"}};
        std::ofstream out(it->second, std::ios::binary);
        out << "\xEF\xBB\xBF<Document>\r\n <Settings>\r\n";
        for (int64_t i = 0; i < n; ++i) {
            const auto& v = kValues[i % 4];
            out << "  <c Attr=\"" << Key(i) << "\" Type=\"" << v[0] << "\">" << v[1] << "</c>\r\n";
        }
        out << " </Settings>\r\n</Document>\r\n";
    }
    return it->second;
}

void PerEntry(benchmark::State& state)
{
    const double entries = static_cast<double>(state.iterations() * state.range(0));
    state.SetItemsProcessed(static_cast<int64_t>(entries));
    // Seconds per entry (printed with an SI prefix: 350n = 350 ns).
    state.counters["time/entry"] =
        benchmark::Counter(entries, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// Every plug-in object construction re-reads the file into the same store.
void BM_Load(benchmark::State& state)
{
    const std::u16string path = SettingsFile(state.range(0)).u16string();
    lvp::CSettingsStore store;
    for (auto _ : state)
        store.Load(path);
    PerEntry(state);
}

void BM_Save(benchmark::State& state)
{
    lvp::CSettingsStore store;
    store.Load(SettingsFile(state.range(0)).u16string());
    for (auto _ : state)
        store.Save();
    PerEntry(state);
}

// One read and one write per entry on a store of that size.
void BM_Lookup(benchmark::State& state)
{
    lvp::CSettingsStore store;
    store.Load(SettingsFile(state.range(0)).u16string());
    std::vector<std::u16string> keys;
    for (int64_t i = 0; i < state.range(0); ++i) {
        const std::string k = Key(i);
        keys.emplace_back(k.begin(), k.end());
    }
    for (auto _ : state)
        for (const std::u16string& k : keys) {
            benchmark::DoNotOptimize(store.GetInt(k, -1));
            store.SetString(k, u"x", u"", false);
        }
    PerEntry(state);
}
} // namespace

BENCHMARK(BM_Load)->Arg(10)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Save)->Arg(10)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Lookup)->Arg(10)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv)
{
    ScratchFolder();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code ec;
    fs::remove_all(ScratchFolder(), ec);
    return 0;
}
