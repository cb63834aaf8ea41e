#include "ui/toolkit/horizontal_layout_ui.h"

#include "ui/toolkit/box_layout.h"
#include "ui/toolkit/render_engine.h"

namespace ui {
namespace {

QRect Transposed(const QRect& rect) {
    return QRect(rect.top(), rect.left(), rect.height(), rect.width());
}

QMargins Transposed(const QMargins& margins) {
    return QMargins(margins.top(), margins.left(), margins.bottom(), margins.right());
}

}  // namespace

std::string CHorizontalLayoutUI::GetClass() const {
    return "HorizontalLayout";
}

void* CHorizontalLayoutUI::GetInterface(std::string_view name) {
    return name == "HorizontalLayout" ? this : CContainerUI::GetInterface(name);
}

void CHorizontalLayoutUI::SetPos(QRect rect, bool needInvalidate) {
    CControlUI::SetPos(rect, needInvalidate);
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
        boxes.push_back(BoxItem{size.width(), size.height(), item->GetMinWidth(), item->GetMaxWidth(),
                                item->GetMinHeight(), item->GetMaxHeight(), Transposed(item->GetPadding())});
        placed.push_back(item);
    }
    int required = 0;
    const unsigned align = childVAlign_ == DT_VCENTER ? 1 : childVAlign_ == DT_BOTTOM ? 2 : 0;
    const std::vector<QRect> rects =
        LayOutBox(boxes, Transposed(content), GetChildPadding(), 0, align, required);
    for (std::size_t i = 0; i < placed.size(); ++i) {
        placed[i]->SetPos(Transposed(rects[i]), false);
    }
}

}  // namespace ui
