// The host's command layer against the emulated firmware: the sequences the program runs (read-backs,
// slot switch, settings push, transfers, light frames) land where they should, faults give the host's
// result codes, and two threads can share one device.
#include "device/commands.h"
#include "device/device_link.h"
#include "device/exchange.h"
#include "sim/factory.h"
#include "support/bounded_wait.h"
#include "unit/sim/sim_fixture.h"

#include <gtest/gtest.h>

#include <thread>

namespace zq::sim::test {
namespace {

using namespace std::chrono_literals;
namespace cmd = device::cmd;

std::vector<std::uint8_t> pattern(std::size_t n, std::uint8_t seed) {
    std::vector<std::uint8_t> v(n);
    for (std::size_t i = 0; i < n; ++i) v[i] = static_cast<std::uint8_t>(seed + i * 13);
    return v;
}

bool openLink(device::DeviceLink& link, SimBackend& backend, std::uint16_t productId) {
    link.identity = {kVendorId, productId, kVendorUsagePage, kVendorUsage};
    if (!openVendor(link.hid, productId)) return false;
    link.hid.setClock(backend.clock());
    link.open = true;
    return true;
}

struct LinkOnSim : ::testing::Test {
    platform::ManualClock clock;
    SimBackend backend{clock};
    device::DeviceLink mouse{backend, clock};
    void SetUp() override { ASSERT_TRUE(openLink(mouse, backend, kMouseProductId)); }
    SimDevice& dev() { return backend.mouse(); }
};

TEST_F(LinkOnSim, MouseReadBackSequence) {
    std::array<std::uint8_t, device::kDeviceInfoSize> info{};
    std::vector<std::uint8_t> block(512);
    EXPECT_EQ(device::BeginTransfer(mouse), 1);
    EXPECT_EQ(device::ReadDeviceInfo(mouse, info), 1);
    EXPECT_EQ(info[6], 255);
    EXPECT_EQ(device::ReadKeyBlock(mouse, block), 1);
    const auto area = dev().keyArea();
    EXPECT_TRUE(std::equal(block.begin(), block.end(), area.begin()));
    for (unsigned p = 0; p < 5; ++p) {
        EXPECT_EQ(device::ReadKeyBlockPage(mouse, block, p), 1);
        EXPECT_TRUE(std::equal(block.begin(), block.end(), area.begin() + p * 126)) << "page " << p;
    }
    EXPECT_EQ(device::EndTransfer(mouse), 1);
    EXPECT_EQ(dev().transfersBegun(), 1u);
    EXPECT_EQ(dev().transfersEnded(), 1u);
    EXPECT_FALSE(dev().transferOpen());
}

TEST_F(LinkOnSim, SlotSwitchAndSettingsPush) {
    std::array<std::uint8_t, 1> slot{};
    ASSERT_EQ(device::ReadProfileRecord(mouse, 0, slot), 1);
    EXPECT_EQ(slot[0], 0);
    const std::array<std::uint8_t, 1> two{2};
    ASSERT_EQ(device::WriteProfileRecord(mouse, 0, two), 1);
    std::vector<std::uint8_t> record(56);
    ASSERT_EQ(device::ReadProfileRecord(mouse, 2 * 64, record), 1);
    EXPECT_EQ(record[0], 2);
    EXPECT_EQ(record[rec::kDpiCodes], kFactoryDpiCodes[0]);
    ASSERT_EQ(device::ReadProfileRecord(mouse, 0, slot), 1);
    EXPECT_EQ(slot[0], 2);

    // The push: the 46-byte block and 10 zero bytes at slot * 64.
    auto push = pattern(56, 1);
    push[0] = 2;
    std::fill(push.begin() + 46, push.end(), 0);
    ASSERT_EQ(device::WriteProfileRecord(mouse, 2 * 64, push), 1);
    const auto stored = dev().record(2);
    EXPECT_TRUE(std::equal(push.begin(), push.end(), stored.begin()));
    EXPECT_EQ(dev().currentSlot(), 2);

    // Slot 5 is refused by the device: −103, and the current slot stays.
    const std::array<std::uint8_t, 1> five{5};
    EXPECT_EQ(device::WriteProfileRecord(mouse, 0, five), device::kResultStatusFE);
    EXPECT_EQ(dev().currentSlot(), 2);
}

TEST_F(LinkOnSim, KeyboardBlockLengthFollowsItsKeyCount) {
    for (std::uint8_t keys : {126, 170}) {
        platform::ManualClock c;
        SimBackend b(c, {keyboardWithKeys(keys)});
        device::DeviceLink kb(b, c);
        ASSERT_TRUE(openLink(kb, b, kKeyboardProductId));
        std::array<std::uint8_t, device::kDeviceInfoSize> info{};
        ASSERT_EQ(device::ReadDeviceInfo(kb, info), 1);
        ASSERT_EQ(info[5], keys);
        kb.blockLength = static_cast<std::uint16_t>(3 * info[5]);
        std::vector<std::uint8_t> block(kb.blockLength);
        EXPECT_EQ(device::ReadKeyBlock(kb, block), 1);
        const auto data = pattern(kb.blockLength, keys);
        EXPECT_EQ(device::WriteKeyBlockPage(kb, data, 4), 1) << "page 4 ends at the last byte";
        EXPECT_EQ(device::ReadKeyBlockPage(kb, block, 4), 1);
        EXPECT_EQ(block, data);
    }
}

TEST_F(LinkOnSim, MacroAndCursorBlocksFillTheirAreas) {
    const auto macros = pattern(32640, 7);
    EXPECT_EQ(device::WriteMacroBlock(mouse, macros), 1);
    EXPECT_EQ(dev().macroArea(), macros);
    EXPECT_EQ(dev().framesReceived(cmd::kWriteMacroBlock), 583u);
    const auto paths = pattern(2920, 3);
    EXPECT_EQ(device::WriteCursorPathBlock(mouse, paths), 1);
    EXPECT_TRUE(std::equal(paths.begin(), paths.end(), dev().cursorArea().begin()));
}

TEST_F(LinkOnSim, BlockPastTheMacroMemoryStopsAtTheFrameThatOverflows) {
    DeviceModel small = defaultModel(DeviceKind::Mouse);
    small.macroUnits = 1; // 128 bytes
    SimBackend b(clock, {small});
    device::DeviceLink link{b, clock};
    ASSERT_TRUE(openLink(link, b, kMouseProductId));
    const auto block = pattern(150, 1); // frames at 0, 56, 112: the third reaches byte 149
    EXPECT_EQ(device::WriteMacroBlock(link, block), device::kResultStatusFE);
    const auto area = b.mouse().macroArea();
    EXPECT_TRUE(std::equal(area.begin(), area.begin() + 112, block.begin())) << "the first two frames stay";
    EXPECT_EQ(area[112], 0);
}

TEST_F(LinkOnSim, FactoryResetCommandRestoresTheRecords) {
    const std::array<std::uint8_t, 1> three{3};
    ASSERT_EQ(device::WriteProfileRecord(mouse, 0, three), 1);
    ASSERT_EQ(device::WriteKeyBlockPage(mouse, pattern(512, 9), 0), 1);
    device::FactoryReset(mouse);
    EXPECT_EQ(dev().currentSlot(), 0);
    EXPECT_EQ(dev().records(), factoryRecords(defaultModel(DeviceKind::Mouse)));
    EXPECT_EQ(dev().keyArea(), factoryKeyArea(defaultModel(DeviceKind::Mouse)));
}

TEST_F(LinkOnSim, LightFramesOfEveryDevice) {
    device::DeviceLink pad{backend, clock}, kb{backend, clock};
    ASSERT_TRUE(openLink(pad, backend, kPadProductId));
    ASSERT_TRUE(openLink(kb, backend, kKeyboardProductId));
    struct Case {
        device::DeviceLink* link;
        SimDevice* device;
        std::size_t size;
    };
    for (const auto& c : {Case{&mouse, &backend.mouse(), 15}, Case{&mouse, &backend.mouse(), 60},
                          Case{&pad, &backend.pad(), 45}, Case{&kb, &backend.keyboard(), 378}}) {
        const auto frame = pattern(c.size, static_cast<std::uint8_t>(c.size));
        const auto before = c.device->lightFrameCount();
        EXPECT_EQ(device::WriteLightFrame(*c.link, frame), 1) << c.size;
        EXPECT_EQ(c.device->lastLightFrame(), frame) << c.size;
        EXPECT_EQ(c.device->lightFrameCount(), before + 1) << c.size;
    }
}

TEST_F(LinkOnSim, FaultsGiveTheHostsResultCodes) {
    std::array<std::uint8_t, 1> slot{};
    struct Case {
        const char* what;
        void (*arm)(SimDevice&);
        int result;
        std::uint64_t framesSeen;
    };
    const Case cases[] = {
        {"silent device", [](SimDevice& d) { d.setNoReply(true); }, device::kResultNoReply, 4},
        {"status 0xFF", [](SimDevice& d) { d.setStatusFault(0xFF); }, device::kResultStatusFF, 1},
        {"status 0xFE", [](SimDevice& d) { d.setStatusFault(0xFE); }, device::kResultStatusFE, 1},
        {"failing write", [](SimDevice& d) { d.setWriteFault(WriteFault::Fail); }, device::kResultWriteFailed,
         0},
        {"stalled write", [](SimDevice& d) { d.setWriteFault(WriteFault::Stall); },
         device::kResultWriteFailed, 0},
        {"one late reply", [](SimDevice& d) { d.setReplyDelay(400ms); }, device::kResultOk, 2},
    };
    for (const auto& c : cases) {
        dev().clearFaults();
        dev().clearRequestLog();
        const auto seen = dev().framesReceived();
        c.arm(dev());
        EXPECT_EQ(device::ReadProfileRecord(mouse, 0, slot), c.result) << c.what;
        EXPECT_EQ(dev().framesReceived() - seen, c.framesSeen) << c.what;
    }
    dev().clearFaults();
    EXPECT_EQ(device::ReadProfileRecord(mouse, 64, slot), 1);
}

TEST_F(LinkOnSim, UnplugInTheMiddleOfAKeyBlockTransferAndReplug) {
    dev().unplugAfterFrames(3);
    const auto data = pattern(512, 0x33);
    EXPECT_EQ(device::WriteKeyBlockPage(mouse, data, 0), device::kResultWriteFailed);
    const auto area = dev().keyArea();
    EXPECT_TRUE(std::equal(area.begin(), area.begin() + 168, data.begin())) << "three frames got through";
    EXPECT_NE(area[168], data[168]);
    EXPECT_FALSE(mouse.hid.isPresent(mouse.hid.path(), kVendorId, kMouseProductId));
    EXPECT_EQ(device::WriteKeyBlockPage(mouse, data, 0), device::kResultWriteFailed)
        << "no hang, no retry loop";

    // What the presence thread does: close, rescan, reopen.
    mouse.open = false;
    mouse.hid.closeCollection();
    dev().plug();
    ASSERT_TRUE(openLink(mouse, backend, kMouseProductId));
    EXPECT_EQ(device::WriteKeyBlockPage(mouse, data, 0), 1);
    EXPECT_TRUE(std::equal(data.begin(), data.end(), dev().keyArea().begin()));
}

// Light frames from one thread interleave with a key-block transfer from another; every reply reaches
// its own request. Real clock: the reads really block, and the replies are there at once.
TEST(LinkOnSimThreads, LightFramesInterleaveWithKeyBlockTransfers) {
    SimBackend backend;
    device::DeviceLink link{backend};
    ASSERT_TRUE(openLink(link, backend, kMouseProductId));
    constexpr int kFrames = 300, kTransfers = 40;
    int lightFailures = 0, keyFailures = 0, mismatches = 0;
    ::zq::test::BoundedThread lighting([&] {
        for (int i = 0; i < kFrames; ++i)
            if (device::WriteLightFrame(link, pattern(60, static_cast<std::uint8_t>(i))) != 1)
                ++lightFailures;
    });
    ::zq::test::BoundedThread keys([&] {
        std::vector<std::uint8_t> back(512);
        for (int i = 0; i < kTransfers; ++i) {
            const unsigned page = static_cast<unsigned>(i % 5);
            const auto data = pattern(512, static_cast<std::uint8_t>(100 + i));
            if (device::WriteKeyBlockPage(link, data, page) != 1) ++keyFailures;
            if (device::ReadKeyBlockPage(link, back, page) != 1) ++keyFailures;
            if (back != data) ++mismatches;
        }
    });
    lighting.join();
    keys.join();
    EXPECT_EQ(lightFailures, 0);
    EXPECT_EQ(keyFailures, 0);
    EXPECT_EQ(mismatches, 0);
    EXPECT_EQ(backend.mouse().lightFrameCount(), static_cast<std::uint64_t>(kFrames));
    EXPECT_EQ(backend.mouse().lastLightFrame(), pattern(60, static_cast<std::uint8_t>(kFrames - 1)));
}

} // namespace
} // namespace zq::sim::test
