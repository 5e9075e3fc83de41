#pragma once
// The light modes of the three lighting pages as data: the text id of each mode (the entries of the mode
// combos), and for each mode combo which lighting layouts a mode enables, whether it forces the
// colour-cycle byte, and what else choosing it prepares.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace zq::settings {

// A layout's state after a mode is chosen.
enum class Layout : std::uint8_t { Off, On, Unchanged };

// What choosing a mode does besides the layouts.
namespace mode_extra {
inline constexpr std::uint32_t kNone = 0;
inline constexpr std::uint32_t kStartFlag = 1u << 0;       // the animation's start flag (direction-wise)
inline constexpr std::uint32_t kBrightnessOff = 1u << 1;   // the brightness layout is disabled too
inline constexpr std::uint32_t kShowFxAndSpeed = 1u << 2;  // fx and speed layouts are also shown/hidden
inline constexpr std::uint32_t kSpreadKeyPhases = 1u << 3; // per-key wheel phases spread over the keys
inline constexpr std::uint32_t kArmReactive = 1u << 4;     // the reactive state is armed
inline constexpr std::uint32_t kPreparePhases = 1u << 5;   // the mode's phase state is prepared
inline constexpr std::uint32_t kCustomLayouts = 1u << 6; // custom colour tools instead of the colour layouts
} // namespace mode_extra

struct LightModeLayout {
    Layout fx;      // "_deng_fx_layout"
    Layout colour;  // "_deng_color_layout"
    Layout cycle;   // "_deng_7colorselect_layout"
    Layout speed;   // "_deng_speed_layout"
    Layout same;    // "_deng_same_mode"
    Layout palette; // the page's colour palette (mouse only; Unchanged elsewhere)
    std::optional<bool> forceSevenColour;
    std::uint32_t extras = mode_extra::kNone;
    // Text ids of the two direction labels (keyboard page only; empty elsewhere).
    std::string_view directionFirst;
    std::string_view directionSecond;
};

// The mode combos that carry a layout table.
enum class LightModeCombo {
    MouseMain,      // ms_deng_combo_modeSelect0, the one the page refresh uses
    MouseAlternate, // ms_deng_combo_modeSelect1
    Pad,            // mp_deng_combo_modeSelect
    Keyboard,       // kb_deng_combo_modeSelect
};

inline constexpr std::size_t kMouseLightModeCount = 7;
inline constexpr std::size_t kPadLightModeCount = 10;
inline constexpr std::size_t kKeyboardLightModeCount = 17;

inline constexpr std::uint8_t kLightBrightnessMax = 4;
inline constexpr std::uint8_t kLightSpeedMax = 4;

// Mode names, in combo order: the text ids the layouts give their mode combos' entries, which the
// language file resolves.
inline constexpr std::array<std::string_view, kMouseLightModeCount> kMouseLightModeNames{
    "ms_mode_wave_text", "ms_mode_static_text", "ms_mode_breath_text",   "ms_mode_gradient_text",
    "ms_mode_bar_text",  "ms_mode_dpi_text",    "ms_mode_reactive_text",
};
inline constexpr std::array<std::string_view, kPadLightModeCount> kPadLightModeNames{
    "mp_mode_wave_text",     "mp_mode_cycle_text",  "mp_mode_breath_text", "mp_mode_static_text",
    "mp_mode_bar_text",      "mp_mode_ripple_text", "mp_mode_group_text",  "mp_mode_marquee_text",
    "mp_mode_reactive_text", "mp_mode_off_text",
};
inline constexpr std::array<std::string_view, kKeyboardLightModeCount> kKeyboardLightModeNames{
    "kb_mode_0_text",  "kb_mode_1_text",  "kb_mode_2_text",  "kb_mode_3_text",  "kb_mode_4_text",
    "kb_mode_5_text",  "kb_mode_6_text",  "kb_mode_7_text",  "kb_mode_8_text",  "kb_mode_9_text",
    "kb_mode_10_text", "kb_mode_11_text", "kb_mode_12_text", "kb_mode_13_text", "kb_mode_14_text",
    "kb_mode_15_text", "kb_mode_16_text",
};

inline constexpr std::string_view kDirectionLeftLabel = "Deng_FXL_text";
inline constexpr std::string_view kDirectionRightLabel = "Deng_FXR_text";
inline constexpr std::string_view kDirectionUpLabel = "Deng_FXU_text";
inline constexpr std::string_view kDirectionDownLabel = "Deng_FXD_text";
inline constexpr std::string_view kDirectionInLabel = "Deng_FXJ_text";
inline constexpr std::string_view kDirectionOutLabel = "Deng_FXK_text";

namespace detail {
inline constexpr Layout O = Layout::Off;
inline constexpr Layout I = Layout::On;
inline constexpr Layout U = Layout::Unchanged;
} // namespace detail

// clang-format off
inline constexpr std::array<LightModeLayout, 6> kMouseMainModeLayouts{{
    //  fx         colour     cycle      speed      same       palette    seven        extras
    {detail::I, detail::I, detail::I, detail::I, detail::I, detail::I, std::nullopt, mode_extra::kNone, {}, {}},
    {detail::O, detail::I, detail::O, detail::O, detail::O, detail::I, std::nullopt, mode_extra::kNone, {}, {}},
    {detail::O, detail::I, detail::O, detail::I, detail::I, detail::I, false,        mode_extra::kNone, {}, {}},
    {detail::O, detail::O, detail::O, detail::I, detail::I, detail::O, true,         mode_extra::kNone, {}, {}},
    {detail::I, detail::I, detail::I, detail::I, detail::O, detail::I, std::nullopt, mode_extra::kNone, {}, {}},
    {detail::O, detail::O, detail::O, detail::O, detail::O, detail::O, std::nullopt,
     mode_extra::kBrightnessOff | mode_extra::kStartFlag, {}, {}},
}};

inline constexpr std::array<LightModeLayout, 7> kMouseAlternateModeLayouts{{
    {detail::I, detail::I, detail::I, detail::I, detail::I, detail::U, std::nullopt, mode_extra::kShowFxAndSpeed, {}, {}},
    {detail::O, detail::O, detail::O, detail::I, detail::I, detail::U, std::nullopt, mode_extra::kShowFxAndSpeed, {}, {}},
    {detail::O, detail::I, detail::I, detail::I, detail::I, detail::U, std::nullopt, mode_extra::kShowFxAndSpeed, {}, {}},
    {detail::O, detail::I, detail::O, detail::O, detail::I, detail::U, std::nullopt, mode_extra::kNone, {}, {}},
    {detail::I, detail::I, detail::I, detail::I, detail::O, detail::U, std::nullopt, mode_extra::kNone, {}, {}},
    {detail::I, detail::I, detail::O, detail::I, detail::O, detail::U, std::nullopt, mode_extra::kStartFlag, {}, {}},
    {detail::O, detail::O, detail::O, detail::I, detail::O, detail::U, std::nullopt, mode_extra::kNone, {}, {}},
}};

inline constexpr std::array<LightModeLayout, kPadLightModeCount> kPadModeLayouts{{
    {detail::I, detail::I, detail::I, detail::I, detail::I, detail::U, std::nullopt, mode_extra::kNone, {}, {}},
    {detail::O, detail::O, detail::O, detail::I, detail::I, detail::U, std::nullopt, mode_extra::kNone, {}, {}},
    {detail::O, detail::I, detail::I, detail::I, detail::I, detail::U, std::nullopt, mode_extra::kNone, {}, {}},
    {detail::O, detail::I, detail::O, detail::O, detail::I, detail::U, std::nullopt, mode_extra::kNone, {}, {}},
    {detail::I, detail::I, detail::I, detail::I, detail::O, detail::U, std::nullopt, mode_extra::kNone, {}, {}},
    {detail::I, detail::I, detail::I, detail::I, detail::O, detail::U, std::nullopt, mode_extra::kStartFlag, {}, {}},
    {detail::I, detail::O, detail::O, detail::I, detail::O, detail::U, std::nullopt, mode_extra::kNone, {}, {}},
    {detail::O, detail::I, detail::I, detail::I, detail::O, detail::U, std::nullopt, mode_extra::kNone, {}, {}},
    {detail::O, detail::I, detail::I, detail::O, detail::O, detail::U, std::nullopt, mode_extra::kNone, {}, {}},
    {detail::O, detail::I, detail::I, detail::U, detail::O, detail::U, std::nullopt, mode_extra::kNone, {}, {}},
}};

inline constexpr std::array<LightModeLayout, kKeyboardLightModeCount> kKeyboardModeLayouts{{
    {detail::I, detail::I, detail::I, detail::I, detail::I, detail::U, std::nullopt, mode_extra::kNone, kDirectionLeftLabel, kDirectionRightLabel},
    {detail::O, detail::O, detail::O, detail::I, detail::I, detail::U, std::nullopt, mode_extra::kNone, kDirectionLeftLabel, kDirectionRightLabel},
    {detail::O, detail::I, detail::I, detail::I, detail::I, detail::U, std::nullopt, mode_extra::kNone, kDirectionLeftLabel, kDirectionRightLabel},
    {detail::O, detail::I, detail::O, detail::O, detail::I, detail::U, std::nullopt, mode_extra::kNone, kDirectionLeftLabel, kDirectionRightLabel},
    {detail::O, detail::O, detail::O, detail::I, detail::O, detail::U, std::nullopt, mode_extra::kSpreadKeyPhases, kDirectionLeftLabel, kDirectionRightLabel},
    {detail::O, detail::I, detail::I, detail::I, detail::O, detail::U, std::nullopt, mode_extra::kArmReactive, kDirectionLeftLabel, kDirectionRightLabel},
    {detail::O, detail::I, detail::I, detail::I, detail::O, detail::U, std::nullopt, mode_extra::kNone, kDirectionLeftLabel, kDirectionRightLabel},
    {detail::I, detail::I, detail::I, detail::I, detail::O, detail::U, std::nullopt, mode_extra::kNone, kDirectionLeftLabel, kDirectionRightLabel},
    {detail::O, detail::I, detail::I, detail::O, detail::O, detail::U, std::nullopt, mode_extra::kCustomLayouts, kDirectionLeftLabel, kDirectionRightLabel},
    {detail::O, detail::I, detail::I, detail::I, detail::O, detail::U, std::nullopt, mode_extra::kNone, kDirectionLeftLabel, kDirectionRightLabel},
    {detail::I, detail::O, detail::O, detail::I, detail::O, detail::U, std::nullopt, mode_extra::kNone, kDirectionUpLabel, kDirectionDownLabel},
    {detail::O, detail::I, detail::I, detail::I, detail::O, detail::U, std::nullopt, mode_extra::kPreparePhases, kDirectionLeftLabel, kDirectionRightLabel},
    {detail::I, detail::I, detail::I, detail::I, detail::O, detail::U, std::nullopt, mode_extra::kNone, kDirectionLeftLabel, kDirectionRightLabel},
    {detail::I, detail::O, detail::O, detail::I, detail::O, detail::U, std::nullopt, mode_extra::kNone, kDirectionInLabel, kDirectionOutLabel},
    {detail::I, detail::I, detail::I, detail::I, detail::O, detail::U, std::nullopt, mode_extra::kNone, kDirectionLeftLabel, kDirectionRightLabel},
    {detail::O, detail::I, detail::I, detail::I, detail::O, detail::U, std::nullopt, mode_extra::kArmReactive, kDirectionLeftLabel, kDirectionRightLabel},
    {detail::O, detail::I, detail::I, detail::U, detail::O, detail::U, std::nullopt, mode_extra::kPreparePhases, kDirectionLeftLabel, kDirectionRightLabel},
}};
// clang-format on

constexpr std::span<const LightModeLayout> lightModeLayouts(LightModeCombo combo) {
    switch (combo) {
    case LightModeCombo::MouseMain:
        return kMouseMainModeLayouts;
    case LightModeCombo::MouseAlternate:
        return kMouseAlternateModeLayouts;
    case LightModeCombo::Pad:
        return kPadModeLayouts;
    case LightModeCombo::Keyboard:
        return kKeyboardModeLayouts;
    }
    return {};
}

// The layout row of a mode; a mode past the table changes no layout (it is still stored).
constexpr const LightModeLayout* lightModeLayout(LightModeCombo combo, std::size_t mode) {
    const auto rows = lightModeLayouts(combo);
    return mode < rows.size() ? &rows[mode] : nullptr;
}

} // namespace zq::settings
