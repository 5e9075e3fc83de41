// The emulated devices as the HID layer sees them: enumeration and identities, consumer reports, the
// faults a test can switch on, plugging, and the rules of waiting.
#include "device/frame.h"
#include "device/hid/hid_device_record.h"
#include "sim/factory.h"
#include "support/bounded_wait.h"
#include "unit/sim/sim_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

namespace zq::sim::test {
namespace {

using namespace std::chrono_literals;
using device::Frame;
namespace cmd = device::cmd;
using hid::IoStatus;

struct Collection {
    std::string path;
    std::uint16_t productId, usagePage, usage, input, output;
};

TEST(SimEnumeration, ListsExactlyTheIntendedCollections) {
    platform::ManualClock clock;
    SimBackend backend(clock);
    hid::HidDeviceRecord rec(backend);
    ASSERT_TRUE(rec.enumerateInterfaces());

    const std::vector<Collection> expected{
        {"sim/hidraw0#vid_0c45&pid_7684", kMouseProductId, 0x01, 0x02, 8, 0},
        {"sim/hidraw1#vid_0c45&pid_7684&col01", kMouseProductId, 0x0C, 0x01, 3, 0},
        {"sim/hidraw1#vid_0c45&pid_7684&col02", kMouseProductId, 0xFF1C, 0x92, 64, 64},
        {"sim/hidraw2#vid_0c45&pid_5004", kPadProductId, 0xFF1C, 0x92, 64, 64},
        {"sim/hidraw3#vid_0c45&pid_7122", kKeyboardProductId, 0x01, 0x06, 9, 2},
        {"sim/hidraw4#vid_0c45&pid_7122&col01", kKeyboardProductId, 0x01, 0x80, 2, 0},
        {"sim/hidraw4#vid_0c45&pid_7122&col02", kKeyboardProductId, 0x0C, 0x01, 3, 0},
        {"sim/hidraw4#vid_0c45&pid_7122&col03", kKeyboardProductId, 0xFF1C, 0x92, 64, 64},
    };
    ASSERT_EQ(rec.paths().size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const auto& e = expected[i];
        const std::string path = rec.paths()[i];
        EXPECT_EQ(path, e.path);
        rec.setPath(path);
        ASSERT_TRUE(rec.openCollection()) << path;
        EXPECT_EQ(rec.attributes().vendorId, kVendorId) << path;
        EXPECT_EQ(rec.attributes().productId, e.productId) << path;
        EXPECT_EQ(rec.caps().usagePage, e.usagePage) << path;
        EXPECT_EQ(rec.caps().usage, e.usage) << path;
        EXPECT_EQ(rec.caps().inputReportLength, e.input) << path;
        EXPECT_EQ(rec.caps().outputReportLength, e.output) << path;
    }
}

TEST(SimEnumeration, ConsumerCollectionIsA16BitUsageArrayReaching0x0403) {
    platform::ManualClock clock;
    SimBackend backend(clock);
    for (auto pid : {kMouseProductId, kKeyboardProductId}) {
        hid::HidDeviceRecord rec(backend);
        ASSERT_TRUE(openConsumer(rec, pid));
        ASSERT_EQ(rec.collection().reportIds, std::vector<std::uint8_t>{kConsumerReportId});
        const auto& items = rec.items(hid::ReportType::Input);
        ASSERT_FALSE(items.empty());
        EXPECT_TRUE(items[0].isButton);
        EXPECT_EQ(items[0].usagePage, 0x0C);
        EXPECT_LE(items[0].usageMin, 0x0401u);
        EXPECT_GE(items[0].usageMax, 0x0403u);
    }
}

struct SimTest : ::testing::Test {
    platform::ManualClock clock;
    SimBackend backend{clock};
    hid::HidDeviceRecord link{backend};

    void SetUp() override { ASSERT_TRUE(openVendor(link, kMouseProductId)); }

    hid::HidDeviceRecord::Io send(const Frame& f) { return link.writeReport(f); }
    hid::HidDeviceRecord::Io receive(Frame& f, std::chrono::milliseconds limit = 300ms) {
        return link.readReport(f, limit);
    }
    // One request and its reply's status, or -1 when no reply came.
    int roundTrip(const Frame& request, Frame* replyOut = nullptr) {
        if (!send(request).ok) return -2;
        Frame reply{};
        if (!receive(reply).ok) return -1;
        if (replyOut) *replyOut = reply;
        return reply[device::kStatusOffset];
    }
    Frame readRecord(std::uint16_t offset, std::uint8_t n) {
        return device::buildFrame(cmd::kReadProfileRecord, n, offset);
    }
};

TEST_F(SimTest, RequestIsAnsweredOnTheVendorCollection) {
    Frame reply{};
    EXPECT_EQ(roundTrip(device::buildFrame(cmd::kReadDeviceInfo, 33, 0), &reply), 0);
    EXPECT_EQ(reply[device::kPayloadOffset + 6], 255);
    EXPECT_EQ(backend.mouse().framesReceived(cmd::kReadDeviceInfo), 1u);
    EXPECT_EQ(clock.totalSlept(), 0ms) << "a reply that is there costs no time";
}

TEST_F(SimTest, ConsumerReportsDecodeToTheirUsage) {
    hid::HidDeviceRecord reports(backend);
    ASSERT_TRUE(openConsumer(reports, kMouseProductId));
    auto& mouse = backend.mouse();
    struct Case {
        const char* what;
        bool (SimDevice::*press)();
        std::uint16_t usage;
    };
    const Case cases[] = {{"profile button", &SimDevice::pressProfileButton, kUsageProfileButton},
                          {"DPI button", &SimDevice::pressDpiButton, kUsageSettingsChanged},
                          {"click", &SimDevice::click, kUsageClick}};
    for (const auto& c : cases) {
        ASSERT_TRUE((mouse.*c.press)()) << c.what;
        auto& buf = reports.inputReportBuffer();
        ASSERT_TRUE(reports.readReport(buf, 500ms).ok) << c.what;
        ASSERT_TRUE(reports.decodeInputReport(buf)) << c.what;
        EXPECT_EQ(reports.items(hid::ReportType::Input)[0].usageList.at(0), c.usage) << c.what;
        // The release follows.
        ASSERT_TRUE(reports.readReport(buf, 500ms).ok) << c.what;
        ASSERT_TRUE(reports.decodeInputReport(buf));
        EXPECT_EQ(reports.items(hid::ReportType::Input)[0].usageList.at(0), 0u) << c.what;
    }
    // What the buttons did on the device.
    EXPECT_EQ(mouse.currentSlot(), 1);
    EXPECT_EQ(mouse.record(1)[rec::kDpiLevel], (kFactoryDpiLevel + 1) % 5);
    // The vendor reader on the same node skips the consumer reports it also received.
    Frame f{};
    EXPECT_EQ(receive(f).status, IoStatus::Timeout);
    // The pad has no buttons; the keyboard no DPI button.
    EXPECT_FALSE(backend.pad().pressProfileButton());
    EXPECT_FALSE(backend.keyboard().pressDpiButton());
}

TEST_F(SimTest, ManualClockReadsNeverWait) {
    Frame f{};
    const auto before = std::chrono::steady_clock::now();
    EXPECT_EQ(receive(f, 10s).status, IoStatus::Timeout);
    EXPECT_LT(std::chrono::steady_clock::now() - before, 5s);
    EXPECT_EQ(clock.totalSlept(), 10s) << "the read moved the clock by its limit instead of waiting";
}

TEST_F(SimTest, NoReplyTakesTheRequestAndStaysSilent) {
    backend.mouse().setNoReply(true);
    const Frame rq = device::buildFrame(cmd::kWriteProfileRecord, 1, 64 + 1, std::vector<std::uint8_t>{9});
    for (int i = 0; i < 4; ++i) EXPECT_EQ(roundTrip(rq), -1);
    EXPECT_EQ(clock.totalSlept(), 4 * 300ms);
    const auto log = backend.mouse().requestLog();
    ASSERT_EQ(log.size(), 4u);
    EXPECT_TRUE(std::all_of(log.begin(), log.end(), [&](const Frame& f) { return f == rq; }));
}

TEST_F(SimTest, LateReplyStaysQueuedForTheNextRead) {
    backend.mouse().setReplyDelay(500ms);
    ASSERT_TRUE(send(readRecord(0, 1)).ok);
    Frame f{};
    EXPECT_EQ(receive(f).status, IoStatus::Timeout);
    EXPECT_EQ(clock.totalSlept(), 300ms);
    // The next read's limit reaches the due time: it gets the reply and the clock stops there.
    EXPECT_TRUE(receive(f).ok);
    EXPECT_EQ(clock.totalSlept(), 500ms);
    EXPECT_EQ(f[device::kCommandOffset], cmd::kReadProfileRecord);
}

TEST_F(SimTest, StatusFaultRefusesTheNextRequestsWithoutCarryingThemOut) {
    auto& mouse = backend.mouse();
    const Frame write = device::buildFrame(cmd::kWriteProfileRecord, 1, 64 + 2, std::vector<std::uint8_t>{0});
    mouse.setStatusFault(0xFE, 2);
    EXPECT_EQ(roundTrip(write), 0xFE);
    EXPECT_EQ(roundTrip(write), 0xFE);
    EXPECT_EQ(mouse.record(1)[2], kFactoryBrightness) << "a refused write changes nothing";
    EXPECT_EQ(roundTrip(write), 0x00);
    EXPECT_EQ(mouse.record(1)[2], 0);

    mouse.setStatusFault(0xFF);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(roundTrip(readRecord(0, 1)), 0xFF);
    mouse.clearFaults();
    EXPECT_EQ(roundTrip(readRecord(0, 1)), 0x00);
}

TEST_F(SimTest, WriteFaults) {
    auto& mouse = backend.mouse();
    mouse.setWriteFault(WriteFault::Fail);
    EXPECT_EQ(send(readRecord(0, 1)).status, IoStatus::Error);
    EXPECT_EQ(mouse.framesReceived(), 0u);
    EXPECT_EQ(clock.totalSlept(), 0ms);

    mouse.setWriteFault(WriteFault::Stall);
    EXPECT_EQ(send(readRecord(0, 1)).status, IoStatus::Timeout);
    EXPECT_EQ(clock.totalSlept(), 1000ms);
    EXPECT_EQ(mouse.framesReceived(), 0u);
}

TEST_F(SimTest, UnplugAfterFramesCutsTheDeviceOffMidTransfer) {
    auto& mouse = backend.mouse();
    const auto oldPath = link.path();
    mouse.unplugAfterFrames(2);
    const auto chunk = std::vector<std::uint8_t>(56, 0xAB);
    EXPECT_EQ(roundTrip(device::buildFrame(cmd::kWriteKeyBlockPage, 56, 0, chunk)), 0);
    EXPECT_EQ(roundTrip(device::buildFrame(cmd::kWriteKeyBlockPage, 56, 56, chunk)), 0);
    EXPECT_EQ(send(device::buildFrame(cmd::kWriteKeyBlockPage, 56, 112, chunk)).status, IoStatus::Removed);
    Frame f{};
    EXPECT_EQ(receive(f).status, IoStatus::Removed);
    EXPECT_FALSE(mouse.plugged());
    EXPECT_FALSE(link.isPresent(oldPath, kVendorId, kMouseProductId));
    EXPECT_EQ(mouse.keyArea()[111], 0xAB);
    EXPECT_NE(mouse.keyArea()[112], 0xAB);

    hid::HidDeviceRecord scan(backend);
    ASSERT_TRUE(scan.enumerateInterfaces());
    EXPECT_TRUE(std::none_of(scan.paths().begin(), scan.paths().end(),
                             [](const std::string& p) { return p.find("pid_7684") != std::string::npos; }));

    // Replug: the nodes come back as new nodes; the old handle stays dead; the memory survived.
    mouse.plug();
    // The old names come back (lowest free numbers, as hidraw), but the handle still open is the old
    // node's: not present, so a presence check closes it and scans again.
    EXPECT_EQ(mouse.nodeNames()[1], hid::splitCollectionPath(oldPath).node);
    EXPECT_FALSE(link.isPresent(oldPath, kVendorId, kMouseProductId));
    EXPECT_EQ(send(readRecord(0, 1)).status, IoStatus::Removed);
    hid::HidDeviceRecord again(backend);
    ASSERT_TRUE(openVendor(again, kMouseProductId));
    Frame rq = device::buildFrame(cmd::kReadKeyBlockPage, 56, 56), rp{};
    ASSERT_TRUE(again.writeReport(rq).ok);
    ASSERT_TRUE(again.readReport(rp, 300ms).ok);
    EXPECT_EQ(rp[device::kPayloadOffset + 55], 0xAB);
    link.closeCollection();
    EXPECT_TRUE(again.isPresent(oldPath, kVendorId, kMouseProductId)) << "the old handle is closed";
}

TEST_F(SimTest, UnplugAndReplugMoveTheNodes) {
    auto& pad = backend.pad();
    const auto names = pad.nodeNames();
    ASSERT_EQ(names.size(), 1u);
    pad.unplug();
    EXPECT_TRUE(pad.nodeNames().empty());
    EXPECT_FALSE(backend.present(names[0], kVendorId, kPadProductId));
    EXPECT_EQ(backend.open(names[0], hid::kAccessRead, false), nullptr);
    backend.mouse().unplug();
    pad.plug(); // takes the lowest free number, the mouse's old boot node
    EXPECT_EQ(pad.nodeNames(), std::vector<std::string>{"sim/hidraw0"});
    EXPECT_TRUE(backend.present("sim/hidraw0", kVendorId, kPadProductId));
    EXPECT_FALSE(backend.present("sim/hidraw0", kVendorId, kMouseProductId))
        << "presence checks the identity";
}

TEST_F(SimTest, SharingFollowsTheOpenModes) {
    const auto node = backend.mouse().nodeNames()[1];
    // The link above holds read and write access, shared.
    EXPECT_EQ(backend.open(node, hid::kAccessRead | hid::kAccessWrite, true), nullptr)
        << "exclusive open while another handle writes";
    link.closeCollection();
    auto exclusive = backend.open(node, hid::kAccessRead | hid::kAccessWrite, true);
    ASSERT_NE(exclusive, nullptr);
    EXPECT_EQ(backend.open(node, hid::kAccessWrite, false), nullptr);
    EXPECT_NE(backend.open(node, hid::kAccessRead, false), nullptr) << "reading stays shared";
    EXPECT_NE(backend.open(node, hid::kAccessNone, false), nullptr) << "presence probes always open";
}

TEST_F(SimTest, OtherOutputReportsAreTakenAndIgnored) {
    hid::HidDeviceRecord kb(backend);
    ASSERT_TRUE(openOn(kb, kKeyboardProductId, 0x01, 0x06));
    const std::array<std::uint8_t, 2> leds{0x00, 0x02}; // caps lock on
    EXPECT_TRUE(kb.writeReport(leds).ok);
    EXPECT_EQ(backend.keyboard().framesReceived(), 0u);
    // A vendor report of the wrong size is an error, not a command.
    const std::array<std::uint8_t, 10> shortFrame{device::kReportId, 0, 0, cmd::kBeginTransfer};
    EXPECT_EQ(link.writeReport(shortFrame).status, IoStatus::Error);
}

// With the system clock reads really block; they wake for a report, a cancel or an unplug.
TEST(SimRealTime, BlockingReadWakesForReportCancelAndUnplug) {
    SimBackend backend; // system clock
    {
        hid::HidDeviceRecord reports(backend);
        ASSERT_TRUE(openConsumer(reports, kMouseProductId));
        ::zq::test::BoundedThread presser([&] { backend.mouse().click(); });
        auto& buf = reports.inputReportBuffer();
        EXPECT_TRUE(reports.readReport(buf, 60s).ok);
        presser.join();
    }
    {
        hid::HidDeviceRecord rec(backend);
        ASSERT_TRUE(openVendor(rec, kMouseProductId));
        ::zq::test::BoundedThread closer([&] {
            EXPECT_TRUE(::zq::test::eventually([&] { return rec.readPending(); }));
            rec.closeCollection();
        });
        Frame f{};
        const auto r = rec.readReport(f, 60s);
        closer.join();
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.status, IoStatus::Cancelled);
    }
    {
        hid::HidDeviceRecord rec(backend);
        ASSERT_TRUE(openVendor(rec, kMouseProductId));
        ::zq::test::BoundedThread unplugger([&] {
            EXPECT_TRUE(::zq::test::eventually([&] { return rec.readPending(); }));
            backend.mouse().unplug();
        });
        Frame f{};
        EXPECT_EQ(rec.readReport(f, 60s).status, IoStatus::Removed);
        unplugger.join();
    }
}

TEST(SimRealTime, LateReplyArrivesWithinTheLimit) {
    SimBackend backend;
    hid::HidDeviceRecord rec(backend);
    ASSERT_TRUE(openVendor(rec, kMouseProductId));
    backend.mouse().setReplyDelay(5ms);
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(rec.writeReport(device::buildFrame(cmd::kBeginTransfer, 0, 0)).ok);
    Frame f{};
    EXPECT_TRUE(rec.readReport(f, 5s).ok);
    EXPECT_GE(std::chrono::steady_clock::now() - start, 5ms) << "not before it is due";
}

} // namespace
} // namespace zq::sim::test
