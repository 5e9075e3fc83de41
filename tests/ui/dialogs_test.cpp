// The message box, the about window and the colour dialog, run modally the way the program runs
// them; the tests act from inside the dialog's event loop instead of waiting.
#include "platform/debug.h"
#include "settings/preset_colours.h"
#include "shell/about_window.h"
#include "shell/message_box.h"
#include "shell/palette_dialog.h"
#include "ui/skin.h"
#include "ui_test_support.h"

#include <QCoreApplication>
#include <QDialog>
#include <QEvent>
#include <QLabel>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <regex>

namespace zq::shell {
namespace {

// The dialogs run on the facade's test skin and on the program's skin, which must have their layouts.
std::vector<std::string> skinsWith(const char* layout) {
    ui::Skin real(test::realSkinFolder());
    EXPECT_TRUE(real.ok() && real.layoutFile(layout)) << "the program's skin has no layout " << layout;
    return {test::testSkinFolder(), test::realSkinFolder()};
}

int answerWith(const ui::Skin& skin, const char* button) {
    MessageBox box(skin, nullptr, {"message_text_12", true, false, true});
    box.dialog().setOnShown([&] { box.dialog().page().click(button); });
    return box.exec();
}

TEST(MessageBox, ConfirmIsOneCancelAndCloseAreZero) {
    for (const auto& folder : skinsWith("XML_MSG")) {
        SCOPED_TRACE(folder);
        ui::Skin skin(folder);
        EXPECT_EQ(answerWith(skin, "confirm_btn"), 1);
        EXPECT_EQ(answerWith(skin, "cancel_btn"), 0);
        EXPECT_EQ(answerWith(skin, "CloseBtn"), 0);

        MessageBox byWindow(skin, nullptr, {"message_text_3", true, false});
        byWindow.dialog().setOnShown([&] { byWindow.dialog().window()->reject(); }); // the title bar's close
        EXPECT_EQ(byWindow.exec(), 0);
    }
}

TEST(MessageBox, ANoticeHasOneButtonAQuestionTwoAndALongTextMakesTheBoxTaller) {
    ui::Skin skin(test::realSkinFolder());
    auto shown = [](MessageBox& box, const char* name) {
        QWidget* w = box.dialog().page().find(name).widget();
        return w && !w->isHidden();
    };
    MessageBox notice(skin, nullptr, {"message_text_3", true, false});
    EXPECT_TRUE(shown(notice, "confirm_btn"));
    EXPECT_FALSE(shown(notice, "cancel_btn"));
    MessageBox question(skin, nullptr, {"message_text_12", true, false, true});
    EXPECT_TRUE(shown(question, "confirm_btn"));
    EXPECT_TRUE(shown(question, "cancel_btn"));

    // Twelve lines of text: nothing is cut, and the buttons stay below it.
    std::string longText;
    for (int i = 0; i < 12; ++i) longText += "sudo install -m 0644 70-zephran-q70.rules /etc/udev/rules.d\n";
    MessageBox tall(skin, nullptr, {longText, false, false});
    QWidget* text = tall.dialog().page().find("MessageText").widget();
    QWidget* ok = tall.dialog().page().find("confirm_btn").widget();
    ASSERT_TRUE(text && ok);
    EXPECT_GE(text->height(), text->heightForWidth(text->width()));
    EXPECT_GT(ok->y(), text->y() + text->height());
    EXPECT_GE(tall.dialog().window()->height(), ok->y() + ok->height());
    EXPECT_EQ(question.dialog().window()->height(), notice.dialog().window()->height())
        << "a short text keeps the layout's size";
}

// A line of a text of several lines that the box could show whole but that it breaks: a command broken
// after a "/" or a "-" is no longer one a user can type as shown. (A text of one paragraph wraps.)
bool breaksALineItCouldHold(const QLabel& label) {
    if (!label.text().contains(QLatin1Char('\n'))) return false;
    for (const QString& line : label.text().split(QLatin1Char('\n'))) {
        const int width = label.fontMetrics().horizontalAdvance(line.trimmed());
        if (width < MessageBox::kMaxTextWidth && width > label.width()) return true;
    }
    return false;
}

// Every message of the language file, as a notice and as a question: the whole text is inside the box
// (no line cut off at the bottom, no command broken at the right edge) and the buttons stand below it.
TEST(MessageBox, EveryMessageOfTheLanguageFileFitsItsBox) {
    ui::Skin skin(test::realSkinFolder());
    std::ifstream file(test::realSkinFolder() + "/lan_en.xml");
    ASSERT_TRUE(file) << "the program's skin has no lan_en.xml";
    const std::string xml((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    const std::regex messageId(R"re(id="(message_[A-Za-z0-9_]+)")re");
    int checked = 0;
    for (auto it = std::sregex_iterator(xml.begin(), xml.end(), messageId); it != std::sregex_iterator();
         ++it) {
        const std::string id = (*it)[1];
        for (const bool question : {false, true}) {
            SCOPED_TRACE(id + (question ? " as a question" : " as a notice"));
            MessageBox box(skin, nullptr, {id, true, false, question});
            auto* text = qobject_cast<QLabel*>(box.dialog().page().find("MessageText").widget());
            QWidget* title = box.dialog().page().find("MessageTitle").widget();
            QWidget* ok = box.dialog().page().find("confirm_btn").widget();
            ASSERT_TRUE(text && title && ok);
            EXPECT_GE(text->height(), text->heightForWidth(text->width()));
            EXPECT_FALSE(breaksALineItCouldHold(*text));
            EXPECT_LE(title->sizeHint().width(), title->width());
            EXPECT_GT(ok->y(), text->y() + text->height());
            EXPECT_GE(box.dialog().window()->height(), ok->y() + ok->height());
        }
        ++checked;
    }
    EXPECT_GE(checked, 20);

    // The device-rule message with the longest path the program names: the command stays whole.
    char filled[1024];
    std::snprintf(filled, sizeof filled, skin.text("message_permission").c_str(), "keyboard",
                  "/usr/local/lib/udev/rules.d/70-zephran-q70.rules");
    MessageBox box(skin, nullptr, {filled, false, false});
    auto* text = qobject_cast<QLabel*>(box.dialog().page().find("MessageText").widget());
    ASSERT_NE(text, nullptr);
    EXPECT_FALSE(breaksALineItCouldHold(*text));
    EXPECT_GE(text->height(), text->heightForWidth(text->width()));
    EXPECT_GE(box.dialog().window()->width(), text->x() + text->width());
    QWidget* ok = box.dialog().page().find("confirm_btn").widget();
    QWidget* close = box.dialog().page().find("closebtn").widget();
    ASSERT_TRUE(ok && close);
    EXPECT_EQ(box.dialog().window()->width() - (ok->x() + ok->width()), 16)
        << "OK keeps its place at the right";
    EXPECT_EQ(close->mapTo(box.dialog().window(), QPoint()).x() + close->width(),
              box.dialog().window()->width() - 12);
    EXPECT_TRUE(text->textInteractionFlags() & Qt::TextSelectableByMouse) << "the commands can be copied";
}

TEST(MessageBox, ShowsTheTextOfItsIdOrAReadyText) {
    ui::Skin skin(test::testSkinFolder());
    MessageBox byId(skin, nullptr, {"message_text_3", true, false});
    EXPECT_EQ(byId.dialog().page().find("MessageText").text(), "Finish the macro first.");
    EXPECT_EQ(byId.dialog().window()->windowTitle().toStdString(), "msgwnd");
    MessageBox ready(skin, nullptr, {"Profile name is empty", false, false});
    EXPECT_EQ(ready.dialog().page().find("MessageText").text(), "Profile name is empty");
}

TEST(MessageBox, TransientBoxClosesItselfOnItsFirstTick) {
    ui::Skin skin(test::testSkinFolder());
    MessageBox box(skin, nullptr, {ui::kTransientMessageId, true, true});
    bool sawTimer = false;
    box.dialog().setOnShown([&] {
        sawTimer = box.transientTimer().isActive() && box.transientTimer().interval() == 500 &&
                   box.transientTimer().isSingleShot();
        box.fireTransientTimer(); // what the timer does after 500 ms
    });
    EXPECT_EQ(box.exec(), 0);
    EXPECT_TRUE(sawTimer);
    EXPECT_FALSE(box.transientTimer().isActive());
    EXPECT_EQ(box.dialog().page().find("MessageText").text(), "Device removed.");
}

TEST(MessagePresenter, ScriptedDoubleRecordsIdsAndAnswers) {
    ui::ScriptedMessagePresenter messages;
    messages.answer(1);
    EXPECT_EQ(messages.showMessage("message_text_4"), 1);
    EXPECT_EQ(messages.showMessage("message_text_5"), 0); // default answer: no
    EXPECT_EQ(messages.showTransientMessage(), 0);
    EXPECT_EQ(messages.textIds(),
              (std::vector<std::string>{"message_text_4", "message_text_5", "message_text_20"}));
}

TEST(AboutWindow, LinkOpensTheHomePageAndCloseClosesTheWindow) {
    for (const auto& folder : skinsWith("CopyRight.xml")) {
        SCOPED_TRACE(folder);
        ui::Skin skin(folder);
        std::vector<QUrl> opened;
        PageDialog* about = openAboutWindow(skin, nullptr, [&](const QUrl& url) { opened.push_back(url); });
        QPointer<QDialog> window = about->window();
        ASSERT_TRUE(window);
        EXPECT_TRUE(window->isVisible());
        EXPECT_FALSE(window->isModal());
        about->page().click("NetText");
        ASSERT_EQ(opened.size(), 1u);
        // The address the layout shows is the one opened.
        const std::string shown = about->page().find("NetText").text();
        EXPECT_NE(opened[0].host().toStdString(), "");
        EXPECT_NE(shown.find(opened[0].host().toStdString()), std::string::npos) << shown;
        about->page().click("closebtn");
        EXPECT_FALSE(window->isVisible());
        QCoreApplication::processEvents(); // the window and its page go once closed
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(window.isNull());
    }
}

TEST(PaletteDialog, SwatchTwentyOneThenOkGivesBlack) {
    for (const auto& folder : skinsWith("GmPalletDialog.xml")) {
        SCOPED_TRACE(folder);
        ui::Skin skin(folder);
        platform::clearDebugLines();
        PaletteDialog dialog(skin, 0xFF0199CB, nullptr);
        dialog.dialog().setOnShown([&] {
            dialog.dialog().page().click("ms_dpi_color_png_21");
            EXPECT_EQ(dialog.dialog().page().find("color_show_btn").bkColor(), 0xFF000000u);
            EXPECT_EQ(dialog.dialog().page().palette("Pallet").colour(), 0xFF000000u);
            dialog.dialog().page().click("okbtn");
        });
        EXPECT_EQ(dialog.exec(), PaletteDialog::kOk);
        EXPECT_EQ(dialog.chosenColour(), 0xFF000000u);
        EXPECT_TRUE(platform::debugContains("hongse"));
    }
}

TEST(PaletteDialog, CancelOrCloseLeavesTheOpenersColour) {
    ui::Skin skin(test::testSkinFolder());
    for (const char* how : {"closebtn", "window"}) {
        SCOPED_TRACE(how);
        PaletteDialog dialog(skin, 0xFF0199CB, nullptr);
        EXPECT_EQ(dialog.dialog().page().find("color_show_btn").bkColor(), 0xFF0199CBu); // starts from it
        dialog.dialog().setOnShown([&] {
            dialog.dialog().page().click("ms_dpi_color_png_3");
            if (std::string(how) == "window")
                dialog.dialog().window()->reject();
            else
                dialog.dialog().page().click(how);
        });
        EXPECT_EQ(dialog.exec(), PaletteDialog::kCancelled);
        EXPECT_EQ(dialog.chosenColour(), 0xFF0199CBu);
    }
}

TEST(PaletteDialog, PickingInThePaletteShowsInThePreview) {
    ui::Skin skin(test::testSkinFolder());
    PaletteDialog dialog(skin, 0xFF0199CB, nullptr);
    ui::Page& page = dialog.dialog().page();
    page.palette("Pallet").setColour(0xFF21B309, ui::Notify::Yes); // as if picked
    EXPECT_EQ(page.find("color_show_btn").bkColor(), 0xFF21B309u);
}

TEST(PaletteDialog, OnlyTheThirtySwatchesAreSwatches) {
    const struct {
        const char* name;
        std::optional<std::size_t> index;
    } cases[] = {{"ms_dpi_color_png_0", 0},
                 {"MS_DPI_COLOR_PNG_29", 29},
                 {"ms_dpi_color_png_30", std::nullopt},
                 {"ms_dpi_color_png_-1", std::nullopt},
                 {"ms_dpi_color_png_", std::nullopt},
                 {"ms_dpi_color_png_2x", std::nullopt},
                 {"ms_Deng_color_btn_2", std::nullopt}};
    for (const auto& c : cases) EXPECT_EQ(PaletteDialog::swatchIndex(c.name), c.index) << c.name;
    EXPECT_EQ(settings::kPresetColours[21], 0xFF000000u);
}

} // namespace
} // namespace zq::shell
