#pragma once

#include "ui/toolkit/list_container_element_ui.h"

#include <string>

// CComboEditContainerElementUI: one row of the macro action list. On initialisation it builds its
// content from "XML\CustomControlXML\ComboEditElementItem.xml" and keeps the children "text1",
// "text2" and "delay_edit". A click selects it (Ctrl+click toggles), releasing the button sends
// "itemclick", Enter sends "return", its timers and context menu are reported as "timer" and
// "menu". When one of its children sends "selectchanged", or its delay edit sends "return", the row
// is marked changed. The state images normalimage, hotimage and selectedimage are ignored.
//
// Thread: the UI thread only.

namespace ui {

class CLabelUI;
class CEditUI;

class CComboEditContainerElementUI : public CListContainerElementUI, public INotifyUI {
public:
    static constexpr const char* kContentFile = "XML\\CustomControlXML\\ComboEditElementItem.xml";

    ~CComboEditContainerElementUI() override;

    std::string GetClass() const override;
    void* GetInterface(std::string_view name) override;

    CControlUI* GetText1() const { return text1_; }
    CControlUI* GetText2() const { return text2_; }
    CEditUI* GetDelayEdit() const { return delayEdit_; }
    bool IsChanged() const { return changed_; }
    void SetChanged(bool changed) { changed_ = changed; }

    void SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init = true) override;
    void DoInit() override;
    void SetAttribute(std::string_view name, std::string_view value) override;
    void DoEvent(TEventUI& event) override;
    void Notify(TNotifyUI& msg) override;

private:
    bool IsOwnDescendant(const CControlUI* control) const;

    CControlUI* text1_ = nullptr;
    CControlUI* text2_ = nullptr;
    CEditUI* delayEdit_ = nullptr;
    CPaintManagerUI* listening_ = nullptr;
    bool changed_ = false;
};

}  // namespace ui
