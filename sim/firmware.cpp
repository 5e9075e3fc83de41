#include "sim/firmware.h"

#include "sim/factory.h"

#include <algorithm>

namespace zq::sim {

namespace {

using device::Frame;

std::uint8_t deviceType(DeviceKind kind) {
    switch (kind) {
    case DeviceKind::Mouse:
        return 1;
    case DeviceKind::Pad:
        return 2;
    case DeviceKind::Keyboard:
        return 3;
    }
    return 0;
}

// Reads [offset, offset + length) of an area into the reply payload.
std::uint8_t readArea(std::span<const std::uint8_t> area, std::size_t offset, std::size_t length,
                      Frame& reply) {
    if (offset + length > area.size()) return kStatusBadAddress;
    std::copy_n(area.begin() + static_cast<long>(offset), length, reply.begin() + device::kPayloadOffset);
    return kStatusOk;
}

std::uint8_t writeArea(std::span<std::uint8_t> area, std::size_t offset, std::size_t length,
                       std::span<const std::uint8_t> data) {
    if (offset + length > area.size()) return kStatusBadAddress;
    std::copy_n(data.begin(), length, area.begin() + static_cast<long>(offset));
    return kStatusOk;
}

bool checksumAccepted(const Frame& request) {
    if (device::checksumMatches(request)) return true;
    return device::frameCommand(request) == device::cmd::kFactoryReset &&
           device::readLe16(request, device::kChecksumOffset) == 0;
}

} // namespace

Firmware::Firmware(const DeviceModel& model)
    : model_(model), records_(factoryRecords(model)), keyArea_(factoryKeyArea(model)),
      macroArea_(macroAreaSize(model), 0), cursorArea_(model.cursorAreaSize, 0),
      lightAssembly_(model.lightFrameSize, 0), lastLight_(model.lightFrameSize, 0) {
    info_[info::kDeviceType] = deviceType(model.kind);
    device::writeLe16(info_, info::kFirmwareVersion, model.version);
    device::writeLe16(info_, info::kProductId, model.productId);
    info_[info::kKeyCount] = model.keyCount;
    info_[info::kMacroUnits] = model.macroUnits;
    info_[info::kProfileSlots] = model.profileSlots;
    info_[info::kLedCount] = static_cast<std::uint8_t>(model.lightFrameSize / 3);
}

void Firmware::handle(const Frame& request, Frame& reply) {
    reply.fill(0);
    reply[device::kReportIdOffset] = device::kReportId;
    reply[device::kCommandOffset] = request[device::kCommandOffset];
    reply[device::kLengthOffset] = request[device::kLengthOffset];
    reply[device::kAddressOffset] = request[device::kAddressOffset];
    reply[device::kAddressOffset + 1] = request[device::kAddressOffset + 1];
    const std::uint8_t status = execute(request, reply);
    if (status != kStatusOk) std::fill(reply.begin() + device::kPayloadOffset, reply.end(), 0);
    reply[device::kStatusOffset] = status;
    device::setChecksum(reply);
}

void Firmware::refuse(const Frame& request, std::uint8_t status, Frame& reply) const {
    reply.fill(0);
    reply[device::kReportIdOffset] = device::kReportId;
    reply[device::kCommandOffset] = request[device::kCommandOffset];
    reply[device::kLengthOffset] = request[device::kLengthOffset];
    reply[device::kAddressOffset] = request[device::kAddressOffset];
    reply[device::kAddressOffset + 1] = request[device::kAddressOffset + 1];
    reply[device::kStatusOffset] = status;
    device::setChecksum(reply);
}

std::uint8_t Firmware::execute(const Frame& request, Frame& reply) {
    if (!checksumAccepted(request)) return kStatusBadFrame;
    const std::uint8_t command = device::frameCommand(request);
    const std::size_t length = device::frameLength(request);
    const std::size_t offset = device::frameAddress(request);
    const auto payload = device::framePayload(request);
    if (length > device::kPayloadSize) return kStatusBadAddress;

    namespace cmd = device::cmd;
    switch (command) {
    case cmd::kBeginTransfer:
        transferOpen_ = true;
        ++transfersBegun_;
        return kStatusOk;
    case cmd::kEndTransfer:
        transferOpen_ = false;
        ++transfersEnded_;
        return kStatusOk;
    case cmd::kReadDeviceInfo:
        std::copy(info_.begin(), info_.end(), reply.begin() + device::kPayloadOffset);
        reply[device::kLengthOffset] = static_cast<std::uint8_t>(info_.size());
        return kStatusOk;
    case cmd::kReadProfileRecord:
        return readArea(records_, offset, length, reply);
    case cmd::kWriteProfileRecord:
        return writeRecords(offset, length, payload);
    case cmd::kReadKeyBlock:
    case cmd::kReadKeyBlockPage:
        return readArea(keyArea_, offset, length, reply);
    case cmd::kWriteKeyBlockPage:
        return writeArea(keyArea_, offset, length, payload);
    case cmd::kFactoryReset:
        factoryReset();
        return kStatusOk;
    case cmd::kWriteLightFrame:
        return writeLight(offset, length, payload);
    case cmd::kWriteMacroBlock:
        return writeArea(macroArea_, offset, length, payload);
    case cmd::kWriteCursorPathBlock:
        return writeArea(cursorArea_, offset, length, payload);
    default:
        return kStatusBadFrame;
    }
}

std::uint8_t Firmware::writeRecords(std::size_t offset, std::size_t length,
                                    std::span<const std::uint8_t> data) {
    if (offset + length > records_.size()) return kStatusBadAddress;
    if (offset == 0 && length > 0 && data[0] >= model_.profileSlots) return kStatusBadAddress;
    std::copy_n(data.begin(), length, records_.begin() + static_cast<long>(offset));
    return kStatusOk;
}

std::uint8_t Firmware::writeLight(std::size_t offset, std::size_t length,
                                  std::span<const std::uint8_t> data) {
    const std::size_t size = lightAssembly_.size();
    if (offset == 0) {
        lightAssembled_ = 0;
        lightInProgress_ = true;
    }
    if (!lightInProgress_ || offset != lightAssembled_ || offset + length > size) {
        // A chunk out of order or past the buffer: the frame cannot be shown, start over.
        lightInProgress_ = false;
        lightAssembled_ = 0;
        return kStatusBadAddress;
    }
    std::copy_n(data.begin(), length, lightAssembly_.begin() + static_cast<long>(offset));
    lightAssembled_ += length;
    if (length < device::kPayloadSize || lightAssembled_ == size) {
        std::copy_n(lightAssembly_.begin(), lightAssembled_, lastLight_.begin());
        lastLightLength_ = lightAssembled_;
        ++lightFrames_;
        lightInProgress_ = false;
        lightAssembled_ = 0;
    }
    return kStatusOk;
}

void Firmware::factoryReset() {
    records_ = factoryRecords(model_);
    keyArea_ = factoryKeyArea(model_);
    std::fill(macroArea_.begin(), macroArea_.end(), 0);
    std::fill(cursorArea_.begin(), cursorArea_.end(), 0);
    powerCycle();
}

void Firmware::powerCycle() {
    transferOpen_ = false;
    lightInProgress_ = false;
    lightAssembled_ = 0;
}

void Firmware::stepProfileSlot() {
    records_[0] = static_cast<std::uint8_t>((currentSlot() + 1) % model_.profileSlots);
}

bool Firmware::changeRecords(std::size_t offset, std::span<const std::uint8_t> bytes) {
    if (bytes.empty() || offset > records_.size() || bytes.size() > records_.size() - offset) return false;
    if (offset == 0 && bytes[0] >= model_.profileSlots) return false;
    std::copy(bytes.begin(), bytes.end(), records_.begin() + static_cast<long>(offset));
    return true;
}

void Firmware::stepDpiLevel() {
    std::uint8_t& level = currentRecord()[rec::kDpiLevel];
    level = static_cast<std::uint8_t>((level + 1) % rec::kDpiLevels);
}

void Firmware::stepBrightness() {
    std::uint8_t& b = currentRecord()[rec::kBrightness];
    b = static_cast<std::uint8_t>((b + 1) % rec::kBrightnessLevels);
}

} // namespace zq::sim
