#include "defaults/factory_settings.h"

#include "macros/cursor_path.h"
#include "settings/default_key_tables.h"
#include "settings/dpi_step_table.h"
#include "settings/keyboard_keys.h"

#include <algorithm>
#include <initializer_list>
#include <span>

namespace zq::defaults {
namespace {

settings::LightingSettings factoryLighting() {
    settings::LightingSettings s;
    s.setMode(kFactoryLightMode);
    s.setBrightness(kFactoryBrightness);
    s.setSpeed(kFactoryLightSpeed);
    s.setDirection(kFactoryDirection);
    s.setSevenColour(kFactorySevenColour);
    s.setColour(kFactoryLightColour);
    return s;
}

// The parts one after another, in one buffer of the final size.
std::vector<std::uint8_t> joined(std::initializer_list<std::span<const std::uint8_t>> parts) {
    std::size_t total = 0;
    for (auto part : parts) total += part.size();
    std::vector<std::uint8_t> out(total);
    auto at = out.begin();
    for (auto part : parts) at = std::copy(part.begin(), part.end(), at);
    return out;
}

// Hue 0..1535 around the colour circle at full saturation.
settings::Rgb hue(int h) {
    h %= 1536;
    const auto up = static_cast<std::uint8_t>(h % 256);
    const auto down = static_cast<std::uint8_t>(255 - h % 256);
    switch (h / 256) {
    case 0:
        return {255, up, 0};
    case 1:
        return {down, 255, 0};
    case 2:
        return {0, 255, up};
    case 3:
        return {0, down, 255};
    case 4:
        return {up, 0, 255};
    default:
        return {255, 0, down};
    }
}

// The key rows of the keyboard picture start at these key indexes; each is at most 21 keys wide.
constexpr std::array<std::size_t, 6> kKeyRowStarts{0, 21, 42, 63, 84, 105};
constexpr std::size_t kKeyRowWidth = 21;

bool isGamingKey(std::string_view name) {
    constexpr std::array<std::string_view, 8> keys{
        "keyboard_key_W",  "keyboard_key_A",    "keyboard_key_S",    "keyboard_key_D",
        "keyboard_key_Up", "keyboard_key_Down", "keyboard_key_Left", "keyboard_key_Right"};
    return std::find(keys.begin(), keys.end(), name) != keys.end();
}

macros::MacroAction stillMove(bool vertical) {
    return vertical ? macros::cursorMoveY({0, false}) : macros::cursorMoveX({0, false});
}

} // namespace

settings::MouseSettingsRecord factoryMouseRecord(std::uint8_t slot) {
    settings::MouseSettingsRecord r;
    r.setSlot(slot);
    r.setLighting(factoryLighting());
    r.setReportRate(kFactoryReportRate);
    for (std::size_t level = 0; level < settings::kDpiLevelCount; ++level) {
        r.setDpiCode(level, settings::codeOfIndex(*settings::findIndexOfDpi(kFactoryDpi[level])));
        r.setDpiColour(level, kFactoryDpiColours[level]);
    }
    r.setDpiLevel(kFactoryDpiLevel);
    r.setPointerSpeed(kFactoryPointerSpeed);
    r.setWheelLines(kFactoryWheelLines);
    return r;
}

settings::PadSettingsRecord factoryPadRecord() {
    settings::PadSettingsRecord r;
    r.setLighting(factoryLighting());
    return r;
}

settings::KeyboardSettingsRecord factoryKeyboardRecord() {
    settings::KeyboardSettingsRecord r;
    r.setLighting(factoryLighting());
    return r;
}

settings::KeyboardLightingPayload factoryKeyboardLighting() {
    settings::KeyboardLightingPayload p;
    p.setRecord(factoryKeyboardRecord());
    p.setSelectedCustomMap(kFactoryCustomMap);
    for (std::size_t row = 0; row < kKeyRowStarts.size(); ++row) {
        for (std::size_t column = 0; column < kKeyRowWidth; ++column) {
            const std::size_t key = kKeyRowStarts[row] + column;
            if (key >= settings::kKeyboardKeyCount) break;
            p.setCustomColour(0, key, hue(static_cast<int>(column * 1536 / kKeyRowWidth)));
            p.setCustomColour(1, key,
                              isGamingKey(settings::kKeyboardKeyNames[key]) ? kGamingHighlight : kGamingBase);
            for (std::size_t m = 0; m < kSolidMaps.size(); ++m) p.setCustomColour(2 + m, key, kSolidMaps[m]);
        }
    }
    return p;
}

std::vector<std::uint8_t> mouseDevicePayload(std::uint8_t slot) {
    return joined({settings::defaultKeyTableForSlot(slot).bytes, factoryMouseRecord(slot).bytes});
}

std::vector<std::uint8_t> mouseLightingPayload() {
    return joined({factoryMouseRecord(0).bytes});
}

std::vector<std::uint8_t> mouseKeysPayload() {
    return joined({settings::defaultKeyTableForSlot(0).bytes});
}

std::vector<std::uint8_t> keyboardDevicePayload() {
    return joined({settings::kKeyboardDefaultKeyTable.bytes, factoryKeyboardLighting().bytes});
}

std::vector<std::uint8_t> keyboardLightingPayload() {
    return joined({factoryKeyboardLighting().bytes});
}

std::vector<std::uint8_t> keyboardKeysPayload() {
    return joined({settings::kKeyboardDefaultKeyTable.bytes});
}

std::vector<std::uint8_t> padLightingPayload() {
    return joined({factoryPadRecord().bytes});
}

std::vector<macros::MacroAction> recoilPathActions(const RecoilPattern& pattern) {
    std::vector<macros::MacroAction> actions(macros::kCursorPathMaxActions);
    for (std::size_t i = 0; i < actions.size(); ++i) actions[i] = stillMove(i % 3 != 1);

    const int lastStep = static_cast<int>(macros::kCursorPathSteps) - 1;
    for (std::size_t b = 0; b < macros::kCursorPathSteps; ++b) {
        const int step = static_cast<int>(b);
        const int pull = pattern.pullStart + (pattern.pullEnd - pattern.pullStart) * step / lastStep;
        int drift = pattern.drift;
        if (pattern.zigzagPeriod != 0 && (b / pattern.zigzagPeriod) % 2 == 1) drift = -drift;

        macros::CursorStep values;
        values.delay = pattern.delayMs;
        values.y = {static_cast<std::uint8_t>(pull), false}; // down: against the kick of the gun
        values.x = {static_cast<std::uint8_t>(drift < 0 ? -drift : drift), drift < 0};
        // The pause is a still vertical move that carries the step's delay.
        auto& pause = actions[macros::stepActionIndex(b, macros::StepPart::Pause)];
        pause = stillMove(true);
        macros::applyCursorStep(values, pause, actions[macros::stepActionIndex(b, macros::StepPart::MoveX)],
                                actions[macros::stepActionIndex(b, macros::StepPart::MoveY)]);
    }
    return actions;
}

} // namespace zq::defaults
