// The main window's tab navigation on the real skin, and the first-run state the tour renders.
#include "shell/first_run_view.h"
#include "shell/led_preview.h"
#include "shell/navigation.h"
#include "ui/page.h"
#include "ui/skin.h"
#include "ui_test_support.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

namespace zq::shell {
namespace {

class UiNavigation : public ::testing::Test {
protected:
    ui::Skin skin{test::realSkinFolder()};
    ui::Page main{skin, "XML_MAIN"};
    Navigation nav{main};
    int unrouted = 0;
    void SetUp() override {
        ASSERT_TRUE(main.ok()) << main.error();
        main.setHandler([this](const ui::Notification& n) {
            if (!nav.follow(n)) ++unrouted;
        });
    }
    int page(const char* tabs) const { return main.tabs(tabs).current(); }
    bool selected(const char* option) const { return main.option(option).selected(); }
};

TEST_F(UiNavigation, DeviceTabsSelectTheirPageAndOnlyTheirButtonShowsSelected) {
    const struct {
        const char* tab;
        int page;
    } cases[] = {{"kb_tab", 0}, {"MP_TAB", 2}, {"ms_tab", 1}};
    for (const auto& c : cases) {
        nav.select(c.tab);
        EXPECT_EQ(page("tab_switch"), c.page) << c.tab;
        for (const char* other : {"kb_tab", "ms_tab", "mp_tab"})
            EXPECT_EQ(selected(other), ui::toLower(other) == ui::toLower(c.tab)) << c.tab << " / " << other;
    }
    EXPECT_EQ(unrouted, 0);
}

TEST_F(UiNavigation, KeyboardOptionsShareTheSettingsPageAndTheMacroPageLocksTheProfiles) {
    nav.select("kb_tab");
    nav.select("kb_macro_Op_tab");
    EXPECT_EQ(page("kb_tab_switch"), 1);
    EXPECT_FALSE(main.find("kb_profile_select_tab").isEnabled());
    EXPECT_FALSE(main.find("kb_deng_profile_edit").isEnabled());

    main.find("kb_tab_function").setVisible(true); // a key was being edited before
    nav.select("kb_key_Op_tab");
    EXPECT_EQ(page("kb_tab_switch"), 2);
    EXPECT_FALSE(main.find("kb_deng_layout").isVisible());
    EXPECT_TRUE(main.find("kb_tab_key_seting").isVisible());
    EXPECT_FALSE(main.find("kb_tab_function").isVisible()); // coming from another page: no key chosen
    EXPECT_TRUE(main.find("kb_profile_select_tab").isEnabled());

    nav.select("kb_deng_Op_tab");
    EXPECT_EQ(page("kb_tab_switch"), 2);
    EXPECT_TRUE(main.find("kb_deng_layout").isVisible());
    EXPECT_FALSE(main.find("kb_tab_key_seting").isVisible());
    EXPECT_TRUE(selected("kb_deng_Op_tab"));
    EXPECT_FALSE(selected("kb_key_Op_tab"));
    EXPECT_FALSE(selected("kb_macro_Op_tab"));
}

TEST_F(UiNavigation, MouseOptionsSelectTheirPages) {
    const struct {
        const char* option;
        int page;
        bool profileEditEnabled;
    } cases[] = {{"ms_macro_Op_tab", 1, false},
                 {"ms_rich_Op_tab", 3, true},
                 {"ms_cursor_Op_tab", 4, false},
                 {"ms_key_Op_tab", 2, true},
                 {"ms_deng_Op_tab", 0, true}};
    for (const auto& c : cases) {
        nav.select(c.option);
        EXPECT_EQ(page("ms_tab_switch"), c.page) << c.option;
        EXPECT_EQ(main.find("ms_device_profile_edit").isEnabled(), c.profileEditEnabled) << c.option;
        for (const std::string& other : Navigation::optionTabs("ms_tab"))
            EXPECT_EQ(selected(other.c_str()), other == c.option) << c.option << " / " << other;
    }
}

TEST_F(UiNavigation, KeysTabOnTheKeysPageDoesNotShowTheFunctionEditorAgain) {
    nav.select("ms_key_Op_tab");
    EXPECT_TRUE(main.find("ms_tab_function").isVisible());
    main.find("ms_tab_function").setVisible(false);
    // The button is still selected: a "selectchanged" for it again (as the macro guard raises) keeps the
    // page.
    main.raise({ui::notify::kSelectChanged, "ms_key_Op_tab", 1, 0});
    EXPECT_EQ(page("ms_tab_switch"), 2);
    EXPECT_FALSE(main.find("ms_tab_function").isVisible());
}

TEST_F(UiNavigation, OtherNotificationsAreLeftToTheCaller) {
    EXPECT_FALSE(nav.follow({ui::notify::kSelectChanged, "ms_Deng_7color_check", 1, 0}));
    EXPECT_FALSE(nav.follow({ui::notify::kClick, "ms_tab", 0, 0}));
    const int before = page("tab_switch");
    // A deselected tab button reports too and moves nothing.
    EXPECT_TRUE(nav.follow({ui::notify::kSelectChanged, "kb_tab", 0, 0}));
    EXPECT_EQ(page("tab_switch"), before);
}

TEST(UiLedPreview, EnginePackingBecomesRgb) {
    const struct {
        std::uint32_t packed, rgb;
    } cases[] = {{0x0000FF, 0xFF0000}, {0xFF0000, 0x00FF00}, {0x00FF00, 0x0000FF}, {0x8040C0, 0xC08040}};
    for (const auto& c : cases) EXPECT_EQ(previewToRgb(c.packed), c.rgb) << std::hex << c.packed;
}

TEST(UiFirstRunView, MouseListsFromTheDefaultFilesAndEveryLedLit) {
    ui::Skin skin(test::realSkinFolder());
    ui::Page main(skin, "XML_MAIN");
    ASSERT_TRUE(main.ok());
    QTemporaryDir scratch;
    ASSERT_TRUE(scratch.isValid());
    const auto problems = showFirstRunState(main, skin, std::filesystem::path(scratch.path().toStdString()));
    EXPECT_TRUE(problems.empty()) << problems.front();

    ui::ListLike devices = main.list("ms_device_profile_combo");
    ASSERT_EQ(devices.count(), 3);
    EXPECT_EQ(devices.current(), 0);
    EXPECT_EQ(devices.itemText(0), skin.text("ms_right_text")); // shown by its text id
    EXPECT_EQ(main.edit("ms_device_profile_name_edit").text(), devices.itemText(0));
    EXPECT_GE(main.list("ms_deng_profile_combo").count(), 1);
    EXPECT_GE(main.list("ms_key_profile_combo").count(), 1);

    // The factory lighting is a rainbow wave: every LED lit, and not all in one colour.
    for (const auto& [prefix, count] : {std::pair{"ms_dkey_", 20}, {"mp_dkey_", 15}}) {
        std::set<std::uint32_t> colours;
        for (int i = 0; i < count; ++i) {
            ui::Control led = main.find(prefix + std::to_string(i));
            EXPECT_TRUE(led.lit()) << prefix << i;
            EXPECT_GT(led.changerAlpha(), 0) << prefix << i;
            colours.insert(led.changerColor());
        }
        EXPECT_GT(colours.size(), 3u) << prefix;
    }
    EXPECT_TRUE(main.find("kb_key_0").lit());
}

} // namespace
} // namespace zq::shell
