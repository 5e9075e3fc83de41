#include "shell/tour.h"

#include "shell/first_run_view.h"
#include "shell/message_box.h"
#include "shell/navigation.h"
#include "shell/page_dialog.h"
#include "ui/page.h"
#include "ui/skin.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QPixmap>
#include <QTemporaryDir>
#include <QTextStream>
#include <QWidget>

#include <array>
#include <cstdio>
#include <filesystem>
#include <memory>

namespace zq::shell {

namespace {

constexpr QSize kMainSize(800, 572);

bool save(QWidget* root, const QString& path) {
    QApplication::processEvents();
    return root->grab().save(path, "PNG");
}

// A sub-layout has no window of its own: shown alone it gets the window's background under it.
bool isSubLayout(const QWidget* root) {
    return root->property("zqStyle").toString() == QLatin1String("page");
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
    // Stands in for the application and user data folders of a first start; removed afterwards.
    QTemporaryDir scratch;
    if (!scratch.isValid()) result.failures.push_back("cannot make a scratch folder for the first-run state");

    auto shoot = [&](QWidget* widget, const QString& file) {
        if (save(widget, file))
            result.pictures.push_back(file.toStdString());
        else
            result.failures.push_back("cannot write " + file.toStdString());
    };

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
        const QString base = dir + "/" + QString::fromStdString(pictureName(name));
        QWidget* root = page.root();
        const bool isMain = ui::toLower(name) == "xml_main";
        if (!isMain) {
            showFactoryLights(page);
            // The message box as it first appears to a user who unplugs a device: a notice, one button.
            const bool messageBox = ui::toLower(name) == "xml_msg";
            if (messageBox) {
                page.label("MessageText").setTextId("message_text_20");
                page.find("cancel_btn").setVisible(false);
            }
            if (root->size().isEmpty()) root->resize(root->sizeHint());
            std::unique_ptr<QWidget> host;
            QWidget* shown = root;
            if (isSubLayout(root)) {
                host = std::make_unique<QWidget>();
                host->setProperty("zqStyle", "root");
                host->resize(root->size());
                root->setParent(host.get());
                root->move(0, 0);
                shown = host.get();
            }
            shown->setAttribute(Qt::WA_DontShowOnScreen);
            shown->show();
            shoot(shown, base + ".png");
            if (messageBox) {
                // And as a question, with confirm and cancel.
                page.label("MessageText").setTextId("message_text_12");
                page.find("cancel_btn").setVisible(true);
                shoot(shown, base + ".question.png");
            }
            shown->hide();
            if (host) root->setParent(nullptr);
            continue;
        }

        if (scratch.isValid()) {
            for (const std::string& problem :
                 showFirstRunState(page, skin, std::filesystem::path(scratch.path().toStdString())))
                result.failures.push_back("first-run state: " + problem);
        }
        Navigation navigation(page);
        page.setHandler([&navigation](const ui::Notification& n) { navigation.follow(n); });
        root->setAttribute(Qt::WA_DontShowOnScreen);
        root->resize(kMainSize);
        root->show();
        shoot(root, base + ".png");
        // Every device tab the user can reach, and every option tab of it, selected as a click would.
        for (const std::string& device : Navigation::deviceTabs()) {
            if (!page.find(device).isVisible()) continue;
            navigation.select(device);
            const QString here = base + "." + QString::fromStdString(device);
            std::vector<std::string> options;
            for (const std::string& option : Navigation::optionTabs(device))
                if (page.find(option).isVisible()) options.push_back(option);
            if (options.empty()) shoot(root, here + ".png");
            for (const std::string& option : options) {
                navigation.select(option);
                shoot(root, here + "." + QString::fromStdString(option) + ".png");
            }
            if (!options.empty()) navigation.select(options.front());
        }
        navigation.select("ms_tab");
        root->hide();
    }

    // The message box as the program builds it, with its longest text: the device-rule commands.
    if (skin.layoutFile("XML_MSG") && skin.texts().contains("message_permission")) {
        std::array<char, 1024> text{};
        std::snprintf(text.data(), text.size(), skin.text("message_permission").c_str(), "mouse",
                      "/usr/lib/udev/rules.d/70-zephran-q70.rules");
        MessageBox box(skin, nullptr, {text.data(), false, false});
        if (QWidget* window = box.dialog().window()) {
            window->setAttribute(Qt::WA_DontShowOnScreen);
            window->show();
            shoot(window, dir + "/XML_MSG.commands.png");
            window->hide();
        }
    }
    return result;
}

} // namespace zq::shell
