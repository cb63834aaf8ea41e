#pragma once

#include "ui/toolkit/horizontal_layout_ui.h"
#include "ui/toolkit/list_owner.h"

// CListContainerElementUI: a list element that holds controls (laid out left to right). Its
// children's clicks select it; it sends "itemclick" on release and "itemactivate" on a double
// click. Ctrl+click on a selected element unselects it.
//
// Thread: the UI thread only.

namespace ui {

class CListContainerElementUI : public CHorizontalLayoutUI, public IListItemUI {
public:
    std::string GetClass() const override;
    void* GetInterface(std::string_view name) override;

    int GetIndex() const override { return index_; }
    void SetIndex(int index) override { index_ = index; }
    IListOwnerUI* GetOwner() override { return owner_; }
    void SetOwner(CControlUI* owner) override;
    bool IsSelected() const override { return selected_; }
    bool Select(bool select = true) override;
    bool IsHot() const { return hot_; }

    bool Activate() override;
    void DoEvent(TEventUI& event) override;
    void PaintBkColor(QPainter& painter) override;
    QSize EstimateSize(QSize available) override;

protected:
    int index_ = -1;
    IListOwnerUI* owner_ = nullptr;
    bool selected_ = false;
    bool hot_ = false;
};

}  // namespace ui
