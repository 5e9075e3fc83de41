#pragma once
// The key code table ties together the three ways the program names a key: the Windows virtual-key
// code that hooks and recorded macros deliver, the code the device firmware executes (class, p1, p2)
// and the text id shown on screen. The mouse event table does the same for recorded mouse messages.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace zq::settings {

struct KeyCodeRow {
    std::uint16_t vk;      // virtual-key code (0x101, 0x103-0x105 are our own, see below)
    std::uint8_t keyClass; // 0x20 keyboard, 0x30 consumer, 0x40 system
    std::uint8_t p1;       // modifier bits / consumer usage low byte / system bit
    std::uint8_t p2;       // keyboard usage / consumer usage high byte / 0
    std::string_view name; // text id
};

// Codes of our own for keys that have no virtual-key code of their own.
inline constexpr std::uint16_t kVkKeypadEnter = 0x101;
inline constexpr std::uint16_t kVkPower = 0x103;
inline constexpr std::uint16_t kVkSleep = 0x104;
inline constexpr std::uint16_t kVkWakeUp = 0x105;
inline constexpr std::uint16_t kVkReturn = 0x0D;

inline constexpr std::size_t kKeyCodeRowCount = 125;
// Rows before this one are keyboard keys (class 0x20); code that lists keyboard keys stops here.
inline constexpr std::size_t kFirstConsumerRow = 104;
inline constexpr std::size_t kFirstSystemRow = 122;

// Rows 0-7 modifiers, 8-103 ordinary keys, 104-121 consumer keys (121 repeats 120), 122-124 system keys.
inline constexpr std::array<KeyCodeRow, kKeyCodeRowCount> kKeyCodeTable{{
    KeyCodeRow{0xA2, 0x20, 0x01, 0x00, "keyboard_key_LCtrl"},               // 0
    KeyCodeRow{0xA0, 0x20, 0x02, 0x00, "keyboard_key_LShift"},              // 1
    KeyCodeRow{0xA4, 0x20, 0x04, 0x00, "keyboard_key_LAlt"},                // 2
    KeyCodeRow{0x5B, 0x20, 0x08, 0x00, "keyboard_key_LWin"},                // 3
    KeyCodeRow{0xA3, 0x20, 0x10, 0x00, "keyboard_key_RCtrl"},               // 4
    KeyCodeRow{0xA1, 0x20, 0x20, 0x00, "keyboard_key_RShift"},              // 5
    KeyCodeRow{0xA5, 0x20, 0x40, 0x00, "keyboard_key_RAlt"},                // 6
    KeyCodeRow{0x5C, 0x20, 0x80, 0x00, "keyboard_key_RWin"},                // 7
    KeyCodeRow{0x41, 0x20, 0x00, 0x04, "keyboard_key_A"},                   // 8
    KeyCodeRow{0x42, 0x20, 0x00, 0x05, "keyboard_key_B"},                   // 9
    KeyCodeRow{0x43, 0x20, 0x00, 0x06, "keyboard_key_C"},                   // 10
    KeyCodeRow{0x44, 0x20, 0x00, 0x07, "keyboard_key_D"},                   // 11
    KeyCodeRow{0x45, 0x20, 0x00, 0x08, "keyboard_key_E"},                   // 12
    KeyCodeRow{0x46, 0x20, 0x00, 0x09, "keyboard_key_F"},                   // 13
    KeyCodeRow{0x47, 0x20, 0x00, 0x0A, "keyboard_key_G"},                   // 14
    KeyCodeRow{0x48, 0x20, 0x00, 0x0B, "keyboard_key_H"},                   // 15
    KeyCodeRow{0x49, 0x20, 0x00, 0x0C, "keyboard_key_I"},                   // 16
    KeyCodeRow{0x4A, 0x20, 0x00, 0x0D, "keyboard_key_J"},                   // 17
    KeyCodeRow{0x4B, 0x20, 0x00, 0x0E, "keyboard_key_K"},                   // 18
    KeyCodeRow{0x4C, 0x20, 0x00, 0x0F, "keyboard_key_L"},                   // 19
    KeyCodeRow{0x4D, 0x20, 0x00, 0x10, "keyboard_key_M"},                   // 20
    KeyCodeRow{0x4E, 0x20, 0x00, 0x11, "keyboard_key_N"},                   // 21
    KeyCodeRow{0x4F, 0x20, 0x00, 0x12, "keyboard_key_O"},                   // 22
    KeyCodeRow{0x50, 0x20, 0x00, 0x13, "keyboard_key_P"},                   // 23
    KeyCodeRow{0x51, 0x20, 0x00, 0x14, "keyboard_key_Q"},                   // 24
    KeyCodeRow{0x52, 0x20, 0x00, 0x15, "keyboard_key_R"},                   // 25
    KeyCodeRow{0x53, 0x20, 0x00, 0x16, "keyboard_key_S"},                   // 26
    KeyCodeRow{0x54, 0x20, 0x00, 0x17, "keyboard_key_T"},                   // 27
    KeyCodeRow{0x55, 0x20, 0x00, 0x18, "keyboard_key_U"},                   // 28
    KeyCodeRow{0x56, 0x20, 0x00, 0x19, "keyboard_key_V"},                   // 29
    KeyCodeRow{0x57, 0x20, 0x00, 0x1A, "keyboard_key_W"},                   // 30
    KeyCodeRow{0x58, 0x20, 0x00, 0x1B, "keyboard_key_X"},                   // 31
    KeyCodeRow{0x59, 0x20, 0x00, 0x1C, "keyboard_key_Y"},                   // 32
    KeyCodeRow{0x5A, 0x20, 0x00, 0x1D, "keyboard_key_Z"},                   // 33
    KeyCodeRow{0x31, 0x20, 0x00, 0x1E, "keyboard_key_1"},                   // 34
    KeyCodeRow{0x32, 0x20, 0x00, 0x1F, "keyboard_key_2"},                   // 35
    KeyCodeRow{0x33, 0x20, 0x00, 0x20, "keyboard_key_3"},                   // 36
    KeyCodeRow{0x34, 0x20, 0x00, 0x21, "keyboard_key_4"},                   // 37
    KeyCodeRow{0x35, 0x20, 0x00, 0x22, "keyboard_key_5"},                   // 38
    KeyCodeRow{0x36, 0x20, 0x00, 0x23, "keyboard_key_6"},                   // 39
    KeyCodeRow{0x37, 0x20, 0x00, 0x24, "keyboard_key_7"},                   // 40
    KeyCodeRow{0x38, 0x20, 0x00, 0x25, "keyboard_key_8"},                   // 41
    KeyCodeRow{0x39, 0x20, 0x00, 0x26, "keyboard_key_9"},                   // 42
    KeyCodeRow{0x30, 0x20, 0x00, 0x27, "keyboard_key_0"},                   // 43
    KeyCodeRow{0x0D, 0x20, 0x00, 0x28, "keyboard_key_Enter"},               // 44
    KeyCodeRow{0x1B, 0x20, 0x00, 0x29, "keyboard_key_Esc"},                 // 45
    KeyCodeRow{0x08, 0x20, 0x00, 0x2A, "keyboard_key_BackSpace"},           // 46
    KeyCodeRow{0x09, 0x20, 0x00, 0x2B, "keyboard_key_Tab"},                 // 47
    KeyCodeRow{0x20, 0x20, 0x00, 0x2C, "keyboard_key_Space"},               // 48
    KeyCodeRow{0xBD, 0x20, 0x00, 0x2D, "keyboard_key_-"},                   // 49
    KeyCodeRow{0xBB, 0x20, 0x00, 0x2E, "keyboard_key_="},                   // 50
    KeyCodeRow{0xDB, 0x20, 0x00, 0x2F, "keyboard_key_["},                   // 51
    KeyCodeRow{0xDD, 0x20, 0x00, 0x30, "keyboard_key_]"},                   // 52
    KeyCodeRow{0xDC, 0x20, 0x00, 0x31, "keyboard_key_xiegang"},             // 53
    KeyCodeRow{0xBA, 0x20, 0x00, 0x33, "keyboard_key_;"},                   // 54
    KeyCodeRow{0xDE, 0x20, 0x00, 0x34, "keyboard_key_'"},                   // 55
    KeyCodeRow{0xC0, 0x20, 0x00, 0x35, "keyboard_key_`"},                   // 56
    KeyCodeRow{0xBC, 0x20, 0x00, 0x36, "keyboard_key_<"},                   // 57
    KeyCodeRow{0xBE, 0x20, 0x00, 0x37, "keyboard_key_."},                   // 58
    KeyCodeRow{0xBF, 0x20, 0x00, 0x38, "keyboard_key_/"},                   // 59
    KeyCodeRow{0x14, 0x20, 0x00, 0x39, "keyboard_key_Caplk"},               // 60
    KeyCodeRow{0x70, 0x20, 0x00, 0x3A, "keyboard_key_F1"},                  // 61
    KeyCodeRow{0x71, 0x20, 0x00, 0x3B, "keyboard_key_F2"},                  // 62
    KeyCodeRow{0x72, 0x20, 0x00, 0x3C, "keyboard_key_F3"},                  // 63
    KeyCodeRow{0x73, 0x20, 0x00, 0x3D, "keyboard_key_F4"},                  // 64
    KeyCodeRow{0x74, 0x20, 0x00, 0x3E, "keyboard_key_F5"},                  // 65
    KeyCodeRow{0x75, 0x20, 0x00, 0x3F, "keyboard_key_F6"},                  // 66
    KeyCodeRow{0x76, 0x20, 0x00, 0x40, "keyboard_key_F7"},                  // 67
    KeyCodeRow{0x77, 0x20, 0x00, 0x41, "keyboard_key_F8"},                  // 68
    KeyCodeRow{0x78, 0x20, 0x00, 0x42, "keyboard_key_F9"},                  // 69
    KeyCodeRow{0x79, 0x20, 0x00, 0x43, "keyboard_key_F10"},                 // 70
    KeyCodeRow{0x7A, 0x20, 0x00, 0x44, "keyboard_key_F11"},                 // 71
    KeyCodeRow{0x7B, 0x20, 0x00, 0x45, "keyboard_key_F12"},                 // 72
    KeyCodeRow{0x2C, 0x20, 0x00, 0x46, "keyboard_key_Print Scr"},           // 73
    KeyCodeRow{0x91, 0x20, 0x00, 0x47, "keyboard_key_Scroll Lock"},         // 74
    KeyCodeRow{0x13, 0x20, 0x00, 0x48, "keyboard_key_Pause"},               // 75
    KeyCodeRow{0x2D, 0x20, 0x00, 0x49, "keyboard_key_Insert"},              // 76
    KeyCodeRow{0x24, 0x20, 0x00, 0x4A, "keyboard_key_Home"},                // 77
    KeyCodeRow{0x21, 0x20, 0x00, 0x4B, "keyboard_key_Page Up"},             // 78
    KeyCodeRow{0x2E, 0x20, 0x00, 0x4C, "keyboard_key_Delete"},              // 79
    KeyCodeRow{0x23, 0x20, 0x00, 0x4D, "keyboard_key_End"},                 // 80
    KeyCodeRow{0x22, 0x20, 0x00, 0x4E, "keyboard_key_Page Down"},           // 81
    KeyCodeRow{0x27, 0x20, 0x00, 0x4F, "keyboard_key_Right"},               // 82
    KeyCodeRow{0x25, 0x20, 0x00, 0x50, "keyboard_key_Left"},                // 83
    KeyCodeRow{0x28, 0x20, 0x00, 0x51, "keyboard_key_Down"},                // 84
    KeyCodeRow{0x26, 0x20, 0x00, 0x52, "keyboard_key_Up"},                  // 85
    KeyCodeRow{0x90, 0x20, 0x00, 0x53, "keyboard_key_Num Lock"},            // 86
    KeyCodeRow{0x6F, 0x20, 0x00, 0x54, "keyboard_key_Num /"},               // 87
    KeyCodeRow{0x6A, 0x20, 0x00, 0x55, "keyboard_key_Num *"},               // 88
    KeyCodeRow{0x6D, 0x20, 0x00, 0x56, "keyboard_key_Num -"},               // 89
    KeyCodeRow{0x6B, 0x20, 0x00, 0x57, "keyboard_key_Num +"},               // 90
    KeyCodeRow{0x101, 0x20, 0x00, 0x58, "keyboard_key_Num Enter"},          // 91
    KeyCodeRow{0x61, 0x20, 0x00, 0x59, "keyboard_key_Num 1"},               // 92
    KeyCodeRow{0x62, 0x20, 0x00, 0x5A, "keyboard_key_Num 2"},               // 93
    KeyCodeRow{0x63, 0x20, 0x00, 0x5B, "keyboard_key_Num 3"},               // 94
    KeyCodeRow{0x64, 0x20, 0x00, 0x5C, "keyboard_key_Num 4"},               // 95
    KeyCodeRow{0x65, 0x20, 0x00, 0x5D, "keyboard_key_Num 5"},               // 96
    KeyCodeRow{0x66, 0x20, 0x00, 0x5E, "keyboard_key_Num 6"},               // 97
    KeyCodeRow{0x67, 0x20, 0x00, 0x5F, "keyboard_key_Num 7"},               // 98
    KeyCodeRow{0x68, 0x20, 0x00, 0x60, "keyboard_key_Num 8"},               // 99
    KeyCodeRow{0x69, 0x20, 0x00, 0x61, "keyboard_key_Num 9"},               // 100
    KeyCodeRow{0x60, 0x20, 0x00, 0x62, "keyboard_key_Num 0"},               // 101
    KeyCodeRow{0x6E, 0x20, 0x00, 0x63, "keyboard_key_Decimal"},             // 102
    KeyCodeRow{0x5D, 0x20, 0x00, 0x65, "keyboard_key_App"},                 // 103
    KeyCodeRow{0xB7, 0x30, 0x92, 0x01, "keyboard_key_Launch App2"},         // 104
    KeyCodeRow{0xAC, 0x30, 0x23, 0x02, "keyboard_key_Browaer Home"},        // 105
    KeyCodeRow{0xB3, 0x30, 0xCD, 0x00, "keyboard_key_Media Play Pause"},    // 106
    KeyCodeRow{0xAA, 0x30, 0x21, 0x02, "keyboard_key_Browser Search"},      // 107
    KeyCodeRow{0xB4, 0x30, 0x8A, 0x01, "keyboard_key_Launch Mail"},         // 108
    KeyCodeRow{0xAF, 0x30, 0xE9, 0x00, "keyboard_key_Volume Up"},           // 109
    KeyCodeRow{0xAD, 0x30, 0xE2, 0x00, "keyboard_key_Volume Mute"},         // 110
    KeyCodeRow{0xB2, 0x30, 0xB7, 0x00, "keyboard_key_Media Stop"},          // 111
    KeyCodeRow{0xAE, 0x30, 0xEA, 0x00, "keyboard_key_Volume Down"},         // 112
    KeyCodeRow{0xAB, 0x30, 0x2A, 0x02, "keyboard_key_Browser Favorites"},   // 113
    KeyCodeRow{0xA7, 0x30, 0x25, 0x02, "keyboard_key_Browser ForWard"},     // 114
    KeyCodeRow{0xA6, 0x30, 0x24, 0x02, "keyboard_key_Browser Back"},        // 115
    KeyCodeRow{0xB1, 0x30, 0xB6, 0x00, "keyboard_key_Media Prev Track"},    // 116
    KeyCodeRow{0xB0, 0x30, 0xB5, 0x00, "keyboard_key_Media Next Track"},    // 117
    KeyCodeRow{0xB6, 0x30, 0x94, 0x01, "keyboard_key_Computer"},            // 118
    KeyCodeRow{0xA8, 0x30, 0x27, 0x02, "keyboard_key_Browser Refresh"},     // 119
    KeyCodeRow{0xB5, 0x30, 0x83, 0x01, "keyboard_key_Launch Media Select"}, // 120
    KeyCodeRow{0xB5, 0x30, 0x83, 0x01, "keyboard_key_Launch Media Select"}, // 121
    KeyCodeRow{0x103, 0x40, 0x01, 0x00, "keyboard_key_Power"},              // 122
    KeyCodeRow{0x104, 0x40, 0x02, 0x00, "keyboard_key_Sleep"},              // 123
    KeyCodeRow{0x105, 0x40, 0x04, 0x00, "keyboard_key_Wakeup"},             // 124
}};

// The six-byte form of a row: vk (LE16), class, p1, p2, pad 0.
std::array<std::uint8_t, 6> keyCodeRowBytes(const KeyCodeRow& row);

// First row whose vk equals the code, among the first `rowLimit` rows.
std::optional<std::size_t> findKeyByVirtualKey(std::uint16_t vk, std::size_t rowLimit = kKeyCodeRowCount);
// First row whose p1 and p2 both equal the pair, among the first `rowLimit` rows.
std::optional<std::size_t> findKeyByCodePair(std::uint8_t p1, std::uint8_t p2,
                                             std::size_t rowLimit = kKeyCodeRowCount);

// The virtual-key code a key press is searched by: Enter with the extended-key flag (hook flags 1 or
// 129) is the keypad Enter.
constexpr std::uint16_t captureVirtualKey(std::uint16_t vk, std::uint32_t hookFlags) {
    if (vk == kVkReturn && (hookFlags == 1 || hookFlags == 129)) return kVkKeypadEnter;
    return vk;
}

// A captured key press as the row it selects: only keyboard-class rows can be captured.
std::optional<std::size_t> captureKeyRow(std::uint16_t vk, std::uint32_t hookFlags);

struct MouseEventRow {
    std::uint16_t message; // window mouse message
    std::uint8_t keyClass;
    std::uint8_t p1;   // mouse-button bit of a button entry
    std::uint8_t flag; // 0x80 set on a press
    constexpr bool isPress() const { return (flag >> 7) != 0; }
};

inline constexpr std::size_t kMouseEventRowCount = 15;
// The two x-button rows appear twice: forward first, then back. A search finds the forward rows.
inline constexpr std::array<MouseEventRow, kMouseEventRowCount> kMouseEventTable{{
    {0x0201, 0x10, 0x01, 0x81}, // left button down
    {0x0202, 0x10, 0x01, 0x01}, // left button up
    {0x0204, 0x10, 0x02, 0x81}, // right button down
    {0x0205, 0x10, 0x02, 0x01}, // right button up
    {0x0207, 0x10, 0x04, 0x81}, // middle button down
    {0x0208, 0x10, 0x04, 0x01}, // middle button up
    {0x020B, 0x10, 0x10, 0x81}, // x-button down (forward)
    {0x020C, 0x10, 0x10, 0x01}, // x-button up (forward)
    {0x020B, 0x10, 0x08, 0x81}, // x-button down (back)
    {0x020C, 0x10, 0x08, 0x01}, // x-button up (back)
    {0x0004, 0x15, 0x00, 0x84},
    {0x0004, 0x15, 0x00, 0x04},
    {0x0005, 0x15, 0x00, 0x85},
    {0x0005, 0x15, 0x00, 0x05},
    {0x020A, 0x12, 0x00, 0x00}, // wheel
}};

std::optional<std::size_t> findMouseEvent(std::uint16_t message);

} // namespace zq::settings
