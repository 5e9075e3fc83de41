// The yardstick of the process benchmark: a Qt Widgets window of the program's size with nothing in it,
// shown at once. Whatever the program costs beyond this is ours; what this costs is Qt's and the X
// server's.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("bare window"));
    window.resize(800, 572);
    window.show();
    return app.exec();
}
