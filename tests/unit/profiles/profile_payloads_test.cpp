#include "profiles/profile_payloads.h"
#include "sim/sim_backend.h"

#include <gtest/gtest.h>

#include <numeric>
#include <vector>

namespace {
using namespace zq::profiles;
using zq::device::AppState;

std::vector<std::uint8_t> pattern(std::size_t n, std::uint8_t start) {
    std::vector<std::uint8_t> v(n);
    std::iota(v.begin(), v.end(), start);
    return v;
}

class PayloadTest : public ::testing::Test {
protected:
    zq::sim::SimBackend backend;
    AppState state{backend};
    AppState other{backend};
};

// Whatever a save writes, a load gives back: the state after loading a saved payload saves the same bytes.
TEST_F(PayloadTest, SavedPayloadsLoadBackByteForByte) {
    for (const auto& info : kProfileCategories) {
        const auto payload = pattern(info.payloadSize, 3);
        applyPayload(info.category, state, payload, {});
        // The saved payload is the loaded one except where the load keeps live values (slot, host).
        const auto saved = assemblePayload(info.category, state);
        ASSERT_EQ(saved.size(), info.payloadSize) << info.listControl;
        applyPayload(info.category, other, saved, {});
        EXPECT_EQ(assemblePayload(info.category, other), saved) << info.listControl;
    }
}

TEST_F(PayloadTest, MouseDeviceLoadFillsKeyTableRecordAndBlockWithTheDesktopsHostValues) {
    auto payload = pattern(kMouseDevicePayloadSize, 0);
    payload[512 + kHostPointerSpeedOffset] = 17; // the file's own host values are not applied
    payload[512 + kHostWheelLinesOffset] = 9;
    applyPayload(ProfileCategory::MouseDevice, state, payload, {.pointerSpeed = 0, .wheelLines = 5});
    EXPECT_TRUE(std::equal(state.mouse.keyPages[0].begin(), state.mouse.keyPages[0].end(), payload.begin()));
    EXPECT_TRUE(std::equal(state.mouse.current.begin(), state.mouse.current.end(), payload.begin() + 512));
    EXPECT_EQ(state.mouse.records[0][kHostPointerSpeedOffset], 1) << "0 is taken as 1";
    EXPECT_EQ(state.mouse.records[0][kHostWheelLinesOffset], 5);
    EXPECT_EQ(state.mouse.records[0][50], payload[512 + 50]);

    // A save puts the live block into the slot-0 record behind the key table.
    state.mouse.current[17] = 0xEE;
    const auto saved = assemblePayload(ProfileCategory::MouseDevice, state);
    EXPECT_EQ(saved[512 + 17], 0xEE);
    EXPECT_EQ(state.mouse.records[0][17], 0xEE);
    EXPECT_EQ(saved[512 + kHostWheelLinesOffset], 5);
    EXPECT_EQ(assemblePayload(ProfileCategory::MouseLighting, state),
              std::vector<std::uint8_t>(saved.begin() + 512, saved.end()));
}

TEST_F(PayloadTest, LightingProfilesKeepTheDevicesOnboardSlot) {
    const struct {
        const char* what;
        ProfileCategory category;
        zq::device::DeviceState AppState::*device;
        std::uint8_t liveSlot;
        std::size_t record; // the record the block heads
    } cases[] = {
        {"pad on slot 3", ProfileCategory::PadLighting, &AppState::pad, 3, 3},
        {"pad past the table", ProfileCategory::PadLighting, &AppState::pad, 9, 0},
        {"keyboard", ProfileCategory::KeyboardLighting, &AppState::keyboard, 0, 0},
        {"keyboard device", ProfileCategory::KeyboardDevice, &AppState::keyboard, 2, 2},
    };
    for (const auto& c : cases) {
        AppState s{backend};
        auto& device = s.*c.device;
        device.current[0] = c.liveSlot;
        device.records[1].fill(0x77);
        auto payload = pattern(categoryInfo(c.category).payloadSize, 1);
        const std::size_t at = c.category == ProfileCategory::KeyboardDevice ? 512 : 0;
        payload[at] = 4; // the slot the file was saved from
        applyPayload(c.category, s, payload, {});
        EXPECT_EQ(device.current[0], c.liveSlot) << c.what;
        EXPECT_EQ(device.current[5], payload[at + 5]) << c.what;
        EXPECT_EQ(device.records[c.record][0], c.liveSlot) << c.what;
        EXPECT_EQ(device.records[c.record][63], payload[at + 63]) << c.what;
        EXPECT_EQ(device.records[4][5], 0) << c.what << ": the file's slot is not written";
        EXPECT_EQ(device.records[1][5], 0x77) << c.what;
    }
}

TEST_F(PayloadTest, KeyboardLightingCarriesTheCustomMaps) {
    const auto payload = pattern(kKeyboardLightingPayloadSize, 9);
    applyPayload(ProfileCategory::KeyboardLighting, state, payload, {});
    EXPECT_TRUE(std::equal(state.keyboardCustomLighting.begin(), state.keyboardCustomLighting.end(),
                           payload.begin() + kKeyboardCustomLightingOffset));
    const auto device = assemblePayload(ProfileCategory::KeyboardDevice, state);
    EXPECT_TRUE(std::equal(device.begin() + 512 + kKeyboardCustomLightingOffset, device.end(),
                           payload.begin() + kKeyboardCustomLightingOffset));
}

TEST_F(PayloadTest, ShortLightingRecordsFillOnlyTheHeadAndOtherSizesChangeNothing) {
    state.pad.records[0].fill(0x55);
    applyPayload(ProfileCategory::PadLighting, state, pattern(56, 1), {});
    EXPECT_EQ(state.pad.records[0][55], 56);
    EXPECT_EQ(state.pad.records[0][56], 0x55);

    const auto before = assemblePayload(ProfileCategory::KeyboardDevice, state);
    applyPayload(ProfileCategory::KeyboardDevice, state, pattern(100, 1), {});
    applyPayload(ProfileCategory::KeyboardKeys, state, pattern(600, 1), {});
    EXPECT_EQ(assemblePayload(ProfileCategory::KeyboardDevice, state), before);
}

} // namespace
