#include "ui/controls/select_panel_ui.h"

#include "ui/controls/device_key_button_ui.h"
#include "ui/toolkit/paint_manager_ui.h"
#include "ui/toolkit/render_engine.h"

#include <algorithm>

namespace ui {
namespace {

constexpr std::uint32_t kBandFill = 0x330099FF;
constexpr std::uint32_t kBandBorder = 0xFF0099FF;

// The rectangle spanned by two corners, both included.
QRect Spanning(QPoint a, QPoint b) {
    return QRect(QPoint(std::min(a.x(), b.x()), std::min(a.y(), b.y())),
                 QPoint(std::max(a.x(), b.x()), std::max(a.y(), b.y())));
}

}  // namespace

std::string CSelectPanelUI::GetClass() const {
    return "SelectPanel";
}

void* CSelectPanelUI::GetInterface(std::string_view name) {
    return name == "SelectPanel" ? this : CVerticalLayoutUI::GetInterface(name);
}

void CSelectPanelUI::DoEvent(TEventUI& event) {
    switch (event.Type) {
        case EventType::ButtonDown:
            if (!IsEnabled()) {
                return;
            }
            start_ = event.ptMouse;
            selection_ = QRect();
            buttonDown_ = true;
            dragging_ = false;
            return;
        case EventType::MouseMove:
            if (!buttonDown_) {
                break;
            }
            dragging_ = true;
            selection_ = Spanning(start_, event.ptMouse);
            Invalidate();
            return;
        case EventType::ButtonUp:
            if (!buttonDown_) {
                break;
            }
            buttonDown_ = false;
            dragging_ = false;
            ApplySelection();
            Invalidate();
            if (manager_ != nullptr) {
                manager_->SendNotify(this, kNotifyClickSelectEnd);
            }
            return;
        default:
            break;
    }
    CVerticalLayoutUI::DoEvent(event);
}

void CSelectPanelUI::ApplySelection() {
    for (CControlUI* item : items_) {
        if (item->GetClass() != "DeviceKeyButton") {
            continue;
        }
        auto* key = static_cast<CDeviceKeyButtonUI*>(item->GetInterface("DeviceKeyButton"));
        if (key != nullptr) {
            key->SetSelected(!selection_.isEmpty() && item->GetPos().intersects(selection_));
        }
    }
}

void CSelectPanelUI::DoPaint(QPainter& painter, const QRect& paintRect) {
    CVerticalLayoutUI::DoPaint(painter, paintRect);
    if (!dragging_ || selection_.isEmpty()) {
        return;
    }
    CRenderEngine::DrawColor(painter, selection_, kBandFill);
    CRenderEngine::DrawBorder(painter, selection_, 1, kBandBorder);
}

}  // namespace ui
