#pragma once
// Our factory settings: the payloads of the default profile files and the four default recoil paths,
// built from the named constants below. The files themselves are written by default_files.h.
#include "macros/macro_action.h"
#include "settings/colour.h"
#include "settings/compact_settings.h"
#include "settings/key_entry.h"
#include "settings/keyboard_lighting_payload.h"
#include "settings/mouse_settings_record.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace zq::defaults {

// ---- lighting shared by all three devices: a rainbow wave at full brightness --------------------------
inline constexpr std::uint8_t kFactoryLightMode = 0; // wave on every device
inline constexpr std::uint8_t kFactoryBrightness = 4;
inline constexpr std::uint8_t kFactoryLightSpeed = 2; // the speed slider in the middle
inline constexpr std::uint8_t kFactoryDirection = 1;
inline constexpr bool kFactorySevenColour = true;                // cycle the colours: a rainbow
inline constexpr settings::Rgb kFactoryLightColour{0, 138, 255}; // used once colour cycling is switched off

// ---- mouse performance ------------------------------------------------------------------------------
inline constexpr std::array<int, settings::kDpiLevelCount> kFactoryDpi{800, 1600, 2400, 3200, 6200};
inline constexpr std::uint8_t kFactoryDpiLevel = 1; // start at 1600
// One indicator colour per level, the same ones the mouse's DPI LED shows: red, green, blue, magenta, yellow.
inline constexpr std::array<settings::Rgb, settings::kDpiLevelCount> kFactoryDpiColours{
    {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 0, 255}, {255, 255, 0}}};
// The fourth entry of the report-rate combo, its fastest rate in the shipped layout.
inline constexpr std::uint8_t kFactoryReportRate = 3;
inline constexpr std::uint8_t kFactoryPointerSpeed = 10;
inline constexpr std::uint8_t kFactoryWheelLines = 3;

// ---- keyboard custom colour maps --------------------------------------------------------------------
inline constexpr std::uint8_t kFactoryCustomMap = 0;
// Map 0 spreads the hues along each key row, map 1 lights the movement and arrow keys on a dim base,
// maps 2-4 are solid red, green and blue.
inline constexpr settings::Rgb kGamingBase{0, 40, 120};
inline constexpr settings::Rgb kGamingHighlight{255, 32, 0};
inline constexpr std::array<settings::Rgb, 3> kSolidMaps{{{255, 0, 0}, {0, 255, 0}, {0, 0, 255}}};

// ---- recoil paths -----------------------------------------------------------------------------------
// Each of the 30 steps waits `delayMs`, pulls the cursor down by a distance that goes linearly from
// `pullStart` to `pullEnd`, and moves it sideways by `drift` (negative: left). With a zig-zag period the
// sideways move changes side every `zigzagPeriod` steps.
struct RecoilPattern {
    std::uint16_t delayMs;
    std::uint8_t pullStart;
    std::uint8_t pullEnd;
    int drift;
    std::size_t zigzagPeriod; // 0: no zig-zag
};

inline constexpr std::array<RecoilPattern, 4> kRecoilPatterns{{
    {30, 3, 3, 0, 0},  // steady pull
    {30, 6, 2, 0, 0},  // hard kick that eases off
    {25, 4, 4, -1, 0}, // pull with a drift to the left
    {35, 5, 3, 2, 5},  // heavy pull that swings from side to side
}};

settings::MouseSettingsRecord factoryMouseRecord(std::uint8_t slot);
settings::PadSettingsRecord factoryPadRecord();
settings::KeyboardSettingsRecord factoryKeyboardRecord();
settings::KeyboardLightingPayload factoryKeyboardLighting();

// Payloads in file order.
std::vector<std::uint8_t> mouseDevicePayload(std::uint8_t slot); // key table of the slot + record (576)
std::vector<std::uint8_t> mouseLightingPayload();                // record (64)
std::vector<std::uint8_t> mouseKeysPayload();                    // right-handed key table (512)
std::vector<std::uint8_t> keyboardDevicePayload();               // key table + lighting (2470)
std::vector<std::uint8_t> keyboardLightingPayload();             // 1958
std::vector<std::uint8_t> keyboardKeysPayload();                 // 512
std::vector<std::uint8_t> padLightingPayload();                  // 64

// The 180 actions of a recoil path: the step actions carry the pattern; every other action is a
// zero-distance move without delay, which the mouse plays as nothing.
std::vector<macros::MacroAction> recoilPathActions(const RecoilPattern& pattern);

} // namespace zq::defaults
