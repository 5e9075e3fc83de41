// What a private-profile file costs in memory once read, for the worst shapes a file within the bounds
// can take (and one past them). Prints the heap the parsed and cached file holds.
//
// Target: at most 12 MiB for any file within the bounds (kMaxProfileFileBytes, kMaxProfileFileLines),
// and nothing lasting for a file past them.
#include "platform/private_profile.h"

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {
namespace fs = std::filesystem;
using namespace zq::platform;

std::string distinctSections() {
    std::string s;
    for (std::size_t i = 0; i < kMaxProfileFileLines; ++i) {
        s += '[';
        s += std::to_string(i);
        s += "]\n";
    }
    return s;
}

// Names just too long to be stored inside their string objects: every line costs two heap blocks more.
std::string distinctLongSections() {
    std::string s;
    for (std::size_t i = 0; s.size() + 24 <= kMaxProfileFileBytes; ++i) {
        const std::string n = std::to_string(i);
        s += '[';
        s.append(20 - n.size(), 's');
        s += n;
        s += "]\n";
    }
    return s;
}

std::string distinctKeys() {
    std::string s = "[A]\n";
    for (std::size_t i = 1; i < kMaxProfileFileLines; ++i) s += std::to_string(i) + "=\n";
    return s;
}

std::string longValues() {
    std::string s = "[A]\n";
    const std::string value(64 * 1024 - 8, 'v');
    for (int i = 0; s.size() + value.size() + 8 <= kMaxProfileFileBytes; ++i) {
        s += 'k';
        s += std::to_string(i);
        s += '=';
        s += value;
        s += '\n';
    }
    return s;
}

std::string shortLines() {
    std::string s = "[A]\nk=1\n";
    s.resize(kMaxProfileFileLines - 1 + 2, '\n'); // every line empty, up to the line bound
    return s;
}

std::string pastTheLineBound() {
    return std::string(kMaxProfileFileBytes, '\n');
}

void measure(benchmark::State& state, const std::string& text) {
    std::string name = "zq70-bench-ini-";
    name += std::to_string(::getpid());
    const fs::path file = fs::temp_directory_path() / name;
    std::ofstream(file, std::ios::binary | std::ios::trunc) << text;
    std::size_t held = 0;
    for (auto _ : state) {
        removeProfileFile(file); // drops the cached copy; the file is written again below
        state.PauseTiming();
        std::ofstream(file, std::ios::binary | std::ios::trunc) << text;
        const std::size_t before = mallinfo2().uordblks;
        state.ResumeTiming();
        benchmark::DoNotOptimize(readProfileString(file, "A", "k", "0"));
        state.PauseTiming();
        held = mallinfo2().uordblks - before;
        state.ResumeTiming();
    }
    removeProfileFile(file);
    state.counters["file_KiB"] = static_cast<double>(text.size()) / 1024.0;
    state.counters["held_KiB"] = static_cast<double>(held) / 1024.0;
}

void BM_ReadDistinctSections(benchmark::State& state) {
    measure(state, distinctSections());
}
BENCHMARK(BM_ReadDistinctSections)->Unit(benchmark::kMillisecond);

void BM_ReadDistinctLongSections(benchmark::State& state) {
    measure(state, distinctLongSections());
}
BENCHMARK(BM_ReadDistinctLongSections)->Unit(benchmark::kMillisecond);

void BM_ReadDistinctKeys(benchmark::State& state) {
    measure(state, distinctKeys());
}
BENCHMARK(BM_ReadDistinctKeys)->Unit(benchmark::kMillisecond);

void BM_ReadLongValues(benchmark::State& state) {
    measure(state, longValues());
}
BENCHMARK(BM_ReadLongValues)->Unit(benchmark::kMillisecond);

void BM_ReadEmptyLines(benchmark::State& state) {
    measure(state, shortLines());
}
BENCHMARK(BM_ReadEmptyLines)->Unit(benchmark::kMillisecond);

void BM_ReadPastTheLineBound(benchmark::State& state) {
    measure(state, pastTheLineBound());
}
BENCHMARK(BM_ReadPastTheLineBound)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
