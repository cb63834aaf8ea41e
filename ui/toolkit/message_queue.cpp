#include "ui/toolkit/message_queue.h"

#include "platform/ipc/message_registry.h"
#include "ui/toolkit/window_registry.h"
#include "ui/toolkit/window_wnd.h"

#include <QCoreApplication>
#include <QThread>

#include <string>

namespace ui {
namespace {

bool OnUiThread() {
    const QCoreApplication* app = QCoreApplication::instance();
    return app != nullptr && QThread::currentThread() == app->thread();
}

}  // namespace

bool PostMessage(HWND window, unsigned message, WPARAM wParam, LPARAM lParam) {
    if (window == nullptr) {
        return false;
    }
    return window_registry::Post(window, new CMessageEvent(message, wParam, lParam, nullptr));
}

LRESULT SendMessage(HWND window, unsigned message, WPARAM wParam, LPARAM lParam) {
    if (window == nullptr || !window_registry::Contains(window)) {
        return 0;
    }
    if (OnUiThread()) {
        return window->HandleMessage(message, wParam, lParam);
    }
    auto state = std::make_shared<SendState>();
    if (!window_registry::Post(window, new CMessageEvent(message, wParam, lParam, state))) {
        return 0;
    }
    std::unique_lock lock(state->mutex);
    state->done.wait(lock, [&state] { return state->finished; });
    return state->result;
}

// One table for the whole process: the platform's registry also names the messages that travel
// between programs.
unsigned RegisterWindowMessage(std::string_view name) {
    return platform::ipc::RegisterWindowMessage(std::string(name));
}

void PostQuitMessage(int exitCode) {
    QCoreApplication* app = QCoreApplication::instance();
    if (app != nullptr) {
        QMetaObject::invokeMethod(
            app, [exitCode] { QCoreApplication::exit(exitCode); }, Qt::QueuedConnection);
    }
}

bool IsWindow(HWND window) {
    return window != nullptr && window_registry::Contains(window);
}

}  // namespace ui
