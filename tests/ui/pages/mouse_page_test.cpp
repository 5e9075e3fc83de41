// The mouse page on the real skin with the emulated mouse: DPI levels, colours, report rate, the host
// pointer settings, the page refresh, slot switches, the device-profile selection and the two resets.
#include "page_fixture.h"

#include "platform/host_mouse_settings.h"
#include "settings/default_key_tables.h"
#include "settings/dpi_step_table.h"
#include "settings/mouse_settings_record.h"
#include "settings/pages/mouse_default_files.h"

#include <fstream>
#include <vector>

namespace zq::test {
namespace {

using device::DeviceClass;
using settings::MouseSettingsBlock;
namespace off = settings::mouse_offset;

class MousePageTest : public PageFixture {
protected:
    settings::pages::MousePage& mouse() { return settingsPages().mouse; }
    device::DeviceState& live() { return state.mouse; }
    MouseSettingsBlock block() {
        MouseSettingsBlock b;
        b.bytes = state.mouse.current;
        return b;
    }
    void setBlock(const MouseSettingsBlock& b) { state.mouse.current = b.bytes; }

    // The desktop's settings as the page left them.
    platform::HostMouseSettings* desktop = nullptr;
    void SetUp() override {
        PageFixture::SetUp();
        desktop = hostMouse;
    }
    // Host work runs on its own worker and reports back through the UI thread: wait for the value.
    bool desktopReaches(int speed, int lines) {
        return eventually([&] {
            QCoreApplication::processEvents();
            return desktop->pointerSpeed() == speed && desktop->wheelScrollLines() == lines;
        });
    }
    std::vector<std::uint8_t> deviceRecord(int slot) { return device(DeviceClass::Mouse).record(slot); }
};

TEST_F(MousePageTest, DpiSliderStoresTheLevelsCodeAndThePushWritesItAtTheSlotsRecord) {
    live().current[off::kSlot] = 1;
    page().slider("ms_DPI3_slider").setValue(14, ui::Notify::Yes);
    EXPECT_EQ(page().label("ms_DPI3_label_value").text(), "1600");
    EXPECT_EQ(live().current[17], 36);
    EXPECT_TRUE(live().dirty);
    push();
    EXPECT_EQ(deviceRecord(1)[17], 36) << "slot 1's record, offset 64 + 17";

    // Both ends of the scale; level 5 sits behind the current-level byte.
    const struct {
        const char* slider;
        int index;
        std::size_t offset;
        std::uint8_t code;
        const char* label;
    } cases[] = {{"ms_DPI1_slider", 0, 15, 4, "200"}, {"ms_DPI5_slider", 60, 20, 140, "6200"}};
    for (const auto& c : cases) {
        page().slider(c.slider).setValue(c.index, ui::Notify::Yes);
        EXPECT_EQ(live().current[c.offset], c.code) << c.slider;
        EXPECT_EQ(page().label(std::string(c.slider).replace(8, 6, "label_value")).text(), c.label);
    }
    EXPECT_EQ(live().current[off::kDpiLevel], 0) << "the current level is the mouse's";
}

TEST_F(MousePageTest, DraggingShowsTheValueWithoutStoringIt) {
    const auto before = live().current;
    live().dirty = false;
    page().slider("ms_DPI2_slider").setValue(20);
    page().raise({ui::notify::kMoveValueChanged, "ms_DPI2_slider"});
    EXPECT_EQ(page().label("ms_DPI2_label_value").text(), "2200");
    EXPECT_EQ(live().current, before);
    EXPECT_FALSE(live().dirty);
}

TEST_F(MousePageTest, DpiLevelChangeIsStoredInTheSelectedDeviceProfile) {
    page().slider("ms_DPI3_slider").setValue(14, ui::Notify::Yes);
    const auto status = profilePages().status(profiles::ProfileCategory::MouseDevice);
    ASSERT_FALSE(status.names.empty());
    const auto file =
        dataFolder() / "ms" / (status.names.at(static_cast<std::size_t>(status.saved)) + ".config");
    std::ifstream in(file, std::ios::binary);
    ASSERT_TRUE(in) << file;
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_GE(bytes.size(), 16u + 512u + 64u);
    EXPECT_EQ(static_cast<std::uint8_t>(bytes[16 + 512 + 17]), 36);
}

TEST_F(MousePageTest, RefreshShowsTheBlock) {
    MouseSettingsBlock b;
    b.setReportRate(2);
    b.setBrightness(3);
    b.setLightSpeed(1);
    b.setDirection(1);
    b.setDpiCode(0, 36);
    b.setDpiCode(1, 37); // not a code of the scale: shown at the nearest step, the lower one on a tie
    b.setDpiCode(4, 140);
    b.setDpiColour(2, {0x12, 0x34, 0x56});
    setBlock(b);
    mouse().refresh();

    EXPECT_EQ(page().combo("ms_report_fct_combo").current(), 2);
    EXPECT_EQ(page().slider("ms_deng_light_slider").value(), 3);
    EXPECT_EQ(page().slider("ms_deng_speed_slider").value(), 3);
    EXPECT_TRUE(page().option("ms_Deng_FXL_check").selected());
    EXPECT_FALSE(page().option("ms_Deng_FXR_check").selected());
    EXPECT_EQ(page().slider("ms_DPI1_slider").value(), 14);
    EXPECT_EQ(page().slider("ms_DPI2_slider").value(), 14);
    EXPECT_EQ(page().label("ms_DPI2_label_value").text(), "1600");
    EXPECT_EQ(page().slider("ms_DPI5_slider").maximum(), 60);
    EXPECT_EQ(page().label("ms_DPI5_label_value").text(), "6200");
    EXPECT_EQ(page().label("ms_DPI6_min").text(), "200");
    EXPECT_EQ(page().label("ms_DPI6_max").text(), "6200");
    EXPECT_EQ(page().button("ms_DPIcolor_btn_3").bkColor(), 0xFF123456u);
    EXPECT_EQ(block().dpiCode(1), 37) << "showing a stray code does not rewrite it";

    // The current level in red: 0-4 are levels 1-5, 5 the sixth row, anything above that level 1.
    for (auto [level, row] : {std::pair{0, 1}, {4, 5}, {5, 6}, {7, 1}}) {
        b = block();
        b.setDpiLevel(static_cast<std::uint8_t>(level));
        setBlock(b);
        mouse().refresh();
        for (int r = 1; r <= 6; ++r) {
            const std::string rank = "ms_DPI" + std::to_string(r) + "_label_rank";
            const std::string value = "ms_DPI" + std::to_string(r) + "_label_value";
            const std::uint32_t expected = r == row ? 0xFFFF0000u : 0xFFFFFFFFu;
            EXPECT_EQ(page().label(rank).textColor(), expected) << "dpi_level " << level << ", row " << r;
            EXPECT_EQ(page().label(value).textColor(), expected) << "dpi_level " << level << ", row " << r;
        }
    }
}

TEST_F(MousePageTest, ReportRateIsStoredAndShownAgainOnThePerformanceTab) {
    page().combo("ms_report_fct_combo").select(2, ui::Notify::Yes);
    EXPECT_EQ(live().current[off::kReportRate], 2);
    EXPECT_TRUE(live().dirty);

    live().current[off::kReportRate] = 1;
    mouse().reselectReportRate();
    EXPECT_EQ(page().combo("ms_report_fct_combo").current(), 1);

    // A rate past the list (a damaged file) shows no entry rather than a wrong one, and stays stored.
    live().current[off::kReportRate] = 9;
    mouse().refresh();
    EXPECT_EQ(page().combo("ms_report_fct_combo").current(), -1);
    mouse().reselectReportRate();
    EXPECT_EQ(live().current[off::kReportRate], 9);
}

TEST_F(MousePageTest, DpiColourComesFromThePaletteAndCancelKeepsIt) {
    MouseSettingsBlock b;
    b.setDpiColour(1, {1, 2, 3});
    setBlock(b);
    mouse().refresh();
    colours.answer(0xFFA0B0C0u);
    page().click("ms_DPIcolor_btn_2");
    ASSERT_EQ(colours.opened().size(), 1u);
    EXPECT_EQ(colours.opened()[0], 0xFF010203u) << "opened with the button's colour";
    EXPECT_EQ(block().dpiColour(1), (settings::Rgb{0xA0, 0xB0, 0xC0}));
    EXPECT_EQ(page().button("ms_DPIcolor_btn_2").bkColor(), 0xFFA0B0C0u);
    EXPECT_TRUE(live().dirty);

    live().dirty = false;
    colours.answer(std::nullopt);
    page().click("ms_DPIcolor_btn_2");
    EXPECT_EQ(block().dpiColour(1), (settings::Rgb{0xA0, 0xB0, 0xC0}));
    EXPECT_FALSE(live().dirty);

    page().click("ms_DPIcolor_btn_6"); // the layout's sixth level has no field
    EXPECT_EQ(colours.opened().size(), 2u);
}

TEST_F(MousePageTest, PointerSpeedAndWheelLinesReachTheDesktopButNotTheBlock) {
    live().dirty = false;
    page().slider("ms_point_speed_slider").setValue(0, ui::Notify::Yes);
    EXPECT_TRUE(desktopReaches(2, desktop->wheelScrollLines()));
    page().slider("ms_point_speed_slider").setValue(9, ui::Notify::Yes);
    EXPECT_TRUE(desktopReaches(20, desktop->wheelScrollLines()));
    EXPECT_FALSE(live().dirty);

    const struct {
        const char* text;
        const char* button;
        const char* shown;
    } steps[] = {
        {"100", "ms_gunlun_speed_up_btn", "100"},   {"1", "ms_gunlun_speed_down_btn", "1"},
        {"250", "ms_gunlun_speed_down_btn", "100"}, {"", "ms_gunlun_speed_up_btn", "2"},
        {"7", "ms_gunlun_speed_up_btn", "8"},
    };
    for (const auto& s : steps) {
        page().edit("ms_gunlun_speed_edit").setText(s.text);
        page().click(s.button);
        EXPECT_EQ(page().edit("ms_gunlun_speed_edit").text(), s.shown) << s.text << " " << s.button;
        EXPECT_TRUE(desktopReaches(20, std::stoi(s.shown))) << s.text << " " << s.button;
    }

    // Typing keeps the field within 1..100; leaving it applies the value at once.
    for (auto [typed, kept] : {std::pair{"150", "100"}, {"0", "1"}, {"abc", "1"}, {"42", "42"}}) {
        page().edit("ms_gunlun_speed_edit").setText(typed, ui::Notify::Yes);
        EXPECT_EQ(page().edit("ms_gunlun_speed_edit").text(), kept) << typed;
    }
    page().raise({ui::notify::kKillFocus, "ms_gunlun_speed_edit"});
    EXPECT_EQ(desktop->wheelScrollLines(), 42);
    EXPECT_FALSE(live().dirty);
}

TEST_F(MousePageTest, SlotButtonShowsTheNewSlotsRecord) {
    const std::uint8_t code = settings::codeOfIndex(30); // 3200 DPI
    ASSERT_TRUE(device(DeviceClass::Mouse).changeRecords(2 * 64 + 15, std::vector<std::uint8_t>{code}));
    page().click("ms_profile_2");
    settle();
    EXPECT_EQ(device(DeviceClass::Mouse).currentSlot(), 2);
    EXPECT_EQ(block().slot(), 2);
    EXPECT_EQ(page().slider("ms_DPI1_slider").value(), 30);
    EXPECT_EQ(page().label("ms_DPI1_label_value").text(), "3200");

    // The slot the mouse is on already: one read, nothing written.
    device(DeviceClass::Mouse).takeCommandLog();
    page().click("ms_profile_2");
    settle();
    const auto log = device(DeviceClass::Mouse).takeCommandLog();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].command, 0x05);
}

TEST_F(MousePageTest, SelectingAProfilePastTheThirdUsesSlotTwoForTheBlockAndTheKeyTable) {
    ASSERT_TRUE(desktop->setPointerSpeed(7));
    ASSERT_TRUE(desktop->setWheelScrollLines(12));
    settings::MouseSettingsRecord record;
    record.setSlot(4); // a slot byte the file happened to carry
    record.setDpiCode(0, settings::codeOfIndex(14));
    record.setPointerSpeed(20); // the desktop's own values win over the file's
    record.setWheelLines(99);
    live().records[0] = record.bytes;
    for (std::size_t i = 0; i < 512; ++i) live().keyPages[0][i] = static_cast<std::uint8_t>(i * 7 + 3);
    const auto table = live().keyPages[0];

    mouse().selectDeviceProfile(4);
    settle();
    push();
    EXPECT_EQ(block().slot(), 2);
    auto& mouseDevice = device(DeviceClass::Mouse);
    EXPECT_EQ(mouseDevice.currentSlot(), 2) << "the mouse is on the slot its block is pushed to";
    EXPECT_EQ(deviceRecord(2)[15], settings::codeOfIndex(14)) << "the block at offset 128";
    const auto keys = mouseDevice.keyArea();
    ASSERT_GE(keys.size(), 512u);
    for (std::size_t i = 0; i < 252; ++i) ASSERT_EQ(keys[i], table[i]) << i;
    for (std::size_t i = 252; i < 512; ++i) ASSERT_EQ(keys[i], table[i - 252]) << i;
    EXPECT_EQ(page().slider("ms_point_speed_slider").value(), 2) << "speed 7 → 7 / 2 - 1";
    EXPECT_EQ(page().edit("ms_gunlun_speed_edit").text(), "12");
    EXPECT_EQ(page().slider("ms_DPI1_slider").value(), 14) << "the page shows the loaded record";
    EXPECT_TRUE(desktopReaches(7, 12));

    // The button pictures of the layout per slot.
    const struct {
        int profile;
        bool right, left;
    } layouts[] = {{0, true, false}, {1, false, true}, {2, true, true}};
    for (const auto& l : layouts) {
        mouse().selectDeviceProfile(l.profile);
        settle();
        EXPECT_EQ(page().find("ms_key_3").isVisible(), l.right) << l.profile;
        EXPECT_EQ(page().find("ms_key_4").isVisible(), l.right) << l.profile;
        EXPECT_EQ(page().find("ms_key_7").isVisible(), l.left) << l.profile;
        EXPECT_EQ(page().find("ms_key_8").isVisible(), l.left) << l.profile;
    }
}

class MouseResetTest : public MousePageTest {
protected:
    void writeDefault(std::string_view name, const std::vector<std::uint8_t>& payload,
                      bool goodMagic = true) {
        std::vector<std::uint8_t> bytes(16, 0);
        bytes[0] = goodMagic ? 0xAA : 0x00;
        bytes[1] = goodMagic ? 0x55 : 0x00;
        bytes[4] = 2;
        bytes.insert(bytes.end(), payload.begin(), payload.end());
        std::ofstream out(appFolder / std::string(name), std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
};

TEST_F(MouseResetTest, MissingOrDamagedDefaultsChangeNothing) {
    live().current[off::kBrightness] = 3;
    live().dirty = false;
    const auto before = live().current;
    for (auto reset : {&settings::pages::MousePage::resetDeviceProfile,
                       &settings::pages::MousePage::resetLightingProfile}) {
        for (auto name : {"msdevicedefault2.config", "msdengdefault.led"})
            std::filesystem::remove(appFolder / name);
        messages.clear();
        EXPECT_FALSE((mouse().*reset)());
        EXPECT_EQ(messages.textIds(), std::vector<std::string>{"message_text_8"});

        writeDefault("msdevicedefault2.config", std::vector<std::uint8_t>(576, 1), false);
        writeDefault("msdengdefault.led", std::vector<std::uint8_t>(64, 1), false);
        messages.clear();
        EXPECT_FALSE((mouse().*reset)());
        EXPECT_EQ(messages.textIds(), std::vector<std::string>{"message_text_9"});
        EXPECT_EQ(live().current, before);
        EXPECT_FALSE(live().dirty);
    }
}

TEST_F(MouseResetTest, DeviceResetLoadsTheDefaultAndWritesTheKeyTableUnshifted) {
    std::vector<std::uint8_t> payload(576, 0);
    const auto& table = settings::kDefaultKeyTables[2];
    std::copy(table.bytes.begin(), table.bytes.end(), payload.begin());
    settings::MouseSettingsRecord record;
    record.setSlot(2);
    record.setDpiCode(2, settings::codeOfIndex(14));
    std::copy(record.bytes.begin(), record.bytes.end(), payload.begin() + 512);
    writeDefault("msdevicedefault2.config", payload);

    page().combo("ms_device_profile_combo").select(-1);
    page().click("ms_pro_device_reset_btn"); // no list position selected: the third default
    EXPECT_TRUE(live().dirty);
    settle();
    EXPECT_EQ(live().keyPages[0], table.bytes);
    EXPECT_EQ(block().slot(), 2);
    EXPECT_EQ(block().dpiCode(2), settings::codeOfIndex(14));
    EXPECT_EQ(page().slider("ms_DPI3_slider").value(), 14);
    const auto keys = device(DeviceClass::Mouse).keyArea();
    EXPECT_TRUE(std::equal(table.bytes.begin(), table.bytes.end(), keys.begin()));
    EXPECT_EQ(page().slider("ms_point_speed_slider").value(), 4);
    EXPECT_EQ(page().edit("ms_gunlun_speed_edit").text(), "6");
    EXPECT_TRUE(desktopReaches(10, 6));
}

TEST_F(MouseResetTest, LightingResetKeepsTheSlotTheMouseIsOn) {
    std::vector<std::uint8_t> payload(64, 0);
    payload[off::kSlot] = 0;
    payload[off::kLightMode] = 2;
    payload[off::kBrightness] = 4;
    payload[off::kDpiCode5] = settings::codeOfIndex(50);
    writeDefault("msdengdefault.led", payload);
    live().current[off::kSlot] = 2;

    page().click("ms_pro_deng_reset_btn");
    EXPECT_EQ(desktop->wheelScrollLines(), 1) << "the wheel lines are set at once";
    EXPECT_EQ(block().slot(), 2);
    EXPECT_EQ(block().brightness(), 4);
    EXPECT_EQ(block().dpiCode(4), settings::codeOfIndex(50)) << "the default carries the whole block";
    EXPECT_EQ(page().slider("ms_deng_light_slider").value(), 4);
    EXPECT_EQ(page().slider("ms_point_speed_slider").value(), 5);
    EXPECT_EQ(page().edit("ms_gunlun_speed_edit").text(), "1");
    EXPECT_TRUE(desktopReaches(10, 1));
    push();
    EXPECT_EQ(deviceRecord(2)[off::kBrightness], 4);
}

} // namespace
} // namespace zq::test
