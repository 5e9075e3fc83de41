// Reading a macro file key by key through the private-profile functions, as the macro pages do.
// Target: a 180-action file read whole (540 key reads) in at most 5 ms, the first read included.
#include "platform/private_profile.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {
namespace fs = std::filesystem;
using zq::platform::readProfileString;

// A macro-shaped file: the count, the name and one action line per key.
fs::path makeMacroFile(int keys) {
    const fs::path file = fs::temp_directory_path() / ("zq70-bench-" + std::to_string(::getpid()) + ".mac");
    zq::platform::removeProfileFile(file); // drops the cached copy too
    std::ofstream out(file, std::ios::binary);
    out << "[MACROACTIONCOUNT]\r\ncount=" << keys
        << "\r\n[MACROSELECTNAME]\r\nname=Burst fire\r\n[MACROACTION]\r\n";
    for (int i = 0; i < keys; ++i)
        out << i << '=' << (i % 2 ? 10 : 120) << ",0,138," << (4 + i % 26) << ',' << (i % 2 ? 0 : 1)
            << ",keyboard_key_" << static_cast<char>('A' + i % 26) << "\r\n";
    return file;
}

int readMacro(const fs::path& file) {
    int total = 0;
    const int count = std::stoi(readProfileString(file, "MACROACTIONCOUNT", "count", "0"));
    for (int i = 0; i < count; ++i)
        total += static_cast<int>(readProfileString(file, "MACROACTION", std::to_string(i), "0").size());
    return total;
}

// 540 key reads of one file, starting with the file not yet parsed.
void BM_Read540KeysColdStart(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        const fs::path file = makeMacroFile(539);
        state.ResumeTiming();
        benchmark::DoNotOptimize(readMacro(file));
    }
    state.SetItemsProcessed(state.iterations() * 540);
}
BENCHMARK(BM_Read540KeysColdStart)->Unit(benchmark::kMillisecond);

// A 180-action macro read three times over (editor load, block build, display): 543 reads, warm.
void BM_Read180ActionMacroThreeTimes(benchmark::State& state) {
    const fs::path file = makeMacroFile(180);
    for (auto _ : state) {
        for (int r = 0; r < 3; ++r) benchmark::DoNotOptimize(readMacro(file));
    }
    state.SetItemsProcessed(state.iterations() * 543);
}
BENCHMARK(BM_Read180ActionMacroThreeTimes)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
