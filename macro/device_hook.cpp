#include "macro/device_hook.h"

#include "macro/evdev_scan_codes.h"
#include "platform/ipc/message_registry.h"
#include "ui/toolkit/message_queue.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QWidget>

#include <array>
#include <utility>

namespace {

constexpr auto kModeMessages = std::to_array<std::pair<int, const char*>>({
    {1, "WM_HOOK_KEY_SINGLEKEY_MSG"},
    {2, "WM_HOOK_KEY_HITKEY_MSG"},
    {4, "WM_HOOK_KEY_KBMACRO_MSG"},
    {8, "WM_HOOK_KEY_KBMACROPREVIOUS_MSG"},
    {16, "WM_HOOK_KEY_KBMACROLATER_MSG"},
    {32, "WM_HOOK_KEY_KBMACROSINGLE_MSG"},
    {256, "WM_HOOK_MOU_SINGLEKEY_MSG"},
    {512, "WM_HOOK_MOU_HITKEY_MSG"},
    {1024, "WM_HOOK_MOU_KBMACRO_MSG"},
});

// The library hook's mouse messages: the recording modes only.
constexpr auto kMouseModeMessages = std::to_array<std::pair<int, const char*>>({
    {4, "WM_HOOK_KEY_MSMACRO_MSG"},
    {8, "WM_HOOK_KEY_MSMACROPREVIOUS_MSG"},
    {16, "WM_HOOK_KEY_MSMACROLATER_MSG"},
    {32, "WM_HOOK_KEY_MSMACROSINGLE_MSG"},
});

template <size_t N>
uint32_t MessageOf(const std::array<std::pair<int, const char*>, N>& table, int mode) {
    for (const auto& [value, name] : table) {
        if (value == mode) {
            return platform::ipc::RegisterWindowMessage(name);
        }
    }
    return 0;
}

// The mouse message of a button event; 0 for a button macros do not record.
unsigned MouseMessage(const QMouseEvent& mouse, bool press) {
    switch (mouse.button()) {
        case Qt::LeftButton:
            return press ? 0x201 : 0x202;
        case Qt::RightButton:
            return press ? 0x204 : 0x205;
        case Qt::MiddleButton:
            return press ? 0x207 : 0x208;
        case Qt::BackButton:
        case Qt::ForwardButton:
            return press ? 0x20B : 0x20C;
        default:
            return 0;
    }
}

bool PassesOn(int key) {
    return key == Qt::Key_CapsLock || key == Qt::Key_NumLock || key == Qt::Key_ScrollLock;
}

// The application-wide filter behind the hook.
class CKeyFilter : public QObject {
public:
    CKeyFilter(int mode, ui::HWND target, bool mouse)
        : message_(CDeviceHook::MessageOfMode(mode)),
          mouseMessage_(mouse ? CDeviceHook::MouseMessageOfMode(mode) : 0),
          target_(target) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type type = event->type();
        if (type == QEvent::ShortcutOverride) {
            // No shortcut may fire while keys are captured; the press itself follows.
            return !PassesOn(static_cast<QKeyEvent*>(event)->key());
        }
        if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick ||
            type == QEvent::MouseButtonRelease) {
            SendMouse(watched, *static_cast<QMouseEvent*>(event), type != QEvent::MouseButtonRelease);
            return false;
        }
        if (type != QEvent::KeyPress && type != QEvent::KeyRelease) {
            return QObject::eventFilter(watched, event);
        }
        const auto* key = static_cast<QKeyEvent*>(event);
        if (!IsPropagation(watched, event)) {
            Send(*key, type == QEvent::KeyPress ? CDeviceHook::kKeyDown : CDeviceHook::kKeyUp);
        }
        return !PassesOn(key->key());
    }

private:
    // A key that passes on and is not taken goes on to the parent widgets: one key, one message.
    bool IsPropagation(QObject* watched, const QEvent* event) {
        auto* widget = qobject_cast<QWidget*>(watched);
        const bool propagated = event == lastEvent_ && widget != nullptr && !lastReceiver_.isNull() &&
                                widget != lastReceiver_ && widget->isAncestorOf(lastReceiver_);
        lastEvent_ = event;
        lastReceiver_ = widget;
        return propagated;
    }

    void Send(const QKeyEvent& key, unsigned keyMessage) const {
        if (message_ == 0 || target_ == nullptr) {
            return;
        }
        const std::optional<SetOneKey> code = CEvdevScanCodes::FromNative(key.nativeScanCode());
        KeyboardHookEvent record{key.nativeVirtualKey(), code ? code->scanCode : 0u,
                                 code && code->extended ? 1u : 0u,
                                 static_cast<uint32_t>(QDateTime::currentMSecsSinceEpoch()), 0};
        ui::SendMessage(target_, message_, keyMessage, reinterpret_cast<ui::LPARAM>(&record));
    }

    // Mouse buttons are only watched, never taken: the click on the stop button must still stop.
    // A press travels from the window to the widget under the pointer and on to its parents; only
    // the first widget's event is sent.
    void SendMouse(QObject* watched, const QMouseEvent& mouse, bool press) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (mouseMessage_ == 0 || target_ == nullptr || widget == nullptr) {
            return;
        }
        const QPoint global = mouse.globalPosition().toPoint();
        const bool propagated = !lastMouseReceiver_.isNull() && widget->isAncestorOf(lastMouseReceiver_) &&
                                lastMouseType_ == mouse.type() && lastMouseButton_ == mouse.button() &&
                                lastMousePoint_ == global;
        lastMouseReceiver_ = widget;
        lastMouseType_ = mouse.type();
        lastMouseButton_ = mouse.button();
        lastMousePoint_ = global;
        const unsigned message = MouseMessage(mouse, press);
        if (propagated || message == 0) {
            return;
        }
        const uint32_t extra = mouse.button() == Qt::BackButton      ? 1u
                               : mouse.button() == Qt::ForwardButton ? 2u
                                                                     : 0u;
        MouseHookEvent record{global.x(), global.y(), nullptr, 0, 0, extra << 16};
        ui::SendMessage(target_, mouseMessage_, message, reinterpret_cast<ui::LPARAM>(&record));
    }

    uint32_t message_;
    uint32_t mouseMessage_;
    ui::HWND target_;
    QPointer<QWidget> lastMouseReceiver_;
    QEvent::Type lastMouseType_ = QEvent::None;
    Qt::MouseButton lastMouseButton_ = Qt::NoButton;
    QPoint lastMousePoint_;
    const QEvent* lastEvent_ = nullptr;
    QPointer<QWidget> lastReceiver_;
};

// The one installed filter of the process.
QPointer<CKeyFilter>& InstalledFilter() {
    static QPointer<CKeyFilter> filter;
    return filter;
}

}  // namespace

CDeviceHook::~CDeviceHook() {
    UninstallHooks();
}

uint32_t CDeviceHook::MessageOfMode(int mode) {
    return MessageOf(kModeMessages, mode);
}

uint32_t CDeviceHook::MouseMessageOfMode(int mode) {
    return MessageOf(kMouseModeMessages, mode);
}

int CDeviceHook::InstallHooks(int mode, ui::HWND target, bool ownHook, bool libraryHook) {
    UninstallHooks();
    if (ownHook) {
        QCoreApplication* application = QCoreApplication::instance();
        if (application == nullptr) {
            return 0;
        }
        InstalledFilter() = new CKeyFilter(mode, target, libraryHook);
        application->installEventFilter(InstalledFilter());
    }
    mode_ = mode;
    target_ = target;
    return 1;
}

int CDeviceHook::UninstallHooks() {
    QPointer<CKeyFilter>& filter = InstalledFilter();
    if (filter.isNull()) {
        return 0;
    }
    if (QCoreApplication* application = QCoreApplication::instance()) {
        application->removeEventFilter(filter);
    }
    delete filter.data();
    filter = nullptr;
    return 1;
}

bool CDeviceHook::IsInstalled() const {
    return !InstalledFilter().isNull();
}
