#pragma once

#include "ui/toolkit/container_ui.h"

// CTabLayoutUI: shows one child at a time over its whole inner rectangle. Options bind to it by
// name and index (COptionUI::BindTabLayoutName / BindTabIndex) and select their page when chosen.
//
// Thread: the UI thread only.

namespace ui {

class CTabLayoutUI : public CContainerUI {
public:
    std::string GetClass() const override;
    void* GetInterface(std::string_view name) override;

    bool Add(CControlUI* control) override;
    bool AddAt(CControlUI* control, int index) override;
    bool Remove(CControlUI* control, bool doNotDestroy = false) override;
    bool RemoveAt(int index, bool doNotDestroy = false) override;
    void RemoveAll() override;
    int GetCurSel() const { return curSel_; }
    // Shows the child at index; false for an index out of range (the selection stays).
    bool SelectItem(int index);
    bool SelectItem(CControlUI* control);

    void SetInternVisible(bool visible = true) override;
    void SetVisible(bool visible = true) override;
    void SetPos(QRect rect, bool needInvalidate = true) override;
    void SetAttribute(std::string_view name, std::string_view value) override;

private:
    void ShowOnlyCurrent();

    int curSel_ = -1;
};

}  // namespace ui
