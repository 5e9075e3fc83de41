#include "platform/host_mouse_settings.h"
#include "unit/platform/temp_folder.h"

#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <chrono>
#include <cstdlib>
#include <thread>

namespace {
using namespace zq::platform;
using zq::test::TempFolder;

TEST(HostMouseSettings, PointerSpeedMapsToAccelerationAndBack) {
    const struct {
        int speed;
        int numerator, denominator;
    } cases[] = {{1, 1, 10}, {10, 10, 10}, {20, 20, 10}, {0, 1, 10}, {25, 20, 10}};
    for (const auto& c : cases) {
        const PointerAcceleration a = accelerationForSpeed(c.speed);
        EXPECT_EQ(a.numerator, c.numerator) << c.speed;
        EXPECT_EQ(a.denominator, c.denominator) << c.speed;
    }
    for (int s = kPointerSpeedMin; s <= kPointerSpeedMax; ++s)
        EXPECT_EQ(speedForAcceleration(accelerationForSpeed(s)), s);
    // What X servers start with, and nonsense a server should never report.
    EXPECT_EQ(speedForAcceleration({2, 1}), 20);
    EXPECT_EQ(speedForAcceleration({1, 1}), 10);
    EXPECT_EQ(speedForAcceleration({3, 2}), 15);
    EXPECT_EQ(speedForAcceleration({1, 0}), 10);
    EXPECT_EQ(speedForAcceleration({-1, 4}), 10);
}

TEST(HostMouseSettings, WithoutDesktopSupportValuesRoundTripThroughTheSettingsFile) {
    TempFolder dir;
    auto host = makeHostMouseSettings({false, {}, dir / "settings.ini", {}});
    EXPECT_EQ(host->pointerSpeed(), 10);
    EXPECT_EQ(host->wheelScrollLines(), 3);
    EXPECT_TRUE(host->setPointerSpeed(0));
    EXPECT_TRUE(host->setWheelScrollLines(250));
    EXPECT_EQ(host->pointerSpeed(), 1);
    EXPECT_EQ(host->wheelScrollLines(), 100);
    EXPECT_EQ(dir.read("settings.ini"), "[HOST MOUSE]\nPointerSpeed=1\nWheelScrollLines=100\n");
    dir.write("settings.ini", "[HOST MOUSE]\nPointerSpeed=junk\nWheelScrollLines=-5\n");
    EXPECT_EQ(host->pointerSpeed(), 10);
    EXPECT_EQ(host->wheelScrollLines(), 1);
}

TEST(HostMouseSettings, UnderKdeWheelLinesGoToKcminputrcWithANotice) {
    TempFolder dir;
    dir.write("kcminputrc", "[Keyboard]\nRepeatDelay=600\n\n[Mouse]\ncursorTheme=breeze_cursors\n");
    int notices = 0;
    auto host = makeHostMouseSettings({false, dir / "kcminputrc", dir / "settings.ini", [&] { ++notices; }});
    EXPECT_EQ(host->wheelScrollLines(), 3); // KDE's own default when the key is absent
    EXPECT_TRUE(host->setWheelScrollLines(7));
    EXPECT_EQ(host->wheelScrollLines(), 7);
    EXPECT_EQ(notices, 1);
    EXPECT_EQ(dir.read("kcminputrc"),
              "[Keyboard]\nRepeatDelay=600\n\n[Mouse]\ncursorTheme=breeze_cursors\nWheelScrollLines=7\n");
    EXPECT_FALSE(std::filesystem::exists(dir / "settings.ini"));
}

TEST(HostMouseSettings, X11PointerSpeedRoundTripsWhereADisplayRuns) {
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display) GTEST_SKIP() << "no X display to talk to";
    // A server with no client left resets its pointer settings, as a bare test server would between
    // our short connections; a desktop always has clients. Connect first: while a bare server resets
    // after another test's last client left, it refuses connections for a moment.
    Display* keepAlive = nullptr;
    for (int attempt = 0; attempt < 100 && !keepAlive; ++attempt) {
        keepAlive = XOpenDisplay(nullptr);
        if (!keepAlive) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ASSERT_NE(keepAlive, nullptr);
    if (x11PointerSpeed() == 0) {
        XCloseDisplay(keepAlive);
        GTEST_SKIP() << "the X display has no pointer to set";
    }
    const int before = x11PointerSpeed();
    ASSERT_TRUE(x11SetPointerSpeed(7));
    EXPECT_EQ(x11PointerSpeed(), 7);
    x11SetPointerSpeed(before);
    XCloseDisplay(keepAlive);
}

} // namespace
