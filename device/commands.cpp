#include "device/commands.h"

#include "device/exchange.h"

#include <algorithm>

namespace zq::device {

namespace {

int singleFrame(DeviceLink& link, std::uint8_t command, std::uint8_t length, std::uint16_t offset,
                std::span<const std::uint8_t> payload, Frame& reply) {
    const Frame request = buildFrame(command, length, offset, payload);
    return exchange(link, request, reply);
}

// One algorithm for every block that is longer than a frame. For a read, out receives the chunks; for a
// write, data supplies them (exactly one of the two is non-empty, or total is 0).
//
// The frame buffer is cleared once per transfer, not per frame: in a short last chunk the payload bytes
// past its length still hold the previous chunk's data. Only the first `length` bytes are meaningful and
// the checksum covers the frame as sent, so this is what the device has always received.
int chunkedTransfer(DeviceLink& link, std::uint8_t command, std::uint16_t base, std::size_t total,
                    std::span<const std::uint8_t> data, std::span<std::uint8_t> out,
                    const ChunkProgress& progress = {}) {
    if (total == 0) return kResultOk;
    if (base + total > kAddressSpace) return kResultBadLength;
    Frame frame{};
    frame[kReportIdOffset] = kReportId;
    frame[kCommandOffset] = command;
    frame[kStatusOffset] = 0;
    Frame reply;
    for (std::size_t c = 0; c < total; c += kPayloadSize) {
        const std::size_t length = c + kPayloadSize < total ? kPayloadSize : total - c;
        frame[kLengthOffset] = static_cast<std::uint8_t>(length);
        writeLe16(frame, kAddressOffset, static_cast<std::uint16_t>(base + c));
        if (!data.empty())
            std::copy_n(data.begin() + static_cast<std::ptrdiff_t>(c), length,
                        frame.begin() + kPayloadOffset);
        setChecksum(frame);
        const int result = exchange(link, frame, reply);
        if (result != kResultOk) return result;
        if (!out.empty())
            std::copy_n(reply.begin() + kPayloadOffset, length, out.begin() + static_cast<std::ptrdiff_t>(c));
        if (progress && !progress(c + length, total)) return kResultCancelled;
    }
    return kResultOk;
}

int writeBlock(DeviceLink& link, std::uint8_t command, std::span<const std::uint8_t> data,
               const ChunkProgress& progress = {}) {
    return chunkedTransfer(link, command, 0, data.size(), data, {}, progress);
}

} // namespace

int BeginTransfer(DeviceLink& link) {
    Frame reply;
    return singleFrame(link, cmd::kBeginTransfer, 0, 0, {}, reply);
}

int EndTransfer(DeviceLink& link) {
    const Frame request = buildFrame(cmd::kEndTransfer, 0, 0);
    link.clock.sleepFor(kEndTransferPause);
    Frame reply;
    return exchange(link, request, reply);
}

int ReadDeviceInfo(DeviceLink& link, std::span<std::uint8_t, kDeviceInfoSize> out) {
    Frame reply;
    const int result = singleFrame(link, cmd::kReadDeviceInfo, kDeviceInfoSize, 0, {}, reply);
    if (result == kResultOk) std::copy_n(reply.begin() + kPayloadOffset, kDeviceInfoSize, out.begin());
    return result;
}

int ReadProfileRecord(DeviceLink& link, std::uint16_t offset, std::span<std::uint8_t> out) {
    if (out.size() > kPayloadSize) return kResultBadLength;
    Frame reply;
    const int result =
        singleFrame(link, cmd::kReadProfileRecord, static_cast<std::uint8_t>(out.size()), offset, {}, reply);
    if (result == kResultOk) std::copy_n(reply.begin() + kPayloadOffset, out.size(), out.begin());
    return result;
}

int WriteProfileRecord(DeviceLink& link, std::uint16_t offset, std::span<const std::uint8_t> data) {
    if (data.size() > kPayloadSize) return kResultBadLength;
    Frame reply;
    return singleFrame(link, cmd::kWriteProfileRecord, static_cast<std::uint8_t>(data.size()), offset, data,
                       reply);
}

int ReadKeyBlock(DeviceLink& link, std::span<std::uint8_t> out) {
    const std::size_t total = link.blockLength.load();
    if (out.size() < total) return kResultBadLength;
    return chunkedTransfer(link, cmd::kReadKeyBlock, 0, total, {}, out.first(total));
}

int ReadKeyBlockPage(DeviceLink& link, std::span<std::uint8_t> out, unsigned page) {
    if (page >= kKeyBlockPages) return kResultBadPage;
    const std::size_t total = link.blockLength.load();
    if (out.size() < total) return kResultBadLength;
    return chunkedTransfer(link, cmd::kReadKeyBlockPage,
                           static_cast<std::uint16_t>(page * kKeyBlockPageStride), total, {},
                           out.first(total));
}

int WriteKeyBlockPage(DeviceLink& link, std::span<const std::uint8_t> data, unsigned page) {
    if (page >= kKeyBlockPages) return kResultBadPage;
    const std::size_t total = link.blockLength.load();
    if (data.size() < total) return kResultBadLength;
    return chunkedTransfer(link, cmd::kWriteKeyBlockPage,
                           static_cast<std::uint16_t>(page * kKeyBlockPageStride), total, data.first(total),
                           {});
}

int FactoryReset(DeviceLink& link) {
    // Not built with buildFrame: this frame goes out with its checksum bytes left at 00 00.
    Frame frame{};
    frame[kReportIdOffset] = kReportId;
    frame[kCommandOffset] = cmd::kFactoryReset;
    return exchangeOnce(link, frame) ? kResultOk : kResultNoReply;
}

int WriteLightFrame(DeviceLink& link, std::span<const std::uint8_t> data) {
    return writeBlock(link, cmd::kWriteLightFrame, data);
}

int WriteMacroBlock(DeviceLink& link, std::span<const std::uint8_t> data, const ChunkProgress& progress) {
    return writeBlock(link, cmd::kWriteMacroBlock, data, progress);
}

int WriteCursorPathBlock(DeviceLink& link, std::span<const std::uint8_t> data,
                         const ChunkProgress& progress) {
    return writeBlock(link, cmd::kWriteCursorPathBlock, data, progress);
}

} // namespace zq::device
