#include "ui/toolkit/list_container_element_ui.h"

#include "ui/toolkit/paint_manager_ui.h"
#include "ui/toolkit/render_engine.h"

namespace ui {

std::string CListContainerElementUI::GetClass() const {
    return "ListContainerElement";
}

void* CListContainerElementUI::GetInterface(std::string_view name) {
    if (name == "ListItem") {
        return static_cast<IListItemUI*>(this);
    }
    return name == "ListContainerElement" ? this : CHorizontalLayoutUI::GetInterface(name);
}

void CListContainerElementUI::SetOwner(CControlUI* owner) {
    owner_ = owner != nullptr ? static_cast<IListOwnerUI*>(owner->GetInterface("IListOwner")) : nullptr;
}

bool CListContainerElementUI::Select(bool select) {
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

bool CListContainerElementUI::Activate() {
    if (!CControlUI::Activate()) {
        return false;
    }
    if (manager_ != nullptr) {
        manager_->SendNotify(this, kNotifyItemActivate);
    }
    return true;
}

void CListContainerElementUI::DoEvent(TEventUI& event) {
    switch (event.Type) {
        case EventType::ButtonDown:
        case EventType::RButtonDown:
            if (!IsEnabled()) {
                return;
            }
            if ((event.wKeyState & kKeyStateControl) && selected_ && owner_ != nullptr) {
                Select(false);
                owner_->SelectItem(-1);
            } else if (owner_ != nullptr) {
                owner_->SelectItem(index_, true);
            }
            Invalidate();
            return;
        case EventType::ButtonUp:
            if (IsEnabled() && manager_ != nullptr) {
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
                return;
            }
            break;
        case EventType::Timer:
        case EventType::ContextMenu:
            CControlUI::DoEvent(event);
            return;
        default:
            break;
    }
    CHorizontalLayoutUI::DoEvent(event);
}

void CListContainerElementUI::PaintBkColor(QPainter& painter) {
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

QSize CListContainerElementUI::EstimateSize(QSize available) {
    const QSize size = CHorizontalLayoutUI::EstimateSize(available);
    return QSize(size.width(), size.height() > 0 ? size.height() : Scaled(32));
}

}  // namespace ui
