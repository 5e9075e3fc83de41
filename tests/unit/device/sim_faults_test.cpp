// The link against the emulator's faults: a result code as described, no hang, nothing half done.
#include "device/commands.h"
#include "platform/clock.h"
#include "sim/sim_backend.h"
#include "unit/device/sim_link.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace zq::test {
namespace {

using namespace zq::device;

class LinkSimFaultTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(openOnVendorCollection(link, mouse())); }
    sim::SimDevice& mouse() { return backend.mouse(); }

    platform::ManualClock clock; // virtual time: the emulator's waits move it instead of sleeping
    sim::SimBackend backend{clock};
    DeviceLink link{backend, clock};
};

TEST_F(LinkSimFaultTest, SilentDeviceCostsFourAttempts) {
    mouse().setNoReply(true);
    const auto before = mouse().framesReceived();
    std::array<std::uint8_t, 46> out{};
    EXPECT_EQ(ReadProfileRecord(link, 64, out), kResultNoReply);
    EXPECT_EQ(mouse().framesReceived() - before, 4u);
}

TEST_F(LinkSimFaultTest, UnplugInTheMiddleOfATransferEndsIt) {
    std::vector<std::uint8_t> block(1000, 0x3C);
    mouse().unplugAfterFrames(3);
    EXPECT_EQ(WriteMacroBlock(link, block), kResultWriteFailed);
    EXPECT_EQ(mouse().framesReceived(cmd::kWriteMacroBlock), 3u);
    EXPECT_EQ(WriteMacroBlock(link, block), kResultWriteFailed); // the handle stays dead
}

TEST_F(LinkSimFaultTest, LateReplyIsNotMistakenForTheNextAnswer) {
    // The first reply arrives after the 300 ms read limit; the retry's reply must be the one used.
    std::array<std::uint8_t, 56> rec{};
    for (std::size_t i = 0; i < rec.size(); ++i) rec[i] = static_cast<std::uint8_t>(0xA0 + i);
    ASSERT_EQ(WriteProfileRecord(link, 128, rec), kResultOk);
    mouse().setReplyDelay(std::chrono::milliseconds(400));
    std::array<std::uint8_t, 56> out{};
    EXPECT_EQ(ReadProfileRecord(link, 64, out), kResultOk); // slot 1: the first attempt's reply, late
    mouse().setReplyDelay(std::chrono::milliseconds(0));
    clock.advance(std::chrono::seconds(1)); // the retry's reply has arrived by the next request
    out.fill(0);
    EXPECT_EQ(ReadProfileRecord(link, 128, out), kResultOk);
    EXPECT_EQ(out, rec); // not a stale answer about slot 1
}

} // namespace
} // namespace zq::test
