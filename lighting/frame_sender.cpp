#include "lighting/frame_sender.h"

#include "device/commands.h"
#include "device/frame.h"
#include "platform/data_folders.h"
#include "platform/private_profile.h"

#include <algorithm>

namespace zq::lighting {

FrameSender::FrameSender(device::DeviceLink& link, platform::Clock& clock, const std::atomic<bool>& skipSame)
    : link_(link), clock_(clock), skipSame_(skipSame) {}

bool FrameSender::send(std::span<const std::uint8_t> frame) {
    std::lock_guard lock(mutex_);
    const auto now = clock_.now();
    // The next turn is expected one turn's length from now; the repeat goes out now if waiting for that
    // turn would leave the device longer than the keep-alive without a frame.
    const auto turn = haveCall_ ? now - lastCall_ : platform::Clock::TimePoint::duration::zero();
    haveCall_ = true;
    lastCall_ = now;
    const bool same =
        haveLast_ && frame.size() == lastLength_ && std::equal(frame.begin(), frame.end(), last_.begin());
    if (same && skipSame_.load(std::memory_order_relaxed) && (now - lastSent_) + turn <= kKeepAlive) {
        skipped_.fetch_add(1, std::memory_order_relaxed);
        return false;
    }
    const int result = device::WriteLightFrame(link_, frame);
    sent_.fetch_add(1, std::memory_order_relaxed);
    // Only a frame the device took counts as shown: after a failure (or a closed link) the next frame
    // goes out whatever it holds.
    haveLast_ = result == device::kResultOk && frame.size() <= last_.size();
    if (haveLast_) {
        std::copy(frame.begin(), frame.end(), last_.begin());
        lastLength_ = frame.size();
        lastSent_ = now;
    }
    return true;
}

bool readSkipSameSetting(const std::filesystem::path& mainIni) {
    return platform::readProfileString(mainIni, "LIGHTING", "SKIPSAME", "1") != "0";
}

bool readSkipSameSetting() {
    return readSkipSameSetting(platform::resolveCaseInsensitive(platform::userDataFolder(), "main.ini"));
}

} // namespace zq::lighting
