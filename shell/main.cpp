// The program entry: a second start brings the running program to the front and ends; otherwise the
// skin is loaded and the application runs until the tray menu's exit. --tour renders every page instead.
#include "platform/debug.h"
#include "shell/application.h"
#include "shell/control/instance_server.h"
#include "shell/controls/register_controls.h"
#include "shell/tour.h"
#include "ui/skin.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

namespace {

void usage(std::FILE* to) {
    std::fprintf(to, "usage: zephran-q70 [--simulate] [--hidden] [--tour DIR] [--scale N]\n"
                     "  --simulate  run on the built-in simulated mouse, pad and keyboard\n"
                     "  --hidden    start in the background (tray only), as at login\n"
                     "  --tour DIR  render every page to DIR/*.png and list the controls, then end\n"
                     "  --scale N   draw at N times the size (1 to 4), as on a high-resolution screen\n");
}

} // namespace

int main(int argc, char** argv) {
    std::string tourDir;
    zq::shell::StartOptions options;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--tour") == 0 && i + 1 < argc) {
            tourDir = argv[++i];
        } else if (std::strcmp(argv[i], "--scale") == 0 && i + 1 < argc) {
            const std::string n = argv[++i];
            if (n.size() != 1 || n[0] < '1' || n[0] > '4') {
                std::fprintf(stderr, "zephran-q70: --scale takes a whole number from 1 to 4, not \"%s\"\n",
                             n.c_str());
                return 2;
            }
            // Qt draws every widget, picture and text at this device pixel ratio; a grab of a page is
            // then that many times larger.
            setenv("QT_SCALE_FACTOR", n.c_str(), 1);
        } else if (std::strcmp(argv[i], "--simulate") == 0) {
            options.simulate = true;
        } else if (std::strcmp(argv[i], "--hidden") == 0) {
            options.hidden = true;
        } else if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            usage(stdout);
            return 0;
        } else {
            usage(stderr);
            return 2;
        }
    }
    // The tour needs no screen: render offscreen when there is none.
    if (!tourDir.empty() && !std::getenv("QT_QPA_PLATFORM") && !std::getenv("DISPLAY") &&
        !std::getenv("WAYLAND_DISPLAY")) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    // A second start only wakes the first one, before building anything of its own.
    if (tourDir.empty() && zq::control::InstanceServer::signalRunningInstance()) {
        zq::platform::debugString("软件标示：" + std::string(zq::control::kBringUpLine));
        return 0;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ZEPHRAN Q70"));
    // The tray keeps the program alive while no window shows.
    QApplication::setQuitOnLastWindowClosed(false);
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

    int code = 0;
    {
        zq::shell::Application application(skin, options);
        if (!application.start()) return application.exitCode();
        code = app.exec();
        // A worker thread that overstayed the exit must not keep the process, nor meet freed state.
        if (application.leftThreadsBehind()) {
            std::fflush(nullptr);
            _exit(code);
        }
    }
    return code;
}
