#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>

// One Qt application object for the whole test program, and a wait on a condition that keeps the
// event loop running.
inline void EnsureCoreApplication() {
    if (QCoreApplication::instance() == nullptr) {
        static int argc = 1;
        static char name[] = "platform_ipc_tests";
        static char* argv[] = {name, nullptr};
        new QCoreApplication(argc, argv);
    }
}

template <typename Condition>
bool WaitFor(Condition condition, int timeoutMs = 5000) {
    const QDeadlineTimer deadline(timeoutMs);
    while (!condition()) {
        if (deadline.hasExpired()) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}
