// What a layout gives its controls takes effect when it is loaded, with no code setting it again:
// pictures, colours, column headers, user data and the pictures of the device key buttons.
#include "ui/page.h"
#include "ui/skin.h"
#include "ui_test_support.h"

#include <QImage>
#include <QTreeWidget>
#include <QWidget>
#include <gtest/gtest.h>

namespace zq::ui {
namespace {

QColor centreOf(QWidget* w) {
    const QImage image = w->grab().toImage();
    return image.pixelColor(image.width() / 2, image.height() / 2);
}

class PageLayoutLooks : public ::testing::Test {
protected:
    Skin skin{test::testSkinFolder()};
    Page page{skin, "Looks.xml"};
    void SetUp() override {
        ASSERT_TRUE(skin.ok()) << skin.error();
        ASSERT_TRUE(page.ok()) << page.error();
        page.root()->setStyleSheet(QString::fromStdString(skin.styleSheet()));
        page.root()->setAttribute(Qt::WA_DontShowOnScreen);
        page.root()->show();
    }
};

TEST_F(PageLayoutLooks, PictureAndColourOfTheLayoutArePainted) {
    // The picture is an SVG file named in res.xml: it has to be found and drawn.
    EXPECT_EQ(centreOf(page.find("picture").widget()), QColor(0x20, 0xC0, 0x40));
    EXPECT_EQ(page.find("picture").bkImage(), "common/square.png");
    EXPECT_EQ(centreOf(page.find("swatch").widget()), QColor(0x12, 0x34, 0x56));
    EXPECT_EQ(page.find("swatch").bkColor(), 0xFF123456u);
    // A later change by code replaces the layout's colour rather than adding to it.
    page.button("swatch").setBkColor(0xFF654321);
    EXPECT_EQ(centreOf(page.find("swatch").widget()), QColor(0x65, 0x43, 0x21));
}

TEST_F(PageLayoutLooks, HeaderTextIdsResolveAndFollowALanguageReload) {
    auto* tree = qobject_cast<QTreeWidget*>(page.find("actions").widget());
    ASSERT_NE(tree, nullptr);
    EXPECT_EQ(tree->headerItem()->text(0), "Name");
    EXPECT_EQ(tree->headerItem()->text(1), "Delay");
    ASSERT_FALSE(skin.reloadTexts("lan_other.xml").has_value());
    EXPECT_EQ(tree->headerItem()->text(0), "Nom");
    EXPECT_EQ(tree->headerItem()->text(1), "Pause");
    ASSERT_FALSE(skin.reloadTexts("lan_en.xml").has_value());
}

TEST_F(PageLayoutLooks, UserDataAndKeyButtonPicturesComeFromTheLayout) {
    EXPECT_EQ(page.find("menu_item").userData(), "lan_en");
    QWidget* key = page.find("KB_KEY_7").widget();
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(key->property("lightimage").toString(), "common/square.png");
    EXPECT_EQ(key->property("keysetimage").toString(), "ms/key_left_down.png");
    // Lit, the key shows its light picture tinted with the light colour.
    page.find("kb_key_7").setLight(0xFF0000, 255, true);
    const QColor lit = centreOf(key);
    EXPECT_GT(lit.red(), 200);
    EXPECT_LT(lit.green(), 60);
}

TEST_F(PageLayoutLooks, KeyPicturesComeFromTheSkinOfTheirPageWhateverSkinOpensLater) {
    // The light picture covers the whole key, corners included; the glow drawn without one does not.
    QWidget* key = page.find("kb_key_7").widget();
    page.find("kb_key_7").setLight(0xFF0000, 255, true);
    const auto corner = [key] { return key->grab().toImage().pixelColor(0, 0); };
    EXPECT_EQ(corner(), QColor(0xFF, 0, 0));
    // Another skin, without that picture, opened while the page lives; a new size draws the key anew.
    const Skin other(test::testSkinFolder() + "/images");
    key->resize(44, 44);
    EXPECT_EQ(corner(), QColor(0xFF, 0, 0));
}

} // namespace
} // namespace zq::ui
