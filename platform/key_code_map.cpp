#include "platform/key_code_map.h"

#include <X11/XF86keysym.h>
#include <X11/keysym.h>
#include <linux/input-event-codes.h>

#include <array>

namespace zq::platform {

namespace {

constexpr bool kExt = true;
constexpr bool kStd = false;

// Row order follows the keyboard: modifiers, letters, digits, the main block, function keys, the
// navigation block, the keypad, then the media and system keys.
constexpr std::array kMap{
    KeyCodeMapping{KEY_LEFTCTRL, XK_Control_L, 0, 0xA2, kStd},
    KeyCodeMapping{KEY_LEFTSHIFT, XK_Shift_L, 0, 0xA0, kStd},
    KeyCodeMapping{KEY_LEFTALT, XK_Alt_L, XK_Meta_L, 0xA4, kStd},
    KeyCodeMapping{KEY_LEFTMETA, XK_Super_L, 0, 0x5B, kExt},
    KeyCodeMapping{KEY_RIGHTCTRL, XK_Control_R, 0, 0xA3, kExt},
    KeyCodeMapping{KEY_RIGHTSHIFT, XK_Shift_R, 0, 0xA1, kStd},
    // Layouts with a third level put ISO_Level3_Shift (AltGr) on the right Alt key.
    KeyCodeMapping{KEY_RIGHTALT, XK_Alt_R, XK_ISO_Level3_Shift, 0xA5, kExt},
    KeyCodeMapping{KEY_RIGHTMETA, XK_Super_R, 0, 0x5C, kExt},
    KeyCodeMapping{KEY_COMPOSE, XK_Menu, 0, 0x5D, kExt},

    KeyCodeMapping{KEY_A, XK_a, XK_A, 0x41, kStd},
    KeyCodeMapping{KEY_B, XK_b, XK_B, 0x42, kStd},
    KeyCodeMapping{KEY_C, XK_c, XK_C, 0x43, kStd},
    KeyCodeMapping{KEY_D, XK_d, XK_D, 0x44, kStd},
    KeyCodeMapping{KEY_E, XK_e, XK_E, 0x45, kStd},
    KeyCodeMapping{KEY_F, XK_f, XK_F, 0x46, kStd},
    KeyCodeMapping{KEY_G, XK_g, XK_G, 0x47, kStd},
    KeyCodeMapping{KEY_H, XK_h, XK_H, 0x48, kStd},
    KeyCodeMapping{KEY_I, XK_i, XK_I, 0x49, kStd},
    KeyCodeMapping{KEY_J, XK_j, XK_J, 0x4A, kStd},
    KeyCodeMapping{KEY_K, XK_k, XK_K, 0x4B, kStd},
    KeyCodeMapping{KEY_L, XK_l, XK_L, 0x4C, kStd},
    KeyCodeMapping{KEY_M, XK_m, XK_M, 0x4D, kStd},
    KeyCodeMapping{KEY_N, XK_n, XK_N, 0x4E, kStd},
    KeyCodeMapping{KEY_O, XK_o, XK_O, 0x4F, kStd},
    KeyCodeMapping{KEY_P, XK_p, XK_P, 0x50, kStd},
    KeyCodeMapping{KEY_Q, XK_q, XK_Q, 0x51, kStd},
    KeyCodeMapping{KEY_R, XK_r, XK_R, 0x52, kStd},
    KeyCodeMapping{KEY_S, XK_s, XK_S, 0x53, kStd},
    KeyCodeMapping{KEY_T, XK_t, XK_T, 0x54, kStd},
    KeyCodeMapping{KEY_U, XK_u, XK_U, 0x55, kStd},
    KeyCodeMapping{KEY_V, XK_v, XK_V, 0x56, kStd},
    KeyCodeMapping{KEY_W, XK_w, XK_W, 0x57, kStd},
    KeyCodeMapping{KEY_X, XK_x, XK_X, 0x58, kStd},
    KeyCodeMapping{KEY_Y, XK_y, XK_Y, 0x59, kStd},
    KeyCodeMapping{KEY_Z, XK_z, XK_Z, 0x5A, kStd},

    KeyCodeMapping{KEY_1, XK_1, 0, 0x31, kStd},
    KeyCodeMapping{KEY_2, XK_2, 0, 0x32, kStd},
    KeyCodeMapping{KEY_3, XK_3, 0, 0x33, kStd},
    KeyCodeMapping{KEY_4, XK_4, 0, 0x34, kStd},
    KeyCodeMapping{KEY_5, XK_5, 0, 0x35, kStd},
    KeyCodeMapping{KEY_6, XK_6, 0, 0x36, kStd},
    KeyCodeMapping{KEY_7, XK_7, 0, 0x37, kStd},
    KeyCodeMapping{KEY_8, XK_8, 0, 0x38, kStd},
    KeyCodeMapping{KEY_9, XK_9, 0, 0x39, kStd},
    KeyCodeMapping{KEY_0, XK_0, 0, 0x30, kStd},

    KeyCodeMapping{KEY_ENTER, XK_Return, 0, kVkReturn, kStd},
    KeyCodeMapping{KEY_ESC, XK_Escape, 0, 0x1B, kStd},
    KeyCodeMapping{KEY_BACKSPACE, XK_BackSpace, 0, 0x08, kStd},
    KeyCodeMapping{KEY_TAB, XK_Tab, XK_ISO_Left_Tab, 0x09, kStd},
    KeyCodeMapping{KEY_SPACE, XK_space, 0, 0x20, kStd},
    KeyCodeMapping{KEY_MINUS, XK_minus, XK_underscore, 0xBD, kStd},
    KeyCodeMapping{KEY_EQUAL, XK_equal, XK_plus, 0xBB, kStd},
    KeyCodeMapping{KEY_LEFTBRACE, XK_bracketleft, XK_braceleft, 0xDB, kStd},
    KeyCodeMapping{KEY_RIGHTBRACE, XK_bracketright, XK_braceright, 0xDD, kStd},
    KeyCodeMapping{KEY_BACKSLASH, XK_backslash, XK_bar, 0xDC, kStd},
    KeyCodeMapping{KEY_SEMICOLON, XK_semicolon, XK_colon, 0xBA, kStd},
    KeyCodeMapping{KEY_APOSTROPHE, XK_apostrophe, XK_quotedbl, 0xDE, kStd},
    KeyCodeMapping{KEY_GRAVE, XK_grave, XK_asciitilde, 0xC0, kStd},
    KeyCodeMapping{KEY_COMMA, XK_comma, 0, 0xBC, kStd},
    KeyCodeMapping{KEY_DOT, XK_period, 0, 0xBE, kStd},
    KeyCodeMapping{KEY_SLASH, XK_slash, XK_question, 0xBF, kStd},
    // The extra key of ISO keyboards, left of Z; US layouts type < and > on the comma and dot keys' second
    // level, which no lookup here reads.
    KeyCodeMapping{KEY_102ND, XK_less, XK_greater, 0xE2, kStd},
    KeyCodeMapping{KEY_CAPSLOCK, XK_Caps_Lock, 0, kVkCapsLock, kStd},

    KeyCodeMapping{KEY_F1, XK_F1, 0, 0x70, kStd},
    KeyCodeMapping{KEY_F2, XK_F2, 0, 0x71, kStd},
    KeyCodeMapping{KEY_F3, XK_F3, 0, 0x72, kStd},
    KeyCodeMapping{KEY_F4, XK_F4, 0, 0x73, kStd},
    KeyCodeMapping{KEY_F5, XK_F5, 0, 0x74, kStd},
    KeyCodeMapping{KEY_F6, XK_F6, 0, 0x75, kStd},
    KeyCodeMapping{KEY_F7, XK_F7, 0, 0x76, kStd},
    KeyCodeMapping{KEY_F8, XK_F8, 0, 0x77, kStd},
    KeyCodeMapping{KEY_F9, XK_F9, 0, 0x78, kStd},
    KeyCodeMapping{KEY_F10, XK_F10, 0, 0x79, kStd},
    KeyCodeMapping{KEY_F11, XK_F11, 0, 0x7A, kStd},
    KeyCodeMapping{KEY_F12, XK_F12, 0, 0x7B, kStd},
    KeyCodeMapping{KEY_F13, XK_F13, 0, 0x7C, kStd},
    KeyCodeMapping{KEY_F14, XK_F14, 0, 0x7D, kStd},
    KeyCodeMapping{KEY_F15, XK_F15, 0, 0x7E, kStd},
    KeyCodeMapping{KEY_F16, XK_F16, 0, 0x7F, kStd},
    KeyCodeMapping{KEY_F17, XK_F17, 0, 0x80, kStd},
    KeyCodeMapping{KEY_F18, XK_F18, 0, 0x81, kStd},
    KeyCodeMapping{KEY_F19, XK_F19, 0, 0x82, kStd},
    KeyCodeMapping{KEY_F20, XK_F20, 0, 0x83, kStd},
    KeyCodeMapping{KEY_F21, XK_F21, 0, 0x84, kStd},
    KeyCodeMapping{KEY_F22, XK_F22, 0, 0x85, kStd},
    KeyCodeMapping{KEY_F23, XK_F23, 0, 0x86, kStd},
    KeyCodeMapping{KEY_F24, XK_F24, 0, 0x87, kStd},

    KeyCodeMapping{KEY_SYSRQ, XK_Print, XK_Sys_Req, 0x2C, kExt},
    KeyCodeMapping{KEY_SCROLLLOCK, XK_Scroll_Lock, 0, kVkScrollLock, kStd},
    KeyCodeMapping{KEY_PAUSE, XK_Pause, XK_Break, 0x13, kStd},
    KeyCodeMapping{KEY_INSERT, XK_Insert, 0, 0x2D, kExt},
    KeyCodeMapping{KEY_HOME, XK_Home, 0, 0x24, kExt},
    KeyCodeMapping{KEY_PAGEUP, XK_Prior, 0, 0x21, kExt},
    KeyCodeMapping{KEY_DELETE, XK_Delete, 0, 0x2E, kExt},
    KeyCodeMapping{KEY_END, XK_End, 0, 0x23, kExt},
    KeyCodeMapping{KEY_PAGEDOWN, XK_Next, 0, 0x22, kExt},
    KeyCodeMapping{KEY_RIGHT, XK_Right, 0, 0x27, kExt},
    KeyCodeMapping{KEY_LEFT, XK_Left, 0, 0x25, kExt},
    KeyCodeMapping{KEY_DOWN, XK_Down, 0, 0x28, kExt},
    KeyCodeMapping{KEY_UP, XK_Up, 0, 0x26, kExt},

    KeyCodeMapping{KEY_NUMLOCK, XK_Num_Lock, 0, kVkNumLock, kExt},
    KeyCodeMapping{KEY_KPSLASH, XK_KP_Divide, 0, 0x6F, kExt},
    KeyCodeMapping{KEY_KPASTERISK, XK_KP_Multiply, 0, 0x6A, kStd},
    KeyCodeMapping{KEY_KPMINUS, XK_KP_Subtract, 0, 0x6D, kStd},
    KeyCodeMapping{KEY_KPPLUS, XK_KP_Add, 0, 0x6B, kStd},
    KeyCodeMapping{KEY_KPENTER, XK_KP_Enter, 0, kVkReturn, kExt},
    KeyCodeMapping{KEY_KP1, XK_KP_1, XK_KP_End, 0x61, kStd},
    KeyCodeMapping{KEY_KP2, XK_KP_2, XK_KP_Down, 0x62, kStd},
    KeyCodeMapping{KEY_KP3, XK_KP_3, XK_KP_Next, 0x63, kStd},
    KeyCodeMapping{KEY_KP4, XK_KP_4, XK_KP_Left, 0x64, kStd},
    KeyCodeMapping{KEY_KP5, XK_KP_5, XK_KP_Begin, 0x65, kStd},
    KeyCodeMapping{KEY_KP6, XK_KP_6, XK_KP_Right, 0x66, kStd},
    KeyCodeMapping{KEY_KP7, XK_KP_7, XK_KP_Home, 0x67, kStd},
    KeyCodeMapping{KEY_KP8, XK_KP_8, XK_KP_Up, 0x68, kStd},
    KeyCodeMapping{KEY_KP9, XK_KP_9, XK_KP_Prior, 0x69, kStd},
    KeyCodeMapping{KEY_KP0, XK_KP_0, XK_KP_Insert, 0x60, kStd},
    KeyCodeMapping{KEY_KPDOT, XK_KP_Decimal, XK_KP_Delete, 0x6E, kStd},

    KeyCodeMapping{KEY_MUTE, XF86XK_AudioMute, 0, 0xAD, kExt},
    KeyCodeMapping{KEY_VOLUMEDOWN, XF86XK_AudioLowerVolume, 0, 0xAE, kExt},
    KeyCodeMapping{KEY_VOLUMEUP, XF86XK_AudioRaiseVolume, 0, 0xAF, kExt},
    KeyCodeMapping{KEY_NEXTSONG, XF86XK_AudioNext, 0, 0xB0, kExt},
    KeyCodeMapping{KEY_PREVIOUSSONG, XF86XK_AudioPrev, 0, 0xB1, kExt},
    KeyCodeMapping{KEY_STOPCD, XF86XK_AudioStop, 0, 0xB2, kExt},
    KeyCodeMapping{KEY_PLAYPAUSE, XF86XK_AudioPlay, XF86XK_AudioPause, 0xB3, kExt},
    KeyCodeMapping{KEY_MAIL, XF86XK_Mail, 0, 0xB4, kExt},
    KeyCodeMapping{KEY_MEDIA, XF86XK_AudioMedia, 0, 0xB5, kExt},
    KeyCodeMapping{KEY_COMPUTER, XF86XK_MyComputer, 0, 0xB6, kExt},
    KeyCodeMapping{KEY_CALC, XF86XK_Calculator, 0, 0xB7, kExt},
    KeyCodeMapping{KEY_BACK, XF86XK_Back, 0, 0xA6, kExt},
    KeyCodeMapping{KEY_FORWARD, XF86XK_Forward, 0, 0xA7, kExt},
    KeyCodeMapping{KEY_REFRESH, XF86XK_Refresh, 0, 0xA8, kExt},
    KeyCodeMapping{KEY_STOP, XF86XK_Stop, 0, 0xA9, kExt},
    KeyCodeMapping{KEY_SEARCH, XF86XK_Search, 0, 0xAA, kExt},
    KeyCodeMapping{KEY_BOOKMARKS, XF86XK_Favorites, 0, 0xAB, kExt},
    KeyCodeMapping{KEY_HOMEPAGE, XF86XK_HomePage, 0, 0xAC, kExt},
    KeyCodeMapping{KEY_POWER, XF86XK_PowerOff, 0, kVkPower, kExt},
    KeyCodeMapping{KEY_SLEEP, XF86XK_Sleep, 0, kVkSleep, kExt},
    KeyCodeMapping{KEY_WAKEUP, XF86XK_WakeUp, 0, kVkWakeUp, kExt},
};

// Two rows naming one Linux key or one keysym would make a lookup depend on row order.
constexpr bool codesAreUnique() {
    for (std::size_t i = 0; i < kMap.size(); ++i)
        for (std::size_t j = i + 1; j < kMap.size(); ++j) {
            if (kMap[i].linuxCode == kMap[j].linuxCode) return false;
            for (std::uint32_t a : {kMap[i].keysym, kMap[i].altKeysym})
                for (std::uint32_t b : {kMap[j].keysym, kMap[j].altKeysym})
                    if (a != 0 && a == b) return false;
        }
    return true;
}
static_assert(codesAreUnique());

VirtualKey keyOf(const KeyCodeMapping& m) {
    return {m.virtualKey, m.extended};
}

} // namespace

std::span<const KeyCodeMapping> keyCodeMap() {
    return kMap;
}

std::optional<VirtualKey> virtualKeyForLinuxCode(unsigned code) {
    for (const KeyCodeMapping& m : kMap)
        if (m.linuxCode == code) return keyOf(m);
    return std::nullopt;
}

std::optional<VirtualKey> virtualKeyForKeysym(std::uint32_t keysym) {
    if (keysym == 0) return std::nullopt;
    for (const KeyCodeMapping& m : kMap)
        if (m.keysym == keysym || m.altKeysym == keysym) return keyOf(m);
    return std::nullopt;
}

std::optional<VirtualKey> virtualKeyForX11Keycode(unsigned keycode, std::uint32_t keysym) {
    if (auto key = virtualKeyForKeysym(keysym)) return key;
    if (keycode < 8) return std::nullopt;
    return virtualKeyForLinuxCode(keycode - 8);
}

} // namespace zq::platform
