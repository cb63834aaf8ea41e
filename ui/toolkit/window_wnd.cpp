#include "ui/toolkit/window_wnd.h"

#include "ui/toolkit/host_widget.h"
#include "ui/toolkit/message_queue.h"
#include "ui/toolkit/window_registry.h"

#include <QEventLoop>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>

#include <algorithm>

namespace ui {

CWindowWnd::CWindowWnd() = default;

CWindowWnd::~CWindowWnd() {
    timers_.clear();
    if (host_ != nullptr) {
        window_registry::Remove(this);
        host_->Detach();
        delete host_;
        host_ = nullptr;
    }
}

HWND CWindowWnd::GetHWND() const {
    return host_ != nullptr ? const_cast<CWindowWnd*>(this) : nullptr;
}

QWidget* CWindowWnd::GetWidget() const {
    return host_;
}

HWND CWindowWnd::Create(HWND parent, const std::string& title, unsigned style, unsigned exStyle, int x, int y,
                        int cx, int cy) {
    if (host_ != nullptr) {
        return GetHWND();
    }
    owner_ = parent;
    Qt::WindowFlags flags = Qt::Window | Qt::FramelessWindowHint;
    if (exStyle & WS_EX_TOOLWINDOW) {
        flags |= parent != nullptr ? Qt::Dialog : Qt::Tool;
    }
    if (exStyle & WS_EX_TOPMOST) {
        flags |= Qt::WindowStaysOnTopHint;
    }
    QWidget* parentWidget = parent != nullptr ? parent->GetWidget() : nullptr;
    host_ = new CHostWidget(this, parentWidget, flags);
    host_->setWindowTitle(QString::fromStdString(title));
    host_->setObjectName(QString::fromStdString(GetWindowClassName()));
    window_registry::Add(this, host_);
    host_->move(x, y);
    if (cx > 0 && cy > 0) {
        host_->resize(cx, cy);
    }
    if (!OnCreate()) {
        window_registry::Remove(this);
        host_->Detach();
        delete host_;
        host_ = nullptr;
        return nullptr;
    }
    if (style & WS_VISIBLE) {
        host_->show();
    }
    return GetHWND();
}

void CWindowWnd::ShowWindow(bool show, bool takeFocus) {
    if (host_ == nullptr) {
        return;
    }
    if (!show) {
        host_->hide();
        return;
    }
    if (host_->isMinimized()) {
        host_->showNormal();
    } else {
        host_->show();
    }
    if (takeFocus) {
        host_->raise();
        host_->activateWindow();
    }
}

int CWindowWnd::ShowModal() {
    if (host_ == nullptr) {
        return 0;
    }
    host_->setWindowModality(Qt::ApplicationModal);
    ShowWindow(true, true);
    QEventLoop loop;
    // The result lives on this stack: the window may delete itself when it is destroyed.
    int code = 0;
    modalLoop_ = &loop;
    modalResultTarget_ = &code;
    loop.exec();
    return code;
}

void CWindowWnd::Close(int result) {
    PostMessage(WM_CLOSE, static_cast<WPARAM>(result), 0);
}

void CWindowWnd::CenterWindow() {
    if (host_ == nullptr) {
        return;
    }
    QRect area;
    if (owner_ != nullptr && owner_->GetWidget() != nullptr && owner_->GetWidget()->isVisible()) {
        area = owner_->GetWidget()->frameGeometry();
    } else {
        QScreen* screen = host_->screen() != nullptr ? host_->screen() : QGuiApplication::primaryScreen();
        if (screen == nullptr) {
            return;
        }
        area = screen->availableGeometry();
    }
    // A window larger than the area keeps its caption on screen rather than centring off it.
    const QSize size = host_->frameGeometry().size();
    host_->move(area.left() + std::max(0, (area.width() - size.width()) / 2),
                area.top() + std::max(0, (area.height() - size.height()) / 2));
}

void CWindowWnd::ResizeClient(int cx, int cy) {
    if (host_ != nullptr && cx > 0 && cy > 0) {
        host_->resize(cx, cy);
    }
}

void CWindowWnd::SetWindowTitle(const std::string& title) {
    if (host_ != nullptr) {
        host_->setWindowTitle(QString::fromStdString(title));
    }
}

bool CWindowWnd::IsVisible() const {
    return host_ != nullptr && host_->isVisible();
}

bool CWindowWnd::IsMinimized() const {
    return host_ != nullptr && host_->isMinimized();
}

LRESULT CWindowWnd::SendMessage(unsigned message, WPARAM wParam, LPARAM lParam) {
    return ui::SendMessage(GetHWND(), message, wParam, lParam);
}

bool CWindowWnd::PostMessage(unsigned message, WPARAM wParam, LPARAM lParam) {
    return ui::PostMessage(GetHWND(), message, wParam, lParam);
}

bool CWindowWnd::SetTimer(unsigned id, int elapseMs) {
    if (host_ == nullptr || elapseMs < 0) {
        return false;
    }
    auto& timer = timers_[id];
    if (!timer) {
        timer = std::make_unique<QTimer>();
        QObject::connect(timer.get(), &QTimer::timeout, [this, id] { HandleMessage(WM_TIMER, id, 0); });
    }
    timer->start(elapseMs);
    return true;
}

bool CWindowWnd::KillTimer(unsigned id) {
    const auto it = timers_.find(id);
    if (it == timers_.end()) {
        return false;
    }
    // The handler of this very timer may be running: let the loop delete it.
    it->second->stop();
    it->second.release()->deleteLater();
    timers_.erase(it);
    return true;
}

LRESULT CWindowWnd::HandleMessage(unsigned message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_CLOSE:
            if (modalResultTarget_ != nullptr) {
                *modalResultTarget_ = static_cast<int>(wParam);
            }
            DestroyWindow();
            return 0;
        case WM_SYSCOMMAND:
            if (host_ == nullptr) {
                return 0;
            }
            if (wParam == SC_MINIMIZE) {
                host_->showMinimized();
            } else if (wParam == SC_MAXIMIZE) {
                host_->showMaximized();
            } else if (wParam == SC_RESTORE) {
                host_->showNormal();
            } else if (wParam == SC_CLOSE) {
                HandleMessage(WM_CLOSE, 0, 0);
            }
            return 0;
        default:
            return 0;
    }
}

void CWindowWnd::DestroyWindow() {
    if (host_ == nullptr || destroying_) {
        return;
    }
    destroying_ = true;
    // Leave the registry first: a worker waiting in SendMessage must not hold up the shut-down.
    window_registry::Remove(this);
    HandleMessage(WM_DESTROY, 0, 0);
    timers_.clear();
    CHostWidget* host = host_;
    host_ = nullptr;
    host->Detach();
    host->hide();
    host->deleteLater();
    QEventLoop* loop = modalLoop_;
    modalLoop_ = nullptr;
    modalResultTarget_ = nullptr;
    if (loop != nullptr) {
        loop->quit();
    }
    destroying_ = false;
    OnFinalMessage(this);
}

void CWindowWnd::OnFinalMessage(HWND) {}

}  // namespace ui
