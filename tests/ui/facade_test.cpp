// The toolkit facade on a small layout of every control kind: names, notifications, texts, lists.
#include "ui/page.h"
#include "ui/palette_widget.h"
#include "ui/skin.h"
#include "ui_test_support.h"

#include <QAbstractSlider>
#include <QComboBox>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

namespace zq::ui {
namespace {

using test::Recorder;

class FacadeTest : public ::testing::Test {
protected:
    Skin skin{test::testSkinFolder()};
    Page page{skin, "xml_main"}; // resource names too are matched without regard to case
    Recorder rec;
    void SetUp() override {
        ASSERT_TRUE(skin.ok()) << skin.error();
        ASSERT_TRUE(page.ok()) << page.error();
        page.root()->show();
        rec.attach(page);
    }
};

TEST_F(FacadeTest, NamesMatchWithoutRegardToCaseAndMissingNamesGiveNullControls) {
    for (const char* spelling : {"ms_DPI3_slider", "MS_DPI3_SLIDER", "ms_dpi3_slider"}) {
        Control c = page.find(spelling);
        ASSERT_TRUE(c.exists()) << spelling;
        EXPECT_EQ(c.name(), "ms_DPI3_slider"); // the sender keeps the layout's spelling
        EXPECT_EQ(c.kind(), "QSlider");
    }
    Slider missing = page.slider("ms_DPI9_slider");
    EXPECT_FALSE(missing.exists());
    missing.setValue(3, Notify::Yes); // every operation on a null control does nothing
    missing.setVisible(false);
    EXPECT_EQ(missing.value(), 0);
    EXPECT_TRUE(rec.seen.empty());
    // A control of a sub-layout is found through the main page.
    EXPECT_EQ(page.find("DPI_value_label").text(), "1600");
}

TEST_F(FacadeTest, OptionSelectedWithAndWithoutNotification) {
    Option check = page.option("ms_Deng_7color_check");
    check.setSelected(true);
    EXPECT_TRUE(check.selected());
    EXPECT_TRUE(rec.seen.empty());
    check.setSelected(false, Notify::Yes);
    ASSERT_EQ(rec.seen.size(), 1u);
    EXPECT_EQ(rec.seen[0].type, "selectchanged");
    EXPECT_EQ(rec.seen[0].sender, "ms_Deng_7color_check");
    EXPECT_EQ(rec.seen[0].wParam, 0);
    check.setSelected(false, Notify::Yes); // no change, no notification
    EXPECT_EQ(rec.seen.size(), 1u);
}

TEST_F(FacadeTest, UserClickOnOptionsRaisesClickThenSelectChangedOnlyOnAChange) {
    page.click("kb_tab");
    EXPECT_EQ(rec.types(), (std::vector<std::string>{"click", "selectchanged"}));
    EXPECT_EQ(rec.seen[1].sender, "kb_tab");
    EXPECT_EQ(rec.seen[1].wParam, 1);
    EXPECT_FALSE(page.option("ms_tab").selected()); // the group went along, silently
    rec.seen.clear();
    page.click("KB_TAB"); // selected already: a click, no change
    EXPECT_EQ(rec.types(), (std::vector<std::string>{"click"}));
    rec.seen.clear();
    page.click("ms_Deng_7color_check"); // check boxes report both directions
    page.click("ms_Deng_7color_check");
    EXPECT_EQ(rec.count("selectchanged"), 2);
    EXPECT_EQ(rec.seen.back().wParam, 0);
}

TEST_F(FacadeTest, ItemSelectOnlyWhenTheCurrentItemChanges) {
    for (const char* name : {"ms_report_fct_combo", "ms_MacroName_list"}) {
        SCOPED_TRACE(name);
        rec.seen.clear();
        ListLike list = page.list(name);
        if (list.count() == 0)
            for (const char* t : {"a", "b", "c", "d"}) list.add(t);
        list.select(1);
        EXPECT_TRUE(rec.seen.empty());
        list.select(2, Notify::Yes);
        list.select(2, Notify::Yes);
        ASSERT_EQ(rec.seen.size(), 1u);
        EXPECT_EQ(rec.seen[0].type, "itemselect");
        EXPECT_EQ(rec.seen[0].wParam, 2);
        EXPECT_EQ(rec.seen[0].lParam, 1);
        list.select(7, Notify::Yes); // out of range: nothing changes
        EXPECT_EQ(list.current(), 2);
        EXPECT_EQ(rec.seen.size(), 1u);
    }
}

TEST_F(FacadeTest, UserSelectionInACombo) {
    auto* combo = qobject_cast<QComboBox*>(page.find("ms_report_fct_combo").widget());
    page.combo("ms_report_fct_combo").select(1); // silent, but remembered as the old index
    combo->setCurrentIndex(3);                   // as the user's choice arrives
    ASSERT_EQ(rec.seen.size(), 1u);
    EXPECT_EQ(rec.seen[0].type, "itemselect");
    EXPECT_EQ(rec.seen[0].wParam, 3);
    EXPECT_EQ(rec.seen[0].lParam, 1);
}

TEST_F(FacadeTest, ListItemsTextDataHeightAndStyle) {
    ListLike list = page.list("ms_MacroName_list");
    EXPECT_EQ(list.add("first", "one"), 0);
    EXPECT_EQ(list.add("third", "three"), 1);
    list.insert(1, "second", "two");
    EXPECT_EQ(list.count(), 3);
    EXPECT_EQ(list.itemText(1), "second");
    EXPECT_EQ(list.itemData(2), "three");
    list.setItemText(0, "renamed");
    list.setRowHeight(0, 32);
    list.setItemStyle(0, "listex_item_style");
    EXPECT_EQ(list.itemText(0), "renamed");
    EXPECT_EQ(list.rowHeight(0), 32);
    EXPECT_EQ(list.itemStyle(0), "listex_item_style");
    list.select(2);
    list.remove(0);
    EXPECT_EQ(list.current(), 1);
    list.remove(5); // out of range: ignored
    EXPECT_EQ(list.count(), 2);
    list.clear();
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(list.current(), -1);
    EXPECT_TRUE(rec.seen.empty());

    auto* widget = qobject_cast<QListWidget*>(list.widget());
    list.add("x");
    list.add("y");
    QTest::mouseClick(widget->viewport(), Qt::LeftButton, {},
                      widget->visualItemRect(widget->item(1)).center());
    EXPECT_EQ(rec.count("itemselect"), 1);
    ASSERT_EQ(rec.count("itemclick"), 1);
    EXPECT_EQ(rec.seen.back().wParam, 1);
}

TEST_F(FacadeTest, RowsWithTextColumns) {
    ListLike rows = page.list("ms_macro_action");
    rows.add("A down");
    rows.setCellText(0, 1, "50 ms");
    rows.setCellText(0, 7, "ignored");
    EXPECT_EQ(rows.columnCount(), 3);
    EXPECT_EQ(rows.cellText(0, 0), "A down");
    EXPECT_EQ(rows.cellText(0, 1), "50 ms");
    EXPECT_EQ(rows.cellText(0, 7), "");
}

TEST_F(FacadeTest, SliderMovesWhileDraggedAndChangesOnRelease) {
    Slider slider = page.slider("ms_DPI3_slider");
    slider.setValue(10);
    EXPECT_TRUE(rec.seen.empty());
    auto* qs = qobject_cast<QAbstractSlider*>(slider.widget());
    qs->setSliderDown(true);
    qs->setValue(12);
    qs->setValue(14);
    qs->setSliderDown(false);
    EXPECT_EQ(rec.types(),
              (std::vector<std::string>{"movevaluechanged", "movevaluechanged", "valuechanged"}));
    EXPECT_EQ(rec.seen.back().wParam, 14);
    EXPECT_EQ(rec.seen.back().sender, "ms_DPI3_slider");
    rec.seen.clear();
    qs->triggerAction(QAbstractSlider::SliderSingleStepAdd); // keyboard step: settles at once
    EXPECT_EQ(rec.types(), (std::vector<std::string>{"valuechanged"}));
    rec.seen.clear();
    slider.setValue(20, Notify::Yes);
    EXPECT_EQ(rec.types(), (std::vector<std::string>{"valuechanged"}));
    slider.setRange(0, 5);
    EXPECT_EQ(slider.value(), 5);
}

TEST_F(FacadeTest, EditTextFocusAndHover) {
    Edit edit = page.edit("ms_gunlun_speed_edit");
    edit.setText("3");
    EXPECT_TRUE(rec.seen.empty());
    edit.setText("4", Notify::Yes);
    EXPECT_EQ(rec.types(), (std::vector<std::string>{"textchanged"}));
    rec.seen.clear();
    QTest::keyClicks(edit.widget(), "5");
    EXPECT_EQ(rec.types(), (std::vector<std::string>{"textchanged"}));
    EXPECT_EQ(edit.text(), "45");
    rec.seen.clear();
    QFocusEvent in(QEvent::FocusIn), out(QEvent::FocusOut);
    QCoreApplication::sendEvent(edit.widget(), &in);
    QCoreApplication::sendEvent(edit.widget(), &out);
    page.hover("ms_plain_btn", true);
    page.hover("ms_plain_btn", false);
    EXPECT_EQ(rec.types(), (std::vector<std::string>{"setfocus", "killfocus", "msenter", "msleave"}));
    edit.setMaxLength(2);
    edit.setText("12345");
    EXPECT_EQ(edit.text(), "12");
}

TEST_F(FacadeTest, TextIdsResolveAndResolveAgainAfterAReload) {
    Control title = page.find("Title_Label");
    EXPECT_EQ(title.text(), "Title"); // from the layout's textId
    EXPECT_EQ(title.toolTip(), "A hint");
    Control button = page.find("ms_plain_btn");
    button.setTextId("hint_text");
    EXPECT_EQ(button.text(), "A hint");
    page.find("DPI_value_label").setTextId("no_such_text");
    EXPECT_EQ(page.find("DPI_value_label").text(), "no_such_text");

    ASSERT_FALSE(skin.reloadTexts("lan_other.xml").has_value());
    EXPECT_EQ(title.text(), "Another title");
    EXPECT_EQ(title.toolTip(), "Another hint");
    EXPECT_EQ(button.text(), "Another hint");
    button.setText("plain"); // a plain text is no longer an id: a reload leaves it
    ASSERT_FALSE(skin.reloadTexts("lan_en.xml").has_value());
    EXPECT_EQ(button.text(), "plain");
    EXPECT_EQ(title.text(), "Title");
    EXPECT_TRUE(skin.reloadTexts("missing.xml").has_value());
    EXPECT_EQ(skin.text("title_text"), "Title"); // a failed reload keeps the texts
}

TEST_F(FacadeTest, ButtonLooksAndUserData) {
    Control button = page.find("ms_plain_btn");
    button.setBkColor(0xFF112233);
    button.setBorder(2);
    button.setBkImage("file='ms/key_left_down.png'");
    button.setUserData("common/background.png");
    EXPECT_EQ(button.bkColor(), 0xFF112233u);
    EXPECT_EQ(button.borderWidth(), 2);
    EXPECT_EQ(button.userData(), "common/background.png");
    const QString sheet = button.widget()->styleSheet();
    EXPECT_TRUE(sheet.contains("rgba(17,34,51,255)")) << sheet.toStdString();
    EXPECT_TRUE(sheet.contains("images/dot.svg")) << sheet.toStdString();
    button.setBorder(0);
    EXPECT_TRUE(button.widget()->styleSheet().contains("border:none")) << sheet.toStdString();
}

TEST_F(FacadeTest, TabsAndVisibility) {
    Tabs tabs = page.tabs("ms_tab_switch");
    EXPECT_EQ(tabs.count(), 2);
    tabs.selectPage(1);
    EXPECT_EQ(tabs.current(), 1);
    tabs.selectPage(4);
    EXPECT_EQ(tabs.current(), 1);
    Control c = page.find("ms_plain_btn");
    c.setVisible(false);
    c.setEnabled(false);
    EXPECT_FALSE(c.isVisible());
    EXPECT_FALSE(c.isEnabled());
    page.click("ms_plain_btn"); // a disabled button cannot be clicked
    EXPECT_TRUE(rec.seen.empty());
}

TEST_F(FacadeTest, PaletteReportsTheUsersPickAndKeepsAnExactColour) {
    Palette palette = page.palette("ms_deng_Color_Pallet");
    palette.setColour(0xFF0199CB);
    EXPECT_EQ(palette.colour(), 0xFF0199CBu);
    EXPECT_TRUE(rec.seen.empty());
    palette.widget()->resize(120, 60);
    QTest::mouseClick(palette.widget(), Qt::LeftButton, {}, QPoint(5, 5));
    ASSERT_EQ(rec.count("colorchanged"), 1);
    EXPECT_EQ(static_cast<std::uint32_t>(rec.seen.back().wParam), palette.colour());
    EXPECT_NE(palette.colour(), 0xFF0199CBu);
}

TEST_F(FacadeTest, LightOverlayOnAPlainWidgetShowsAsItsBackground) {
    Control plain = page.find("ms_plain_btn");
    plain.setLight(0x00FF00, 128, true);
    EXPECT_TRUE(plain.lit());
    EXPECT_EQ(plain.changerColor(), 0x00FF00u);
    EXPECT_TRUE(plain.widget()->styleSheet().contains("rgba(0,255,0,128)"));
    plain.setChangerAlpha(0);
    EXPECT_FALSE(plain.widget()->styleSheet().contains("rgba(0,255,0"));
}

TEST(PageLoading, MissingOrLoopingLayoutsFailCleanly) {
    Skin skin(test::testSkinFolder());
    Page missing(skin, "Nowhere.xml");
    EXPECT_FALSE(missing.ok());
    EXPECT_NE(missing.error().find("Nowhere.xml"), std::string::npos);
    EXPECT_FALSE(missing.find("anything").exists());
    Page loop(skin, "Loop.xml");
    EXPECT_FALSE(loop.ok());
    EXPECT_NE(loop.error().find("includes itself"), std::string::npos);

    Skin none("/nonexistent/skin");
    EXPECT_FALSE(none.ok());
}

TEST(PageLoading, ControlsOfADestroyedPageBecomeNull) {
    Skin skin(test::testSkinFolder());
    Control kept;
    {
        Page page(skin, "XML_MAIN");
        kept = page.find("ms_plain_btn");
        EXPECT_TRUE(kept.exists());
    }
    EXPECT_FALSE(kept.exists());
    kept.setText("no crash");
}

} // namespace
} // namespace zq::ui
