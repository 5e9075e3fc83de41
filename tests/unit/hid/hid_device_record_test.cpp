#include "device/hid/hid_device_record.h"
#include "support/bounded_wait.h"
#include "unit/hid/boot_descriptors.h"
#include "unit/hid/fake_backend.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <thread>

namespace zq::hid {
namespace {

using namespace std::chrono_literals;
using test::FakeBackend;

// Two nodes: a composite node with a vendor and a consumer collection behind report ids 5 and 6, and a
// plain boot mouse of another vendor without report ids.
class HidDeviceRecordTest : public ::testing::Test {
protected:
    void SetUp() override {
        backend.addNode("/dev/hidraw1", 0x0C45, 0x7684, test::kVendorAndConsumer);
        backend.addNode("/dev/hidraw2", 0x046D, 0xC077, test::kBootMouse);
        backend.addNode("/dev/hidraw3", 0x0C45, 0x7122, test::kBootKeyboard);
    }
    bool openPath(const std::string& path) {
        record.setPath(path);
        return record.openCollection();
    }

    FakeBackend backend;
    HidDeviceRecord record{backend};
};

// The pre-filter reads the hex number after the first "vid_"/"pid_" in the path text.
unsigned long idAfter(const std::string& path, const char* key) {
    const auto at = path.find(key);
    return at == std::string::npos ? 0 : std::strtoul(path.c_str() + at + 4, nullptr, 16);
}

TEST_F(HidDeviceRecordTest, EnumerationListsOnePathPerCollection) {
    ASSERT_TRUE(record.enumerateInterfaces());
    EXPECT_EQ(record.paths(),
              (std::vector<std::string>{"/dev/hidraw1#vid_0c45&pid_7684&col01",
                                        "/dev/hidraw1#vid_0c45&pid_7684&col02",
                                        "/dev/hidraw2#vid_046d&pid_c077", "/dev/hidraw3#vid_0c45&pid_7122"}));
    EXPECT_EQ(idAfter(record.paths()[1], "vid_"), 0x0C45u);
    EXPECT_EQ(idAfter(record.paths()[1], "pid_"), 0x7684u);
    EXPECT_EQ(splitCollectionPath(record.paths()[1]).node, "/dev/hidraw1");
    EXPECT_EQ(splitCollectionPath(record.paths()[1]).collectionIndex, 1);
    EXPECT_TRUE(backend.opens.empty()); // listing opens nothing
}

TEST_F(HidDeviceRecordTest, EnumerationWithoutNodesOrWithAFailingListing) {
    FakeBackend empty;
    HidDeviceRecord r(empty);
    EXPECT_TRUE(r.enumerateInterfaces());
    EXPECT_TRUE(r.paths().empty());

    ASSERT_TRUE(record.enumerateInterfaces());
    backend.failEnumerate = true;
    EXPECT_FALSE(record.enumerateInterfaces());
    EXPECT_TRUE(record.paths().empty()); // nothing of the earlier listing is left behind
}

TEST_F(HidDeviceRecordTest, OpenFillsIdentityCapabilitiesAndItems) {
    record.exclusive = true;
    ASSERT_TRUE(openPath("/dev/hidraw1#vid_0c45&pid_7684&col01"));
    EXPECT_TRUE(record.isOpen());
    ASSERT_EQ(backend.opens.size(), 1u);
    EXPECT_EQ(backend.opens[0].node, "/dev/hidraw1");
    EXPECT_EQ(backend.opens[0].access, unsigned{kAccessRead | kAccessWrite});
    EXPECT_TRUE(backend.opens[0].exclusive);

    EXPECT_EQ(record.attributes().vendorId, 0x0C45);
    EXPECT_EQ(record.attributes().productId, 0x7684);
    EXPECT_EQ(record.caps().usagePage, 0xFF00);
    EXPECT_EQ(record.caps().usage, 0x01);
    EXPECT_EQ(record.caps().inputReportLength, 2);
    EXPECT_EQ(record.caps().outputReportLength, 63);
    EXPECT_EQ(record.caps().featureReportLength, 0);
    EXPECT_EQ(record.caps().numberInputValueCaps, 1);
    EXPECT_EQ(record.caps().numberOutputValueCaps, 1);
    EXPECT_EQ(record.inputReportBuffer().size(), 2u);
    EXPECT_EQ(record.items(ReportType::Input).size(), 1u);

    record.openForWrite = false;
    ASSERT_TRUE(openPath("/dev/hidraw1#vid_0c45&pid_7684&col02"));
    EXPECT_EQ(backend.opens.back().access, unsigned{kAccessRead});
    EXPECT_EQ(record.caps().usagePage, 0x0C);
    EXPECT_EQ(record.caps().inputReportLength, 5);
    const auto& items = record.items(ReportType::Input);
    ASSERT_EQ(items.size(), 1u);
    EXPECT_TRUE(items[0].isButton);
    EXPECT_EQ(items[0].usageList.size(), 2u); // the array's two slots
}

TEST_F(HidDeviceRecordTest, FailedOpenLeavesTheRecordClosed) {
    backend.addNode("/dev/hidraw9", 0x0C45, 0x1111, std::vector<std::uint8_t>{0xA1, 0x01}); // unclosed
    backend.unopenable.insert("/dev/hidraw2");
    const char* failing[] = {
        "/dev/hidraw2#vid_046d&pid_c077",       // the backend refuses the node
        "/dev/hidraw9#vid_0c45&pid_1111",       // its descriptor is malformed
        "/dev/hidraw1#vid_0c45&pid_7684&col03", // no third collection
        "/dev/hidraw7#vid_0c45&pid_7684",       // no such node
    };
    for (const char* path : failing) {
        ASSERT_TRUE(openPath("/dev/hidraw1#vid_0c45&pid_7684&col01"));
        EXPECT_FALSE(openPath(path)) << path;
        EXPECT_FALSE(record.isOpen()) << path;
        EXPECT_EQ(record.attributes().vendorId, 0) << path;
        EXPECT_EQ(record.caps().inputReportLength, 0) << path;
        EXPECT_TRUE(record.items(ReportType::Input).empty()) << path;
        std::array<std::uint8_t, 4> buf{};
        EXPECT_FALSE(record.readReport(buf, 300ms).ok) << path;
        EXPECT_FALSE(record.writeReport(buf).ok) << path;
    }
}

TEST_F(HidDeviceRecordTest, ReadSkipsReportsOfTheNodesOtherCollections) {
    ASSERT_TRUE(openPath("/dev/hidraw1#vid_0c45&pid_7684&col01"));
    backend.queueInput("/dev/hidraw1", {6, 0xE9, 0x00, 0, 0}); // the consumer collection's report
    backend.queueInput("/dev/hidraw1", {5, 42});
    std::array<std::uint8_t, 64> buf{};
    const auto io = record.readReport(buf, 300ms);
    ASSERT_TRUE(io.ok);
    EXPECT_EQ(io.bytes, 2u);
    EXPECT_EQ(buf[0], 5);
    EXPECT_EQ(buf[1], 42);

    backend.queueInput("/dev/hidraw1", {6, 0xEA, 0x00, 0, 0});
    const auto none = record.readReport(buf, 300ms);
    EXPECT_FALSE(none.ok);
    EXPECT_EQ(none.bytes, 0u);
    EXPECT_EQ(none.status, IoStatus::Timeout);
    EXPECT_FALSE(record.readPending());
}

TEST_F(HidDeviceRecordTest, OtherCollectionsReportsDoNotExtendTheTimeLimit) {
    platform::ManualClock clock;
    backend.clock = &clock;
    backend.readTime = 100ms;
    record.setClock(clock);
    ASSERT_TRUE(openPath("/dev/hidraw1#vid_0c45&pid_7684&col01"));
    for (int i = 0; i < 10; ++i) backend.queueInput("/dev/hidraw1", {6, 0xE9, 0x00, 0, 0});
    backend.queueInput("/dev/hidraw1", {5, 1});
    std::array<std::uint8_t, 64> buf{};
    const auto io = record.readReport(buf, 300ms);
    EXPECT_FALSE(io.ok);
    EXPECT_EQ(io.status, IoStatus::Timeout);
    EXPECT_EQ(io.bytes, 0u);
}

// A zero-limit read drains what is already waiting (the exchange discards stale replies that way): a
// report of ours behind another collection's is found, and a flood of foreign reports ends the read.
TEST_F(HidDeviceRecordTest, AZeroLimitReadLooksBehindOtherCollectionsReports) {
    platform::ManualClock clock; // never moves: only the skip bound can end the flood below
    record.setClock(clock);
    ASSERT_TRUE(openPath("/dev/hidraw1#vid_0c45&pid_7684&col01"));
    backend.queueInput("/dev/hidraw1", {6, 0xE9, 0x00, 0, 0});
    backend.queueInput("/dev/hidraw1", {5, 7});
    std::array<std::uint8_t, 64> buf{};
    const auto io = record.readReport(buf, 0ms);
    ASSERT_TRUE(io.ok);
    EXPECT_EQ(buf[1], 7);

    for (int i = 0; i < 1000; ++i) backend.queueInput("/dev/hidraw1", {6, 0xE9, 0x00, 0, 0});
    EXPECT_EQ(record.readReport(buf, 0ms).status, IoStatus::Timeout);
}

TEST_F(HidDeviceRecordTest, WriteGoesToTheNodeAndFailsAfterClose) {
    ASSERT_TRUE(openPath("/dev/hidraw1#vid_0c45&pid_7684&col01"));
    const std::vector<std::uint8_t> report(63, 0x11);
    const auto io = record.writeReport(report);
    EXPECT_TRUE(io.ok);
    EXPECT_EQ(io.bytes, 63u);
    ASSERT_EQ(backend.written.size(), 1u);
    record.closeCollection();
    EXPECT_FALSE(record.writeReport(report).ok);
    EXPECT_EQ(backend.written.size(), 1u);
}

TEST_F(HidDeviceRecordTest, CloseFromAnotherThreadWakesAWaitingRead) {
    backend.readsWait = true;
    ASSERT_TRUE(openPath("/dev/hidraw1#vid_0c45&pid_7684&col01"));
    HidDeviceRecord::Io io;
    io.ok = true;
    ::zq::test::BoundedThread reader([&] {
        std::array<std::uint8_t, 64> buf{};
        io = record.readReport(buf, std::chrono::hours(1));
    });
    EXPECT_TRUE(::zq::test::eventually([&] { return record.readPending(); }));
    record.closeCollection();
    reader.join(); // stops the test program if the close did not wake the read
    EXPECT_FALSE(io.ok);
    EXPECT_EQ(io.bytes, 0u);
    EXPECT_EQ(io.status, IoStatus::Cancelled);
    EXPECT_FALSE(record.isOpen());
}

TEST_F(HidDeviceRecordTest, PresenceFollowsTheNodeIdentity) {
    EXPECT_TRUE(record.isPresent("/dev/hidraw1#vid_0c45&pid_7684&col02", 0x0C45, 0x7684));
    EXPECT_FALSE(record.isPresent("/dev/hidraw1#vid_0c45&pid_7684&col02", 0x0C45, 0x5004));
    EXPECT_FALSE(record.isPresent("/dev/hidraw8#vid_0c45&pid_7684", 0x0C45, 0x7684));
}

// --- decoding ---------------------------------------------------------------------------------------

TEST_F(HidDeviceRecordTest, DecodesKeyboardUsagesInsideEachRange) {
    ASSERT_TRUE(openPath("/dev/hidraw3#vid_0c45&pid_7122"));
    auto& items = record.items(ReportType::Input);
    ASSERT_EQ(items.size(), 2u);
    ASSERT_EQ(items[0].usageList.size(), 14u); // 8 modifier bits + 6 array slots on the key page
    // Left shift and right alt held; A, B and an out-of-range index in the key slots.
    const std::vector<std::uint8_t> report{0, 0x42, 0, 0x04, 0x05, 0x70, 0, 0, 0};
    ASSERT_TRUE(record.decodeInputReport(report));
    EXPECT_EQ(items[0].usageList[0], 0xE1u);
    EXPECT_EQ(items[0].usageList[1], 0xE6u);
    EXPECT_EQ(items[0].usageList[2], 0u);
    EXPECT_EQ(items[1].usageList[0], 0x04u);
    EXPECT_EQ(items[1].usageList[1], 0x05u);
    EXPECT_EQ(items[1].usageList[2], 0u);
    EXPECT_TRUE(items[0].dataSet);

    // A later report with fewer keys leaves nothing of the earlier one behind the terminator.
    ASSERT_TRUE(record.decodeInputReport(std::vector<std::uint8_t>{0, 0, 0, 0x06, 0, 0, 0, 0, 0}));
    EXPECT_EQ(items[0].usageList[0], 0u);
    EXPECT_EQ(items[1].usageList[0], 0x06u);
    EXPECT_EQ(items[1].usageList[1], 0u);
    EXPECT_EQ(items[1].usageList[2], 0u);
}

TEST_F(HidDeviceRecordTest, DecodesButtonsAndSignedValues) {
    ASSERT_TRUE(openPath("/dev/hidraw2#vid_046d&pid_c077"));
    auto& items = record.items(ReportType::Input);
    ASSERT_EQ(items.size(), 3u); // buttons, X, Y
    ASSERT_TRUE(record.decodeInputReport(std::vector<std::uint8_t>{0, 0x05, 0x10, 0xF0}));
    EXPECT_EQ(items[0].usageList, (std::vector<std::uint32_t>{1, 3, 0}));
    EXPECT_EQ(items[1].usageMin, 0x30u);
    EXPECT_EQ(items[1].rawValue, 0x10);
    EXPECT_EQ(items[1].scaledValue, 16);
    EXPECT_EQ(items[2].rawValue, 0xF0); // raw is the field as sent
    EXPECT_EQ(items[2].scaledValue, -16);
}

TEST_F(HidDeviceRecordTest, DecodeReportIdsShortReportsAndPhysicalScaling) {
    ASSERT_TRUE(openPath("/dev/hidraw1#vid_0c45&pid_7684&col01"));
    auto& item = record.items(ReportType::Input).at(0);
    ASSERT_TRUE(record.decodeInputReport(std::vector<std::uint8_t>{5, 50}));
    EXPECT_EQ(item.rawValue, 50);
    EXPECT_EQ(item.scaledValue, 500); // logical 0..100 onto physical 0..1000
    EXPECT_TRUE(item.dataSet);

    // A report id without items: success, nothing changes.
    EXPECT_TRUE(record.decodeInputReport(std::vector<std::uint8_t>{9, 77}));
    EXPECT_EQ(item.rawValue, 50);
    // A value the report is too short for, or no report at all: failure.
    EXPECT_FALSE(record.decodeInputReport(std::vector<std::uint8_t>{5}));
    EXPECT_FALSE(record.decodeInputReport(std::vector<std::uint8_t>{}));
    EXPECT_EQ(item.rawValue, 50);
}

TEST_F(HidDeviceRecordTest, DecodesConsumerArrayOfSixteenBitUsages) {
    ASSERT_TRUE(openPath("/dev/hidraw1#vid_0c45&pid_7684&col02"));
    const auto& item = record.items(ReportType::Input).at(0);
    ASSERT_TRUE(record.decodeInputReport(std::vector<std::uint8_t>{6, 0x02, 0x04, 0x00, 0x00}));
    EXPECT_EQ(item.usageList, (std::vector<std::uint32_t>{0x0402, 0}));
}

} // namespace
} // namespace zq::hid
