// The UI tests' entry: one QApplication for all of them, offscreen unless told otherwise (test
// discovery runs the binary outside ctest's environment).
#include "shell/controls/register_controls.h"
#include "support/bounded_wait.h"

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QTimer>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    zq::controls::registerCustomControls();
    ::testing::InitGoogleTest(&argc, argv);

    // A modal window a test runs (exec()) ends within the bound: one still open after it fails the test
    // and is closed, so exec() returns instead of holding the run.
    QTimer modalWatch;
    QPointer<QWidget> modal;
    auto since = std::chrono::steady_clock::now();
    QObject::connect(&modalWatch, &QTimer::timeout, [&] {
        QWidget* now = QApplication::activeModalWidget();
        if (now != modal) {
            modal = now;
            since = std::chrono::steady_clock::now();
            return;
        }
        if (now == nullptr || std::chrono::steady_clock::now() - since < zq::test::kWaitBound) return;
        ADD_FAILURE() << "a modal window (" << now->objectName().toStdString() << ") was still open after "
                      << zq::test::kWaitBound.count() << " ms";
        if (auto* dialog = qobject_cast<QDialog*>(now))
            dialog->reject();
        else
            now->close();
        modal = nullptr;
    });
    modalWatch.start(250);
    return RUN_ALL_TESTS();
}
