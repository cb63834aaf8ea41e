#include "ui/toolkit/message_queue.h"

#include "ui/toolkit/window_registry.h"
#include "ui/toolkit/window_wnd.h"

#include <QCoreApplication>
#include <QThread>

#include <map>
#include <mutex>
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

unsigned RegisterWindowMessage(std::string_view name) {
    static std::mutex mutex;
    static std::map<std::string, unsigned, std::less<>> numbers;
    std::lock_guard lock(mutex);
    const auto it = numbers.find(name);
    if (it != numbers.end()) {
        return it->second;
    }
    const unsigned number = 0xC000 + static_cast<unsigned>(numbers.size());
    numbers.emplace(std::string(name), number);
    return number;
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
