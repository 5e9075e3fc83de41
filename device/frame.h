#pragma once
// The 64-byte command frame that every request and every reply on a device's vendor collection uses:
//
//   0      report id (always 0x04)
//   1..2   checksum: low 16 bits of the sum of bytes 3..63, little-endian
//   3      command id
//   4      length: payload bytes that matter, 0..56
//   5..6   offset within the addressed memory area, little-endian
//   7      status: 0 in requests; 0xFF / 0xFE in a reply mean failure, anything else success
//   8..63  payload
//
// Pure functions only; the exchange over a link lives in exchange.h.
#include "platform/byte_order.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace zq::device {

inline constexpr std::size_t kFrameSize = 64;
using Frame = std::array<std::uint8_t, kFrameSize>;

inline constexpr std::size_t kReportIdOffset = 0;
inline constexpr std::size_t kChecksumOffset = 1; // 2 bytes
inline constexpr std::size_t kCommandOffset = 3;
inline constexpr std::size_t kLengthOffset = 4;
inline constexpr std::size_t kAddressOffset = 5; // 2 bytes: the frame's "offset" field
inline constexpr std::size_t kStatusOffset = 7;
inline constexpr std::size_t kPayloadOffset = 8;
inline constexpr std::size_t kPayloadSize = kFrameSize - kPayloadOffset; // 56
inline constexpr std::size_t kChecksumFirstByte = kCommandOffset;        // summed: bytes 3..63

inline constexpr std::uint8_t kReportId = 0x04;

// Command ids. No other id is ever sent.
namespace cmd {
inline constexpr std::uint8_t kBeginTransfer = 0x01;
inline constexpr std::uint8_t kEndTransfer = 0x02;
inline constexpr std::uint8_t kReadDeviceInfo = 0x03;
inline constexpr std::uint8_t kReadProfileRecord = 0x05;
inline constexpr std::uint8_t kWriteProfileRecord = 0x06;
inline constexpr std::uint8_t kReadKeyBlock = 0x07;
inline constexpr std::uint8_t kReadKeyBlockPage = 0x08;
inline constexpr std::uint8_t kWriteKeyBlockPage = 0x09;
inline constexpr std::uint8_t kFactoryReset = 0x0D;
inline constexpr std::uint8_t kWriteLightFrame = 0x12;
inline constexpr std::uint8_t kWriteMacroBlock = 0x15;
inline constexpr std::uint8_t kWriteCursorPathBlock = 0x17;
} // namespace cmd

inline constexpr std::array<std::uint8_t, 12> kAllCommands{
    cmd::kBeginTransfer,      cmd::kEndTransfer,     cmd::kReadDeviceInfo,   cmd::kReadProfileRecord,
    cmd::kWriteProfileRecord, cmd::kReadKeyBlock,    cmd::kReadKeyBlockPage, cmd::kWriteKeyBlockPage,
    cmd::kFactoryReset,       cmd::kWriteLightFrame, cmd::kWriteMacroBlock,  cmd::kWriteCursorPathBlock,
};

// Reply status bytes that report failure; every other value is success.
inline constexpr std::uint8_t kStatusFailFF = 0xFF;
inline constexpr std::uint8_t kStatusFailFE = 0xFE;

// Result codes of every device operation.
inline constexpr int kResultOk = 1;
inline constexpr int kResultNoReply = 0; // also: the link is not open
inline constexpr int kResultWriteFailed = -1;
inline constexpr int kResultStatusFF = -102;
inline constexpr int kResultStatusFE = -103;
inline constexpr int kResultBadPage = -201;
// A buffer the protocol cannot carry (see commands.h); nothing was sent.
inline constexpr int kResultBadLength = -202;
// A chunked write stopped between two frames by its caller (see commands.h).
inline constexpr int kResultCancelled = -203;

// Length of the device information that ReadDeviceInfo returns.
inline constexpr std::size_t kDeviceInfoSize = 33;

using platform::readLe16;
using platform::writeLe16;

// Low 16 bits of the sum of bytes 3..63 as they stand.
constexpr std::uint16_t computeChecksum(const Frame& frame) {
    unsigned sum = 0;
    for (std::size_t i = kChecksumFirstByte; i < kFrameSize; ++i) sum += frame[i];
    return static_cast<std::uint16_t>(sum & 0xFFFF);
}

constexpr void setChecksum(Frame& frame) {
    writeLe16(frame, kChecksumOffset, computeChecksum(frame));
}

constexpr bool checksumMatches(const Frame& frame) {
    return readLe16(frame, kChecksumOffset) == computeChecksum(frame);
}

// A cleared frame with the request fields set, the payload copied to byte 8 and the checksum last.
// At most 56 payload bytes fit; anything past them is not copied. The length byte is written as given.
constexpr Frame buildFrame(std::uint8_t command, std::uint8_t length, std::uint16_t offset,
                           std::span<const std::uint8_t> payload = {}) {
    Frame frame{};
    frame[kReportIdOffset] = kReportId;
    frame[kCommandOffset] = command;
    frame[kLengthOffset] = length;
    writeLe16(frame, kAddressOffset, offset);
    frame[kStatusOffset] = 0;
    const std::size_t n = std::min(payload.size(), kPayloadSize);
    std::copy_n(payload.begin(), n, frame.begin() + kPayloadOffset);
    setChecksum(frame);
    return frame;
}

// Field readers, for replies and for the device side.
constexpr std::uint8_t frameCommand(const Frame& f) {
    return f[kCommandOffset];
}
constexpr std::uint8_t frameLength(const Frame& f) {
    return f[kLengthOffset];
}
constexpr std::uint16_t frameAddress(const Frame& f) {
    return readLe16(f, kAddressOffset);
}
constexpr std::uint8_t frameStatus(const Frame& f) {
    return f[kStatusOffset];
}
constexpr std::span<const std::uint8_t, kPayloadSize> framePayload(const Frame& f) {
    return std::span<const std::uint8_t, kPayloadSize>(f.data() + kPayloadOffset, kPayloadSize);
}
constexpr std::span<std::uint8_t, kPayloadSize> framePayload(Frame& f) {
    return std::span<std::uint8_t, kPayloadSize>(f.data() + kPayloadOffset, kPayloadSize);
}

// The result code a reply's status byte gives.
constexpr int resultOfStatus(std::uint8_t status) {
    if (status == kStatusFailFF) return kResultStatusFF;
    if (status == kStatusFailFE) return kResultStatusFE;
    return kResultOk;
}

// "cmd 06 len 56 off 0x0040 status 00" for debug lines.
std::string describeFrame(const Frame& frame);

} // namespace zq::device
