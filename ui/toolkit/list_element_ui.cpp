#include "ui/toolkit/list_element_ui.h"

#include "ui/toolkit/paint_manager_ui.h"

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

void CListElementUI::DoEvent(TEventUI& event) {
    if (!IsMouseEnabled() && event.Type != EventType::Timer) {
        if (owner_ != nullptr) {
            owner_->DoEvent(event);
        }
        return;
    }
    if (TrackHot(event)) {
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
