#include "platform/input_hook.h"
#include "platform/key_code_map.h"
#include "settings/key_code_table.h"

#include <gtest/gtest.h>

#include <X11/XF86keysym.h>
#include <X11/keysym.h>
#include <linux/input-event-codes.h>

#include <set>

namespace {
using namespace zq::platform;

TEST(KeyCodeMap, KnownKeysMapToTheirVirtualKeyAndExtendedFlag) {
    const struct {
        unsigned linuxCode;
        std::uint32_t keysym;
        VirtualKey expected;
    } cases[] = {
        {KEY_A, XK_a, {0x41, false}},
        {KEY_Z, XK_z, {0x5A, false}},
        {KEY_0, XK_0, {0x30, false}},
        {KEY_ENTER, XK_Return, {0x0D, false}},
        {KEY_KPENTER, XK_KP_Enter, {0x0D, true}},
        {KEY_KPSLASH, XK_KP_Divide, {0x6F, true}},
        {KEY_SLASH, XK_slash, {0xBF, false}},
        {KEY_KPASTERISK, XK_KP_Multiply, {0x6A, false}},
        {KEY_LEFTCTRL, XK_Control_L, {0xA2, false}},
        {KEY_RIGHTCTRL, XK_Control_R, {0xA3, true}},
        {KEY_LEFTALT, XK_Alt_L, {0xA4, false}},
        {KEY_RIGHTALT, XK_Alt_R, {0xA5, true}},
        {KEY_RIGHTSHIFT, XK_Shift_R, {0xA1, false}},
        {KEY_LEFTMETA, XK_Super_L, {0x5B, true}},
        {KEY_RIGHTMETA, XK_Super_R, {0x5C, true}},
        {KEY_COMPOSE, XK_Menu, {0x5D, true}},
        {KEY_INSERT, XK_Insert, {0x2D, true}},
        {KEY_DELETE, XK_Delete, {0x2E, true}},
        {KEY_HOME, XK_Home, {0x24, true}},
        {KEY_END, XK_End, {0x23, true}},
        {KEY_PAGEUP, XK_Prior, {0x21, true}},
        {KEY_PAGEDOWN, XK_Next, {0x22, true}},
        {KEY_LEFT, XK_Left, {0x25, true}},
        {KEY_UP, XK_Up, {0x26, true}},
        {KEY_KP1, XK_KP_1, {0x61, false}},
        {KEY_KP0, XK_KP_0, {0x60, false}},
        {KEY_NUMLOCK, XK_Num_Lock, {0x90, true}},
        {KEY_CAPSLOCK, XK_Caps_Lock, {0x14, false}},
        {KEY_F12, XK_F12, {0x7B, false}},
        {KEY_VOLUMEUP, XF86XK_AudioRaiseVolume, {0xAF, true}},
        {KEY_POWER, XF86XK_PowerOff, {0x103, true}},
        {KEY_SLEEP, XF86XK_Sleep, {0x104, true}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(virtualKeyForLinuxCode(c.linuxCode), c.expected) << "linux code " << c.linuxCode;
        EXPECT_EQ(virtualKeyForKeysym(c.keysym), c.expected) << "keysym " << std::hex << c.keysym;
    }
}

TEST(KeyCodeMap, OtherLevelsNameTheSameKeyAndUnknownCodesNameNone) {
    EXPECT_EQ(virtualKeyForKeysym(XK_A), (VirtualKey{0x41, false}));
    // Keypad keys are the keypad's whatever Num Lock says.
    EXPECT_EQ(virtualKeyForKeysym(XK_KP_End), (VirtualKey{0x61, false}));
    EXPECT_EQ(virtualKeyForKeysym(XK_KP_Delete), (VirtualKey{0x6E, false}));
    EXPECT_EQ(virtualKeyForKeysym(XK_ISO_Level3_Shift), (VirtualKey{0xA5, true}));
    EXPECT_EQ(virtualKeyForKeysym(XK_ampersand), std::nullopt);
    EXPECT_EQ(virtualKeyForKeysym(0), std::nullopt);
    EXPECT_EQ(virtualKeyForLinuxCode(KEY_PROG1), std::nullopt);
    EXPECT_EQ(virtualKeyForLinuxCode(BTN_LEFT), std::nullopt);
}

TEST(KeyCodeMap, AnX11KeyIsNamedByItsKeysymElseByItsPosition) {
    // keycode 38 is KEY_A + 8; on a layout that types q there the keysym names it.
    EXPECT_EQ(virtualKeyForX11Keycode(KEY_A + 8, XK_q), (VirtualKey{0x51, false}));
    // The digit row of a layout that types symbols there: the position names the key.
    EXPECT_EQ(virtualKeyForX11Keycode(KEY_1 + 8, XK_ampersand), (VirtualKey{0x31, false}));
    EXPECT_EQ(virtualKeyForX11Keycode(KEY_KPENTER + 8, 0), (VirtualKey{0x0D, true}));
    EXPECT_EQ(virtualKeyForX11Keycode(3, 0), std::nullopt);
}

TEST(KeyCodeMap, EveryKeyOfTheKeyCodeTableCanBeCapturedAndRowsAreKeyboardKeys) {
    std::set<unsigned> linuxCodes;
    std::set<std::uint16_t> captured;
    for (const KeyCodeMapping& m : keyCodeMap()) {
        EXPECT_TRUE(linuxCodes.insert(m.linuxCode).second) << "linux code twice: " << m.linuxCode;
        EXPECT_NE(m.virtualKey, 0) << m.linuxCode;
        EXPECT_FALSE(m.linuxCode >= BTN_MISC && m.linuxCode < KEY_OK)
            << "a button in the key map: " << m.linuxCode;
        EXPECT_EQ(virtualKeyForLinuxCode(m.linuxCode), (VirtualKey{m.virtualKey, m.extended}));
        // What the capture and the recorder search the key code table by (keypad Enter → 0x101).
        captured.insert(zq::settings::captureVirtualKey(m.virtualKey, m.extended ? kKeyFlagExtended : 0));
    }
    for (const auto& row : zq::settings::kKeyCodeTable)
        EXPECT_TRUE(captured.count(row.vk))
            << row.name << " (vk " << std::hex << row.vk << ") cannot be captured";
}

} // namespace
