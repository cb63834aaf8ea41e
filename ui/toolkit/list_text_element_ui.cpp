#include "ui/toolkit/list_text_element_ui.h"

#include "ui/toolkit/paint_manager_ui.h"
#include "ui/toolkit/render_engine.h"
#include "ui/toolkit/resource_manager.h"

namespace ui {

std::string CListTextElementUI::GetClass() const {
    return "ListTextElement";
}

void* CListTextElementUI::GetInterface(std::string_view name) {
    return name == "ListTextElement" ? this : CListLabelElementUI::GetInterface(name);
}

std::string CListTextElementUI::GetText(int column) const {
    if (column == 0) {
        return GetText();
    }
    if (column < 0 || static_cast<std::size_t>(column) >= columns_.size()) {
        return {};
    }
    const std::string* translated =
        CResourceManager::GetInstance().GetText(columns_[static_cast<std::size_t>(column)]);
    return translated != nullptr ? *translated : columns_[static_cast<std::size_t>(column)];
}

void CListTextElementUI::SetText(int column, const std::string& text) {
    if (column < 0) {
        return;
    }
    if (column == 0) {
        SetText(text);
        return;
    }
    if (columns_.size() <= static_cast<std::size_t>(column)) {
        columns_.resize(static_cast<std::size_t>(column) + 1);
    }
    columns_[static_cast<std::size_t>(column)] = text;
    Invalidate();
}

void CListTextElementUI::PaintText(QPainter& painter) {
    if (manager_ == nullptr) {
        return;
    }
    const int count = std::max<int>(1, static_cast<int>(columns_.size()));
    const TListInfoUI* info = owner_ != nullptr ? owner_->GetListInfo() : nullptr;
    const TListInfoUI fallback;
    const TListInfoUI& style = info != nullptr ? *info : fallback;
    const int width = pos_.width() / count;
    for (int column = 0; column < count; ++column) {
        const QRect cell(pos_.left() + column * width, pos_.top(), width, pos_.height());
        CRenderEngine::DrawText(painter, cell.marginsRemoved(manager_->GetDPIObj().Scale(style.textPadding)),
                                GetText(column), ItemTextColor(), manager_->GetFont(style.font),
                                style.textStyle | DT_END_ELLIPSIS);
    }
}

}  // namespace ui
