#include "ui/toolkit/list_element_ui.h"

#include "ui/toolkit/paint_manager_ui.h"
#include "ui/toolkit/render_engine.h"

namespace ui {

std::string CListElementUI::GetClass() const {
    return "ListElement";
}

void* CListElementUI::GetInterface(std::string_view name) {
    if (name == "ListItem") {
        return static_cast<IListItemUI*>(this);
    }
    return name == "ListElement" ? this : CControlUI::GetInterface(name);
}

void CListElementUI::SetOwner(CControlUI* owner) {
    owner_ = owner != nullptr ? static_cast<IListOwnerUI*>(owner->GetInterface("IListOwner")) : nullptr;
}

bool CListElementUI::Select(bool select) {
    if (select == selected_) {
        return true;
    }
    selected_ = select;
    if (select && owner_ != nullptr) {
        owner_->SelectItem(index_);
    }
    Invalidate();
    return true;
}

bool CListElementUI::Activate() {
    if (!CControlUI::Activate()) {
        return false;
    }
    if (manager_ != nullptr) {
        manager_->SendNotify(this, kNotifyItemActivate);
    }
    return true;
}

void CListElementUI::DoEvent(TEventUI& event) {
    if (!IsMouseEnabled() && event.Type != EventType::Timer) {
        if (owner_ != nullptr) {
            owner_->DoEvent(event);
        }
        return;
    }
    switch (event.Type) {
        case EventType::ButtonDown:
        case EventType::RButtonDown:
            if (IsEnabled()) {
                if (owner_ != nullptr) {
                    owner_->SelectItem(index_, true);
                }
                Invalidate();
            }
            return;
        case EventType::ButtonUp:
            if (IsEnabled() && manager_ != nullptr && pos_.contains(event.ptMouse)) {
                manager_->SendNotify(this, kNotifyItemClick);
            }
            return;
        case EventType::DblClick:
            if (IsEnabled()) {
                Activate();
            }
            return;
        case EventType::MouseEnter:
            hot_ = true;
            Invalidate();
            return;
        case EventType::MouseLeave:
            hot_ = false;
            Invalidate();
            return;
        case EventType::MouseMove:
            return;
        case EventType::ScrollWheel:
        case EventType::KeyDown:
            if (owner_ != nullptr) {
                owner_->DoEvent(event);
            }
            return;
        default:
            CControlUI::DoEvent(event);
            return;
    }
}

void CListElementUI::PaintBkColor(QPainter& painter) {
    const TListInfoUI* info = owner_ != nullptr ? owner_->GetListInfo() : nullptr;
    if (info == nullptr) {
        CControlUI::PaintBkColor(painter);
        return;
    }
    std::uint32_t colour = bkColor_ != 0 ? bkColor_ : info->bkColor;
    if (selected_) {
        colour = info->selectedBkColor;
    } else if (hot_ && IsEnabled()) {
        colour = info->hotBkColor;
    }
    const QSize round = manager_ != nullptr ? manager_->GetDPIObj().Scale(borderRound_) : borderRound_;
    CRenderEngine::DrawColor(painter, pos_, colour, round);
    if (info->lineColor != 0) {
        CRenderEngine::DrawColor(painter, QRect(pos_.left(), pos_.bottom(), pos_.width(), 1),
                                 info->lineColor);
    }
}

QSize CListElementUI::EstimateSize(QSize available) {
    const QSize size = CControlUI::EstimateSize(available);
    return QSize(size.width(), size.height() > 0 ? size.height() : Scaled(32));
}

std::uint32_t CListElementUI::ItemTextColor() const {
    const TListInfoUI* info =
        owner_ != nullptr ? const_cast<CListElementUI*>(this)->owner_->GetListInfo() : nullptr;
    if (info == nullptr) {
        return 0xFFFFFFFF;
    }
    if (!IsEnabled()) {
        return info->disabledTextColor;
    }
    if (selected_) {
        return info->selectedTextColor;
    }
    return hot_ ? info->hotTextColor : info->textColor;
}

}  // namespace ui
