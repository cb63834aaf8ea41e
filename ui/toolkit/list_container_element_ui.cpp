#include "ui/toolkit/list_container_element_ui.h"

#include "ui/toolkit/paint_manager_ui.h"

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

void CListContainerElementUI::DoEvent(TEventUI& event) {
    if (TrackHot(event)) {
        return;
    }
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

}  // namespace ui
