#pragma once
// The device command set. Every operation returns the result code of exchange(); other modules name
// these operations and never build frames themselves.
//
// Buffers that would not fit the protocol are refused before anything is sent, with kResultBadLength:
//  - the single-frame record commands take at most 56 bytes (one frame's payload);
//  - the key-block commands need a buffer of at least blockLength bytes;
//  - a chunked transfer must stay within the 16-bit offset space of its memory area.
// No caller relies on a partial or cut-down transfer, so refusing is safer than clamping: a clamped write
// would leave the device with half a block and report success.
#include "device/device_link.h"
#include "device/frame.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <span>

namespace zq::device {

inline constexpr unsigned kKeyBlockPages = 5;
inline constexpr std::uint16_t kKeyBlockPageStride = 126;
inline constexpr std::chrono::milliseconds kEndTransferPause{10};
inline constexpr std::size_t kAddressSpace = 0x10000;

int BeginTransfer(DeviceLink& link);
// Pauses 10 ms (on the link's clock) before the exchange.
int EndTransfer(DeviceLink& link);

// Copies the 33 bytes of device information on success; out is untouched otherwise.
int ReadDeviceInfo(DeviceLink& link, std::span<std::uint8_t, kDeviceInfoSize> out);

// n = out.size() / data.size(), at most 56. A write of 0 bytes sends a frame of length 0.
int ReadProfileRecord(DeviceLink& link, std::uint16_t offset, std::span<std::uint8_t> out);
int WriteProfileRecord(DeviceLink& link, std::uint16_t offset, std::span<const std::uint8_t> data);

// blockLength bytes from offset 0.
int ReadKeyBlock(DeviceLink& link, std::span<std::uint8_t> out);
// blockLength bytes from page × 126; page 5 or more → kResultBadPage with no traffic.
int ReadKeyBlockPage(DeviceLink& link, std::span<std::uint8_t> out, unsigned page);
int WriteKeyBlockPage(DeviceLink& link, std::span<const std::uint8_t> data, unsigned page);

// Command 0x0D with every other byte 0, checksum bytes included; one write and one read, result
// kResultOk when a reply came, kResultNoReply otherwise (its callers do not look at it).
int FactoryReset(DeviceLink& link);

// The whole block from offset 0, in frames of at most 56 bytes.
int WriteLightFrame(DeviceLink& link, std::span<const std::uint8_t> data);
// The long blocks tell how far they are after each frame; a progress call that answers false ends the
// write there (kResultCancelled), so a transfer can stop between two frames.
using ChunkProgress = std::function<bool(std::size_t bytesDone, std::size_t bytesTotal)>;
int WriteMacroBlock(DeviceLink& link, std::span<const std::uint8_t> data, const ChunkProgress& progress = {});
int WriteCursorPathBlock(DeviceLink& link, std::span<const std::uint8_t> data,
                         const ChunkProgress& progress = {});

} // namespace zq::device
