#include "profiles/profile_payloads.h"

#include "settings/host_mouse_rules.h"

#include <algorithm>

namespace zq::profiles {

namespace {

using device::AppState;
using device::DeviceState;
using device::kCompactCurrentBytes;
using device::kKeyPageBytes;
using device::kMouseCurrentBytes;
using device::kRecordBytes;

static_assert(kKeyboardCustomLightingSize == device::kKeyboardCustomLightingBytes);
static_assert(kMouseDevicePayloadSize == kKeyPageBytes + kRecordBytes);
static_assert(kKeyboardDevicePayloadSize == kKeyPageBytes + kKeyboardLightingPayloadSize);

// Grows by resize and copy: GCC's -O3 flow analysis misreads a range insert into a reserved vector as
// an overflow.
void append(std::vector<std::uint8_t>& out, std::span<const std::uint8_t> bytes) {
    const std::size_t at = out.size();
    out.resize(at + bytes.size());
    std::copy(bytes.begin(), bytes.end(), out.begin() + static_cast<std::ptrdiff_t>(at));
}

// The record the block heads, with the live block in front.
std::array<std::uint8_t, kRecordBytes> compactRecord(const DeviceState& s) {
    std::array<std::uint8_t, kRecordBytes> record = s.records[liveSlot(s)];
    std::copy_n(s.current.begin(), kCompactCurrentBytes, record.begin());
    return record;
}

void takeCompactRecord(DeviceState& s, std::span<const std::uint8_t> record) {
    const std::size_t slot = liveSlot(s);
    const std::uint8_t slotByte = s.current[0];
    auto& target = s.records[slot];
    std::copy_n(record.begin(), std::min(record.size(), kRecordBytes), target.begin());
    target[0] = slotByte;
    std::copy_n(target.begin(), kCompactCurrentBytes, s.current.begin());
}

void takeKeyTable(DeviceState& s, std::span<const std::uint8_t> table) {
    std::copy_n(table.begin(), kKeyPageBytes, s.keyPages[0].begin());
}

std::vector<std::uint8_t> keyboardLighting(AppState& state) {
    std::vector<std::uint8_t> out;
    out.reserve(kKeyboardLightingPayloadSize);
    append(out, compactRecord(state.keyboard));
    append(out, keyboardCustomLighting(state));
    return out;
}

void takeKeyboardLighting(AppState& state, std::span<const std::uint8_t> payload) {
    takeCompactRecord(state.keyboard, payload.first(kRecordBytes));
    setKeyboardCustomLighting(state, payload.subspan(kKeyboardCustomLightingOffset));
}

} // namespace

std::size_t liveSlot(const DeviceState& state) {
    return state.current[0] < device::kRecordSlots ? state.current[0] : 0;
}

std::vector<std::uint8_t> keyboardCustomLighting(const AppState& state) {
    return {state.keyboardCustomLighting.begin(), state.keyboardCustomLighting.end()};
}

void setKeyboardCustomLighting(AppState& state, std::span<const std::uint8_t> bytes) {
    const std::size_t n = std::min(bytes.size(), state.keyboardCustomLighting.size());
    std::copy_n(bytes.begin(), n, state.keyboardCustomLighting.begin());
}

std::vector<std::uint8_t> assemblePayload(ProfileCategory category, AppState& state) {
    std::vector<std::uint8_t> out;
    out.reserve(categoryInfo(category).payloadSize);
    switch (category) {
    case ProfileCategory::MouseDevice:
    case ProfileCategory::MouseLighting: {
        auto& record = state.mouse.records[0];
        std::copy_n(state.mouse.current.begin(), kMouseCurrentBytes, record.begin());
        if (category == ProfileCategory::MouseDevice) append(out, state.mouse.keyPages[0]);
        append(out, record);
        break;
    }
    case ProfileCategory::MouseKeys:
        append(out, state.mouse.keyPages[0]);
        break;
    case ProfileCategory::KeyboardDevice:
        append(out, state.keyboard.keyPages[0]);
        append(out, keyboardLighting(state));
        break;
    case ProfileCategory::KeyboardLighting:
        append(out, keyboardLighting(state));
        break;
    case ProfileCategory::KeyboardKeys:
        append(out, state.keyboard.keyPages[0]);
        break;
    case ProfileCategory::PadLighting:
        append(out, compactRecord(state.pad));
        break;
    }
    return out;
}

void applyPayload(ProfileCategory category, AppState& state, std::span<const std::uint8_t> payload,
                  HostMouseValues host) {
    // The lighting resets read a shorter record (56 bytes): the rest of the record stays as it is.
    const bool recordOnly =
        category == ProfileCategory::MouseLighting || category == ProfileCategory::PadLighting;
    const std::size_t needed = category == ProfileCategory::MouseLighting ? kMouseCurrentBytes
                               : category == ProfileCategory::PadLighting
                                   ? kCompactCurrentBytes
                                   : categoryInfo(category).payloadSize;
    if (payload.size() < needed || (!recordOnly && payload.size() != needed)) return;
    switch (category) {
    case ProfileCategory::MouseDevice: {
        takeKeyTable(state.mouse, payload);
        auto& record = state.mouse.records[0];
        std::copy_n(payload.begin() + kKeyPageBytes, kRecordBytes, record.begin());
        std::copy_n(record.begin(), kMouseCurrentBytes, state.mouse.current.begin());
        // A loaded file's host settings are not applied: the desktop's stay, and the record says so.
        record[kHostPointerSpeedOffset] =
            static_cast<std::uint8_t>(std::clamp(settings::hostValueOrOne(host.pointerSpeed), 1, 255));
        record[kHostWheelLinesOffset] =
            static_cast<std::uint8_t>(std::clamp(settings::hostValueOrOne(host.wheelLines), 1, 255));
        break;
    }
    case ProfileCategory::MouseLighting: {
        auto& record = state.mouse.records[0];
        std::copy_n(payload.begin(), std::min(payload.size(), kRecordBytes), record.begin());
        std::copy_n(record.begin(), kMouseCurrentBytes, state.mouse.current.begin());
        break;
    }
    case ProfileCategory::MouseKeys:
        takeKeyTable(state.mouse, payload);
        break;
    case ProfileCategory::KeyboardDevice:
        takeKeyTable(state.keyboard, payload);
        takeKeyboardLighting(state, payload.subspan(kKeyPageBytes));
        break;
    case ProfileCategory::KeyboardLighting:
        takeKeyboardLighting(state, payload);
        break;
    case ProfileCategory::KeyboardKeys:
        takeKeyTable(state.keyboard, payload);
        break;
    case ProfileCategory::PadLighting:
        takeCompactRecord(state.pad, payload);
        break;
    }
}

} // namespace zq::profiles
