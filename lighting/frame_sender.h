#pragma once
// Sends a device's light frames, optionally skipping a frame identical to the last one sent.
//
// The devices show whatever frame came last, so a repeat carries no news: with skipping on (the "SKIPSAME"
// key of section "LIGHTING" in "main.ini", default "1") a frame equal to the last one sent is left out,
// but never for longer than 250 ms, so a device that expects a steady stream still gets one. Frames only
// come once a turn, so the sender judges by the time since the previous call whether the next turn would
// come too late and sends the repeat early rather than leave a gap past 250 ms. With skipping off every
// frame goes out.
//
// The device's own thread and the synchronised-lighting thread may both send to one device around a
// same-mode switch; a frame goes out whole under this sender's lock, so the chunks of two frames never
// interleave on the device.
#include "device/device_link.h"
#include "lighting/light_frame.h"
#include "platform/clock.h"

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <mutex>
#include <span>

namespace zq::lighting {

inline constexpr std::chrono::milliseconds kKeepAlive{250};

class FrameSender {
public:
    FrameSender(device::DeviceLink& link, platform::Clock& clock, const std::atomic<bool>& skipSame);

    // True when the frame was handed to the link, false when skipped.
    bool send(std::span<const std::uint8_t> frame);

    std::uint64_t framesSent() const { return sent_.load(std::memory_order_relaxed); }
    std::uint64_t framesSkipped() const { return skipped_.load(std::memory_order_relaxed); }

private:
    device::DeviceLink& link_;
    platform::Clock& clock_;
    const std::atomic<bool>& skipSame_;
    std::mutex mutex_;
    std::array<std::uint8_t, kKeyboardFrameSize> last_{};
    std::size_t lastLength_ = 0;
    bool haveLast_ = false;
    platform::Clock::TimePoint lastSent_{};
    bool haveCall_ = false;
    platform::Clock::TimePoint lastCall_{};
    std::atomic<std::uint64_t> sent_{0};
    std::atomic<std::uint64_t> skipped_{0};
};

// The "SKIPSAME" setting of main.ini in the user data folder; only "0" turns skipping off.
bool readSkipSameSetting();
bool readSkipSameSetting(const std::filesystem::path& mainIni);

} // namespace zq::lighting
