#include "settings/compact_settings.h"
#include "settings/keyboard_keys.h"
#include "settings/keyboard_lighting_payload.h"
#include "settings/light_modes.h"
#include "settings/preset_colours.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace zq::settings {
namespace {

LightingSettings sampleLighting() {
    LightingSettings s;
    s.setMode(7);
    s.setBrightness(3);
    s.setSpeed(2);
    s.setDirection(1);
    s.setSevenColour(true);
    s.setColour({10, 20, 30});
    return s;
}

TEST(LightingSettings, LayoutInsideCompactBlocks) {
    EXPECT_EQ(sampleLighting().bytes, (std::array<std::uint8_t, 8>{7, 3, 2, 1, 1, 10, 20, 30}));

    PadSettingsRecord pad;
    pad.bytes.fill(0xCC);
    pad.setSlot(3);
    pad.setLighting(sampleLighting());
    pad.setEffectState(2);
    EXPECT_EQ(pad.bytes[0], 3);
    EXPECT_EQ(pad.bytes[1], 7);
    EXPECT_EQ(pad.bytes[8], 30);
    EXPECT_EQ(pad.bytes[9], 2);
    EXPECT_EQ(pad.bytes[10], 0xCC);

    const PadSettingsBlock block = pad.block();
    EXPECT_EQ(block.lighting(), sampleLighting());
    const auto payload = compactPushPayload(block);
    EXPECT_EQ(payload[20], 0xCC);
    for (std::size_t i = 21; i < payload.size(); ++i) EXPECT_EQ(payload[i], 0) << i;

    PadSettingsRecord other;
    other.bytes.fill(0x11);
    other.setBlock(block);
    EXPECT_EQ(other.block(), block);
    EXPECT_EQ(other.bytes[21], 0x11); // the record tail is carried
}

TEST(KeyboardLightingPayload, Offsets) {
    KeyboardLightingPayload p;
    KeyboardSettingsRecord r;
    r.setSlot(1);
    r.bytes[63] = 0x5A;
    p.setRecord(r);
    p.setSelectedCustomMap(4);
    p.setCustomColour(0, 0, {1, 2, 3});
    p.setCustomColour(4, 125, {7, 8, 9});

    EXPECT_EQ(p.bytes.size(), 1958u);
    EXPECT_EQ(p.bytes[0], 1);
    EXPECT_EQ(p.bytes[63], 0x5A);
    EXPECT_EQ((std::array{p.bytes[64], p.bytes[65], p.bytes[66], p.bytes[67]}),
              (std::array<std::uint8_t, 4>{4, 0, 0, 0}));
    EXPECT_EQ((std::array{p.bytes[68], p.bytes[69], p.bytes[70]}), (std::array<std::uint8_t, 3>{1, 2, 3}));
    EXPECT_EQ((std::array{p.bytes[1955], p.bytes[1956], p.bytes[1957]}),
              (std::array<std::uint8_t, 3>{7, 8, 9}));
    EXPECT_EQ(p.record(), r);
    EXPECT_EQ(p.selectedCustomMap(), 4u);

    // Selections past the five maps fall back to map 0; keys and maps outside the store are ignored.
    p.bytes[64] = 9;
    EXPECT_EQ(p.selectedCustomMap(), 0u);
    const auto before = p.bytes;
    p.setCustomColour(5, 0, {1, 1, 1});
    p.setCustomColour(0, 126, {1, 1, 1});
    EXPECT_EQ(p.bytes, before);
    EXPECT_EQ(p.customColour(5, 0), Rgb{});
}

TEST(LightModes, TableShapes) {
    EXPECT_EQ(lightModeLayouts(LightModeCombo::MouseMain).size(), 6u);
    EXPECT_EQ(lightModeLayouts(LightModeCombo::MouseAlternate).size(), 7u);
    EXPECT_EQ(lightModeLayouts(LightModeCombo::Pad).size(), 10u);
    EXPECT_EQ(lightModeLayouts(LightModeCombo::Keyboard).size(), 17u);
    for (auto names : {std::span<const std::string_view>(kMouseLightModeNames),
                       std::span<const std::string_view>(kPadLightModeNames),
                       std::span<const std::string_view>(kKeyboardLightModeNames)}) {
        std::set<std::string_view> unique(names.begin(), names.end());
        EXPECT_EQ(unique.size(), names.size());
    }
    // Only the keyboard page relabels its direction checks; every keyboard row names both labels.
    for (const auto& row : kKeyboardModeLayouts)
        EXPECT_FALSE(row.directionFirst.empty() || row.directionSecond.empty());
    for (const auto& row : kPadModeLayouts) EXPECT_TRUE(row.directionFirst.empty());
}

TEST(LightModes, KnownRows) {
    const auto* mouse3 = lightModeLayout(LightModeCombo::MouseMain, 3);
    ASSERT_NE(mouse3, nullptr);
    EXPECT_EQ(mouse3->forceSevenColour, true);
    EXPECT_EQ(mouse3->palette, Layout::Off);
    EXPECT_EQ(lightModeLayout(LightModeCombo::MouseMain, 2)->forceSevenColour, false);
    EXPECT_EQ(lightModeLayout(LightModeCombo::MouseMain, 0)->forceSevenColour, std::nullopt);
    EXPECT_TRUE(lightModeLayout(LightModeCombo::MouseMain, 5)->extras & mode_extra::kBrightnessOff);
    EXPECT_EQ(lightModeLayout(LightModeCombo::MouseMain, 6), nullptr); // stored, no layout change

    EXPECT_EQ(lightModeLayout(LightModeCombo::Pad, 9)->speed, Layout::Unchanged);
    EXPECT_TRUE(lightModeLayout(LightModeCombo::Pad, 5)->extras & mode_extra::kStartFlag);

    const auto* kb8 = lightModeLayout(LightModeCombo::Keyboard, 8);
    EXPECT_TRUE(kb8->extras & mode_extra::kCustomLayouts);
    EXPECT_EQ(lightModeLayout(LightModeCombo::Keyboard, 10)->directionFirst, "Deng_FXU_text");
    EXPECT_EQ(lightModeLayout(LightModeCombo::Keyboard, 13)->directionSecond, "Deng_FXK_text");
    EXPECT_EQ(lightModeLayout(LightModeCombo::Keyboard, 16)->speed, Layout::Unchanged);
    EXPECT_EQ(lightModeLayout(LightModeCombo::Keyboard, 17), nullptr);
}

// The text ids a layout gives the entries of a combo ("itemTextIds", joined with ';').
std::vector<std::string> comboTextIds(const std::string& layout, const std::string& combo) {
    std::ifstream in(std::string(ZQ_SOURCE_DIR) + "/skin/" + layout);
    const std::string xml{std::istreambuf_iterator<char>(in), {}};
    const auto widget = xml.find("name=\"" + combo + "\"");
    if (widget == std::string::npos) return {};
    const auto property = xml.find("name=\"itemTextIds\"", widget);
    const auto open = xml.find("<string>", property);
    const auto close = xml.find("</string>", open);
    if (property == std::string::npos || open == std::string::npos || close == std::string::npos) return {};
    std::vector<std::string> ids;
    std::stringstream list(xml.substr(open + 8, close - open - 8));
    for (std::string id; std::getline(list, id, ';');) ids.push_back(id);
    return ids;
}

TEST(LightModes, NamesAreTheLayoutsTextIds) {
    struct Case {
        const char* layout;
        const char* combo;
        std::span<const std::string_view> names;
    };
    const Case cases[] = {
        {"Mouse_deng.ui", "ms_deng_combo_modeSelect0", kMouseLightModeNames},
        {"Mouse_deng.ui", "ms_deng_combo_modeSelect1", kMouseLightModeNames},
        {"MousePad_deng.ui", "mp_deng_combo_modeSelect", kPadLightModeNames},
        {"keyboard_deng.ui", "kb_deng_combo_modeSelect", kKeyboardLightModeNames},
    };
    for (const auto& c : cases) {
        const std::vector<std::string> expected(c.names.begin(), c.names.end());
        EXPECT_EQ(comboTextIds(c.layout, c.combo), expected) << c.combo;
    }
}

TEST(PresetColours, ShapeAndKnownSwatches) {
    EXPECT_EQ(kPresetColours.size(), 30u);
    for (auto c : kPresetColours) EXPECT_EQ(c >> 24, 0xFFu);
    EXPECT_EQ(presetColour(0), 0xFFFF0000u);
    EXPECT_EQ(presetColour(21), 0xFF000000u);
    EXPECT_EQ(presetColour(29), 0xFF4776A4u);
    EXPECT_EQ(presetColour(30), std::nullopt);
    EXPECT_EQ(presetColour(-1), std::nullopt);
}

TEST(KeyboardKeys, EveryKeyboardRowOnceAndDefaultTable) {
    std::set<std::size_t> rows;
    std::size_t keys = 0;
    for (std::size_t i = 0; i < kKeyboardKeyIndexCount; ++i) {
        if (kKeyboardKeyNames[i].empty()) {
            EXPECT_EQ(keyboardLabelOfEntry(i), std::nullopt);
            continue;
        }
        const auto row = keyboardKeyRow(i);
        ASSERT_TRUE(row) << kKeyboardKeyNames[i];
        rows.insert(*row);
        ++keys;
        EXPECT_EQ(keyboardLabelOfEntry(i), i);
    }
    EXPECT_EQ(keys, 104u);
    EXPECT_EQ(rows.size(), 104u);

    EXPECT_EQ(kKeyboardDefaultKeyTable.entry(0), (KeyEntry{0x20, 0x00, 0x29}));   // Esc
    EXPECT_EQ(kKeyboardDefaultKeyTable.entry(105), (KeyEntry{0x20, 0x01, 0x00})); // LCtrl
    EXPECT_EQ(kKeyboardDefaultKeyTable.entry(118), (KeyEntry{0x20, 0x00, 0x58})); // keypad Enter
    EXPECT_EQ(kKeyboardDefaultKeyTable.entry(16), KeyEntry{});
    EXPECT_EQ(keyboardLabelName(42), "kb_key_42");
}

} // namespace
} // namespace zq::settings
