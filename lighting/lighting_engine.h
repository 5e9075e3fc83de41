#pragma once
// The lighting engine: the mouse, pad, keyboard and synchronised-lighting threads, started with the main
// window and stopped when it closes, each with a stop event of its own.
//
// The UI thread hands over lighting through the sources (mouse(), pad(), keyboard(), sync(),
// keyboardExtras()) and copies effect_state back from them before it pushes or saves a block. The
// device-report thread calls click(); a keyboard hook calls keyPressed().
#include "lighting/lighting_context.h"

#include <array>
#include <chrono>
#include <memory>
#include <thread>

namespace zq::lighting {

enum class LightThread : std::uint8_t { Mouse, Pad, Keyboard, Shared };
inline constexpr std::size_t kLightThreadCount = 4;

class LightingEngine {
public:
    LightingEngine(device::DeviceLink& mouseLink, device::DeviceLink& padLink,
                   device::DeviceLink& keyboardLink, platform::Clock& clock = platform::systemClock(),
                   LightPreview* preview = nullptr);
    ~LightingEngine();
    LightingEngine(const LightingEngine&) = delete;
    LightingEngine& operator=(const LightingEngine&) = delete;

    LightingSource& mouse() { return ctx_.mouse; }
    LightingSource& pad() { return ctx_.pad; }
    LightingSource& keyboard() { return ctx_.keyboard; }
    LightingSource& sync() { return ctx_.sync; }
    KeyboardExtrasSource& keyboardExtras() { return ctx_.keyboardExtras; }
    LightingContext& context() { return ctx_; }

    // Traffic saver, on by default (the setting's default). The owner applies what "main.ini" says with
    // setSkipSame(readSkipSameSetting()); the engine itself touches no files.
    void setSkipSame(bool on) { ctx_.skipSame.store(on); }
    bool skipSame() const { return ctx_.skipSame.load(); }

    // A click reported by the mouse (usage 0x0403): the reactive effects of the mouse and the pad flash.
    void click() { ctx_.click(); }
    // A key pressed on the keyboard, by key index 0-125, for the keyboard's reactive modes.
    void keyPressed(std::size_t key) { ctx_.pressKey(key); }

    // Starts the four threads in the order keyboard, mouse, pad, shared; a thread already running is
    // left alone.
    void start();
    void start(LightThread thread);

    // Sets every stop event and waits up to `limit` for the threads to end; true when all did. The
    // threads are joined in any case (they end within their current sleep).
    bool stop(std::chrono::milliseconds limit = std::chrono::milliseconds(1000));
    bool running(LightThread thread) const;

private:
    struct Worker {
        platform::Event stop{platform::Event::Reset::Manual};
        platform::Event ended{platform::Event::Reset::Manual};
        std::jthread thread;
    };
    LightingContext ctx_;
    std::array<std::unique_ptr<Worker>, kLightThreadCount> workers_;
};

} // namespace zq::lighting
