#include "macro/device_hook.h"

#include "macro/evdev_scan_codes.h"
#include "platform/ipc/message_registry.h"
#include "ui/toolkit/message_queue.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QKeyEvent>
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

bool PassesOn(int key) {
    return key == Qt::Key_CapsLock || key == Qt::Key_NumLock || key == Qt::Key_ScrollLock;
}

// The application-wide filter behind the hook.
class CKeyFilter : public QObject {
public:
    CKeyFilter(int mode, ui::HWND target) : message_(CDeviceHook::MessageOfMode(mode)), target_(target) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type type = event->type();
        if (type == QEvent::ShortcutOverride) {
            // No shortcut may fire while keys are captured; the press itself follows.
            return !PassesOn(static_cast<QKeyEvent*>(event)->key());
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

    uint32_t message_;
    ui::HWND target_;
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
    for (const auto& [value, name] : kModeMessages) {
        if (value == mode) {
            return platform::ipc::RegisterWindowMessage(name);
        }
    }
    return 0;
}

int CDeviceHook::InstallHooks(int mode, ui::HWND target, bool ownHook, bool /*libraryHook*/) {
    UninstallHooks();
    if (ownHook) {
        QCoreApplication* application = QCoreApplication::instance();
        if (application == nullptr) {
            return 0;
        }
        InstalledFilter() = new CKeyFilter(mode, target);
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
