#include "device/commands.h"
#include "unit/device/link_fixture.h"

#include <gtest/gtest.h>

#include <numeric>
#include <optional>

namespace zq::test {
namespace {

using namespace zq::device;
using Chunk = std::pair<std::uint16_t, std::uint8_t>; // offset, length

std::vector<std::uint8_t> pattern(std::size_t n, std::uint8_t seed = 0) {
    std::vector<std::uint8_t> v(n);
    for (std::size_t i = 0; i < n; ++i) v[i] = static_cast<std::uint8_t>(seed + i * 7 + (i >> 8));
    return v;
}

std::vector<Chunk> chunksOf(const std::vector<Frame>& frames) {
    std::vector<Chunk> out;
    for (const auto& f : frames) out.emplace_back(frameAddress(f), frameLength(f));
    return out;
}

std::vector<Chunk> expectedChunks(std::uint16_t base, std::vector<std::uint8_t> lengths) {
    std::vector<Chunk> out;
    std::uint16_t off = base;
    for (auto len : lengths) {
        out.emplace_back(off, len);
        off = static_cast<std::uint16_t>(off + len);
    }
    return out;
}

// The bytes the frames carried, in order, each frame's first `length` payload bytes.
std::vector<std::uint8_t> carried(const std::vector<Frame>& frames) {
    std::vector<std::uint8_t> out;
    for (const auto& f : frames) {
        auto p = framePayload(f);
        out.insert(out.end(), p.begin(), p.begin() + frameLength(f));
    }
    return out;
}

// A device whose memory answers reads: byte at address a is memoryByte(a).
std::uint8_t memoryByte(std::size_t address) {
    return static_cast<std::uint8_t>(address * 13 + 5);
}
void answerFromMemory(std::size_t, const Frame& request, Frame& reply) {
    for (std::size_t i = 0; i < kPayloadSize; ++i) reply[kPayloadOffset + i] = 0;
    for (std::size_t i = 0; i < frameLength(request) && i < kPayloadSize; ++i)
        reply[kPayloadOffset + i] = memoryByte(frameAddress(request) + i);
}

class CommandsTest : public LinkTest {};

TEST_F(CommandsTest, BlockWritesAreCutInto56ByteFrames) {
    struct Case {
        std::size_t total;
        std::vector<std::uint8_t> lengths;
    };
    const std::vector<Case> cases{
        {512, {56, 56, 56, 56, 56, 56, 56, 56, 56, 8}},
        {378, {56, 56, 56, 56, 56, 56, 42}},
        {100, {56, 44}},
        {56, {56}},
        {15, {15}},
        {0, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.total);
        dev().clearLog();
        const auto data = pattern(c.total);
        EXPECT_EQ(WriteLightFrame(link, data), kResultOk);
        const auto frames = dev().writes();
        EXPECT_EQ(chunksOf(frames), expectedChunks(0, c.lengths));
        EXPECT_EQ(carried(frames), data);
        for (const auto& f : frames) {
            EXPECT_EQ(f[0], kReportId);
            EXPECT_EQ(frameCommand(f), cmd::kWriteLightFrame);
            EXPECT_EQ(frameStatus(f), 0);
            EXPECT_TRUE(checksumMatches(f));
        }
    }
}

TEST_F(CommandsTest, ShortLastChunkKeepsThePreviousChunksTail) {
    const auto data = pattern(100);
    ASSERT_EQ(WriteMacroBlock(link, data), kResultOk);
    const auto frames = dev().writes();
    ASSERT_EQ(frames.size(), 2u);
    // Bytes 44..55 of the last payload are what the first frame carried there.
    for (std::size_t i = 44; i < kPayloadSize; ++i) EXPECT_EQ(framePayload(frames[1])[i], data[i]) << i;
    EXPECT_TRUE(checksumMatches(frames[1]));
}

TEST_F(CommandsTest, EveryBlockCommandUsesItsId) {
    const auto data = pattern(60);
    using Op = int (*)(DeviceLink&, std::span<const std::uint8_t>);
    const std::vector<std::pair<Op, std::uint8_t>> cases{
        {WriteLightFrame, 0x12},
        {[](DeviceLink& l, std::span<const std::uint8_t> d) { return WriteMacroBlock(l, d); }, 0x15},
        {[](DeviceLink& l, std::span<const std::uint8_t> d) { return WriteCursorPathBlock(l, d); }, 0x17}};
    for (auto [op, id] : cases) {
        dev().clearLog();
        EXPECT_EQ(op(link, data), kResultOk);
        for (const auto& f : dev().writes()) EXPECT_EQ(frameCommand(f), id);
    }
}

TEST_F(CommandsTest, FullMacroMemoryIs583Frames) {
    const auto data = pattern(32640);
    EXPECT_EQ(WriteMacroBlock(link, data), kResultOk);
    const auto frames = dev().writes();
    ASSERT_EQ(frames.size(), 583u);
    EXPECT_EQ(frameAddress(frames.back()), 32592);
    EXPECT_EQ(frameLength(frames.back()), 48);
    EXPECT_EQ(carried(frames), data);
}

TEST_F(CommandsTest, LongBlocksReportEachFrameAndStopBetweenFramesWhenTold) {
    const auto data = pattern(150);
    std::vector<std::size_t> seen;
    EXPECT_EQ(WriteMacroBlock(link, data,
                              [&](std::size_t done, std::size_t total) {
                                  EXPECT_EQ(total, 150u);
                                  seen.push_back(done);
                                  return true;
                              }),
              kResultOk);
    EXPECT_EQ(seen, (std::vector<std::size_t>{56, 112, 150}));
    dev().clearLog();
    EXPECT_EQ(WriteCursorPathBlock(link, data, [](std::size_t done, std::size_t) { return done < 56; }),
              kResultCancelled);
    EXPECT_EQ(dev().writes().size(), 1u);
}

TEST_F(CommandsTest, BlockBeyondTheOffsetSpaceIsRefusedWithoutTraffic) {
    // Offsets are 16 bits: a longer block would wrap around and overwrite its own start.
    const std::vector<std::uint8_t> huge(0x10000 + 1, 0);
    EXPECT_EQ(WriteMacroBlock(link, huge), kResultBadLength);
    EXPECT_TRUE(dev().log().empty());
    const std::vector<std::uint8_t> exact(0x10000, 0);
    EXPECT_EQ(WriteCursorPathBlock(link, exact), kResultOk);
    EXPECT_EQ(frameAddress(dev().writes().back()), 0xFFF0); // 1170 * 56, 16 bytes left
    EXPECT_EQ(frameLength(dev().writes().back()), 16);
}

TEST_F(CommandsTest, KeyBlockPagesStart126BytesApart) {
    struct Case {
        unsigned page;
        std::uint16_t blockLength;
        std::uint16_t firstOffset;
        std::uint16_t end;
    };
    const std::vector<Case> cases{
        {0, 512, 0, 512}, {1, 512, 126, 638}, {4, 512, 504, 1016}, {2, 378, 252, 630}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.page);
        dev().clearLog();
        link.blockLength = c.blockLength;
        const auto data = pattern(c.blockLength, 3);
        EXPECT_EQ(WriteKeyBlockPage(link, data, c.page), kResultOk);
        const auto frames = dev().writes();
        ASSERT_FALSE(frames.empty());
        EXPECT_EQ(frameAddress(frames.front()), c.firstOffset);
        EXPECT_EQ(frameAddress(frames.back()) + frameLength(frames.back()), c.end);
        EXPECT_EQ(carried(frames), data);
        for (const auto& f : frames) EXPECT_EQ(frameCommand(f), cmd::kWriteKeyBlockPage);
    }
}

TEST_F(CommandsTest, KeyBlockPageOneWorkedExample) {
    const auto data = pattern(512);
    EXPECT_EQ(WriteKeyBlockPage(link, data, 1), kResultOk);
    EXPECT_EQ(chunksOf(dev().writes()), expectedChunks(126, {56, 56, 56, 56, 56, 56, 56, 56, 56, 8}));
    EXPECT_EQ(frameAddress(dev().writes()[9]), 630);
}

TEST_F(CommandsTest, PageFiveOrMoreIsRefusedWithoutTraffic) {
    std::vector<std::uint8_t> buffer(512, 0xAA);
    for (unsigned page : {5u, 6u, 255u, 0xFFFFFFFFu}) {
        EXPECT_EQ(ReadKeyBlockPage(link, buffer, page), kResultBadPage);
        EXPECT_EQ(WriteKeyBlockPage(link, buffer, page), kResultBadPage);
    }
    link.open = false; // the page is checked before the link
    EXPECT_EQ(ReadKeyBlockPage(link, buffer, 5), kResultBadPage);
    EXPECT_TRUE(dev().log().empty());
    EXPECT_EQ(buffer, std::vector<std::uint8_t>(512, 0xAA));
}

TEST_F(CommandsTest, KeyBlockBufferShorterThanBlockLengthIsRefused) {
    std::vector<std::uint8_t> small(511, 0xAA);
    EXPECT_EQ(ReadKeyBlock(link, small), kResultBadLength);
    EXPECT_EQ(ReadKeyBlockPage(link, small, 0), kResultBadLength);
    EXPECT_EQ(WriteKeyBlockPage(link, small, 0), kResultBadLength);
    EXPECT_TRUE(dev().log().empty());
    EXPECT_EQ(small, std::vector<std::uint8_t>(511, 0xAA));
}

TEST_F(CommandsTest, KeyBlockReadsAssembleTheDeviceMemory) {
    dev().setResponder(answerFromMemory);
    struct Case {
        std::optional<unsigned> page; // none: ReadKeyBlock
        std::uint16_t blockLength;
        std::uint16_t base;
    };
    for (const Case& c :
         std::vector<Case>{{{}, 512, 0}, {{}, 378, 0}, {0u, 512, 0}, {3u, 512, 378}, {4u, 15, 504}}) {
        link.blockLength = c.blockLength;
        dev().clearLog();
        std::vector<std::uint8_t> out(c.blockLength + 4, 0xAA);
        const int result = c.page ? ReadKeyBlockPage(link, out, *c.page) : ReadKeyBlock(link, out);
        EXPECT_EQ(result, kResultOk);
        for (std::size_t i = 0; i < c.blockLength; ++i) ASSERT_EQ(out[i], memoryByte(c.base + i)) << i;
        for (std::size_t i = c.blockLength; i < out.size(); ++i) EXPECT_EQ(out[i], 0xAA); // past blockLength
        const std::uint8_t id = c.page ? cmd::kReadKeyBlockPage : cmd::kReadKeyBlock;
        for (const auto& f : dev().writes()) {
            EXPECT_EQ(frameCommand(f), id);
            for (auto b : framePayload(f)) EXPECT_EQ(b, 0); // a read request carries no data
        }
    }
}

TEST_F(CommandsTest, FailingChunkedReadKeepsWhatArrivedAndStops) {
    dev().setResponder(answerFromMemory);
    dev().script({{Step::Reply}, {Step::Reply}, {Step::Reply, 0xFF}});
    std::vector<std::uint8_t> out(512, 0xAA);
    EXPECT_EQ(ReadKeyBlock(link, out), kResultStatusFF);
    EXPECT_EQ(dev().writes().size(), 3u);
    for (std::size_t i = 0; i < 112; ++i) ASSERT_EQ(out[i], memoryByte(i));
    for (std::size_t i = 112; i < 512; ++i) ASSERT_EQ(out[i], 0xAA) << i;
}

TEST_F(CommandsTest, MacroTransferStopsAtTheFailingFrame) {
    struct Case {
        std::vector<ScriptEntry> script;
        int result;
        std::size_t writes;
    };
    const std::vector<Case> cases{
        {{{Step::Reply}, {Step::Reply}, {Step::Reply, 0xFE}}, kResultStatusFE, 3},
        {{{Step::Reply}, {Step::Reply}, {Step::Reply, 0xFF}}, kResultStatusFF, 3},
        {{{Step::Reply}, {Step::Reply}, {Step::WriteFails}}, kResultWriteFailed, 2},
        {{{Step::Reply}, {Step::Reply}, {Step::NoReply}, {Step::NoReply}, {Step::NoReply}, {Step::NoReply}},
         kResultNoReply,
         6},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.result);
        dev().clearLog();
        dev().script(c.script);
        EXPECT_EQ(WriteMacroBlock(link, pattern(1000)), c.result);
        const auto frames = dev().writes();
        EXPECT_EQ(frames.size(), c.writes);
        EXPECT_EQ(frameAddress(frames[1]), 56);
    }
}

TEST_F(CommandsTest, LinkClosedDuringATransferStopsIt) {
    dev().setResponder([this](std::size_t index, const Frame&, Frame&) {
        if (index == 1) link.open = false; // unplugged after the second frame
    });
    EXPECT_EQ(WriteMacroBlock(link, pattern(1000)), kResultNoReply);
    EXPECT_EQ(dev().writes().size(), 2u);
}

TEST_F(CommandsTest, ClosedLinkEveryCommandGivesZeroWithoutTraffic) {
    link.open = false;
    std::array<std::uint8_t, kDeviceInfoSize> info{};
    std::vector<std::uint8_t> buf(512, 0);
    EXPECT_EQ(BeginTransfer(link), 0);
    EXPECT_EQ(EndTransfer(link), 0);
    EXPECT_EQ(ReadDeviceInfo(link, info), 0);
    EXPECT_EQ(ReadProfileRecord(link, 0, std::span(buf).first(46)), 0);
    EXPECT_EQ(WriteProfileRecord(link, 0, std::span(buf).first(46)), 0);
    EXPECT_EQ(ReadKeyBlock(link, buf), 0);
    EXPECT_EQ(ReadKeyBlockPage(link, buf, 0), 0);
    EXPECT_EQ(WriteKeyBlockPage(link, buf, 0), 0);
    EXPECT_EQ(FactoryReset(link), 0);
    EXPECT_EQ(WriteLightFrame(link, buf), 0);
    EXPECT_EQ(WriteMacroBlock(link, buf), 0);
    EXPECT_EQ(WriteCursorPathBlock(link, buf), 0);
    EXPECT_TRUE(dev().log().empty());
}

TEST_F(CommandsTest, SingleFrameCommandsFillTheirFields) {
    const auto data = pattern(46);
    std::array<std::uint8_t, 46> out{};
    struct Case {
        const char* name;
        std::function<int()> op;
        std::uint8_t command, length;
        std::uint16_t offset;
    };
    const std::vector<Case> cases{
        {"begin", [&] { return BeginTransfer(link); }, 0x01, 0, 0},
        {"end", [&] { return EndTransfer(link); }, 0x02, 0, 0},
        {"read record", [&] { return ReadProfileRecord(link, 3 * 64, out); }, 0x05, 46, 192},
        {"write record", [&] { return WriteProfileRecord(link, 4 * 64, data); }, 0x06, 46, 256},
        {"write nothing", [&] { return WriteProfileRecord(link, 64, {}); }, 0x06, 0, 64},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        dev().clearLog();
        EXPECT_EQ(c.op(), kResultOk);
        const auto frames = dev().writes();
        ASSERT_EQ(frames.size(), 1u);
        const Frame& f = frames[0];
        EXPECT_EQ(frameCommand(f), c.command);
        EXPECT_EQ(frameLength(f), c.length);
        EXPECT_EQ(frameAddress(f), c.offset);
        EXPECT_TRUE(checksumMatches(f));
        const bool carriesData = c.command == cmd::kWriteProfileRecord && c.length > 0;
        for (std::size_t i = 0; i < kPayloadSize; ++i)
            EXPECT_EQ(framePayload(f)[i], carriesData && i < c.length ? data[i] : 0) << i;
    }
}

TEST_F(CommandsTest, ProfileRecordReadCopiesOnlyOnSuccess) {
    dev().setResponder(answerFromMemory);
    std::array<std::uint8_t, 56> out{};
    out.fill(0xAA);
    EXPECT_EQ(ReadProfileRecord(link, 64, std::span(out).first(10)), kResultOk);
    for (std::size_t i = 0; i < 10; ++i) EXPECT_EQ(out[i], memoryByte(64 + i));
    EXPECT_EQ(out[10], 0xAA);

    out.fill(0xAA);
    dev().script({{Step::Reply, 0xFE}});
    EXPECT_EQ(ReadProfileRecord(link, 64, out), kResultStatusFE);
    for (auto b : out) EXPECT_EQ(b, 0xAA);
}

TEST_F(CommandsTest, RecordBuffersOverOneFrameAreRefusedWithoutTraffic) {
    std::array<std::uint8_t, 57> big{};
    EXPECT_EQ(ReadProfileRecord(link, 0, big), kResultBadLength);
    EXPECT_EQ(WriteProfileRecord(link, 0, big), kResultBadLength);
    EXPECT_TRUE(dev().log().empty());
    std::array<std::uint8_t, 56> full{};
    EXPECT_EQ(WriteProfileRecord(link, 0, full), kResultOk);
    EXPECT_EQ(frameLength(dev().writes()[0]), 56);
}

TEST_F(CommandsTest, ReadDeviceInfoAsksFor33BytesAndCopiesThem) {
    dev().setResponder([](std::size_t, const Frame&, Frame& reply) {
        for (std::size_t i = 0; i < kPayloadSize; ++i)
            reply[kPayloadOffset + i] = static_cast<std::uint8_t>(0x40 + i);
    });
    std::array<std::uint8_t, kDeviceInfoSize> info{};
    EXPECT_EQ(ReadDeviceInfo(link, info), kResultOk);
    const Frame sent = dev().writes().at(0);
    EXPECT_EQ(sent[3], 0x03);
    EXPECT_EQ(sent[4], 0x21);
    EXPECT_EQ(sent[1], 0x24);
    EXPECT_EQ(sent[2], 0x00);
    for (std::size_t i = 0; i < kDeviceInfoSize; ++i) EXPECT_EQ(info[i], 0x40 + i);

    info.fill(0xAA);
    dev().setFallback({Step::NoReply});
    EXPECT_EQ(ReadDeviceInfo(link, info), kResultNoReply);
    for (auto b : info) EXPECT_EQ(b, 0xAA);
}

TEST_F(CommandsTest, FactoryResetIsOneUnchecksummedFrameWithoutRetry) {
    dev().setFallback({Step::NoReply});
    FactoryReset(link);
    const auto frames = dev().writes();
    ASSERT_EQ(frames.size(), 1u);
    Frame expected{};
    expected[0] = 0x04;
    expected[3] = 0x0D;
    EXPECT_EQ(frames[0], expected); // bytes 1-2 stay 00 00
    EXPECT_EQ(dev().waitingReadsAfterLastWrite(), 1u);
}

TEST_F(CommandsTest, EndTransferPausesOnTheLinksClockBeforeSending) {
    std::vector<platform::Clock::Duration> sleptAtWrite;
    dev().setResponder(
        [&](std::size_t, const Frame&, Frame&) { sleptAtWrite.push_back(clock.totalSlept()); });
    EXPECT_EQ(BeginTransfer(link), kResultOk);
    EXPECT_EQ(EndTransfer(link), kResultOk);
    ASSERT_EQ(sleptAtWrite.size(), 2u);
    EXPECT_EQ(sleptAtWrite[0], std::chrono::milliseconds(0));
    EXPECT_EQ(sleptAtWrite[1], std::chrono::milliseconds(10));
}

} // namespace
} // namespace zq::test
