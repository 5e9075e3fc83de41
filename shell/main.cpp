// The program entry. Until the main window exists it shows the main layout, or renders the tour.
#include "shell/controls/register_controls.h"
#include "shell/navigation.h"
#include "shell/tour.h"
#include "ui/page.h"
#include "ui/skin.h"

#include <QApplication>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

void usage() {
    std::fprintf(stderr, "usage: zephran-q70 [--simulate] [--tour DIR]\n");
}

} // namespace

int main(int argc, char** argv) {
    std::string tourDir;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--tour") == 0 && i + 1 < argc) {
            tourDir = argv[++i];
        } else if (std::strcmp(argv[i], "--simulate") == 0) {
            // The simulated devices arrive with the application shell.
        } else if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            usage();
            return 0;
        } else {
            usage();
            return 2;
        }
    }
    // The tour needs no screen: render offscreen when there is none.
    if (!tourDir.empty() && !std::getenv("QT_QPA_PLATFORM") && !std::getenv("DISPLAY") &&
        !std::getenv("WAYLAND_DISPLAY")) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ZEPHRAN Q70"));
    zq::controls::registerCustomControls();

    zq::ui::Skin skin(zq::ui::Skin::defaultSkinFolder());
    if (!skin.ok()) {
        std::fprintf(stderr, "zephran-q70: %s\n", skin.error().c_str());
        return 1;
    }
    app.setStyleSheet(QString::fromStdString(skin.styleSheet()));

    if (!tourDir.empty()) {
        const auto result = zq::shell::runTour(skin, tourDir);
        for (const auto& picture : result.pictures) std::printf("%s\n", picture.c_str());
        std::printf("%s/controls.tsv: %d named controls\n", tourDir.c_str(), result.controls);
        for (const auto& failure : result.failures)
            std::fprintf(stderr, "zephran-q70: %s\n", failure.c_str());
        return result.failures.empty() ? 0 : 1;
    }

    zq::ui::Page main(skin, "XML_MAIN");
    if (!main.ok()) {
        std::fprintf(stderr, "zephran-q70: %s\n", main.error().c_str());
        return 1;
    }
    zq::shell::Navigation navigation(main);
    main.setHandler([&navigation](const zq::ui::Notification& n) { navigation.follow(n); });
    QWidget* window = main.root();
    window->setWindowTitle(QStringLiteral("ZEPHRAN Q70"));
    window->resize(800, 572);
    window->show();
    return app.exec();
}
