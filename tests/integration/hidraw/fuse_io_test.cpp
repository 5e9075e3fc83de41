// Report I/O through the kernel: an exchange round trip, the read time limit, and a close that ends a
// waiting read.
#include "device/commands.h"
#include "device/hid/report_descriptor.h"
#include "integration/hidraw/fuse_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace zq::test {
namespace {

using namespace zq::device;

TEST_F(HidrawFuseTest, ExchangesRoundTripThroughTheNode) {
    ASSERT_TRUE(openLink(sim.mouse()));
    std::array<std::uint8_t, 56> block{};
    for (std::size_t i = 0; i < block.size(); ++i) block[i] = static_cast<std::uint8_t>(0x40 + i);
    ASSERT_EQ(WriteProfileRecord(*link, 128, block), kResultOk);
    std::array<std::uint8_t, 56> back{};
    ASSERT_EQ(ReadProfileRecord(*link, 128, back), kResultOk);
    EXPECT_EQ(back, block);
    const auto stored = sim.mouse().record(2);
    EXPECT_TRUE(std::equal(block.begin(), block.end(), stored.begin()));

    std::array<std::uint8_t, kDeviceInfoSize> info{};
    ASSERT_EQ(ReadDeviceInfo(*link, info), kResultOk);
    EXPECT_EQ(info, sim.mouse().deviceInfo());
}

TEST_F(HidrawFuseTest, ReadWithNoReplyFailsAfterItsLimitWithNoBytes) {
    ASSERT_TRUE(openLink(sim.mouse()));
    Frame buf{};
    buf.fill(0xEE);
    hid::HidDeviceRecord::Io io;
    const Millis took = timed([&] { io = link->hid.readReport(buf, Millis(300)); });
    EXPECT_FALSE(io.ok);
    EXPECT_EQ(io.bytes, 0u);
    EXPECT_EQ(io.status, hid::IoStatus::Timeout);
    EXPECT_GE(took, Millis(250));
    EXPECT_LE(took, Millis(2000));
    EXPECT_EQ(buf[0], 0xEE); // nothing was written into the buffer
}

TEST_F(HidrawFuseTest, ClosingTheRecordEndsAWaitingReadAtOnce) {
    ASSERT_TRUE(openLink(sim.mouse()));
    hid::HidDeviceRecord::Io io;
    Millis took{};
    BoundedThread reader([&] {
        Frame buf{};
        took = timed([&] { io = link->hid.readReport(buf, Millis(20000)); });
    });
    EXPECT_TRUE(eventually([&] { return link->hid.readPending(); }));
    link->hid.closeCollection();
    reader.join();
    EXPECT_FALSE(io.ok);
    EXPECT_EQ(io.bytes, 0u);
    EXPECT_EQ(io.status, hid::IoStatus::Cancelled);
    EXPECT_LT(took, Millis(5000)); // far from the 20 s limit, whatever the machine's load
    EXPECT_FALSE(link->hid.isOpen());
}

TEST_F(HidrawFuseTest, ACancelledNodeRefusesEveryLaterCallAtOnce) {
    auto node = backend->open(fuse.pathOf(sim.mouse().nodeNames().back()),
                              hid::kAccessRead | hid::kAccessWrite, false);
    ASSERT_NE(node, nullptr);
    node->cancel();
    Frame buf{};
    buf[0] = sim::kVendorReportId;
    const Millis took = timed([&] {
        EXPECT_EQ(node->read(buf, Millis(20000)).status, hid::IoStatus::Cancelled);
        EXPECT_EQ(node->write(buf, Millis(20000)).status, hid::IoStatus::Cancelled);
        EXPECT_EQ(node->read(buf, Millis(20000)).status, hid::IoStatus::Cancelled);
    });
    EXPECT_LT(took, Millis(5000));
    EXPECT_EQ(sim.mouse().framesReceived(), 0u);
}

TEST_F(HidrawFuseTest, ConsumerReportsReachAReadOnlyHandle) {
    hid::HidDeviceRecord record(*backend);
    record.openForWrite = false;
    ASSERT_TRUE(record.enumerateInterfaces());
    bool opened = false;
    for (const auto& path : record.paths()) {
        record.setPath(path);
        if (record.openCollection() && record.attributes().productId == sim::kMouseProductId &&
            record.caps().usagePage == 0x000C) {
            opened = true;
            break;
        }
    }
    ASSERT_TRUE(opened);
    ASSERT_TRUE(sim.mouse().sendConsumerUsage(sim::kUsageSettingsChanged));
    std::vector<std::uint8_t> buf(record.caps().inputReportLength);
    const auto io = record.readReport(buf, Millis(2000));
    ASSERT_TRUE(io.ok);
    ASSERT_TRUE(record.decodeInputReport(buf));
    const auto& items = record.items(hid::ReportType::Input);
    ASSERT_FALSE(items.empty());
    ASSERT_FALSE(items[0].usageList.empty());
    EXPECT_EQ(items[0].usageList[0], sim::kUsageSettingsChanged);
}

// A node whose reports carry no id (the boot-protocol pointer) gives them on hidraw without an id byte;
// the backend hands them on with byte 0 = 0 like every other report, so decoding sees the right bytes.
TEST_F(HidrawFuseTest, ReportsOfANodeWithoutReportIdsArriveWithIdZero) {
    constexpr int kPointerNode = 0;
    ASSERT_NE(sim.mouse().model().vendorNode, kPointerNode);
    ASSERT_FALSE(hid::usesReportIds(sim.mouse().model().nodes[kPointerNode]));
    hid::HidDeviceRecord record(*backend);
    record.openForWrite = false;
    ASSERT_TRUE(record.enumerateInterfaces());
    bool opened = false;
    for (const auto& path : record.paths()) {
        record.setPath(path);
        if (record.openCollection() && record.attributes().productId == sim::kMouseProductId &&
            record.caps().usagePage == 0x0001 && record.caps().usage == 0x0002) {
            opened = true;
            break;
        }
    }
    ASSERT_TRUE(opened);
    const std::vector<std::uint8_t> sent{0x00, 0x01, 0x05, 0xFB};
    ASSERT_TRUE(sim.mouse().sendNodeReport(kPointerNode, sent));
    std::vector<std::uint8_t> buf(16, 0xEE);
    const auto io = record.readReport(buf, Millis(2000));
    ASSERT_TRUE(io.ok);
    ASSERT_EQ(io.bytes, sent.size());
    EXPECT_TRUE(std::equal(sent.begin(), sent.end(), buf.begin()));
}

// The served node also behaves for readers that block in read() instead of polling, as tools like
// hexdump do: the read waits for the next report, and an unplug ends it with EIO.
TEST_F(HidrawFuseTest, ABlockingReadOfTheNodeWaitsForTheNextReportOrTheUnplug) {
    const std::string node = fuse.pathOf(sim.mouse().nodeNames().back());
    const int fd = ::open(node.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    std::array<std::uint8_t, 64> buf{};
    ssize_t got = 0;
    int error = 0;
    std::atomic<bool> done{false};
    // A read that never ends is the fault: stopping the harness answers it, and the test fails.
    const auto joinBounded = [&](std::thread& t) {
        if (!eventually([&] { return done.load(); })) {
            ADD_FAILURE() << "a blocking read did not end";
            fuse.stop();
        }
        t.join();
        done = false;
    };
    std::thread reader([&] {
        got = ::read(fd, buf.data(), buf.size());
        error = got < 0 ? errno : 0;
        done = true;
    });
    ASSERT_TRUE(sim.mouse().sendConsumerUsage(sim::kUsageClick));
    joinBounded(reader);
    EXPECT_EQ(got, static_cast<ssize_t>(sim::kConsumerReportSize)) << error;
    EXPECT_EQ(buf[0], sim::kConsumerReportId);

    ASSERT_EQ(::read(fd, buf.data(), buf.size()), static_cast<ssize_t>(sim::kConsumerReportSize)); // release
    std::thread blocked([&] {
        got = ::read(fd, buf.data(), buf.size());
        error = got < 0 ? errno : 0;
        done = true;
    });
    sim.mouse().unplug();
    joinBounded(blocked);
    EXPECT_EQ(got, -1);
    EXPECT_EQ(error, EIO);
    ::close(fd);
}

} // namespace
} // namespace zq::test
