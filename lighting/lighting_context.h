#pragma once
// Everything the four lighting threads share: the links, the settings handed over from the UI thread,
// the frame senders, the click and key-press triggers, the preview and the clock.
#include "device/device_link.h"
#include "lighting/frame_sender.h"
#include "lighting/keyboard_effects.h"
#include "lighting/light_preview.h"
#include "lighting/lighting_source.h"
#include "platform/clock.h"
#include "platform/event.h"

#include <array>
#include <atomic>
#include <cstdint>

namespace zq::lighting {

// The threads' exit strings on the debug channel.
inline constexpr std::string_view kMouseThreadExit = "鼠标灯光线程设定退出";
inline constexpr std::string_view kPadThreadExit = "鼠标垫灯光线程设定退出";
inline constexpr std::string_view kKeyboardThreadExit = "键盘灯光线程设定退出";
inline constexpr std::string_view kSharedThreadExit = "同步灯光线程设定退出";
// A mouse light mode the thread has no effect for.
inline constexpr std::string_view kMouseUnknownMode = "鼠标灯光线程设定2";

struct LightingContext {
    LightingContext(device::DeviceLink& mouseLink, device::DeviceLink& padLink,
                    device::DeviceLink& keyboardLink, platform::Clock& clock, LightPreview* preview);
    LightingContext(const LightingContext&) = delete;
    LightingContext& operator=(const LightingContext&) = delete;

    platform::Clock& clock;
    device::DeviceLink& mouseLink;
    device::DeviceLink& padLink;
    device::DeviceLink& keyboardLink;
    LightPreview* preview;

    LightingSource mouse;
    LightingSource pad;
    LightingSource keyboard;
    LightingSource sync; // SyncLighting
    KeyboardExtrasSource keyboardExtras;

    std::atomic<bool> skipSame{true};
    FrameSender mouseSender;
    FrameSender padSender;
    FrameSender keyboardSender;

    // Set by the device-report thread (a click on the mouse), cleared by the reactive effects.
    std::atomic<bool> mouseClicked{false};
    std::atomic<bool> padClicked{false};
    // Keys pressed since the keyboard's last turn, by key index.
    std::array<std::atomic<std::uint64_t>, 2> keyPresses{};

    void click();
    void pressKey(std::size_t key);
    KeyPresses takeKeyPresses();
    void publish(LightDevice device, std::span<const PreviewLed> leds) const {
        if (preview) preview->publish(device, leds);
    }
};

// The thread bodies. Each runs until stop is set, sleeping on the context's clock (so the stop ends any
// sleep at once), and writes its exit string when it ends.
void runMouseLighting(LightingContext& ctx, platform::Event& stop);
void runPadLighting(LightingContext& ctx, platform::Event& stop);
void runKeyboardLighting(LightingContext& ctx, platform::Event& stop);
void runSharedLighting(LightingContext& ctx, platform::Event& stop);

} // namespace zq::lighting
