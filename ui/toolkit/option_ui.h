#pragma once

#include "ui/toolkit/button_ui.h"

// COptionUI: a button that stays selected. With a group it is a radio button (selecting it
// unselects the others of the group in the window; clicking a selected one keeps it); without, a
// check box that toggles. A change sends "selectchanged". Bound to a tab layout by name and index,
// selecting it selects that page. Attributes: group, selected, selectedimage, selectedhotimage,
// selectedbkcolor, selectedtextcolor, bindtabname, bindtabindex.
//
// Thread: the UI thread only.

namespace ui {

class COptionUI : public CButtonUI {
public:
    ~COptionUI() override;

    std::string GetClass() const override;
    void* GetInterface(std::string_view name) override;

    const std::string& GetGroup() const { return group_; }
    void SetGroup(const std::string& group);
    bool IsSelected() const { return selected_; }
    // Sends "selectchanged" when the state changes and triggerEvent is set.
    virtual void Selected(bool selected, bool triggerEvent = true);
    void SetSelectedImage(const std::string& image);
    void SetSelectedHotImage(const std::string& image);

    void BindTabLayoutName(const std::string& name);
    void BindTabIndex(int index);
    const std::string& GetBindTabLayoutName() const { return bindTabName_; }
    int GetBindTabLayoutIndex() const { return bindTabIndex_; }
    // Selects the bound page; false when there is no such tab layout.
    bool SelectBoundTab();

    void SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init = true) override;
    bool Activate() override;
    void SetAttribute(std::string_view name, std::string_view value) override;
    void PaintBkColor(QPainter& painter) override;
    void PaintStatusImage(QPainter& painter) override;
    void PaintText(QPainter& painter) override;

protected:
    bool selected_ = false;
    std::string group_;
    std::string selectedImage_;
    std::string selectedHotImage_;
    std::string selectedForeImage_;
    std::uint32_t selectedBkColor_ = 0;
    std::uint32_t selectedTextColor_ = 0;
    std::string bindTabName_;
    int bindTabIndex_ = -1;
};

// CCheckBoxUI: an option without a group.
class CCheckBoxUI : public COptionUI {
public:
    std::string GetClass() const override;
    void* GetInterface(std::string_view name) override;
    bool GetCheck() const { return IsSelected(); }
    void SetCheck(bool check, bool triggerEvent = true) { Selected(check, triggerEvent); }
};

}  // namespace ui
