// The mouse, pad, keyboard and synchronised-lighting threads: timing, the link and same-mode checks, the
// effect-state reset, and the hand-over of each frame to its sender and the preview.
#include "lighting/lighting_context.h"
#include "lighting/mouse_effects.h"
#include "lighting/pad_effects.h"
#include "lighting/shared_effects.h"
#include "platform/debug.h"

#include <algorithm>
#include <array>
#include <initializer_list>
#include <vector>

namespace zq::lighting {

namespace {

using namespace std::chrono_literals;
using Ms = std::chrono::milliseconds;

constexpr Ms kMouseStartWait{3000};
constexpr Ms kPadStartWait{3000};
constexpr Ms kKeyboardStartWait{1000};
// The shortest keyboard turn. Its delay table goes down to 2 ms, which would compute and stream frames
// at 500 a second; a 378-byte frame is 7 reports out and 7 back, about 14 ms on a full-speed USB link, so
// the device could never take them faster than this anyway.
constexpr Ms kKeyboardMinTurn{16};
// A keyboard of another model gets no frames; nothing signals a model change, so look again now and then.
constexpr Ms kOtherModelWait{1000};
// The shortest shared turn: the static effect has no pause of its own, and at speed 0 a turn would
// otherwise follow the last at once.
constexpr Ms kSharedMinTurn{20};
// A turn that has nothing to send (an unknown mode, pad mode 9, no device in same mode) rests this long,
// so a delay of 0 in the tables never turns the thread into a busy loop.
constexpr Ms kIdleWait{100};
constexpr Ms kBetweenSends{3};

// Sleeps on the clock unless stop is set; true when the thread must end. A zero pause costs nothing.
bool pause(LightingContext& ctx, platform::Event& stop, Ms d) {
    if (d.count() <= 0) return stop.isSet();
    return ctx.clock.sleepUnlessStopped(stop, d);
}

// A thread with nothing to send (its link closed, or the shared thread driving its device) blocks until
// one of its links opens, closes, joins or leaves same mode, instead of waking to look.
class LinkWatch {
public:
    LinkWatch(std::initializer_list<device::DeviceLink*> links) : links_(links) {
        for (auto* link : links_) link->stateChanges.subscribe(changed_);
    }
    ~LinkWatch() {
        for (auto* link : links_) link->stateChanges.unsubscribe(changed_);
    }
    LinkWatch(const LinkWatch&) = delete;
    LinkWatch& operator=(const LinkWatch&) = delete;

    // True when the thread must end.
    bool wait(LightingContext& ctx, platform::Event& stop) {
        std::array<platform::Event*, 2> events{&stop, &changed_};
        ctx.clock.waitAny(events, platform::Clock::kNoLimit);
        return stop.isSet();
    }

private:
    std::vector<device::DeviceLink*> links_;
    platform::Event changed_{platform::Event::Reset::Auto};
};

// Restarts an effect after an effect-state reset or when the mode changed since the last turn.
struct ResetWatch {
    std::uint32_t generation = ~0u;
    int mode = -1;
    bool due(const LightingSnapshot& s) {
        const bool changed = s.resetGeneration != generation || s.lighting.mode() != mode;
        generation = s.resetGeneration;
        mode = s.lighting.mode();
        return changed;
    }
};

} // namespace

LightingContext::LightingContext(device::DeviceLink& mouse_, device::DeviceLink& pad_,
                                 device::DeviceLink& keyboard_, platform::Clock& clock_,
                                 LightPreview* preview_)
    : clock(clock_), mouseLink(mouse_), padLink(pad_), keyboardLink(keyboard_), preview(preview_),
      mouseSender(mouse_, clock_, skipSame), padSender(pad_, clock_, skipSame),
      keyboardSender(keyboard_, clock_, skipSame) {}

void LightingContext::click() {
    mouseClicked.store(true, std::memory_order_relaxed);
    padClicked.store(true, std::memory_order_relaxed);
}

void LightingContext::pressKey(std::size_t key) {
    if (key >= kKeyCount) return;
    keyPresses[key / 64].fetch_or(std::uint64_t{1} << (key % 64), std::memory_order_relaxed);
}

KeyPresses LightingContext::takeKeyPresses() {
    KeyPresses p;
    for (std::size_t i = 0; i < p.bits.size(); ++i)
        p.bits[i] = keyPresses[i].exchange(0, std::memory_order_relaxed);
    return p;
}

void runMouseLighting(LightingContext& ctx, platform::Event& stop) {
    MouseEffectState state;
    ResetWatch reset;
    LedFrame frame;
    LinkWatch watch{&ctx.mouseLink};
    bool warned = false;
    if (!pause(ctx, stop, kMouseStartWait)) {
        // The 1 ms wait at the top of each turn is the stop test.
        while (!ctx.clock.sleepUnlessStopped(stop, 1ms)) {
            const unsigned speed = ctx.mouse.snapshot().lighting.speed();
            if (pause(ctx, stop, Ms(2 * speed + 3)) || pause(ctx, stop, Ms(10 * speed))) break;
            // Closed, or the shared thread drives the mouse: nothing to send until that changes.
            if (!ctx.mouseLink.open.load() || ctx.mouseLink.syncLighting.load()) {
                if (watch.wait(ctx, stop)) break;
                continue;
            }

            const LightingSnapshot snap = ctx.mouse.snapshot();
            if (reset.due(snap)) state = MouseEffectState{};
            state.setCounter = snap.effectState;
            if (pause(ctx, stop, mouseEffectPause(snap.lighting.mode()))) break;

            const MouseTurn turn{snap.lighting, snap.dpiLevel, ctx.mouseClicked.exchange(false),
                                 ctx.clock.now()};
            renderMouse(turn, state, frame);
            if (state.setCounter != snap.effectState)
                ctx.mouse.storeEffectState(state.setCounter, snap.resetGeneration);
            if (frame.length == 0) {
                // Said once per stretch in the unknown mode, not at every turn.
                if (!warned) platform::debugString(kMouseUnknownMode);
                warned = true;
                if (pause(ctx, stop, kIdleWait)) break;
                continue;
            }
            warned = false;
            ctx.publish(LightDevice::Mouse, frame.preview);
            ctx.mouseSender.send({frame.bytes.data(), frame.length});
        }
    }
    platform::debugString(kMouseThreadExit);
}

void runPadLighting(LightingContext& ctx, platform::Event& stop) {
    PadEffectState state;
    ResetWatch reset;
    LedFrame frame;
    LinkWatch watch{&ctx.padLink};
    if (!pause(ctx, stop, kPadStartWait)) {
        while (!stop.isSet()) {
            const auto lighting = ctx.pad.snapshot().lighting;
            if (pause(ctx, stop, padTurnDelay(lighting.mode(), lighting.speed()))) break;
            if (!ctx.padLink.open.load() || ctx.padLink.syncLighting.load()) {
                if (watch.wait(ctx, stop)) break;
                continue;
            }

            const LightingSnapshot snap = ctx.pad.snapshot();
            if (reset.due(snap)) state = PadEffectState{};
            state.breathColour = snap.effectState;
            if (pause(ctx, stop, padEffectPause(snap.lighting.mode(), snap.lighting.speed()))) break;

            const PadTurn turn{snap.lighting, ctx.padClicked.exchange(false), ctx.clock.now()};
            renderPad(turn, state, frame);
            if (state.breathColour != snap.effectState)
                ctx.pad.storeEffectState(state.breathColour, snap.resetGeneration);
            if (frame.length == 0) {
                if (pause(ctx, stop, kIdleWait)) break;
                continue;
            }
            ctx.publish(LightDevice::Pad, std::span(frame.preview).first(kPadLeds));
            ctx.padSender.send({frame.bytes.data(), frame.length});
        }
    }
    platform::debugString(kPadThreadExit);
}

void runKeyboardLighting(LightingContext& ctx, platform::Event& stop) {
    // About 2.5 KB of state; kept off the stack of a thread that lives for the whole run.
    auto work =
        std::make_unique<std::tuple<KeyboardEffectState, KeyLightState, KeyboardFrame, KeyboardExtras>>();
    auto& [state, keys, frame, extras] = *work;
    ResetWatch reset;
    LinkWatch watch{&ctx.keyboardLink};
    if (!pause(ctx, stop, kKeyboardStartWait)) {
        while (!stop.isSet()) {
            const auto turnStart = ctx.clock.now();
            const auto lighting = ctx.keyboard.snapshot().lighting;
            if (pause(ctx, stop, keyboardTurnDelay(lighting.mode(), lighting.speed()))) break;
            if (!ctx.keyboardLink.open.load() || ctx.keyboardLink.syncLighting.load()) {
                if (watch.wait(ctx, stop)) break;
                continue;
            }
            ctx.keyboardExtras.snapshot(extras);
            if (extras.modelNumber != 0) {
                if (pause(ctx, stop, kOtherModelWait)) break;
                continue;
            }

            const LightingSnapshot snap = ctx.keyboard.snapshot();
            if (reset.due(snap)) resetKeyboardState(state, snap.lighting.mode());
            if (pause(ctx, stop, keyboardEffectPause(snap.lighting.mode()))) break;
            const auto spent = std::chrono::duration_cast<Ms>(ctx.clock.now() - turnStart);
            if (pause(ctx, stop, kKeyboardMinTurn - spent)) break;

            const KeyboardTurn turn{snap.lighting, extras.customMap, ctx.takeKeyPresses()};
            if (!renderKeyboard(turn, state, keys)) {
                if (pause(ctx, stop, kIdleWait)) break;
                continue;
            }
            packKeyboardFrame(keys, extras.keyPageSelected, frame);
            ctx.publish(LightDevice::Keyboard, frame.preview);
            ctx.keyboardSender.send(frame.bytes);
        }
    }
    platform::debugString(kKeyboardThreadExit);
}

void runSharedLighting(LightingContext& ctx, platform::Event& stop) {
    auto work = std::make_unique<std::tuple<SharedFrames, KeyboardFrame, KeyboardExtras>>();
    auto& [frames, keyboardFrame, extras] = *work;
    SharedEffectState state;
    ResetWatch reset;
    LinkWatch watch{&ctx.mouseLink, &ctx.padLink, &ctx.keyboardLink};
    while (!stop.isSet()) {
        if (pause(ctx, stop, Ms(4 * ctx.sync.snapshot().lighting.speed()))) break;
        // Served are the open devices in same mode; with none there is nothing to do until one joins.
        const bool toKeyboard = ctx.keyboardLink.open.load() && ctx.keyboardLink.syncLighting.load();
        const bool toMouse = ctx.mouseLink.open.load() && ctx.mouseLink.syncLighting.load();
        const bool toPad = ctx.padLink.open.load() && ctx.padLink.syncLighting.load();
        if (!(toKeyboard || toMouse || toPad)) {
            if (watch.wait(ctx, stop)) break;
            continue;
        }
        const LightingSnapshot snap = ctx.sync.snapshot();
        if (snap.lighting.mode() >= kSharedEffectCount) {
            if (pause(ctx, stop, kIdleWait)) break;
            continue;
        }
        if (reset.due(snap)) state = SharedEffectState{};
        if (pause(ctx, stop, std::max(sharedEffectPause(snap.lighting.mode()), kSharedMinTurn))) break;
        renderShared(snap.lighting, state, frames);

        bool first = true;
        auto between = [&] {
            const bool stopNow = !first && pause(ctx, stop, kBetweenSends);
            first = false;
            return stopNow;
        };
        if (toKeyboard) {
            if (between()) break;
            ctx.keyboardExtras.snapshot(extras);
            packKeyboardFrame(frames.keys, extras.keyPageSelected, keyboardFrame);
            ctx.publish(LightDevice::Keyboard, keyboardFrame.preview);
            ctx.keyboardSender.send(keyboardFrame.bytes);
        }
        if (toMouse) {
            if (between()) break;
            ctx.publish(LightDevice::Mouse, frames.mouse.preview);
            ctx.mouseSender.send({frames.mouse.bytes.data(), frames.mouse.length});
        }
        if (toPad) {
            if (between()) break;
            ctx.publish(LightDevice::Pad, std::span(frames.pad.preview).first(kPadLeds));
            ctx.padSender.send({frames.pad.bytes.data(), frames.pad.length});
        }
    }
    platform::debugString(kSharedThreadExit);
}

} // namespace zq::lighting
