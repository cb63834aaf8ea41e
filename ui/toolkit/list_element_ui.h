#pragma once

#include "ui/toolkit/control_ui.h"
#include "ui/toolkit/list_owner.h"

// CListElementUI: the base of the simple list elements. A click selects it in its owner and
// sends "itemclick"; a double click sends "itemactivate". It paints its background from the
// owner's item colours (hot, selected).
//
// Thread: the UI thread only.

namespace ui {

class CListElementUI : public CControlUI, public IListItemUI {
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
    std::uint32_t ItemTextColor() const;

    int index_ = -1;
    IListOwnerUI* owner_ = nullptr;
    bool selected_ = false;
    bool hot_ = false;
};

}  // namespace ui
