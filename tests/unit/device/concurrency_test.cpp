// Several threads on one link: every reply must reach the request it answers. The emulated device's
// memories hold distinct contents everywhere, so a reply taken by the wrong request shows as wrong data.
#include "device/commands.h"
#include "sim/sim_backend.h"
#include "support/bounded_wait.h"
#include "unit/device/sim_link.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace zq::test {
namespace {

using namespace zq::device;

constexpr std::size_t kKeyArea = 4 * 126 + 512;

std::uint8_t keyByte(std::size_t address) {
    return static_cast<std::uint8_t>(address * 31 + (address >> 8) + 1);
}
std::uint8_t recordByte(std::size_t slot, std::size_t i) {
    return static_cast<std::uint8_t>(0x80 + slot * 17 + i);
}

class LinkConcurrencyTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(openOnVendorCollection(link, backend.mouse()));
        // Fill the key area page by page; the pages overlap, each write carries the same bytes there.
        for (unsigned page = 0; page < kKeyBlockPages; ++page) {
            std::vector<std::uint8_t> data(512);
            for (std::size_t i = 0; i < data.size(); ++i) data[i] = keyByte(page * 126 + i);
            ASSERT_EQ(WriteKeyBlockPage(link, data, page), kResultOk);
        }
        // Records 1..4, leaving byte 0 of the area (the current-slot register) alone.
        for (std::size_t slot = 1; slot < 5; ++slot) {
            std::vector<std::uint8_t> rec(56);
            for (std::size_t i = 0; i < rec.size(); ++i) rec[i] = recordByte(slot, i);
            ASSERT_EQ(WriteProfileRecord(link, static_cast<std::uint16_t>(slot * 64), rec), kResultOk);
        }
        ASSERT_EQ(backend.mouse().keyArea().size(), kKeyArea);
    }

    sim::SimBackend backend; // system clock: real threads, replies come at once
    DeviceLink link{backend};
};

TEST_F(LinkConcurrencyTest, LightFramesInterleaveWithTransfersAndEveryReplyReachesItsRequest) {
    constexpr int kRounds = 150;
    std::atomic<bool> readersDone{false};
    std::atomic<int> lightFailures{0}, lightFrames{0};

    ::zq::test::BoundedThread lights([&] {
        std::vector<std::uint8_t> frame(60);
        for (int n = 0; !readersDone.load() || n < 20; ++n) {
            for (std::size_t i = 0; i < frame.size(); ++i) frame[i] = static_cast<std::uint8_t>(n + i);
            if (WriteLightFrame(link, frame) != kResultOk) ++lightFailures;
            ++lightFrames;
        }
    });

    auto reader = [&](unsigned firstPage) {
        int bad = 0;
        std::vector<std::uint8_t> out(512);
        std::array<std::uint8_t, 56> rec{};
        for (int round = 0; round < kRounds; ++round) {
            const unsigned page = (firstPage + round) % kKeyBlockPages;
            if (ReadKeyBlockPage(link, out, page) != kResultOk) ++bad;
            for (std::size_t i = 0; i < out.size(); ++i)
                if (out[i] != keyByte(page * 126 + i)) {
                    ++bad;
                    break;
                }
            const std::size_t slot = 1 + round % 4;
            if (ReadProfileRecord(link, static_cast<std::uint16_t>(slot * 64), rec) != kResultOk) ++bad;
            for (std::size_t i = 0; i < rec.size(); ++i)
                if (rec[i] != recordByte(slot, i)) {
                    ++bad;
                    break;
                }
        }
        return bad;
    };
    int badA = 0, badB = 0;
    ::zq::test::BoundedThread readerA([&] { badA = reader(0); });
    ::zq::test::BoundedThread readerB([&] { badB = reader(2); });
    readerA.join();
    readerB.join();
    readersDone = true;
    lights.join();

    EXPECT_EQ(badA, 0);
    EXPECT_EQ(badB, 0);
    EXPECT_EQ(lightFailures.load(), 0);
    // The device saw whole light frames: the last one is one the light thread built.
    const auto last = backend.mouse().lastLightFrame();
    ASSERT_EQ(last.size(), 60u);
    for (std::size_t i = 1; i < last.size(); ++i) EXPECT_EQ(static_cast<std::uint8_t>(last[i] - last[0]), i);
    EXPECT_GT(lightFrames.load(), 0);
}

} // namespace
} // namespace zq::test
