// One request–reply exchange (a profile-record read) and a 583-frame chunked transfer, each on the
// emulator backend and on the hidraw backend with the emulator served as hidraw nodes over FUSE. The
// difference is what the kernel path costs: open file, poll, read and write system calls, and the round
// trips to the file system's thread.
#include "device/commands.h"
#include "device/hid/hidraw_backend.h"
#include "sim/sim_backend.h"
#include "support/hidraw_fuse.h"
#include "unit/device/sim_link.h"

#include <benchmark/benchmark.h>

#include <array>
#include <memory>
#include <vector>

namespace {

using namespace zq;

// The emulated mouse, reached either directly or through hidraw nodes served by FUSE.
struct Mouse {
    explicit Mouse(bool throughKernel) {
        hid::RawNodeBackend* backend = &sim;
        if (throughKernel) {
            if (fuse.start() != test::HidrawFuse::Start::Ok) {
                why = "FUSE harness unavailable: " + fuse.message();
                return;
            }
            hidraw = std::make_unique<hid::HidrawBackend>(fuse.folder());
            backend = hidraw.get();
        }
        link = std::make_unique<device::DeviceLink>(*backend);
        if (!test::openOnVendorCollection(*link, sim.mouse()))
            why = "the mouse's vendor collection is missing";
    }
    ~Mouse() {
        link.reset();
        fuse.stop();
    }
    sim::SimBackend sim; // real time, as the kernel path needs
    test::HidrawFuse fuse{sim};
    std::unique_ptr<hid::HidrawBackend> hidraw;
    std::unique_ptr<device::DeviceLink> link;
    std::string why;
};

void BM_Exchange(benchmark::State& state) {
    Mouse m(state.range(0) != 0);
    if (!m.why.empty()) {
        state.SkipWithError(m.why.c_str());
        return;
    }
    std::array<std::uint8_t, 56> out{};
    for (auto _ : state) {
        if (device::ReadProfileRecord(*m.link, 64, out) != device::kResultOk) {
            state.SkipWithError("exchange failed");
            break;
        }
        benchmark::DoNotOptimize(out);
    }
    state.SetItemsProcessed(state.iterations());
    state.SetLabel(state.range(0) != 0 ? "hidraw backend over FUSE" : "emulator backend");
}
BENCHMARK(BM_Exchange)->ArgName("kernel")->Arg(0)->Arg(1)->UseRealTime();

void BM_MacroTransfer32640(benchmark::State& state) {
    Mouse m(state.range(0) != 0);
    if (!m.why.empty()) {
        state.SkipWithError(m.why.c_str());
        return;
    }
    std::vector<std::uint8_t> block(32640);
    for (std::size_t i = 0; i < block.size(); ++i) block[i] = static_cast<std::uint8_t>(i * 7);
    for (auto _ : state) {
        if (device::WriteMacroBlock(*m.link, block) != device::kResultOk) {
            state.SkipWithError("transfer failed");
            break;
        }
    }
    state.SetItemsProcessed(state.iterations() * 583); // frames
    state.SetLabel(state.range(0) != 0 ? "hidraw backend over FUSE" : "emulator backend");
}
BENCHMARK(BM_MacroTransfer32640)
    ->ArgName("kernel")
    ->Arg(0)
    ->Arg(1)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
