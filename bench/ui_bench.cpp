// Loading the main window's layout with all its sub-layouts, and the memory the process holds after.
#include "shell/controls/register_controls.h"
#include "ui/page.h"
#include "ui/skin.h"

#include <QApplication>
#include <QWidget>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fstream>
#include <string>

namespace {

// Resident memory of this process in MB, from /proc/self/status.
double residentMegabytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) return std::strtod(line.c_str() + 6, nullptr) / 1024.0;
    }
    return -1;
}

const std::string kSkinFolder = std::string(ZQ_SOURCE_DIR) + "/skin";

// The whole start of the window: the resource index, the language file, the style, every layout.
void BM_LoadMainLayoutFromScratch(benchmark::State& state) {
    for (auto _ : state) {
        zq::ui::Skin skin(kSkinFolder);
        zq::ui::Page page(skin, "XML_MAIN");
        if (!page.ok()) state.SkipWithError(page.error().c_str());
        benchmark::DoNotOptimize(page.root());
    }
    state.counters["rss_MB"] = residentMegabytes();
}
BENCHMARK(BM_LoadMainLayoutFromScratch)->Unit(benchmark::kMillisecond);

// The main layout shown once, as the window shows it: polish and layout of every control.
void BM_LoadAndShowMainLayout(benchmark::State& state) {
    zq::ui::Skin skin(kSkinFolder);
    qApp->setStyleSheet(QString::fromStdString(skin.styleSheet()));
    for (auto _ : state) {
        zq::ui::Page page(skin, "XML_MAIN");
        page.root()->setAttribute(Qt::WA_DontShowOnScreen);
        page.root()->resize(800, 572);
        page.root()->show();
        QApplication::processEvents();
        benchmark::DoNotOptimize(page.root()->grab());
    }
    state.counters["rss_MB"] = residentMegabytes();
    qApp->setStyleSheet(QString());
}
BENCHMARK(BM_LoadAndShowMainLayout)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    zq::controls::registerCustomControls();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
