#pragma once

#include "ui/toolkit/horizontal_layout_ui.h"
#include "ui/toolkit/list_item_ui.h"

// CListContainerElementUI: a list element that holds controls (laid out left to right). Its
// children's clicks select it; it sends "itemclick" on release and "itemactivate" on a double
// click. Ctrl+click on a selected element unselects it.
//
// Thread: the UI thread only.

namespace ui {

class CListContainerElementUI : public CListItemUI<CHorizontalLayoutUI> {
public:
    std::string GetClass() const override;
    void* GetInterface(std::string_view name) override;
    void DoEvent(TEventUI& event) override;
};

}  // namespace ui
