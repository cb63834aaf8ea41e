#pragma once

#include <QApplication>
#include <QElapsedTimer>

// The one QApplication of a UI test program, created on first use (offscreen under CTest).
inline QApplication& EnsureQtApplication() {
    static int argc = 1;
    static char name[] = "norvik_test";
    static char* argv[] = {name, nullptr};
    static QApplication* app = QApplication::instance() != nullptr ? qobject_cast<QApplication*>(qApp)
                                                                   : new QApplication(argc, argv);
    return *app;
}

// Runs the event loop until the condition holds or the time-out passes; true when it held.
template <typename Condition>
bool WaitFor(Condition condition, int timeoutMs = 3000) {
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > timeoutMs) {
            return false;
        }
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}
