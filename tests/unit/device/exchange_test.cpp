#include "device/exchange.h"
#include "platform/debug.h"
#include "unit/device/link_fixture.h"

#include <gtest/gtest.h>

namespace zq::test {
namespace {

using namespace zq::device;

const Frame kRequest = buildFrame(cmd::kWriteProfileRecord, 2, 0x40, std::array<std::uint8_t, 2>{7, 9});

class ExchangeTest : public LinkTest {};

TEST_F(ExchangeTest, DescriptorGivesTheVendorCollection) {
    EXPECT_EQ(link.hid.caps().usagePage, 0xFF1C);
    EXPECT_EQ(link.hid.caps().usage, 0x92);
    EXPECT_EQ(link.hid.caps().inputReportLength, 64);
    EXPECT_EQ(link.hid.caps().outputReportLength, 64);
}

TEST_F(ExchangeTest, StatusByteDecidesTheResultAfterOneAttempt) {
    const std::vector<std::pair<std::uint8_t, int>> cases{{0x00, kResultOk},
                                                          {0x01, kResultOk},
                                                          {0x80, kResultOk},
                                                          {0xFF, kResultStatusFF},
                                                          {0xFE, kResultStatusFE}};
    for (auto [status, expected] : cases) {
        SCOPED_TRACE(int(status));
        dev().clearLog();
        dev().script({{Step::Reply, status}});
        Frame reply{};
        EXPECT_EQ(exchange(link, kRequest, reply), expected);
        ASSERT_EQ(dev().writes().size(), 1u);
        EXPECT_EQ(dev().writes()[0], kRequest);
        EXPECT_EQ(reply[kStatusOffset], status);
    }
}

TEST_F(ExchangeTest, SilentDeviceGetsTheIdenticalRequestFourTimes) {
    dev().setFallback({Step::NoReply});
    platform::clearDebugLines();
    Frame reply;
    reply.fill(0xAA);
    EXPECT_EQ(exchange(link, kRequest, reply), kResultNoReply);
    const auto writes = dev().writes();
    ASSERT_EQ(writes.size(), 4u);
    for (const auto& w : writes) EXPECT_EQ(w, kRequest);
    int waitingReads = 0;
    for (const auto& io : dev().log()) {
        if (io.write)
            EXPECT_EQ(io.limit, std::chrono::milliseconds(1000));
        else if (io.limit.count() > 0) {
            // the record hands the node what is left of the 300 ms
            EXPECT_LE(io.limit, std::chrono::milliseconds(300));
            EXPECT_GE(io.limit, std::chrono::milliseconds(250));
            ++waitingReads;
        }
    }
    EXPECT_EQ(waitingReads, 4);
    for (auto b : reply) EXPECT_EQ(b, 0xAA); // untouched
    EXPECT_TRUE(platform::debugContains("device exchange: no reply (cmd 06 len 2 off 0x0040 status 00)"));
}

TEST_F(ExchangeTest, ReplyOnThirdAttemptSucceeds) {
    dev().script({{Step::NoReply}, {Step::NoReply}, {Step::Reply, 0x01}});
    Frame reply{};
    EXPECT_EQ(exchange(link, kRequest, reply), kResultOk);
    EXPECT_EQ(dev().writes().size(), 3u);
}

TEST_F(ExchangeTest, FailedWriteIsNotReadNorRetried) {
    dev().script({{Step::WriteFails}});
    Frame reply{};
    EXPECT_EQ(exchange(link, kRequest, reply), kResultWriteFailed);
    const auto log = dev().log();
    ASSERT_FALSE(log.empty());
    EXPECT_TRUE(log.back().write); // nothing after the failed write
    EXPECT_EQ(std::count_if(log.begin(), log.end(), [](auto& io) { return io.write; }), 1);
}

TEST_F(ExchangeTest, ClosedLinkMakesNoTraffic) {
    link.open = false;
    Frame reply{};
    EXPECT_EQ(exchange(link, kRequest, reply), kResultNoReply);
    Frame frame = kRequest;
    EXPECT_FALSE(exchangeOnce(link, frame));
    EXPECT_TRUE(dev().log().empty());
}

TEST_F(ExchangeTest, UnpluggedCollectionFailsTheWrite) {
    link.hid.closeCollection(); // the flag still says open: the presence thread has not noticed yet
    Frame reply{};
    EXPECT_EQ(exchange(link, kRequest, reply), kResultWriteFailed);
}

TEST_F(ExchangeTest, OnlyStatusAndPayloadOfTheReplyMatter) {
    dev().setResponder([](std::size_t, const Frame&, Frame& reply) {
        reply[1] = reply[2] = 0x5A;   // wrong checksum
        reply[kCommandOffset] = 0x33; // another command
        reply[kLengthOffset] = 0;
        reply[kPayloadOffset] = 0x42;
    });
    Frame reply{};
    EXPECT_EQ(exchange(link, kRequest, reply), kResultOk);
    EXPECT_EQ(reply[kPayloadOffset], 0x42);
}

TEST_F(ExchangeTest, ShortAndLongReplies) {
    struct Case {
        std::size_t bytes;
        int result;
        std::size_t writes;
    };
    // Fewer than 8 bytes do not reach the status byte: no reply, so the request is repeated.
    const std::vector<Case> cases{{0, kResultNoReply, 4}, {7, kResultNoReply, 4}, {8, kResultOk, 1},
                                  {20, kResultOk, 1},     {64, kResultOk, 1},     {100, kResultOk, 1}};
    dev().setResponder([](std::size_t, const Frame&, Frame& reply) {
        std::fill(reply.begin() + kPayloadOffset, reply.end(), std::uint8_t{0x11});
    });
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes);
        dev().clearLog();
        dev().setFallback({Step::Reply, 0x01, c.bytes});
        Frame reply;
        reply.fill(0xAA);
        EXPECT_EQ(exchange(link, kRequest, reply), c.result);
        EXPECT_EQ(dev().writes().size(), c.writes);
        if (c.result != kResultOk) continue;
        const std::size_t got = std::min<std::size_t>(c.bytes, 64);
        for (std::size_t i = kPayloadOffset; i < kFrameSize; ++i)
            EXPECT_EQ(reply[i], i < got ? 0x11 : 0) << i;
    }
}

TEST_F(ExchangeTest, LateReplyOfAnEarlierAttemptIsNotTakenForTheAnswer) {
    // Each reply carries the number of the write it answers.
    dev().setResponder([](std::size_t index, const Frame&, Frame& reply) {
        reply[kPayloadOffset] = static_cast<std::uint8_t>(index);
    });
    dev().script({{Step::LateReply}, {Step::Reply}});
    Frame reply{};
    EXPECT_EQ(exchange(link, kRequest, reply), kResultOk);
    EXPECT_EQ(reply[kPayloadOffset], 1);

    // The same holds across exchanges: the next request does not pick up a stale reply.
    dev().script({{Step::LateReply}, {Step::LateReply}, {Step::LateReply}, {Step::LateReply}, {Step::Reply}});
    EXPECT_EQ(exchange(link, kRequest, reply), kResultNoReply);
    EXPECT_EQ(exchange(link, kRequest, reply), kResultOk);
    EXPECT_EQ(reply[kPayloadOffset], 6); // writes 0..1 above, 2..5 unanswered in time, 6 this one
}

TEST_F(ExchangeTest, ExchangeOnceIsOneWriteAndOneReadOnTheSameFrame) {
    dev().setResponder([](std::size_t, const Frame&, Frame& reply) { reply[kPayloadOffset] = 0x99; });
    dev().script({{Step::Reply, 0xFF}});
    Frame frame = kRequest;
    EXPECT_TRUE(exchangeOnce(link, frame)); // the status is not decoded
    EXPECT_EQ(frame[kPayloadOffset], 0x99);
    EXPECT_EQ(dev().writes().size(), 1u);

    dev().clearLog();
    dev().setFallback({Step::NoReply});
    frame = kRequest;
    EXPECT_FALSE(exchangeOnce(link, frame));
    EXPECT_EQ(dev().writes().size(), 1u); // no retry
    EXPECT_EQ(frame, kRequest);
}

} // namespace
} // namespace zq::test
