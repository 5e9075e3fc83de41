// The main window builds a page when it is first shown or looked at. Starting the pages builds none of
// the pages nobody opened, and a page built late shows what happened before it existed: the device
// profile's DPI levels and the desktop's values, the button layout, the macros and profiles as the files
// hold them.
#include "page_fixture.h"

#include "macros/macro_files.h"
#include "profiles/profile_category.h"
#include "settings/dpi_step_table.h"
#include "settings/host_mouse_rules.h"
#include "settings/mouse_settings_record.h"

#include <QWidget>

#include <string>
#include <vector>

namespace zq::test {
namespace {

// One control of each page the window builds on demand.
const std::vector<std::string> kPageProbes{
    "ms_report_fct_combo", // mouse performance
    "ms_key_3",            // mouse buttons
    "ms_MacroName_list",   // mouse macros
    "cursor_edit_layout",  // cursor paths
    "kb_key_fct_combo_23", // keyboard functions
    "kb_MacroName_list",   // keyboard macros
};

using PagesBuiltLate = PageFixture;

TEST_F(PagesBuiltLate, StartingThePagesBuildsNoneOfThem) {
    for (const std::string& probe : kPageProbes) EXPECT_FALSE(page().built(probe)) << probe;
}

// What `zq70ctl status` asks: answered from what the pages would be filled with, building none.
TEST_F(PagesBuiltLate, TheStatusOfListsNotBuiltYetBuildsNothing) {
    const auto folder = dataFolder() / "kb";
    std::filesystem::create_directories(folder);
    const std::vector<std::string> macros{"Reload"};
    ASSERT_TRUE(macros::rewriteMacroIndex(folder, macros::MacroFamily::Keyboard, macros));
    const profiles::pages::CategoryStatus keys = profilePages().status(profiles::ProfileCategory::MouseKeys);
    EXPECT_EQ(keys.names, std::vector<std::string>{"profile1"});
    EXPECT_EQ(keys.active, -1);
    EXPECT_EQ(macroPages().macroNames(device::DeviceClass::Keyboard), macros);
    for (const std::string& probe : kPageProbes) EXPECT_FALSE(page().built(probe)) << probe;

    // Built, the same answers.
    EXPECT_EQ(page().list("kb_MacroName_list").count(), 1);
    EXPECT_EQ(macroPages().macroNames(device::DeviceClass::Keyboard), macros);
    EXPECT_EQ(page().list("ms_key_profile_combo").count(), 1);
    EXPECT_EQ(profilePages().status(profiles::ProfileCategory::MouseKeys).names, keys.names);
}

TEST_F(PagesBuiltLate, AMousePageBuiltAfterTheProfileSelectionShowsIt) {
    ASSERT_FALSE(page().built("ms_report_fct_combo"));
    ASSERT_TRUE(hostMouse->setPointerSpeed(16));
    ASSERT_TRUE(hostMouse->setWheelScrollLines(7));
    // Position 1 of the device list: the button layout of slot 1, which has no right-side buttons.
    profilePages().select(profiles::ProfileCategory::MouseDevice, 1);
    settle();
    ASSERT_FALSE(page().built("ms_report_fct_combo")) << "the selection built the performance page";
    ASSERT_FALSE(page().built("ms_key_3")) << "the selection built the button page";

    settings::MouseSettingsBlock b;
    b.bytes = state.mouse.current;
    const int index = settings::sliderIndexOfCode(b.dpiCode(2));
    EXPECT_EQ(page().slider("ms_DPI3_slider").value(), index);
    EXPECT_EQ(page().label("ms_DPI3_label_value").text(), std::to_string(settings::dpiOfIndex(index)));
    EXPECT_EQ(page().slider("ms_point_speed_slider").value(), settings::sliderFromPointerSpeed(16));
    EXPECT_EQ(page().edit("ms_gunlun_speed_edit").text(), "7");

    QWidget* rightSide = page().find("ms_key_3").widget();
    ASSERT_NE(rightSide, nullptr);
    EXPECT_TRUE(rightSide->isHidden());
    EXPECT_FALSE(page().find("ms_key_7").widget()->isHidden());
}

TEST_F(PagesBuiltLate, MacroListsBuiltLateHoldWhatTheIndexHoldsThen) {
    using macros::MacroFamily;
    const auto folder = dataFolder() / "ms";
    std::filesystem::create_directories(folder);
    const std::vector<std::string> macros{"Reload", "Build"};
    ASSERT_TRUE(macros::rewriteMacroIndex(folder, MacroFamily::Mouse, macros));

    // The button page's macro list first, then the macro page: each from the index, nothing twice.
    ui::ListLike buttons = page().combo("ms_key_fct_combo_23");
    ASSERT_EQ(buttons.count(), 2);
    EXPECT_EQ(buttons.itemData(1), "Build");
    ui::ListLike names = page().list("ms_MacroName_list");
    ASSERT_EQ(names.count(), 2);
    EXPECT_EQ(names.itemData(0), "Reload");
    EXPECT_EQ(names.current(), 1); // the last one, as at start
    EXPECT_EQ(buttons.count(), 2);

    // Built now: a new macro reaches both lists once.
    page().click("ms_macro_btn_name_add");
    EXPECT_EQ(names.count(), 3);
    EXPECT_EQ(buttons.count(), 3);
}

TEST_F(PagesBuiltLate, AMacroAddedBeforeTheButtonPageIsBuiltIsListedThereOnce) {
    ui::ListLike names = page().list("ms_MacroName_list");
    ASSERT_FALSE(page().built("ms_key_fct_combo_23"));
    page().click("ms_macro_btn_name_add");
    ASSERT_EQ(names.count(), 1);
    ui::ListLike buttons = page().combo("ms_key_fct_combo_23");
    ASSERT_EQ(buttons.count(), 1);
    EXPECT_EQ(buttons.itemData(0), names.itemData(0));
}

} // namespace
} // namespace zq::test
