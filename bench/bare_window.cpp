// The yardstick for start-up, memory and idle figures: a plain Qt window of the main window's
// size, with nothing in it.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QWidget window;
    window.setWindowTitle("Bare Qt window");
    window.resize(1000, 640);
    window.show();
    return application.exec();
}
