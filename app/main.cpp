#include "app/application.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    // The last window going hidden to the tray must not end the program.
    QApplication::setQuitOnLastWindowClosed(false);
    return app::CApplication().Run();
}
