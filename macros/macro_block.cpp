#include "macros/macro_block.h"

namespace zq::macros {

namespace {

void putLe16(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint64_t value) {
    bytes[at] = static_cast<std::uint8_t>(value & 0xFF);
    bytes[at + 1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
}

} // namespace

std::uint64_t macroBlockSize(std::span<const std::uint64_t> actionCounts) {
    std::uint64_t total = kBlockHeaderSize;
    for (std::uint64_t m : actionCounts) {
        // A count this large cannot come from a file that was read to its end; saturate rather than wrap.
        if (m > (UINT64_MAX >> 3)) return UINT64_MAX;
        total += kOffsetEntrySize + kRecordHeaderSize + kWireActionSize * m;
        if (total > (UINT64_MAX >> 1)) return UINT64_MAX;
    }
    return total;
}

std::size_t macroCapacity(std::span<const std::uint8_t> deviceInfo) {
    if (deviceInfo.size() <= kDeviceInfoMacroMemoryOffset) return 0;
    return std::size_t{deviceInfo[kDeviceInfoMacroMemoryOffset]} * kMacroMemoryUnit;
}

std::uint64_t excessActions(std::uint64_t total, std::uint64_t capacity) {
    return total > capacity ? ((total - capacity) >> 2) + 1 : 0;
}

std::vector<std::uint8_t> buildMacroBlock(std::span<const std::vector<MacroAction>> macros) {
    std::vector<std::uint64_t> counts;
    counts.reserve(macros.size());
    for (const auto& m : macros) counts.push_back(m.size());
    const std::uint64_t total = macroBlockSize(counts);
    if (total > kMaxBlockSize) return {};

    std::vector<std::uint8_t> block(static_cast<std::size_t>(total), 0);
    putLe16(block, kBlockMagicOffset, kBlockMagic);
    putLe16(block, kBlockTotalOffset, total);
    putLe16(block, kBlockCountOffset, macros.size());
    std::size_t offset = kBlockHeaderSize + kOffsetEntrySize * macros.size();
    for (std::size_t i = 0; i < macros.size(); ++i) {
        putLe16(block, kBlockHeaderSize + kOffsetEntrySize * i, offset);
        putLe16(block, offset + kRecordCountOffset, macros[i].size());
        std::size_t at = offset + kRecordHeaderSize;
        for (const MacroAction& a : macros[i]) {
            block[at] = a.delayLow;
            block[at + 1] = a.delayHigh;
            block[at + 2] = a.type;
            block[at + 3] = a.code;
            at += kWireActionSize;
        }
        offset = at;
    }
    return block;
}

} // namespace zq::macros
