#pragma once
// The command firmware of one emulated device: its memories and its answer to every request frame.
// Not thread-safe by itself; SimDevice serialises all calls.
//
// How this firmware answers (the host only relies on the status byte and the payload):
// - The reply echoes the request's command, length and offset, carries the status and, for reads, the
//   data; its checksum is set like a request's.
// - Status 0x00: done. Status 0xFF: the frame itself is bad (checksum mismatch, unknown command).
//   Status 0xFE: the frame is well formed but addresses memory the device does not have (past the end
//   of an area, a length over 56, a slot number the device does not have). A refused request changes
//   nothing.
// - The checksum is checked on every request, except that a factory reset (0x0D) is also taken with
//   its checksum bytes left 00 00: that is how the host sends it, and the command carries no data.
// - Profile records: slot k at k * 64. Byte 0 of the area is the current-slot register: reading it
//   gives the current slot, and a write that covers it selects the slot its first payload byte names
//   (a slot the device does not have refuses the whole frame with 0xFE). Records are otherwise plain
//   memory; byte 0 of records 1..4 is stored like any other byte.
// - Key block: one linear area; page p of 0x08/0x09 starts at p * 126 and pages overlap. 0x07 reads the
//   same area from offset 0 on.
// - Light frames (0x12): a chunk at offset 0 starts a frame, each further chunk must follow on where the
//   last one ended (else 0xFE and the partial frame is dropped); a frame is complete with a chunk shorter
//   than 56 bytes or one that reaches the end of the device's light buffer.
// - BeginTransfer/EndTransfer are counted and open/close a transfer session; writes are accepted with or
//   without one (settings pushes and key-block writes come without the bracket).
// - Factory reset restores the factory records (slot 0 current), the factory key block, and clears the
//   macro and cursor-path memories.
#include "device/frame.h"
#include "sim/device_model.h"

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace zq::sim {

inline constexpr std::uint8_t kStatusOk = 0x00;
inline constexpr std::uint8_t kStatusBadFrame = 0xFF;
inline constexpr std::uint8_t kStatusBadAddress = 0xFE;

// Device information layout (33 bytes). The host reads bytes 5 and 6; the rest describe the device.
namespace info {
inline constexpr std::size_t kDeviceType = 0;      // 1 mouse, 2 pad, 3 keyboard
inline constexpr std::size_t kFirmwareVersion = 1; // 2 bytes, little-endian
inline constexpr std::size_t kProductId = 3;       // 2 bytes, little-endian
inline constexpr std::size_t kKeyCount = 5;
inline constexpr std::size_t kMacroUnits = 6;
inline constexpr std::size_t kProfileSlots = 7;
inline constexpr std::size_t kLedCount = 8;
} // namespace info

class Firmware {
public:
    explicit Firmware(const DeviceModel& model);

    // Answers one request; the reply is a complete frame with the checksum set.
    void handle(const device::Frame& request, device::Frame& reply);
    // Answers with the given status without doing anything (a device that refuses the request).
    void refuse(const device::Frame& request, std::uint8_t status, device::Frame& reply) const;

    void factoryReset();
    // What a power cycle loses: an open transfer session and a half-received light frame.
    void powerCycle();

    // The device's own buttons.
    void stepProfileSlot(); // next slot, wrapping
    void stepDpiLevel();    // next DPI level in the current record, wrapping
    void stepBrightness();  // next brightness in the current record, wrapping
    // A change of the record memory made on the device itself; the same bounds as a host write.
    bool changeRecords(std::size_t offset, std::span<const std::uint8_t> bytes);

    const DeviceModel& model() const { return model_; }
    std::uint8_t currentSlot() const { return records_[0]; }
    std::span<const std::uint8_t> records() const { return records_; }
    std::span<const std::uint8_t> keyArea() const { return keyArea_; }
    std::span<const std::uint8_t> macroArea() const { return macroArea_; }
    std::span<const std::uint8_t> cursorArea() const { return cursorArea_; }
    const std::array<std::uint8_t, device::kDeviceInfoSize>& deviceInfo() const { return info_; }
    std::span<const std::uint8_t> lastLightFrame() const { return {lastLight_.data(), lastLightLength_}; }
    std::uint64_t lightFrameCount() const { return lightFrames_; }
    bool transferOpen() const { return transferOpen_; }
    std::uint64_t transfersBegun() const { return transfersBegun_; }
    std::uint64_t transfersEnded() const { return transfersEnded_; }

private:
    std::uint8_t execute(const device::Frame& request, device::Frame& reply);
    std::uint8_t writeRecords(std::size_t offset, std::size_t length, std::span<const std::uint8_t> data);
    std::uint8_t writeLight(std::size_t offset, std::size_t length, std::span<const std::uint8_t> data);
    std::uint8_t* currentRecord() { return records_.data() + std::size_t{currentSlot()} * kRecordSize; }

    DeviceModel model_;
    std::vector<std::uint8_t> records_, keyArea_, macroArea_, cursorArea_;
    std::array<std::uint8_t, device::kDeviceInfoSize> info_{};
    std::vector<std::uint8_t> lightAssembly_, lastLight_;
    std::size_t lightAssembled_ = 0;
    bool lightInProgress_ = false;
    std::size_t lastLightLength_ = 0;
    std::uint64_t lightFrames_ = 0;
    bool transferOpen_ = false;
    std::uint64_t transfersBegun_ = 0, transfersEnded_ = 0;
};

} // namespace zq::sim
