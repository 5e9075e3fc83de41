// The UI tests' entry: one QApplication for all of them, offscreen unless told otherwise (test
// discovery runs the binary outside ctest's environment).
#include "shell/controls/register_controls.h"

#include <QApplication>
#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    zq::controls::registerCustomControls();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
