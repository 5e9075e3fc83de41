// Macro files read through the INI module key by key, and the macro block built from a full family.
// "Cold" runs change each file on disk before every iteration, so the INI module loads and parses the
// files again instead of answering from its cache.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "macros/block_plan.h"
#include "macros/macro_files.h"

namespace {

namespace fs = std::filesystem;
using namespace zq::macros;

fs::path makeFolder() {
    std::string templ = (fs::temp_directory_path() / "zq70-bench-macros-XXXXXX").string();
    if (::mkdtemp(templ.data()) == nullptr) std::abort();
    return templ;
}

std::vector<std::string> sampleLines(std::size_t n) {
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < n; ++i) {
        MacroAction a = i % 2 == 0 ? parseActionLine("120,0,138,4,1,keyboard_key_A")
                                   : parseActionLine("0,0,132,20,1,mouse_move_to_left_text");
        a.setDelay(static_cast<std::uint16_t>(i * 7));
        lines.push_back(formatActionLine(a));
    }
    return lines;
}

// Changes every file on disk behind the INI module's back (a comment line that differs each time), so
// the next read has to load and parse the file again.
void touch(const std::vector<fs::path>& files) {
    static std::uint64_t serial = 0;
    ++serial;
    for (const auto& f : files) {
        std::string text;
        {
            std::ifstream in(f, std::ios::binary);
            text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        }
        if (const auto mark = text.rfind("; serial "); mark != std::string::npos) text.resize(mark);
        text += "; serial " + std::to_string(serial) + "\n";
        std::ofstream(f, std::ios::binary | std::ios::trunc) << text;
    }
}

// The 50 macros of a family whose block fills 255 units of 128 bytes: 16 + 6·50 + 4·8081 = 32640.
struct FullFamily {
    fs::path folder = makeFolder();
    std::vector<fs::path> files;
    FullFamily() {
        std::vector<std::string> names;
        for (std::size_t i = 0; i < 50; ++i) {
            names.push_back("macro_" + std::to_string(i));
            files.push_back(folder / (names.back() + ".mac"));
            if (!writeMacroFile(files.back(), sampleLines(i < 31 ? 162 : 161), names.back())) std::abort();
        }
        if (!rewriteMacroIndex(folder, MacroFamily::Mouse, names)) std::abort();
        files.push_back(macroIndexPath(folder, MacroFamily::Mouse));
    }
    ~FullFamily() { fs::remove_all(folder); }
};

struct OneMacro {
    fs::path folder = makeFolder();
    fs::path file = folder / "name_1.mac";
    OneMacro() {
        if (!writeMacroFile(file, sampleLines(180), "name_1")) std::abort();
    }
    ~OneMacro() { fs::remove_all(folder); }
};

void readMacro180(benchmark::State& state, bool cold) {
    OneMacro m;
    for (auto _ : state) {
        if (cold) {
            state.PauseTiming();
            touch({m.file});
            state.ResumeTiming();
        }
        auto lines = readMacroLines(m.file); // count, then MACROACTION 0 … 179 one key at a time
        if (lines.size() != 180) state.SkipWithError("wrong action count");
        benchmark::DoNotOptimize(lines);
    }
}
void BM_ReadMacroFile180(benchmark::State& state) {
    readMacro180(state, false);
}
void BM_ReadMacroFile180Cold(benchmark::State& state) {
    readMacro180(state, true);
}
BENCHMARK(BM_ReadMacroFile180)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ReadMacroFile180Cold)->Unit(benchmark::kMicrosecond);

void buildFullBlock(benchmark::State& state, bool cold) {
    FullFamily family;
    for (auto _ : state) {
        if (cold) {
            state.PauseTiming();
            touch(family.files);
            state.ResumeTiming();
        }
        BlockPlan plan = planMacroTransfer(family.folder, MacroFamily::Mouse, 255 * 128);
        if (plan.outcome != BlockPlan::Outcome::Ready || plan.block.size() != 32640)
            state.SkipWithError("block is not the full 32640 bytes");
        benchmark::DoNotOptimize(plan);
    }
}
void BM_BuildMacroBlock50Files(benchmark::State& state) {
    buildFullBlock(state, false);
}
void BM_BuildMacroBlock50FilesCold(benchmark::State& state) {
    buildFullBlock(state, true);
}
BENCHMARK(BM_BuildMacroBlock50Files)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BuildMacroBlock50FilesCold)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
