#pragma once

#include "ui/toolkit/container_ui.h"
#include "ui/toolkit/list_owner.h"

// CComboUI: a drop-down choice among list elements. It shows the selected element's text and a
// chevron; a click opens a popup list of the elements' texts; choosing one (or SelectItem from
// code) sends "itemselect" (wParam: new index, lParam: old index) when the selection changes.
// Attributes: textpadding, textcolor, font, hotbkcolor, pushedbkcolor, disabledbkcolor,
// normalimage, hotimage, pushedimage, disabledimage, and the "item…" colours.
//
// Thread: the UI thread only.

namespace ui {

class CComboUI : public CContainerUI, public IListOwnerUI {
public:
    std::string GetClass() const override;
    void* GetInterface(std::string_view name) override;

    bool Add(CControlUI* control) override;
    bool AddAt(CControlUI* control, int index) override;
    bool RemoveAt(int index, bool doNotDestroy = false) override;
    void RemoveAll() override;

    TListInfoUI* GetListInfo() override { return &info_; }
    int GetCurSel() const override { return curSel_; }
    bool SelectItem(int index, bool takeFocus = false) override;
    // The same, sending "itemselect" only when triggerEvent is set.
    bool SelectItem(int index, bool takeFocus, bool triggerEvent);
    std::string GetText() const override;
    // Opens the popup list (modal until a choice or a click outside).
    void ShowDropDown();
    bool IsHot() const { return hot_; }

    void SetPos(QRect rect, bool needInvalidate = true) override;
    void SetVisible(bool visible = true) override;
    void SetInternVisible(bool visible = true) override;
    CControlUI* FindControlAt(QPoint point) override;
    void SetAttribute(std::string_view name, std::string_view value) override;
    void DoEvent(TEventUI& event) override;
    void DoPaint(QPainter& painter, const QRect& paintRect) override;

private:
    TListInfoUI info_;
    int curSel_ = -1;
    bool hot_ = false;
    bool pushed_ = false;
    QMargins textPadding_{8, 0, 24, 0};
    std::uint32_t textColor_ = 0xFFFFFFFF;
    std::uint32_t disabledTextColor_ = 0xFF5C6370;
    int font_ = -1;
    std::uint32_t hotBkColor_ = 0;
    std::uint32_t pushedBkColor_ = 0;
    std::uint32_t disabledBkColor_ = 0;
    std::string normalImage_;
    std::string hotImage_;
    std::string pushedImage_;
    std::string disabledImage_;
    int dropHeight_ = 240;
};

}  // namespace ui
