// The program's skin against the names the pages use: every layout loads, every listed control is
// there with a kind that supports what the pages do with it, every text id the layouts hold resolves.
#include "shell/controls/circle_progress.h"
#include "shell/controls/device_key_button.h"
#include "ui/page.h"
#include "ui/palette_widget.h"
#include "ui/skin.h"
#include "ui_test_support.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>

namespace zq::ui {
namespace {

class RealSkin : public ::testing::Test {
protected:
    void SetUp() override {
        skin = std::make_unique<Skin>(test::realSkinFolder());
        ASSERT_TRUE(skin->ok()) << "the program's skin does not load: " << skin->error();
    }
    Page& page(const std::string& layout) {
        auto& slot = pages[toLower(layout)];
        if (!slot) slot = std::make_unique<Page>(*skin, layout);
        return *slot;
    }
    std::unique_ptr<Skin> skin;
    std::map<std::string, std::unique_ptr<Page>> pages;
};

// Whether a widget can do what the pages do with a control of the required kind. The kind is a
// facade kind ("option", "combo", ...) or a Qt class name the widget must be or inherit.
bool supports(QWidget* w, const std::string& required) {
    const std::string kind = toLower(required);
    if (kind == "option" || kind == "check") {
        auto* b = qobject_cast<QAbstractButton*>(w);
        return b && b->isCheckable();
    }
    if (kind == "button") return qobject_cast<QAbstractButton*>(w);
    if (kind == "combo") return qobject_cast<QComboBox*>(w);
    if (kind == "list")
        return qobject_cast<QComboBox*>(w) || qobject_cast<QListWidget*>(w) || qobject_cast<QTreeWidget*>(w);
    if (kind == "rows") return qobject_cast<QTreeWidget*>(w);
    if (kind == "edit") return qobject_cast<QLineEdit*>(w);
    if (kind == "slider") return qobject_cast<QAbstractSlider*>(w);
    if (kind == "label")
        return qobject_cast<QLabel*>(w) || qobject_cast<QAbstractButton*>(w) || qobject_cast<QLineEdit*>(w);
    if (kind == "tabs" || kind == "tab")
        return qobject_cast<QStackedWidget*>(w) || qobject_cast<QTabWidget*>(w);
    if (kind == "palette") return qobject_cast<PaletteWidget*>(w);
    if (kind == "keybutton" || kind == "devicekeybutton") return qobject_cast<controls::DeviceKeyButton*>(w);
    if (kind == "progress" || kind == "circleprogress") return qobject_cast<controls::CircleProgress*>(w);
    if (kind == "layout" || kind == "control" || kind == "any") return w != nullptr;
    // A class name: the widget is that class or derives from it.
    for (const QMetaObject* m = w->metaObject(); m; m = m->superClass()) {
        const std::string cls = toLower(m->className());
        if (cls == kind || cls.ends_with("::" + kind)) return true;
    }
    return false;
}

TEST_F(RealSkin, EveryLayoutOfTheIndexLoads) {
    ASSERT_TRUE(skin->layoutFile("XML_MAIN").has_value());
    for (const auto& name : skin->layoutNames()) {
        EXPECT_TRUE(page(name).ok()) << name << ": " << page(name).error();
    }
}

TEST_F(RealSkin, EveryListedControlExistsWithAFittingKind) {
    std::ifstream list(std::string(ZQ_SOURCE_DIR) + "/tests/data/control_names.tsv");
    ASSERT_TRUE(list) << "tests/data/control_names.tsv is missing";
    std::string line;
    int checked = 0;
    while (std::getline(list, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        std::string layout, name, kind;
        std::getline(fields, layout, '\t');
        std::getline(fields, name, '\t');
        std::getline(fields, kind, '\t');
        if (toLower(layout) == "layout" && toLower(name) == "name") continue; // heading
        Page& p = page(layout);
        if (!p.ok()) {
            ADD_FAILURE() << layout << " does not load: " << p.error();
            continue;
        }
        Control c = p.find(name);
        if (!c.exists()) {
            ADD_FAILURE() << layout << ": no control named " << name;
            continue;
        }
        if (!kind.empty()) {
            EXPECT_TRUE(supports(c.widget(), kind))
                << layout << ": " << name << " is a " << c.kind() << ", not a " << kind;
        }
        ++checked;
    }
    EXPECT_GT(checked, 0);
}

TEST_F(RealSkin, EveryTextIdInTheLayoutsResolves) {
    for (const auto& name : skin->layoutNames()) {
        Page& p = page(name);
        if (!p.ok()) continue;
        QList<QWidget*> all = p.root()->findChildren<QWidget*>();
        all.prepend(p.root());
        for (QWidget* w : all) {
            for (const char* property : {"textId", "toolTipId"}) {
                const QString id = w->property(property).toString();
                if (!id.isEmpty()) {
                    EXPECT_TRUE(skin->texts().contains(id.toStdString())) << name << ": " << id.toStdString();
                }
            }
        }
    }
}

// A button that shows a symbol (✎, …, +, −, arrows, ✕) says what it does in its tooltip, and screen
// readers get the same words as its name; so does a button that Tab reaches and that shows only a
// colour or a picture.
TEST_F(RealSkin, EverySymbolButtonHasATooltipAndAnAccessibleName) {
    for (const std::string& layout : skin->layoutNames()) {
        for (QAbstractButton* b : page(layout).root()->findChildren<QAbstractButton*>()) {
            const QString shown = b->text().trimmed();
            if (shown.isEmpty() && !(b->focusPolicy() & Qt::TabFocus)) continue;
            if (std::any_of(shown.begin(), shown.end(), [](QChar c) { return c.isLetterOrNumber(); }))
                continue;
            EXPECT_FALSE(b->toolTip().isEmpty()) << layout << " " << b->objectName().toStdString();
            EXPECT_EQ(b->accessibleName(), b->toolTip()) << layout << " " << b->objectName().toStdString();
        }
    }
}

// Tab reaches the controls of every window in reading order: top to bottom and left to right within a
// row, a column at a time where the window has columns (the profile column, then the page). Going back up
// is only allowed into a column to the right of the last control.
TEST_F(RealSkin, TabMovesThroughEveryLayoutInReadingOrder) {
    for (const std::string& layout : skin->layoutNames()) {
        QWidget* root = page(layout).root();
        ASSERT_NE(root, nullptr) << layout;
        root->setAttribute(Qt::WA_DontShowOnScreen);
        root->show();
        std::vector<QWidget*> stops;
        for (QWidget* w = root->nextInFocusChain(); w && w != root; w = w->nextInFocusChain())
            if ((w->focusPolicy() & Qt::TabFocus) && w->isVisibleTo(root) && w->isEnabled())
                stops.push_back(w);
        for (std::size_t i = 1; i < stops.size(); ++i) {
            const QRect a(stops[i - 1]->mapTo(root, QPoint()), stops[i - 1]->size());
            const QRect b(stops[i]->mapTo(root, QPoint()), stops[i]->size());
            const bool sameRow = b.top() < a.bottom() && a.top() < b.bottom();
            const bool nextColumn = b.left() > a.right();
            EXPECT_TRUE(sameRow ? b.left() > a.left() : b.top() >= a.top() || nextColumn)
                << layout << ": " << stops[i - 1]->objectName().toStdString() << " then "
                << stops[i]->objectName().toStdString();
        }
        root->hide();
    }
    for (const char* layout : {"Mouse_deng.xml", "MousePad_deng.xml", "keyboard_deng.xml", "Mouse_DPI.xml",
                               "Mouse_key.xml", "Mouse_macro.xml", "keyboard_macro.xml"}) {
        QWidget* root = page(layout).root();
        ASSERT_NE(root, nullptr) << layout;
        int stops = 0;
        for (QWidget* w = root->nextInFocusChain(); w && w != root; w = w->nextInFocusChain())
            stops += (w->focusPolicy() & Qt::TabFocus) ? 1 : 0;
        EXPECT_GE(stops, 4) << layout;
    }
}

// The lists (profiles, macros, a macro's actions) are reached from the keyboard like every other control.
TEST_F(RealSkin, EveryListTakesTheFocusFromTab) {
    for (const std::string& layout : skin->layoutNames()) {
        for (QAbstractItemView* view : page(layout).root()->findChildren<QAbstractItemView*>()) {
            if (!qobject_cast<QListWidget*>(view) && !qobject_cast<QTreeWidget*>(view)) continue;
            EXPECT_TRUE(view->focusPolicy() & Qt::TabFocus)
                << layout << " " << view->objectName().toStdString();
        }
    }
}

} // namespace
} // namespace zq::ui
