#pragma once

#include "ui/toolkit/list_owner.h"
#include "ui/toolkit/vertical_layout_ui.h"

// CListUI: a vertical, scrolling list of elements (list label, text and container elements)
// with one selection. SelectItem sends "itemselect" (wParam: new index, lParam: old index) when
// the selection changes; the elements send "itemclick" and "itemactivate". The arrow keys move the
// selection. Item colours come from the "item…" attributes (TListInfoUI).
//
// Thread: the UI thread only.

namespace ui {

class CListUI : public CVerticalLayoutUI, public IListOwnerUI {
public:
    CListUI();

    std::string GetClass() const override;
    void* GetInterface(std::string_view name) override;

    bool Add(CControlUI* control) override;
    bool AddAt(CControlUI* control, int index) override;
    bool Remove(CControlUI* control, bool doNotDestroy = false) override;
    bool RemoveAt(int index, bool doNotDestroy = false) override;
    void RemoveAll() override;

    TListInfoUI* GetListInfo() override { return &info_; }
    int GetCurSel() const override { return curSel_; }
    // -1 clears the selection; false for an index out of range.
    bool SelectItem(int index, bool takeFocus = false) override;
    void EnsureVisible(int index);

    void SetAttribute(std::string_view name, std::string_view value) override;
    void DoEvent(TEventUI& event) override;

private:
    TListInfoUI info_;
    int curSel_ = -1;
};

}  // namespace ui
