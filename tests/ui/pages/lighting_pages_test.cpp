// The lighting pages of the mouse, the pad and the keyboard on the real skin: the mode tables, the colour
// rules, presets, checks, same mode, the keyboard's custom maps, and each change reaching the emulator's
// record and the selected lighting file.
#include "page_fixture.h"

#include "settings/compact_settings.h"
#include "settings/key_led_map.h"
#include "settings/lighting_settings.h"
#include "settings/pages/lighting_custom_maps.h"

#include <fstream>
#include <iterator>
#include <utility>
#include <vector>

namespace zq::test {
namespace {

using device::DeviceClass;
using device::LightingChange;
using settings::LightingSettings;
using settings::Rgb;

class LightingPage : public PageFixture {
protected:
    void SetUp() override {
        PageFixture::SetUp();
        if (HasFatalFailure()) return;
        state.onLightingChange = [this](DeviceClass d, LightingChange what) { engine.emplace_back(d, what); };
    }
    void TearDown() override { state.onLightingChange = nullptr; }

    LightingSettings lighting(DeviceClass d) const {
        return LightingSettings::fromBlock(state.state(d).current);
    }
    void setLighting(DeviceClass d, const LightingSettings& s) { s.writeToBlock(state.state(d).current); }
    bool told(DeviceClass d, LightingChange what) const {
        return std::find(engine.begin(), engine.end(), std::pair{d, what}) != engine.end();
    }
    // The payload of the one lighting file of a device folder ("ms", "mp", "kb"), after its header.
    std::vector<std::uint8_t> lightingFile(const char* folder) const {
        std::vector<std::filesystem::path> found;
        for (const auto& e : std::filesystem::directory_iterator(dataFolder() / folder))
            if (e.path().extension() == ".led") found.push_back(e.path());
        EXPECT_FALSE(found.empty()) << "no lighting file in " << folder;
        if (found.empty()) return {};
        const auto& file = *std::min_element(found.begin(), found.end());
        std::ifstream in(file, std::ios::binary);
        std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
        return bytes.size() > 16 ? std::vector<std::uint8_t>(bytes.begin() + 16, bytes.end()) : bytes;
    }

    std::vector<std::pair<DeviceClass, LightingChange>> engine;
};

TEST_F(LightingPage, MouseModeTableForcesTheColourCycleAndSetsTheLayouts) {
    ui::ListLike modes = page().combo("ms_deng_combo_modeSelect0");
    modes.select(3, ui::Notify::Yes);
    EXPECT_EQ(lighting(DeviceClass::Mouse).mode(), 3);
    EXPECT_TRUE(lighting(DeviceClass::Mouse).sevenColour());
    EXPECT_TRUE(page().option("ms_Deng_7color_check").selected());
    EXPECT_FALSE(page().find("ms_deng_Color_Pallet").isEnabled());
    EXPECT_FALSE(page().find("ms_deng_color_layout").isEnabled());
    EXPECT_TRUE(state.mouse.dirty);
    EXPECT_TRUE(told(DeviceClass::Mouse, LightingChange::EffectReset));

    modes.select(2, ui::Notify::Yes);
    EXPECT_FALSE(lighting(DeviceClass::Mouse).sevenColour());
    EXPECT_FALSE(page().option("ms_Deng_7color_check").selected());
    EXPECT_TRUE(page().find("ms_deng_Color_Pallet").isEnabled());
    EXPECT_FALSE(page().find("ms_deng_fx_layout").isEnabled());

    modes.select(5, ui::Notify::Yes);
    EXPECT_FALSE(page().find("ms_deng_light_layout").isEnabled()) << "the DPI-only mode has no brightness";
    modes.select(0, ui::Notify::Yes);
    EXPECT_TRUE(page().find("ms_deng_light_layout").isEnabled());
    EXPECT_TRUE(page().find("ms_deng_fx_layout").isEnabled());

    // The alternate combo shows and hides its direction and speed layouts.
    page().combo("ms_deng_combo_modeSelect1").select(1, ui::Notify::Yes);
    EXPECT_FALSE(page().find("ms_deng_fx_layout").isVisible());
    EXPECT_TRUE(page().find("ms_deng_speed_layout").isVisible());
    EXPECT_EQ(lighting(DeviceClass::Mouse).mode(), 1);
}

TEST_F(LightingPage, ColourEditsReadNumbersAndPullBackOnlyAbove255) {
    struct Case {
        const char* typed;
        std::uint8_t stored;
        const char* shown;
    };
    for (const Case c : {Case{"300", 255, "255"}, Case{"17", 17, "17"}, Case{"12a", 12, "12a"},
                         Case{"abc", 0, "abc"}, Case{"", 0, ""}, Case{"999", 255, "255"}}) {
        page().option("mp_Deng_7color_check").setSelected(true, ui::Notify::Yes);
        ASSERT_TRUE(lighting(DeviceClass::Pad).sevenColour());
        ui::Edit green = page().edit("mp_Deng_edit_G");
        green.setText(c.typed, ui::Notify::Yes);
        EXPECT_EQ(lighting(DeviceClass::Pad).colour().g, c.stored) << c.typed;
        EXPECT_EQ(green.text(), c.shown) << c.typed;
        EXPECT_FALSE(lighting(DeviceClass::Pad).sevenColour()) << c.typed;
        EXPECT_FALSE(page().option("mp_Deng_7color_check").selected()) << c.typed;
        EXPECT_EQ(settings::fromArgb(page().find("mp_Deng_colordp_btn").bkColor()).g, c.stored) << c.typed;
    }
}

TEST_F(LightingPage, PaletteAndPresetsApplyTheColourAndEndTheColourCycle) {
    page().option("kb_Deng_7color_check").setSelected(true, ui::Notify::Yes);
    page().palette("kb_deng_Color_Pallet").setColour(0xFF102030, ui::Notify::Yes);
    EXPECT_EQ(lighting(DeviceClass::Keyboard).colour(), (Rgb{0x10, 0x20, 0x30}));
    EXPECT_FALSE(lighting(DeviceClass::Keyboard).sevenColour());
    EXPECT_FALSE(page().option("kb_Deng_7color_check").selected());
    EXPECT_EQ(page().edit("kb_Deng_edit_B").text(), "48");

    page().click("ms_Deng_color_btn_3");
    EXPECT_EQ(lighting(DeviceClass::Mouse).colour(), (Rgb{0x7E, 0x00, 0xFF}));
    EXPECT_EQ(page().palette("ms_deng_Color_Pallet").colour(), 0xFF7E00FFu);
    page().click("mp_Deng_color_btn_21");
    EXPECT_EQ(lighting(DeviceClass::Pad).colour(), (Rgb{0, 0, 0}));
    // A swatch number the table does not have changes nothing.
    const Rgb before = lighting(DeviceClass::Pad).colour();
    page().raise({ui::notify::kClick, "mp_Deng_color_btn_30", 0, 0});
    EXPECT_EQ(lighting(DeviceClass::Pad).colour(), before);
}

TEST_F(LightingPage, TheColourButtonOpensThePaletteAndCancelKeepsTheColour) {
    page().click("mp_Deng_color_btn_0"); // red
    page().click("mp_Deng_colordp_btn"); // nothing queued: cancelled
    EXPECT_EQ(lighting(DeviceClass::Pad).colour(), (Rgb{255, 0, 0}));
    colours.answer(0xFF00FF00);
    page().click("mp_Deng_colordp_btn");
    ASSERT_EQ(colours.opened().size(), 2u);
    EXPECT_EQ(colours.opened()[1], 0xFFFF0000u) << "opened with the colour it shows";
    EXPECT_EQ(lighting(DeviceClass::Pad).colour(), (Rgb{0, 255, 0}));
}

TEST_F(LightingPage, SlidersAndTheDirectionPairStoreTheirBytes) {
    for (auto [position, speed] : {std::pair{4, 0}, std::pair{0, 4}, std::pair{1, 3}}) {
        page().slider("kb_deng_speed_slider").setValue(position, ui::Notify::Yes);
        EXPECT_EQ(lighting(DeviceClass::Keyboard).speed(), speed) << position;
    }
    page().slider("mp_deng_light_slider").setValue(2, ui::Notify::Yes);
    EXPECT_EQ(lighting(DeviceClass::Pad).brightness(), 2);

    page().click("mp_Deng_FXR_check");
    EXPECT_EQ(lighting(DeviceClass::Pad).direction(), 0);
    EXPECT_FALSE(page().option("mp_Deng_FXL_check").selected());
    EXPECT_TRUE(told(DeviceClass::Pad, LightingChange::EffectReset));
    page().click("mp_Deng_FXR_check"); // the chosen direction clicked again stays chosen
    EXPECT_TRUE(page().option("mp_Deng_FXR_check").selected());
    EXPECT_EQ(lighting(DeviceClass::Pad).direction(), 0);
    page().click("mp_Deng_FXL_check");
    EXPECT_EQ(lighting(DeviceClass::Pad).direction(), 1);
    EXPECT_FALSE(page().option("mp_Deng_FXR_check").selected());

    // The mouse's arrow buttons count the other way round.
    page().raise({ui::notify::kClick, "ms_Deng_FXL_btn", 0, 0});
    EXPECT_EQ(lighting(DeviceClass::Mouse).direction(), 0);
    EXPECT_TRUE(page().option("ms_Deng_FXR_check").selected());
    page().raise({ui::notify::kClick, "ms_Deng_FXR_btn", 0, 0});
    EXPECT_EQ(lighting(DeviceClass::Mouse).direction(), 1);
}

TEST_F(LightingPage, SameModeFromThePadCopiesItsLightingAndRefreshesTheOtherPages) {
    LightingSettings pad;
    pad.setMode(3);
    pad.setBrightness(2);
    pad.setSpeed(1);
    pad.setDirection(1);
    pad.setColour({1, 2, 3});
    setLighting(DeviceClass::Pad, pad);
    page().click("mp_deng_same_mode");

    for (DeviceClass d : {DeviceClass::Mouse, DeviceClass::Keyboard}) {
        EXPECT_EQ(lighting(d), pad) << device::deviceKey(d);
        EXPECT_TRUE(state.state(d).dirty) << device::deviceKey(d);
    }
    EXPECT_EQ(state.sharedLighting, pad.bytes);
    for (DeviceClass d : device::kDeviceClasses)
        EXPECT_TRUE(state.link(d).syncLighting) << device::deviceKey(d);
    EXPECT_TRUE(told(DeviceClass::Pad, LightingChange::Shared));
    // The receivers' pages show what they took.
    EXPECT_EQ(page().combo("ms_deng_combo_modeSelect0").current(), 3);
    EXPECT_EQ(page().combo("kb_deng_combo_modeSelect").current(), 3);
    EXPECT_EQ(page().slider("kb_deng_speed_slider").value(), 3);
    EXPECT_EQ(page().edit("ms_Deng_edit_B").text(), "3");
    EXPECT_EQ(lightingFile("kb").at(2), 2) << "the keyboard's lighting file holds the new brightness";

    // A pad mode afterwards takes only the pad back.
    page().combo("mp_deng_combo_modeSelect").select(1, ui::Notify::Yes);
    EXPECT_FALSE(state.padLink.syncLighting);
    EXPECT_TRUE(state.mouseLink.syncLighting);
    EXPECT_TRUE(state.keyboardLink.syncLighting);
}

TEST_F(LightingPage, KeyboardModesNameTheirDirectionsAndTheCustomModeSwapsTheTools) {
    ui::ListLike modes = page().combo("kb_deng_combo_modeSelect");
    modes.select(10, ui::Notify::Yes);
    EXPECT_EQ(page().find("kb_Deng_label_FXL").textId(), "Deng_FXU_text");
    EXPECT_EQ(page().find("kb_Deng_label_FXR").textId(), "Deng_FXD_text");
    EXPECT_FALSE(page().find("kb_deng_color_layout").isEnabled());
    modes.select(13, ui::Notify::Yes);
    EXPECT_EQ(page().find("kb_Deng_label_FXL").textId(), "Deng_FXJ_text");

    state.keyboardLink.syncLighting = true;
    modes.select(8, ui::Notify::Yes);
    EXPECT_FALSE(state.keyboardLink.syncLighting);
    EXPECT_EQ(page().find("kb_Deng_label_FXL").textId(), "Deng_FXL_text");
    EXPECT_FALSE(page().find("kb_deng_fx_layout").isEnabled());
    EXPECT_FALSE(page().find("kb_deng_7colorselect_layout").isEnabled());
    for (const char* custom :
         {"kb_deng_custom_tool_layout", "kb_deng_custom_select_layout", "kb_deng_custom_color_layout"})
        EXPECT_TRUE(page().find(custom).isEnabled()) << custom;
    modes.select(0, ui::Notify::Yes);
    EXPECT_TRUE(page().find("kb_deng_fx_layout").isEnabled());
    EXPECT_FALSE(page().find("kb_deng_custom_tool_layout").isEnabled());
}

TEST_F(LightingPage, TheCustomModePaintsKeysOfTheSelectedMapAndLeavesTheLightColour) {
    page().click("kb_Deng_color_btn_0"); // light colour red
    page().combo("kb_deng_combo_modeSelect").select(8, ui::Notify::Yes);
    page().combo("kb_deng_combo_curtom_count").select(2, ui::Notify::Yes);
    EXPECT_EQ(settings::pages::selectedCustomMap(state.keyboardCustomLighting), 2u);
    page().palette("kb_deng_Color_Pallet").setColour(0xFF0000FF, ui::Notify::Yes); // paint blue
    EXPECT_EQ(lighting(DeviceClass::Keyboard).colour(), (Rgb{255, 0, 0})) << "the light colour stays";
    EXPECT_EQ(page().find("kb_deng_custom_colour_show").bkColor(), 0xFF0000FFu);

    page().option("kb_deng_Op_tab").setSelected(true, ui::Notify::Yes);
    engine.clear();
    page().click("kb_key_43"); // Q, at its light slot in map 2
    using settings::pages::customKeyColour;
    EXPECT_EQ(customKeyColour(state.keyboardCustomLighting, 2, 43), (Rgb{0, 0, 255}));
    EXPECT_EQ(customKeyColour(state.keyboardCustomLighting, 0, 43), (Rgb{})) << "other maps keep theirs";
    EXPECT_TRUE(told(DeviceClass::Keyboard, LightingChange::CustomMaps));
    const std::size_t slot = settings::kKeyLedMap[43];
    EXPECT_EQ(lightingFile("kb").at(68 + 2 * 378 + 3 * slot + 2), 255) << "the lighting file holds the map";

    page().option("kb_Deng_all_bright_check").setSelected(true, ui::Notify::Yes);
    for (std::size_t key : {0u, 75u, 119u})
        EXPECT_EQ(customKeyColour(state.keyboardCustomLighting, 2, key), (Rgb{0, 0, 255})) << key;
    page().option("kb_Deng_all_kill_check").setSelected(true, ui::Notify::Yes);
    EXPECT_FALSE(page().option("kb_Deng_all_bright_check").selected());
    EXPECT_EQ(customKeyColour(state.keyboardCustomLighting, 2, 75), (Rgb{}));

    // Outside the custom mode a click on the lighting page paints nothing.
    page().combo("kb_deng_combo_modeSelect").select(3, ui::Notify::Yes);
    page().click("kb_key_44");
    EXPECT_EQ(customKeyColour(state.keyboardCustomLighting, 2, 44), (Rgb{}));
}

TEST_F(LightingPage, PadRefreshShowsTheBlockAndAModePastTheListSelectsNothing) {
    LightingSettings s;
    s.setMode(4);
    s.setBrightness(3);
    s.setSpeed(1);
    s.setDirection(0);
    s.setSevenColour(true);
    s.setColour({9, 8, 7});
    setLighting(DeviceClass::Pad, s);
    state.pad.current[0] = 2;
    settingsPages().refresh(DeviceClass::Pad);
    EXPECT_EQ(page().combo("mp_deng_combo_modeSelect").current(), 4);
    EXPECT_EQ(page().combo("mp_deng_combo_profile").current(), 2) << "the slot list shows the pad's slot";
    EXPECT_FALSE(page().find("mp_deng_same_mode").isEnabled());
    EXPECT_EQ(page().slider("mp_deng_light_slider").value(), 3);
    EXPECT_EQ(page().slider("mp_deng_speed_slider").value(), 3);
    EXPECT_TRUE(page().option("mp_Deng_7color_check").selected());
    EXPECT_TRUE(page().option("mp_Deng_FXR_check").selected());
    EXPECT_FALSE(page().option("mp_Deng_FXL_check").selected());
    EXPECT_EQ(page().edit("mp_Deng_edit_R").text(), "9");
    EXPECT_FALSE(state.pad.dirty) << "a refresh stores nothing";
    EXPECT_TRUE(told(DeviceClass::Pad, LightingChange::Settings));

    s.setMode(12); // a damaged file
    setLighting(DeviceClass::Pad, s);
    settingsPages().refresh(DeviceClass::Pad);
    EXPECT_EQ(page().combo("mp_deng_combo_modeSelect").current(), -1);
    EXPECT_FALSE(page().find("mp_deng_same_mode").isEnabled()) << "the layouts stay as they were";
}

// A mode, a colour and a brightness on each device reach the device's record with the next push and
// the selected lighting file at once.
TEST_F(LightingPage, ChangesReachTheDeviceRecordAndTheLightingFile) {
    struct Device {
        DeviceClass device;
        const char* prefix;
        const char* modeCombo;
        const char* folder;
    };
    for (const Device d : {Device{DeviceClass::Mouse, "ms", "ms_deng_combo_modeSelect0", "ms"},
                           Device{DeviceClass::Pad, "mp", "mp_deng_combo_modeSelect", "mp"},
                           Device{DeviceClass::Keyboard, "kb", "kb_deng_combo_modeSelect", "kb"}}) {
        const std::string p = d.prefix;
        page().combo(d.modeCombo).select(1, ui::Notify::Yes);
        page().palette(p + "_deng_Color_Pallet").setColour(0xFF204060, ui::Notify::Yes);
        page().slider(p + "_deng_light_slider").setValue(2, ui::Notify::Yes);
        push();
        const std::size_t at = d.device == DeviceClass::Mouse ? state.mouse.slot() * 64u : 0u;
        const std::vector<std::uint8_t> record = device(d.device).records();
        ASSERT_GE(record.size(), at + 9);
        const std::vector<std::uint8_t> expected{
            1, 2, lighting(d.device).speed(), lighting(d.device).direction(), 0, 0x20, 0x40, 0x60};
        EXPECT_EQ(std::vector<std::uint8_t>(record.begin() + static_cast<long>(at) + 1,
                                            record.begin() + static_cast<long>(at) + 9),
                  expected)
            << d.prefix;
        const std::vector<std::uint8_t> file = lightingFile(d.folder);
        ASSERT_GE(file.size(), 9u) << d.prefix;
        EXPECT_EQ(std::vector<std::uint8_t>(file.begin() + 1, file.begin() + 9), expected) << d.prefix;
    }
}

} // namespace
} // namespace zq::test
