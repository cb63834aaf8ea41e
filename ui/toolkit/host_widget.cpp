#include "ui/toolkit/host_widget.h"

#include "ui/toolkit/control_ui.h"
#include "ui/toolkit/paint_manager_ui.h"
#include "ui/toolkit/window_registry.h"
#include "ui/toolkit/window_wnd.h"

#include <QCloseEvent>
#include <QEnterEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QWheelEvent>
#include <QWindow>

namespace ui {
namespace {

unsigned KeyState(Qt::KeyboardModifiers modifiers) {
    unsigned state = 0;
    if (modifiers & Qt::ControlModifier) {
        state |= kKeyStateControl;
    }
    if (modifiers & Qt::ShiftModifier) {
        state |= kKeyStateShift;
    }
    return state;
}

LPARAM PackSize(QSize size) {
    return static_cast<LPARAM>((size.height() << 16) | (size.width() & 0xFFFF));
}

}  // namespace

CHostWidget::CHostWidget(CWindowWnd* window, QWidget* parent, Qt::WindowFlags flags)
    : QWidget(parent, flags), window_(window) {
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CHostWidget::Detach() {
    window_ = nullptr;
    manager_ = nullptr;
}

bool CHostWidget::event(QEvent* event) {
    if (event->type() != CMessageEvent::EventType()) {
        return QWidget::event(event);
    }
    auto* message = static_cast<CMessageEvent*>(event);
    const LRESULT result = window_ != nullptr && window_registry::Contains(window_)
                               ? window_->HandleMessage(message->message, message->wParam, message->lParam)
                               : 0;
    if (message->state) {
        message->state->Finish(result);
    }
    return true;
}

void CHostWidget::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(event->rect(), QColor(0x15, 0x17, 0x1C));
    if (manager_ != nullptr) {
        manager_->Paint(painter, event->rect());
    }
}

bool CHostWidget::StartCaptionDrag(QMouseEvent* event) {
    if (manager_ == nullptr || event->button() != Qt::LeftButton || isMaximized()) {
        return false;
    }
    const QRect caption = manager_->GetCaptionRect();
    const QPoint point = event->position().toPoint();
    const bool inCaption = caption.height() > 0 && point.y() >= caption.top() &&
                           point.y() < caption.top() + caption.height() && point.x() >= caption.left() &&
                           point.x() < width() - caption.width();
    if (!inCaption) {
        return false;
    }
    // Controls that act on clicks keep them; the rest of the caption moves the window.
    CControlUI* control = manager_->FindControl(point);
    if (control != nullptr &&
        (control->GetInterface("Button") != nullptr || control->GetInterface("Edit") != nullptr ||
         control->GetInterface("Combo") != nullptr)) {
        return false;
    }
    if (windowHandle() != nullptr && windowHandle()->startSystemMove()) {
        return true;
    }
    dragging_ = true;
    dragOffset_ = event->globalPosition().toPoint() - frameGeometry().topLeft();
    return true;
}

void CHostWidget::mouseMoveEvent(QMouseEvent* event) {
    if (dragging_) {
        move(event->globalPosition().toPoint() - dragOffset_);
        return;
    }
    if (manager_ != nullptr) {
        manager_->OnMouseMove(event->position().toPoint(), KeyState(event->modifiers()));
    }
}

void CHostWidget::mousePressEvent(QMouseEvent* event) {
    if (manager_ == nullptr || StartCaptionDrag(event)) {
        return;
    }
    if (event->button() == Qt::LeftButton || event->button() == Qt::RightButton) {
        manager_->OnButtonDown(event->position().toPoint(), event->button() == Qt::RightButton,
                               KeyState(event->modifiers()));
    }
}

void CHostWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (dragging_) {
        dragging_ = false;
        return;
    }
    if (manager_ != nullptr && (event->button() == Qt::LeftButton || event->button() == Qt::RightButton)) {
        manager_->OnButtonUp(event->position().toPoint(), event->button() == Qt::RightButton,
                             KeyState(event->modifiers()));
    }
}

void CHostWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    if (manager_ != nullptr && event->button() == Qt::LeftButton) {
        manager_->OnDoubleClick(event->position().toPoint(), KeyState(event->modifiers()));
    }
}

void CHostWidget::wheelEvent(QWheelEvent* event) {
    if (manager_ != nullptr) {
        manager_->OnWheel(event->position().toPoint(), event->angleDelta().y(), KeyState(event->modifiers()));
    }
}

void CHostWidget::keyPressEvent(QKeyEvent* event) {
    if (manager_ != nullptr) {
        manager_->OnKeyDown(event->key(), KeyState(event->modifiers()));
    }
}

void CHostWidget::enterEvent(QEnterEvent*) {
    if (window_ != nullptr) {
        window_->HandleMessage(WM_MOUSEHOVER, 0, 0);
    }
}

void CHostWidget::leaveEvent(QEvent*) {
    if (manager_ != nullptr) {
        manager_->OnMouseLeave();
    }
    if (window_ != nullptr) {
        window_->HandleMessage(WM_MOUSELEAVE, 0, 0);
    }
}

void CHostWidget::resizeEvent(QResizeEvent* event) {
    if (manager_ != nullptr) {
        manager_->NeedUpdate();
    }
    if (window_ != nullptr) {
        const WPARAM kind = isMinimized() ? 1 : isMaximized() ? 2 : 0;
        window_->HandleMessage(WM_SIZE, kind, PackSize(event->size()));
    }
}

void CHostWidget::closeEvent(QCloseEvent* event) {
    // The window decides: the system close command goes through its message handler.
    event->ignore();
    if (window_ != nullptr) {
        window_->PostMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
    }
}

void CHostWidget::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (window_ == nullptr) {
        return;
    }
    if (event->type() == QEvent::ActivationChange) {
        window_->HandleMessage(WM_ACTIVATE, isActiveWindow() ? 1 : 0, 0);
    } else if (event->type() == QEvent::WindowStateChange) {
        const WPARAM kind = isMinimized() ? 1 : isMaximized() ? 2 : 0;
        window_->HandleMessage(WM_SIZE, kind, PackSize(size()));
    }
}

}  // namespace ui
