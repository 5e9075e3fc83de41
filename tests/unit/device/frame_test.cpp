#include "device/frame.h"

#include <gtest/gtest.h>

#include <vector>

namespace zq::device {
namespace {

TEST(FrameTest, CommandTableHasTheTwelveIds) {
    const std::array<std::uint8_t, 12> expected{0x01, 0x02, 0x03, 0x05, 0x06, 0x07,
                                                0x08, 0x09, 0x0D, 0x12, 0x15, 0x17};
    EXPECT_EQ(kAllCommands, expected);
}

struct ChecksumCase {
    const char* name;
    std::uint8_t command;
    std::uint8_t length;
    std::uint16_t offset;
    std::vector<std::uint8_t> payload;
    std::uint8_t byte1, byte2;
};

TEST(FrameTest, ChecksumOfWorkedExamples) {
    const std::vector<ChecksumCase> cases{
        {"begin transfer", 0x01, 0, 0, {}, 0x01, 0x00},
        {"device info", 0x03, 0x21, 0, {}, 0x24, 0x00},
        {"56 x 0xFF key page", 0x09, 56, 0, std::vector<std::uint8_t>(56, 0xFF), 0x09, 0x38},
        // the offset bytes are summed as two separate bytes, not as a 16-bit value
        {"offset 0x01FF", 0x05, 1, 0x01FF, {}, 0x06, 0x01},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Frame f = buildFrame(c.command, c.length, c.offset, c.payload);
        EXPECT_EQ(f[0], kReportId);
        EXPECT_EQ(f[1], c.byte1);
        EXPECT_EQ(f[2], c.byte2);
        EXPECT_TRUE(checksumMatches(f));
    }
}

TEST(FrameTest, ChecksumIgnoresReportIdAndChecksumBytes) {
    Frame f{};
    f[0] = 0xAA;
    f[1] = 0x55;
    f[2] = 0x66;
    for (std::size_t i = kCommandOffset; i < kFrameSize; ++i) f[i] = 0xFF; // 61 * 255 = 0x3CC3
    EXPECT_EQ(computeChecksum(f), 0x3CC3);
    setChecksum(f);
    EXPECT_EQ(f[0], 0xAA);
    EXPECT_EQ(f[1], 0xC3);
    EXPECT_EQ(f[2], 0x3C);
}

TEST(FrameTest, BuilderLaysOutFieldsLittleEndian) {
    const std::array<std::uint8_t, 3> data{0x11, 0x22, 0x33};
    const Frame f = buildFrame(cmd::kWriteProfileRecord, 3, 0x0140, data);
    EXPECT_EQ(frameCommand(f), 0x06);
    EXPECT_EQ(frameLength(f), 3);
    EXPECT_EQ(f[5], 0x40);
    EXPECT_EQ(f[6], 0x01);
    EXPECT_EQ(frameAddress(f), 0x0140);
    EXPECT_EQ(frameStatus(f), 0);
    EXPECT_EQ(f[8], 0x11);
    EXPECT_EQ(f[10], 0x33);
    for (std::size_t i = 11; i < kFrameSize; ++i) EXPECT_EQ(f[i], 0) << i;
}

TEST(FrameTest, BuilderCopiesAtMost56PayloadBytes) {
    std::vector<std::uint8_t> big(100, 0x5A);
    const Frame f = buildFrame(cmd::kWriteLightFrame, 56, 0, big);
    EXPECT_EQ(framePayload(f).size(), kPayloadSize);
    for (auto b : framePayload(f)) EXPECT_EQ(b, 0x5A);
    EXPECT_TRUE(checksumMatches(f));
}

TEST(FrameTest, StatusDecoding) {
    const std::vector<std::pair<std::uint8_t, int>> cases{{0x00, kResultOk},       {0x01, kResultOk},
                                                          {0x80, kResultOk},       {0xFD, kResultOk},
                                                          {0xFE, kResultStatusFE}, {0xFF, kResultStatusFF}};
    for (auto [status, result] : cases) EXPECT_EQ(resultOfStatus(status), result) << int(status);
}

TEST(FrameTest, Le16RoundTrip) {
    std::array<std::uint8_t, 4> b{};
    writeLe16(b, 1, 0xBEEF);
    EXPECT_EQ(b[1], 0xEF);
    EXPECT_EQ(b[2], 0xBE);
    EXPECT_EQ(readLe16(b, 1), 0xBEEF);
}

TEST(FrameTest, DescribeFrameForDebugLines) {
    EXPECT_EQ(describeFrame(buildFrame(cmd::kReadKeyBlockPage, 56, 0x7E)),
              "cmd 08 len 56 off 0x007e status 00");
}

} // namespace
} // namespace zq::device
