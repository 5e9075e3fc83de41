// Host cost of the device link on the emulator: one request–reply exchange, and the largest chunked
// transfer (the full 32640-byte macro memory, 583 frames).
#include "device/commands.h"
#include "sim/sim_backend.h"
#include "unit/device/sim_link.h"

#include <benchmark/benchmark.h>

#include <array>
#include <vector>

namespace {

using namespace zq;

struct MouseLink {
    MouseLink() {
        if (!test::openOnVendorCollection(link, backend.mouse()))
            throw std::runtime_error("no emulated mouse");
    }
    sim::SimBackend backend;
    device::DeviceLink link{backend};
};

void BM_WriteProfileRecord(benchmark::State& state) {
    MouseLink m;
    std::array<std::uint8_t, 56> block{};
    for (std::size_t i = 0; i < block.size(); ++i) block[i] = static_cast<std::uint8_t>(i + 1);
    for (auto _ : state) {
        if (device::WriteProfileRecord(m.link, 64, block) != device::kResultOk)
            state.SkipWithError("write failed");
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_WriteProfileRecord);

void BM_ReadProfileRecord(benchmark::State& state) {
    MouseLink m;
    std::array<std::uint8_t, 56> out{};
    for (auto _ : state) {
        if (device::ReadProfileRecord(m.link, 64, out) != device::kResultOk)
            state.SkipWithError("read failed");
        benchmark::DoNotOptimize(out);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ReadProfileRecord);

void BM_WriteMacroBlock32640(benchmark::State& state) {
    MouseLink m;
    std::vector<std::uint8_t> block(32640);
    for (std::size_t i = 0; i < block.size(); ++i) block[i] = static_cast<std::uint8_t>(i * 7);
    for (auto _ : state) {
        if (device::WriteMacroBlock(m.link, block) != device::kResultOk)
            state.SkipWithError("transfer failed");
    }
    state.SetItemsProcessed(state.iterations() * 583); // frames
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(block.size()));
}
BENCHMARK(BM_WriteMacroBlock32640)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
