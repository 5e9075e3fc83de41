// Unplugging and plugging in again: an emulated unplug removes the node as the kernel removes a hidraw
// node; an aborted FUSE connection is the other face of a vanished device.
#include "device/commands.h"
#include "integration/hidraw/fuse_fixture.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace zq::test {
namespace {

using namespace zq::device;

TEST_F(HidrawFuseTest, UnplugInTheMiddleOfAChunkedTransferEndsItWithAFailure) {
    ASSERT_TRUE(openLink(sim.mouse()));
    std::vector<std::uint8_t> block(1000, 0x3C);
    sim.mouse().unplugAfterFrames(3);
    EXPECT_EQ(WriteMacroBlock(*link, block), kResultWriteFailed);
    EXPECT_EQ(sim.mouse().framesReceived(cmd::kWriteMacroBlock), 3u);
    EXPECT_EQ(WriteMacroBlock(*link, block), kResultWriteFailed); // the handle stays dead
    EXPECT_FALSE(linkPresent());

    Frame buf{};
    EXPECT_EQ(link->hid.readReport(buf, Millis(20000)).status, hid::IoStatus::Removed);
    std::vector<hid::NodeInfo> nodes;
    ASSERT_TRUE(backend->enumerate(nodes));
    for (const auto& n : nodes) EXPECT_NE(n.productId, sim::kMouseProductId);
}

TEST_F(HidrawFuseTest, AReplugGivesANewNodeThatIsFoundAgain) {
    ASSERT_TRUE(openLink(sim.mouse()));
    const std::string before = link->hid.path();
    const auto names = sim.mouse().nodeNames();
    sim.mouse().unplug();
    EXPECT_FALSE(linkPresent());
    sim.mouse().plug();
    // The node names come back, but the handle still open belongs to the old node: not present, so
    // the presence check closes it and scans again.
    ASSERT_EQ(sim.mouse().nodeNames(), names);
    EXPECT_FALSE(linkPresent());
    std::array<std::uint8_t, 56> out{};
    EXPECT_EQ(ReadProfileRecord(*link, 64, out), kResultWriteFailed);

    link->hid.closeCollection();
    ASSERT_TRUE(openLink(sim.mouse()));
    EXPECT_EQ(link->hid.path(), before);
    EXPECT_TRUE(linkPresent());
    EXPECT_EQ(ReadProfileRecord(*link, 64, out), kResultOk);
}

TEST_F(HidrawFuseTest, AnAbortedConnectionIsRemovalEvenInTheMiddleOfATransfer) {
    ASSERT_TRUE(openLink(sim.mouse()));
    std::vector<std::uint8_t> block(32640, 0x5A); // 583 frames
    int result = kResultOk;
    std::atomic<bool> done{false};
    BoundedThread transfer([&] {
        result = WriteMacroBlock(*link, block);
        done = true;
    });
    const bool underway =
        eventually([&] { return done || sim.mouse().framesReceived(cmd::kWriteMacroBlock) >= 3; });
    if (!underway) fuse.stop(); // the transfer is stuck in the harness: end every request waiting on it
    if (!underway || done) {
        transfer.join();
        FAIL() << "the transfer ended or stalled before the connection could be aborted (result " << result
               << ")";
    }
    // The kernel's connection control folder (/sys/fs/fuse/connections) comes with FUSE; without it
    // this machine's FUSE is incomplete, which the run reports.
    const bool aborted = fuse.abortConnection();
    if (!aborted) {
        transfer.join();
        FAIL() << "cannot abort a FUSE connection here: " << fuse.message();
    }
    transfer.join();
    EXPECT_EQ(result, kResultWriteFailed);
    EXPECT_LT(sim.mouse().framesReceived(cmd::kWriteMacroBlock), 583u);

    Frame buf{};
    buf[0] = sim::kVendorReportId;
    EXPECT_EQ(link->hid.readReport(buf, Millis(20000)).status, hid::IoStatus::Removed);
    EXPECT_EQ(link->hid.writeReport(buf).status, hid::IoStatus::Removed);
    EXPECT_FALSE(linkPresent());
    std::vector<hid::NodeInfo> nodes;
    EXPECT_FALSE(backend->enumerate(nodes)); // the folder itself cannot be read any more
}

} // namespace
} // namespace zq::test
