// The hidraw backend on a folder of ordinary files: what it lists, skips and reports without any
// device behind it.
#include "device/hid/hidraw_backend.h"
#include "unit/platform/temp_folder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <fstream>

#include <sys/stat.h>

namespace zq::hid {
namespace {

TEST(HidrawBackendFiles, AFolderThatCannotBeReadFailsTheListing) {
    HidrawBackend backend("/nonexistent/zq70-hidraw");
    std::vector<NodeInfo> nodes{NodeInfo{}};
    EXPECT_FALSE(backend.enumerate(nodes));
    EXPECT_TRUE(nodes.empty());
}

TEST(HidrawBackendFiles, OnlyHidrawNodesAreAskedAndThoseThatAreNotHidrawAreReported) {
    test::TempFolder dir;
    for (const char* name : {"hidraw0", "hidraw12x", "hidraw", "other", "hidraw10"})
        std::ofstream(dir.path() / name) << "x";
    ::mkdir((dir.path() / "hidraw2").c_str(), 0755);
    HidrawBackend backend(dir.path().string());
    std::vector<NodeInfo> nodes;
    ASSERT_TRUE(backend.enumerate(nodes));
    EXPECT_TRUE(nodes.empty());
    const auto failures = backend.lastFailures();
    ASSERT_EQ(failures.size(), 3u);
    // In number order, each with the ioctl's refusal.
    EXPECT_EQ(failures[0].node, (dir.path() / "hidraw0").string());
    EXPECT_EQ(failures[1].node, (dir.path() / "hidraw2").string());
    EXPECT_EQ(failures[2].node, (dir.path() / "hidraw10").string());
    for (const auto& f : failures) EXPECT_EQ(f.error, ENOTTY) << f.node;

    EXPECT_EQ(backend.open((dir.path() / "hidraw0").string(), kAccessRead, false), nullptr);
    EXPECT_FALSE(backend.present((dir.path() / "hidraw0").string(), 0x0C45, 0x7684));
    EXPECT_FALSE(backend.present((dir.path() / "hidraw7").string(), 0x0C45, 0x7684));
}

TEST(HidrawBackendFiles, AnEmptyFolderListsNothingAndSucceeds) {
    test::TempFolder dir;
    HidrawBackend backend(dir.path().string());
    std::vector<NodeInfo> nodes;
    EXPECT_TRUE(backend.enumerate(nodes));
    EXPECT_TRUE(nodes.empty());
    EXPECT_TRUE(backend.lastFailures().empty());
}

} // namespace
} // namespace zq::hid
