// Cost of the lighting engine: one turn of every effect (render and pack), ten seconds of injected time
// streaming to three emulated devices with and without the traffic saver, and a real-time run with the
// system clock (CPU time over wall time).
#include "lighting/lighting_engine.h"
#include "lighting/mouse_effects.h"
#include "lighting/pad_effects.h"
#include "lighting/shared_effects.h"
#include "sim/sim_backend.h"
#include "unit/device/sim_link.h"

#include <benchmark/benchmark.h>

#include <ctime>
#include <thread>

namespace zq::lighting {
namespace {

using namespace std::chrono_literals;

settings::LightingSettings lighting(int mode, bool seven = true, int speed = 2) {
    settings::LightingSettings s;
    s.setMode(static_cast<std::uint8_t>(mode));
    s.setBrightness(3);
    s.setSpeed(static_cast<std::uint8_t>(speed));
    s.setDirection(1);
    s.setSevenColour(seven);
    s.setColour({200, 100, 50});
    return s;
}

const platform::Clock::TimePoint kT0 = platform::Clock::TimePoint{} + std::chrono::hours(1);

void BM_MouseTurn(benchmark::State& state) {
    const auto s = lighting(static_cast<int>(state.range(0)));
    MouseEffectState st;
    LedFrame f;
    std::uint64_t n = 0;
    for (auto _ : state) {
        renderMouse({s, 2, (++n & 15) == 0, kT0 + std::chrono::milliseconds(n * 30)}, st, f);
        benchmark::DoNotOptimize(f);
    }
}
BENCHMARK(BM_MouseTurn)->DenseRange(0, 6);

void BM_PadTurn(benchmark::State& state) {
    const auto s = lighting(static_cast<int>(state.range(0)));
    PadEffectState st;
    LedFrame f;
    std::uint64_t n = 0;
    for (auto _ : state) {
        renderPad({s, (++n & 15) == 0, kT0 + std::chrono::milliseconds(n * 30)}, st, f);
        benchmark::DoNotOptimize(f);
    }
}
BENCHMARK(BM_PadTurn)->DenseRange(0, 8);

void BM_KeyboardTurn(benchmark::State& state) {
    const auto mode = static_cast<std::uint8_t>(state.range(0));
    const auto s = lighting(mode);
    std::array<std::uint8_t, kKeyboardFrameSize> map{};
    auto st = std::make_unique<KeyboardEffectState>();
    resetKeyboardState(*st, mode);
    KeyLightState keys{};
    KeyboardFrame frame;
    std::uint64_t n = 0;
    for (auto _ : state) {
        KeyPresses p;
        if ((++n & 7) == 0) p.set(n % kKeyCount);
        renderKeyboard({s, map, p}, *st, keys);
        packKeyboardFrame(keys, false, frame);
        benchmark::DoNotOptimize(frame);
    }
}
BENCHMARK(BM_KeyboardTurn)->DenseRange(0, 16);

void BM_SharedTurn(benchmark::State& state) {
    const auto s = lighting(static_cast<int>(state.range(0)));
    SharedEffectState st;
    auto frames = std::make_unique<SharedFrames>();
    KeyboardFrame kb;
    for (auto _ : state) {
        renderShared(s, st, *frames);
        packKeyboardFrame(frames->keys, false, kb);
        benchmark::DoNotOptimize(kb);
        benchmark::DoNotOptimize(*frames);
    }
}
BENCHMARK(BM_SharedTurn)->DenseRange(0, 3);

double processCpuSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

struct Rig {
    sim::SimBackend backend;
    device::DeviceLink mouse, pad, keyboard;
    explicit Rig(platform::Clock& clock)
        : backend(clock), mouse(backend, clock), pad(backend, clock), keyboard(backend, clock) {
        zq::test::openOnVendorCollection(mouse, backend.mouse());
        zq::test::openOnVendorCollection(pad, backend.pad());
        zq::test::openOnVendorCollection(keyboard, backend.keyboard());
    }
};

// A thread body's own clock: sleeps take no time and the body is stopped when its time is up, so each
// device keeps exactly the described cadence whatever the machine does.
class BudgetClock final : public platform::Clock {
public:
    explicit BudgetClock(Duration budget) : end_(now_ + budget) {}
    TimePoint now() const override { return now_; }
    void sleepFor(Duration d) override { now_ += d; }
    bool sleepUnlessStopped(platform::Event& stop, Duration d) override {
        if (stop.isSet()) return true;
        now_ += d;
        if (now_ >= end_) stop.set();
        return stop.isSet();
    }

private:
    TimePoint now_ = TimePoint{} + std::chrono::hours(1);
    TimePoint end_;
};

// Ten seconds of streaming after the start waits: the mouse in its wave, the pad in static colour, the
// keyboard in static colour (what most users leave on), at speed 2. Each thread body runs in turn on
// its own budget clock.
void BM_EngineInjected10s(benchmark::State& state) {
    const bool skip = state.range(0) != 0;
    std::uint64_t sent = 0, skipped = 0;
    double cpu = 0;
    for (auto _ : state) {
        platform::ManualClock simClock;
        Rig rig(simClock);
        std::uint64_t frames = 0, skips = 0;
        const double c0 = processCpuSeconds();
        auto run = [&](auto body, std::chrono::milliseconds startWait, auto setup) {
            BudgetClock clock(startWait + 10s);
            LightingContext ctx(rig.mouse, rig.pad, rig.keyboard, clock, nullptr);
            ctx.skipSame = skip;
            setup(ctx);
            platform::Event stop;
            body(ctx, stop);
            frames +=
                ctx.mouseSender.framesSent() + ctx.padSender.framesSent() + ctx.keyboardSender.framesSent();
            skips += ctx.mouseSender.framesSkipped() + ctx.padSender.framesSkipped() +
                     ctx.keyboardSender.framesSkipped();
        };
        run(runMouseLighting, 3000ms, [](LightingContext& c) { c.mouse.setLighting(lighting(0)); });
        run(runPadLighting, 3000ms, [](LightingContext& c) { c.pad.setLighting(lighting(3, false)); });
        run(runKeyboardLighting, 1000ms,
            [](LightingContext& c) { c.keyboard.setLighting(lighting(3, false)); });
        cpu = processCpuSeconds() - c0;
        sent = frames;
        skipped = skips;
    }
    state.counters["cpu_ms_per_10s"] = cpu * 1e3;
    state.counters["cpu_pct_of_core"] = cpu / 10.0 * 100.0;
    state.counters["frames_sent"] = static_cast<double>(sent);
    state.counters["frames_skipped"] = static_cast<double>(skipped);
}
BENCHMARK(BM_EngineInjected10s)->Arg(1)->Arg(0)->Iterations(1)->Unit(benchmark::kMillisecond);

// The real thing: the four threads on the system clock against the emulator. The start waits are let
// pass first; then three seconds are measured.
void BM_EngineRealTime3s(benchmark::State& state) {
    const bool skip = state.range(0) != 0;
    double cpu = 0, wall = 0;
    std::uint64_t frames = 0;
    for (auto _ : state) {
        Rig rig(platform::systemClock());
        LightingEngine engine(rig.mouse, rig.pad, rig.keyboard, platform::systemClock());
        engine.setSkipSame(skip);
        engine.mouse().setLighting(lighting(0));
        engine.pad().setLighting(lighting(3, false));
        engine.keyboard().setLighting(lighting(3, false));
        engine.start();
        std::this_thread::sleep_for(3200ms);
        const auto f0 = rig.backend.mouse().lightFrameCount() + rig.backend.pad().lightFrameCount() +
                        rig.backend.keyboard().lightFrameCount();
        const double c0 = processCpuSeconds();
        const auto w0 = std::chrono::steady_clock::now();
        std::this_thread::sleep_for(3s);
        cpu = processCpuSeconds() - c0;
        wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - w0).count();
        frames = rig.backend.mouse().lightFrameCount() + rig.backend.pad().lightFrameCount() +
                 rig.backend.keyboard().lightFrameCount() - f0;
        engine.stop();
    }
    state.counters["cpu_pct_of_core"] = cpu / wall * 100.0;
    state.counters["frames_per_s"] = static_cast<double>(frames) / wall;
}
BENCHMARK(BM_EngineRealTime3s)->Arg(1)->Arg(0)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
} // namespace zq::lighting

BENCHMARK_MAIN();
