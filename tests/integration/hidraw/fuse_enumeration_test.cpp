// Enumeration and identity through real hidraw ioctls on emulated nodes, and what the tool shows for
// nodes it may not open.
#include "integration/hidraw/fuse_fixture.h"
#include "tools/hid_tool.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <sstream>

namespace zq::test {
namespace {

std::string replacePrefix(std::string path, const std::string& from, const std::string& to) {
    if (path.rfind(from, 0) == 0) path.replace(0, from.size(), to);
    return path;
}

TEST_F(HidrawFuseTest, EnumerationFindsExactlyTheEmulatedNodesAndCollections) {
    std::vector<hid::NodeInfo> simNodes, nodes;
    ASSERT_TRUE(sim.enumerate(simNodes));
    ASSERT_TRUE(backend->enumerate(nodes));
    ASSERT_EQ(nodes.size(), simNodes.size());
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        SCOPED_TRACE(simNodes[i].node);
        EXPECT_EQ(nodes[i].node, fuse.pathOf(simNodes[i].node));
        EXPECT_EQ(nodes[i].vendorId, simNodes[i].vendorId);
        EXPECT_EQ(nodes[i].productId, simNodes[i].productId);
        EXPECT_EQ(nodes[i].descriptor, simNodes[i].descriptor); // HIDIOCGRDESC's size filled in by the node
    }
    EXPECT_TRUE(backend->lastFailures().empty());

    // The same collection paths as on the emulator, and each opens to the same identity and layout.
    hid::HidDeviceRecord simRecord(sim), record(*backend);
    ASSERT_TRUE(simRecord.enumerateInterfaces());
    ASSERT_TRUE(record.enumerateInterfaces());
    ASSERT_EQ(record.paths().size(), simRecord.paths().size());
    for (std::size_t i = 0; i < record.paths().size(); ++i) {
        const std::string& simPath = simRecord.paths()[i];
        SCOPED_TRACE(simPath);
        EXPECT_EQ(record.paths()[i], replacePrefix(simPath, "sim/", fuse.folder() + "/"));
        simRecord.setPath(simPath);
        record.setPath(record.paths()[i]);
        ASSERT_TRUE(simRecord.openCollection());
        ASSERT_TRUE(record.openCollection());
        EXPECT_EQ(record.attributes().vendorId, simRecord.attributes().vendorId);
        EXPECT_EQ(record.attributes().productId, simRecord.attributes().productId);
        EXPECT_EQ(record.caps().usagePage, simRecord.caps().usagePage);
        EXPECT_EQ(record.caps().usage, simRecord.caps().usage);
        EXPECT_EQ(record.caps().inputReportLength, simRecord.caps().inputReportLength);
        EXPECT_EQ(record.caps().outputReportLength, simRecord.caps().outputReportLength);
        EXPECT_TRUE(
            record.isPresent(record.paths()[i], record.attributes().vendorId, record.attributes().productId));
        EXPECT_FALSE(record.isPresent(record.paths()[i], record.attributes().vendorId,
                                      static_cast<std::uint16_t>(record.attributes().productId + 1)));
        record.closeCollection();
        simRecord.closeCollection();
    }
}

TEST_F(HidrawFuseTest, EveryAccessModeOpensAndANoAccessHandleMovesNoData) {
    const std::string node = fuse.pathOf(sim.mouse().nodeNames().back());
    for (unsigned access :
         {unsigned{hid::kAccessRead}, unsigned{hid::kAccessWrite}, hid::kAccessRead | hid::kAccessWrite}) {
        EXPECT_NE(backend->open(node, access, false), nullptr) << access;
    }
    auto probe = backend->open(node, hid::kAccessNone, false);
    ASSERT_NE(probe, nullptr);
    EXPECT_EQ(probe->info().productId, sim::kMouseProductId);
    std::uint8_t buf[64] = {sim::kVendorReportId};
    EXPECT_EQ(probe->write(buf, Millis(100)).status, hid::IoStatus::Error);
    EXPECT_EQ(probe->read(buf, Millis(0)).status, hid::IoStatus::Error);

    // An exclusive open keeps this program's other opens of the node away until it is closed.
    auto exclusive = backend->open(node, hid::kAccessRead | hid::kAccessWrite, true);
    ASSERT_NE(exclusive, nullptr);
    EXPECT_EQ(backend->open(node, hid::kAccessRead, false), nullptr);
    exclusive.reset();
    EXPECT_NE(backend->open(node, hid::kAccessRead, false), nullptr);
}

TEST_F(HidrawFuseTest, NodesThatCannotBeOpenedAreLeftOutAndNamedWithTheReason) {
    const std::string denied = fuse.pathOf(sim.pad().nodeNames().front());
    fuse.refuseOpen(denied.substr(denied.rfind('/') + 1), EACCES);
    std::vector<hid::NodeInfo> nodes;
    ASSERT_TRUE(backend->enumerate(nodes));
    for (const auto& n : nodes) EXPECT_NE(n.node, denied);
    ASSERT_EQ(backend->lastFailures().size(), 1u);
    EXPECT_EQ(backend->lastFailures()[0].node, denied);
    EXPECT_EQ(backend->lastFailures()[0].error, EACCES);

    // The tool, on the folder the program would use, lists the rest and names the rule to install.
    ASSERT_EQ(::setenv("ZQ70_HIDRAW_DIR", fuse.folder().c_str(), 1), 0);
    std::ostringstream out, err;
    const int code = tools::runHidTool({"list"}, out, err);
    ::unsetenv("ZQ70_HIDRAW_DIR");
    EXPECT_EQ(code, tools::kExitOk) << err.str();
    EXPECT_NE(out.str().find(fuse.pathOf(sim.mouse().nodeNames().front()) + "#vid_0c45&pid_7684"),
              std::string::npos)
        << out.str();
    EXPECT_NE(out.str().find("Could not open 1 hidraw node(s):\n  " + denied + ": Permission denied\n"),
              std::string::npos)
        << out.str();
    EXPECT_NE(out.str().find("70-zephran-q70.rules"), std::string::npos) << out.str();
}

} // namespace
} // namespace zq::test
