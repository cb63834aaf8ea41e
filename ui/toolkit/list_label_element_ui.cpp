#include "ui/toolkit/list_label_element_ui.h"

#include "ui/toolkit/paint_manager_ui.h"
#include "ui/toolkit/render_engine.h"

namespace ui {

std::string CListLabelElementUI::GetClass() const {
    return "ListLabelElement";
}

void* CListLabelElementUI::GetInterface(std::string_view name) {
    return name == "ListLabelElement" ? this : CListElementUI::GetInterface(name);
}

void CListLabelElementUI::PaintText(QPainter& painter) {
    if (manager_ == nullptr) {
        return;
    }
    const TListInfoUI* info = owner_ != nullptr ? owner_->GetListInfo() : nullptr;
    const TListInfoUI fallback;
    const TListInfoUI& style = info != nullptr ? *info : fallback;
    CRenderEngine::DrawText(painter, pos_.marginsRemoved(manager_->GetDPIObj().Scale(style.textPadding)),
                            GetText(), ItemTextColor(), manager_->GetFont(style.font),
                            style.textStyle | DT_END_ELLIPSIS);
}

}  // namespace ui
