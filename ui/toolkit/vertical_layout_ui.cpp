#include "ui/toolkit/vertical_layout_ui.h"

#include "ui/toolkit/box_layout.h"
#include "ui/toolkit/render_engine.h"

namespace ui {

std::string CVerticalLayoutUI::GetClass() const {
    return "VerticalLayout";
}

void* CVerticalLayoutUI::GetInterface(std::string_view name) {
    return name == "VerticalLayout" ? this : CContainerUI::GetInterface(name);
}

void CVerticalLayoutUI::SetPos(QRect rect, bool needInvalidate) {
    CControlUI::SetPos(rect, needInvalidate);
    for (int pass = 0; pass < 2; ++pass) {
        const QRect content = ContentRect();
        std::vector<BoxItem> boxes;
        std::vector<CControlUI*> placed;
        for (CControlUI* item : items_) {
            if (!item->IsVisible()) {
                continue;
            }
            if (item->IsFloat()) {
                SetFloatPos(item);
                continue;
            }
            const QSize size = item->EstimateSize(content.size());
            boxes.push_back(BoxItem{size.height(), size.width(), item->GetMinHeight(), item->GetMaxHeight(),
                                    item->GetMinWidth(), item->GetMaxWidth(), item->GetPadding()});
            placed.push_back(item);
        }
        int required = 0;
        const unsigned align = childAlign_ == DT_CENTER ? 1 : childAlign_ == DT_RIGHT ? 2 : 0;
        const std::vector<QRect> rects =
            LayOutBox(boxes, content, GetChildPadding(), scrollPos_.y(), align, required);
        for (std::size_t i = 0; i < placed.size(); ++i) {
            placed[i]->SetPos(rects[i], false);
        }
        if (!ProcessScrollBar(content, required)) {
            return;
        }
    }
}

}  // namespace ui
