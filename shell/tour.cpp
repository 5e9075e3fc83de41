#include "shell/tour.h"

#include "ui/page.h"
#include "ui/skin.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPixmap>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTextStream>

#include <functional>

namespace zq::shell {

namespace {

constexpr QSize kMainSize(800, 572);

// Tab layouts whose pages the tour shows one by one: the device tabs and each device's option tabs.
bool isTabSwitch(const QWidget* w) {
    return (qobject_cast<const QStackedWidget*>(w) || qobject_cast<const QTabWidget*>(w)) &&
           w->objectName().endsWith(QLatin1String("tab_switch"), Qt::CaseInsensitive);
}

int pageCount(QWidget* w) {
    if (auto* s = qobject_cast<QStackedWidget*>(w)) return s->count();
    if (auto* t = qobject_cast<QTabWidget*>(w)) return t->count();
    return 0;
}
QWidget* pageAt(QWidget* w, int i) {
    if (auto* s = qobject_cast<QStackedWidget*>(w)) return s->widget(i);
    if (auto* t = qobject_cast<QTabWidget*>(w)) return t->widget(i);
    return nullptr;
}
void selectPage(QWidget* w, int i) {
    if (auto* s = qobject_cast<QStackedWidget*>(w))
        s->setCurrentIndex(i);
    else if (auto* t = qobject_cast<QTabWidget*>(w))
        t->setCurrentIndex(i);
}

// The outermost tab switches below a widget (not those inside another tab switch below it).
QList<QWidget*> outerSwitches(QWidget* under) {
    QList<QWidget*> out;
    for (QWidget* w : under->findChildren<QWidget*>()) {
        if (!isTabSwitch(w)) continue;
        bool nested = false;
        for (QWidget* p = w->parentWidget(); p && p != under; p = p->parentWidget())
            if (isTabSwitch(p)) nested = true;
        if (!nested) out.push_back(w);
    }
    return out;
}

bool save(QWidget* root, const QString& path) {
    QApplication::processEvents();
    return root->grab().save(path, "PNG");
}

} // namespace

std::string pictureName(const std::string& resourceName) {
    std::string out;
    for (char c : resourceName) out += (c == '/' || c == '\\' || c == ':') ? '_' : c;
    if (out.empty() || out[0] == '.') out.insert(out.begin(), '_');
    return out;
}

TourResult runTour(const ui::Skin& skin, const std::string& folder) {
    TourResult result;
    const QString dir = QString::fromStdString(folder);
    QDir().mkpath(dir);
    QFile tsv(dir + "/controls.tsv");
    if (!tsv.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
        result.failures.push_back("cannot write " + folder + "/controls.tsv");
        return result;
    }
    QTextStream lines(&tsv);
    lines << "layout\tname\tkind\n";

    for (const std::string& name : skin.layoutNames()) {
        ui::Page page(skin, name);
        if (!page.ok()) {
            result.failures.push_back(name + ": " + page.error());
            continue;
        }
        for (const std::string& control : page.controlNames()) {
            lines << QString::fromStdString(name) << '\t' << QString::fromStdString(control) << '\t'
                  << QString::fromStdString(page.find(control).kind()) << '\n';
            ++result.controls;
        }
        QWidget* root = page.root();
        root->setAttribute(Qt::WA_DontShowOnScreen);
        const bool isMain = ui::toLower(name) == "xml_main";
        if (isMain)
            root->resize(kMainSize);
        else if (root->size().isEmpty())
            root->resize(root->sizeHint());
        root->show();
        const QString base = dir + "/" + QString::fromStdString(pictureName(name));
        if (save(root, base + ".png")) result.pictures.push_back((base + ".png").toStdString());

        if (!isMain) {
            root->hide();
            continue;
        }
        // Every page of every tab switch, depth first, the outer selection kept while the inner ones go
        // round.
        std::function<void(QWidget*, const QString&)> walk = [&](QWidget* under, const QString& prefix) {
            for (QWidget* tabs : outerSwitches(under)) {
                const int before = pageCount(tabs) > 0
                                       ? (qobject_cast<QStackedWidget*>(tabs)
                                              ? qobject_cast<QStackedWidget*>(tabs)->currentIndex()
                                              : qobject_cast<QTabWidget*>(tabs)->currentIndex())
                                       : 0;
                for (int i = 0; i < pageCount(tabs); ++i) {
                    selectPage(tabs, i);
                    const QString here = prefix + "." + tabs->objectName() + "-" + QString::number(i);
                    if (save(root, base + here + ".png"))
                        result.pictures.push_back((base + here + ".png").toStdString());
                    walk(pageAt(tabs, i), here);
                }
                selectPage(tabs, before);
            }
        };
        walk(root, QString());
        root->hide();
    }
    return result;
}

} // namespace zq::shell
