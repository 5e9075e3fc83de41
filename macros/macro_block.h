#pragma once
// The packed block of all macros of a family, as the device keeps it in its macro memory; the
// cursor-path block has the same layout. Little-endian throughout:
//
//   0       magic 0x55AA (bytes AA 55)
//   2       total size of the block in bytes
//   4       number of macros n
//   6..15   reserved (zero)
//   16      offset table: n entries of 2 bytes, the block offset of each macro record
//   16+2n   the n records back to back, each:
//             0  number of actions m (2 bytes)
//             2  reserved (2 bytes, zero)
//             4  m actions of 4 bytes: delayLow, delayHigh, type, code
//
// total = 16 + 6n + 4·Σm.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "macros/macro_action.h"

namespace zq::macros {

inline constexpr std::uint16_t kBlockMagic = 0x55AA;
inline constexpr std::size_t kBlockMagicOffset = 0;
inline constexpr std::size_t kBlockTotalOffset = 2;
inline constexpr std::size_t kBlockCountOffset = 4;
inline constexpr std::size_t kBlockReservedOffset = 6;
inline constexpr std::size_t kBlockHeaderSize = 16;
inline constexpr std::size_t kOffsetEntrySize = 2;

inline constexpr std::size_t kRecordCountOffset = 0;
inline constexpr std::size_t kRecordReservedOffset = 2;
inline constexpr std::size_t kRecordHeaderSize = 4;
inline constexpr std::size_t kWireActionSize = 4; // delayLow, delayHigh, type, code

// The 16-bit size and offset fields bound every block the builder makes.
inline constexpr std::uint64_t kMaxBlockSize = 0xFFFF;

// Byte 6 of the device information counts the macro memory in units of 128 bytes.
inline constexpr std::size_t kDeviceInfoMacroMemoryOffset = 6;
inline constexpr std::size_t kMacroMemoryUnit = 128;

// Size of the block for macros of these action counts (64-bit so hostile counts cannot wrap).
std::uint64_t macroBlockSize(std::span<const std::uint64_t> actionCounts);

// The device's macro memory in bytes; a device information too short to hold byte 6 gives 0.
std::size_t macroCapacity(std::span<const std::uint8_t> deviceInfo);

// The number the "too little memory" message shows: the 4-byte actions too many, plus one.
// Only meaningful when total > capacity.
std::uint64_t excessActions(std::uint64_t total, std::uint64_t capacity);

// Packs the macros in order. Returns an empty vector when the block would not fit the 16-bit fields.
std::vector<std::uint8_t> buildMacroBlock(std::span<const std::vector<MacroAction>> macros);

} // namespace zq::macros
