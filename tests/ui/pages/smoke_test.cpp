// The page modules come up in the window with the emulated devices open.
#include "page_fixture.h"

namespace zq::test {
namespace {

using PagesStart = PageFixture;

TEST_F(PagesStart, EveryDeviceLinkIsOpenAndTheWindowInitialised) {
    for (device::DeviceClass c : device::kDeviceClasses)
        EXPECT_TRUE(state.link(c).open) << device::deviceKey(c);
    EXPECT_FALSE(hooks->installed());
}

} // namespace
} // namespace zq::test
