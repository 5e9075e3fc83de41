// The emulated firmware's answer to raw command frames: what each command does to the device memory,
// the bounds it enforces and the status it reports.
#include "sim/factory.h"
#include "sim/firmware.h"

#include <gtest/gtest.h>

#include <numeric>
#include <vector>

namespace zq::sim {
namespace {

using device::Frame;
namespace cmd = device::cmd;

std::vector<std::uint8_t> pattern(std::size_t n, std::uint8_t seed) {
    std::vector<std::uint8_t> v(n);
    for (std::size_t i = 0; i < n; ++i) v[i] = static_cast<std::uint8_t>(seed + i * 7);
    return v;
}

struct FirmwareTest : ::testing::Test {
    Firmware mouse{defaultModel(DeviceKind::Mouse)};

    Frame send(Firmware& fw, std::uint8_t command, std::size_t length, std::size_t offset,
               std::span<const std::uint8_t> payload = {}) {
        const Frame rq = device::buildFrame(command, static_cast<std::uint8_t>(length),
                                            static_cast<std::uint16_t>(offset), payload);
        Frame rp{};
        fw.handle(rq, rp);
        return rp;
    }
    std::uint8_t status(const Frame& f) { return f[device::kStatusOffset]; }
    // Writes a block the way the host does: 56-byte chunks from base on.
    void writeChunked(Firmware& fw, std::uint8_t command, std::size_t base,
                      std::span<const std::uint8_t> data) {
        for (std::size_t c = 0; c < data.size(); c += device::kPayloadSize) {
            const std::size_t n = std::min(device::kPayloadSize, data.size() - c);
            ASSERT_EQ(status(send(fw, command, n, base + c, data.subspan(c, n))), kStatusOk)
                << "chunk at " << c;
        }
    }
    std::vector<std::uint8_t> readChunked(Firmware& fw, std::uint8_t command, std::size_t base,
                                          std::size_t total) {
        std::vector<std::uint8_t> out(total);
        for (std::size_t c = 0; c < total; c += device::kPayloadSize) {
            const std::size_t n = std::min(device::kPayloadSize, total - c);
            const Frame rp = send(fw, command, n, base + c);
            EXPECT_EQ(status(rp), kStatusOk);
            std::copy_n(rp.begin() + device::kPayloadOffset, n, out.begin() + static_cast<long>(c));
        }
        return out;
    }
};

TEST_F(FirmwareTest, FactoryRecordsCarryPlausibleSettings) {
    for (auto kind : {DeviceKind::Mouse, DeviceKind::Pad, DeviceKind::Keyboard}) {
        const auto& model = defaultModel(kind);
        const auto records = factoryRecords(model);
        ASSERT_EQ(records.size(), 5 * kRecordSize);
        for (std::size_t k = 1; k < 5; ++k) EXPECT_EQ(records[k * kRecordSize + rec::kSlot], k);
        EXPECT_EQ(records[rec::kSlot], 0) << "slot 0 is current";
        EXPECT_EQ(records[rec::kBrightness], kFactoryBrightness);
        EXPECT_NE(records[rec::kLightRgb] | records[rec::kLightRgb + 1] | records[rec::kLightRgb + 2], 0);
    }
    const auto m = factoryRecords(defaultModel(DeviceKind::Mouse));
    EXPECT_EQ(m[rec::kDpiCodes], 18);  // 800 DPI
    EXPECT_EQ(m[rec::kDpiCode5], 108); // 4800 DPI
    EXPECT_EQ(m[rec::kDpiLevel], kFactoryDpiLevel);
    EXPECT_EQ(m[rec::kReportRate], kFactoryReportRate);
    // Key pages: slot 0 right-handed (left button first), slot 1 left-handed (right button first).
    const auto keys = factoryKeyArea(defaultModel(DeviceKind::Mouse));
    ASSERT_EQ(keys.size(), 4u * 126 + 512);
    EXPECT_EQ((std::vector<std::uint8_t>(keys.begin(), keys.begin() + 3)),
              (std::vector<std::uint8_t>{0x10, 0x01, 0}));
    EXPECT_EQ((std::vector<std::uint8_t>(keys.begin() + 126, keys.begin() + 129)),
              (std::vector<std::uint8_t>{0x10, 0x02, 0}));
    EXPECT_EQ(keys[27], kKeyFiller);
}

TEST_F(FirmwareTest, DeviceInformationGivesKeyCountAndMacroMemory) {
    struct Case {
        DeviceModel model;
        std::uint8_t keys, units;
    };
    for (const auto& c :
         {Case{defaultModel(DeviceKind::Mouse), 9, 255}, Case{defaultModel(DeviceKind::Pad), 0, 0},
          Case{defaultModel(DeviceKind::Keyboard), 126, 128}, Case{keyboardWithKeys(171), 171, 128}}) {
        Firmware fw(c.model);
        const Frame rp = send(fw, cmd::kReadDeviceInfo, device::kDeviceInfoSize, 0);
        EXPECT_EQ(status(rp), kStatusOk);
        EXPECT_EQ(rp[device::kPayloadOffset + info::kKeyCount], c.keys) << c.model.name;
        EXPECT_EQ(rp[device::kPayloadOffset + info::kMacroUnits], c.units) << c.model.name;
        EXPECT_EQ(device::readLe16(rp, device::kPayloadOffset + info::kProductId), c.model.productId);
        EXPECT_TRUE(device::checksumMatches(rp));
    }
}

TEST_F(FirmwareTest, ReplyEchoesRequestAndCarriesValidChecksum) {
    const Frame rp = send(mouse, cmd::kReadProfileRecord, 56, 128);
    EXPECT_EQ(rp[device::kReportIdOffset], device::kReportId);
    EXPECT_EQ(device::frameCommand(rp), cmd::kReadProfileRecord);
    EXPECT_EQ(device::frameLength(rp), 56);
    EXPECT_EQ(device::frameAddress(rp), 128);
    EXPECT_EQ(status(rp), kStatusOk);
    EXPECT_TRUE(device::checksumMatches(rp));
    EXPECT_EQ(rp[device::kPayloadOffset], 2) << "record 2 starts with its slot number";
}

TEST_F(FirmwareTest, BadFramesAreRefusedAndChangeNothing) {
    const auto before = std::vector<std::uint8_t>(mouse.records().begin(), mouse.records().end());
    const auto data = pattern(56, 1);
    Frame bad = device::buildFrame(cmd::kWriteProfileRecord, 56, 64, data);
    bad[device::kChecksumOffset] ^= 1;
    Frame rp{};
    mouse.handle(bad, rp);
    EXPECT_EQ(status(rp), kStatusBadFrame);

    struct Case {
        const char* what;
        std::uint8_t command;
        std::size_t length, offset;
        std::uint8_t expected;
    };
    const Case cases[] = {
        {"unknown command", 0x04, 0, 0, kStatusBadFrame},
        {"length over 56", cmd::kWriteProfileRecord, 57, 64, kStatusBadAddress},
        {"record write past slot 4", cmd::kWriteProfileRecord, 8, 316, kStatusBadAddress},
        {"record read past slot 4", cmd::kReadProfileRecord, 1, 320, kStatusBadAddress},
        {"key write past page 4", cmd::kWriteKeyBlockPage, 56, 1016 - 55, kStatusBadAddress},
        {"cursor write past 3072", cmd::kWriteCursorPathBlock, 56, 3072 - 55, kStatusBadAddress},
    };
    for (const auto& c : cases)
        EXPECT_EQ(status(send(mouse, c.command, c.length, c.offset, data)), c.expected) << c.what;
    EXPECT_EQ(std::vector<std::uint8_t>(mouse.records().begin(), mouse.records().end()), before);
}

TEST_F(FirmwareTest, FactoryResetIsTakenWithItsChecksumLeftZero) {
    const auto data = pattern(56, 3);
    send(mouse, cmd::kWriteProfileRecord, 56, 64, data);
    Frame reset{};
    reset[device::kReportIdOffset] = device::kReportId;
    reset[device::kCommandOffset] = cmd::kFactoryReset; // checksum bytes stay 00 00, as the host sends it
    Frame rp{};
    mouse.handle(reset, rp);
    EXPECT_EQ(status(rp), kStatusOk);
    EXPECT_EQ(std::vector<std::uint8_t>(mouse.records().begin(), mouse.records().end()),
              factoryRecords(defaultModel(DeviceKind::Mouse)));

    // Any other wrong checksum on a reset is still a bad frame.
    send(mouse, cmd::kWriteProfileRecord, 56, 64, data);
    reset[device::kChecksumOffset] = 0x0C;
    mouse.handle(reset, rp);
    EXPECT_EQ(status(rp), kStatusBadFrame);
    EXPECT_EQ(mouse.records()[64 + 1], data[1]);
}

TEST_F(FirmwareTest, FactoryResetRestoresEveryMemory) {
    const auto data = pattern(56, 9);
    send(mouse, cmd::kWriteProfileRecord, 1, 0, std::vector<std::uint8_t>{3});
    send(mouse, cmd::kWriteProfileRecord, 56, 128, data);
    send(mouse, cmd::kWriteKeyBlockPage, 56, 0, data);
    send(mouse, cmd::kWriteMacroBlock, 56, 0, data);
    send(mouse, cmd::kWriteCursorPathBlock, 56, 0, data);
    ASSERT_EQ(mouse.currentSlot(), 3);
    send(mouse, cmd::kFactoryReset, 0, 0);
    const auto& model = defaultModel(DeviceKind::Mouse);
    EXPECT_EQ(mouse.currentSlot(), 0);
    EXPECT_EQ(std::vector<std::uint8_t>(mouse.records().begin(), mouse.records().end()),
              factoryRecords(model));
    EXPECT_EQ(std::vector<std::uint8_t>(mouse.keyArea().begin(), mouse.keyArea().end()),
              factoryKeyArea(model));
    EXPECT_EQ(std::accumulate(mouse.macroArea().begin(), mouse.macroArea().end(), 0u), 0u);
    EXPECT_EQ(std::accumulate(mouse.cursorArea().begin(), mouse.cursorArea().end(), 0u), 0u);
}

TEST_F(FirmwareTest, ByteZeroOfTheRecordsIsTheCurrentSlot) {
    // The host's slot switch: a 1-byte write at offset 0 selects the slot, a 1-byte read tells it.
    EXPECT_EQ(status(send(mouse, cmd::kWriteProfileRecord, 1, 0, std::vector<std::uint8_t>{2})), kStatusOk);
    EXPECT_EQ(mouse.currentSlot(), 2);
    EXPECT_EQ(send(mouse, cmd::kReadProfileRecord, 1, 0)[device::kPayloadOffset], 2);
    // The pad's settings push: 56 bytes at offset 0 whose first byte is the current slot.
    auto block = pattern(56, 20);
    block[0] = 4;
    EXPECT_EQ(status(send(mouse, cmd::kWriteProfileRecord, 56, 0, block)), kStatusOk);
    EXPECT_EQ(mouse.currentSlot(), 4);
    EXPECT_EQ(mouse.records()[55], block[55]);
    // A slot the device does not have refuses the whole frame; slot 5 included.
    block[0] = 5;
    EXPECT_EQ(status(send(mouse, cmd::kWriteProfileRecord, 56, 0, block)), kStatusBadAddress);
    EXPECT_EQ(mouse.currentSlot(), 4);
    // Writes elsewhere never touch the register; a zero-length write is a no-op that succeeds.
    EXPECT_EQ(status(send(mouse, cmd::kWriteProfileRecord, 56, 64, block)), kStatusOk);
    EXPECT_EQ(mouse.currentSlot(), 4);
    EXPECT_EQ(mouse.records()[64], 5);
    EXPECT_EQ(status(send(mouse, cmd::kWriteProfileRecord, 0, 0)), kStatusOk);
    EXPECT_EQ(mouse.currentSlot(), 4);
}

TEST_F(FirmwareTest, KeyBlockPagesStart126ApartAndOverlap) {
    const auto page1 = pattern(512, 0x40);
    writeChunked(mouse, cmd::kWriteKeyBlockPage, 126, page1);
    const auto area = mouse.keyArea();
    EXPECT_TRUE(std::equal(page1.begin(), page1.end(), area.begin() + 126));
    // Page 0 now shows page 1's first 386 bytes from its byte 126 on.
    const auto page0 = readChunked(mouse, cmd::kReadKeyBlockPage, 0, 512);
    EXPECT_TRUE(std::equal(page0.begin() + 126, page0.end(), page1.begin()));
    EXPECT_EQ(page0[0], 0x10) << "bytes before page 1 keep slot 0's table";
    // 0x07 reads the same area from offset 0.
    EXPECT_EQ(readChunked(mouse, cmd::kReadKeyBlock, 0, 512), page0);
    // Page 4 covers 504..1015: its last chunk is the last byte that exists.
    const auto page4 = pattern(512, 0x99);
    writeChunked(mouse, cmd::kWriteKeyBlockPage, 4 * 126, page4);
    EXPECT_EQ(mouse.keyArea().back(), page4.back());
}

TEST_F(FirmwareTest, KeyboardKeyBlockIsThreeBytesPerKey) {
    Firmware kb(defaultModel(DeviceKind::Keyboard));
    EXPECT_EQ(kb.keyArea().size(), 4u * 126 + 378);
    EXPECT_EQ(status(send(kb, cmd::kReadKeyBlockPage, 56, 4 * 126 + 378 - 56)), kStatusOk);
    EXPECT_EQ(status(send(kb, cmd::kReadKeyBlockPage, 56, 4 * 126 + 378 - 55)), kStatusBadAddress);
    // The pad has no key memory at all.
    Firmware pad(defaultModel(DeviceKind::Pad));
    EXPECT_EQ(status(send(pad, cmd::kReadKeyBlock, 56, 0)), kStatusBadAddress);
}

TEST_F(FirmwareTest, MacroAreaIsSizedByDeviceInformationAndBounded) {
    ASSERT_EQ(mouse.macroArea().size(), 255u * 128); // 32640
    const auto block = pattern(32640, 5);
    writeChunked(mouse, cmd::kWriteMacroBlock, 0, block);
    EXPECT_TRUE(std::equal(block.begin(), block.end(), mouse.macroArea().begin()));
    // One byte past the area is refused and nothing of that frame is written.
    const auto data = pattern(56, 0xA0);
    EXPECT_EQ(status(send(mouse, cmd::kWriteMacroBlock, 56, 32640 - 55, data)), kStatusBadAddress);
    EXPECT_EQ(mouse.macroArea()[32640 - 55], block[32640 - 55]);
    EXPECT_EQ(status(send(mouse, cmd::kWriteMacroBlock, 56, 32640 - 56, data)), kStatusOk);

    Firmware pad(defaultModel(DeviceKind::Pad)); // no macro memory
    EXPECT_EQ(status(send(pad, cmd::kWriteMacroBlock, 1, 0, data)), kStatusBadAddress);
}

TEST_F(FirmwareTest, LightFramesAreAssembledWhole) {
    Firmware kb(defaultModel(DeviceKind::Keyboard));
    const auto frame = pattern(378, 11); // 56 x 6 + 42
    writeChunked(kb, cmd::kWriteLightFrame, 0, frame);
    EXPECT_EQ(kb.lightFrameCount(), 1u);
    EXPECT_EQ(std::vector<std::uint8_t>(kb.lastLightFrame().begin(), kb.lastLightFrame().end()), frame);

    // Mouse: a 15-byte frame is one short chunk; a 60-byte frame is 56 + 4.
    const auto small = pattern(15, 1), full = pattern(60, 2);
    writeChunked(mouse, cmd::kWriteLightFrame, 0, small);
    EXPECT_EQ(mouse.lastLightFrame().size(), 15u);
    writeChunked(mouse, cmd::kWriteLightFrame, 0, full);
    EXPECT_EQ(std::vector<std::uint8_t>(mouse.lastLightFrame().begin(), mouse.lastLightFrame().end()), full);
    EXPECT_EQ(mouse.lightFrameCount(), 2u);

    // A chunk that does not follow on is refused; the frame shown stays the last complete one.
    send(kb, cmd::kWriteLightFrame, 56, 0, frame);
    EXPECT_EQ(status(send(kb, cmd::kWriteLightFrame, 56, 112, frame)), kStatusBadAddress);
    EXPECT_EQ(status(send(kb, cmd::kWriteLightFrame, 42, 336, frame)), kStatusBadAddress);
    EXPECT_EQ(kb.lightFrameCount(), 1u);
    // A frame larger than the device's LEDs is refused.
    EXPECT_EQ(status(send(mouse, cmd::kWriteLightFrame, 56, 56, full)), kStatusBadAddress);
}

TEST_F(FirmwareTest, TransferBracketIsTrackedButNotRequired) {
    EXPECT_EQ(status(send(mouse, cmd::kBeginTransfer, 0, 0)), kStatusOk);
    EXPECT_TRUE(mouse.transferOpen());
    EXPECT_EQ(status(send(mouse, cmd::kEndTransfer, 0, 0)), kStatusOk);
    EXPECT_FALSE(mouse.transferOpen());
    EXPECT_EQ(mouse.transfersBegun(), 1u);
    EXPECT_EQ(mouse.transfersEnded(), 1u);
    EXPECT_EQ(status(send(mouse, cmd::kWriteMacroBlock, 4, 0, pattern(4, 0))), kStatusOk);
}

TEST_F(FirmwareTest, DeviceButtonsChangeTheCurrentRecord) {
    mouse.stepProfileSlot();
    mouse.stepProfileSlot();
    ASSERT_EQ(mouse.currentSlot(), 2);
    const auto level = mouse.records()[2 * 64 + rec::kDpiLevel];
    mouse.stepDpiLevel();
    EXPECT_EQ(mouse.records()[2 * 64 + rec::kDpiLevel], (level + 1) % 5);
    EXPECT_EQ(mouse.records()[rec::kDpiLevel], kFactoryDpiLevel) << "other slots keep theirs";
    for (int i = 0; i < 3; ++i) mouse.stepProfileSlot();
    EXPECT_EQ(mouse.currentSlot(), 0) << "wraps after slot 4";
}

} // namespace
} // namespace zq::sim
