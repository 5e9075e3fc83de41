// The hidraw folder's change signal: inotify on a folder of ordinary files stands in for /dev, where the
// kernel and udev create, chmod and remove the nodes. Also the device identity read from sysfs for a
// node that cannot be opened.
#include "device/hid/hidraw_backend.h"
#include "device/hid/node_watcher.h"
#include "platform/event.h"
#include "unit/platform/temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace zq::hid {
namespace {

using namespace std::chrono_literals;
constexpr auto kPatience = 10s; // inotify answers at once; this only bounds a broken watcher

TEST(NodeWatcher, HidrawNodesComingGoingAndChangingRightsAreChanges) {
    test::TempFolder dir;
    auto watcher = NodeWatcher::create(dir.path().string());
    ASSERT_NE(watcher, nullptr);
    platform::Event changed(platform::Event::Reset::Auto);
    watcher->subscribe(changed);

    dir.write("hidraw7", "");
    EXPECT_TRUE(changed.wait(kPatience)) << "created";
    std::filesystem::permissions(dir / "hidraw7", std::filesystem::perms::owner_read,
                                 std::filesystem::perm_options::replace);
    EXPECT_TRUE(changed.wait(kPatience)) << "rights changed";
    std::filesystem::rename(dir / "hidraw7", dir / "hidraw8");
    EXPECT_TRUE(changed.wait(kPatience)) << "renamed";
    std::filesystem::remove(dir / "hidraw8");
    EXPECT_TRUE(changed.wait(kPatience)) << "removed";

    // Other entries of the folder are not ours: only the hidraw node after them wakes anybody, once.
    const auto before = watcher->changes();
    dir.write("tty5", "");
    dir.write("hidraw", "");
    dir.write("hidraw9", "");
    EXPECT_TRUE(changed.wait(kPatience));
    EXPECT_GE(watcher->changes(), before + 1);
    watcher->unsubscribe(changed);
}

TEST(NodeWatcher, AFolderThatCannotBeWatchedHasNoWatcher) {
    EXPECT_EQ(NodeWatcher::create("/nonexistent/zq70-hidraw"), nullptr);
    HidrawBackend backend("/nonexistent/zq70-hidraw");
    EXPECT_EQ(backend.nodeChanges(), nullptr); // its threads look every second instead
}

TEST(NodeWatcher, TheBackendWatchesItsFolder) {
    test::TempFolder dir;
    HidrawBackend backend(dir.path().string());
    NodeChanges* changes = backend.nodeChanges();
    ASSERT_NE(changes, nullptr);
    EXPECT_EQ(backend.nodeChanges(), changes); // one watcher
    platform::Event changed(platform::Event::Reset::Auto);
    changes->subscribe(changed);
    dir.write("hidraw0", "");
    EXPECT_TRUE(changed.wait(kPatience));
    changes->unsubscribe(changed);
}

TEST(NodeWatcher, IsHidrawName) {
    for (const char* yes : {"hidraw0", "hidraw12"}) EXPECT_TRUE(isHidrawName(yes)) << yes;
    for (const char* no : {"hidraw", "hidraw1x", "xhidraw1", "", "tty0"})
        EXPECT_FALSE(isHidrawName(no)) << no;
}

TEST(HidUevent, TheDeviceIdentityOfANodeThatCannotBeOpened) {
    const auto ids = parseHidUevent("DRIVER=hid-generic\nHID_ID=0003:00000C45:00007684\nHID_NAME=x\n");
    ASSERT_TRUE(ids);
    EXPECT_EQ(ids->vendorId, 0x0C45);
    EXPECT_EQ(ids->productId, 0x7684);
    for (const char* bad : {"", "HID_ID=0003:00000C45", "HID_ID=0003:00010C45:00007684", "HID_ID=0003:0C4G:1",
                            "HID_ID=::", "HID_NAME=HID_ID=0003:00000C45:00007684"})
        EXPECT_FALSE(parseHidUevent(bad)) << bad;
}

} // namespace
} // namespace zq::hid
