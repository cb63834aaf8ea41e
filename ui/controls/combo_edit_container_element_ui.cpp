#include "ui/controls/combo_edit_container_element_ui.h"

#include "ui/toolkit/dialog_builder.h"
#include "ui/toolkit/edit_ui.h"
#include "ui/toolkit/paint_manager_ui.h"
#include "ui/toolkit/ui_parse.h"

#include <QKeyEvent>

namespace ui {

CComboEditContainerElementUI::~CComboEditContainerElementUI() {
    if (listening_ != nullptr) {
        listening_->RemoveNotifier(this);
    }
}

std::string CComboEditContainerElementUI::GetClass() const {
    return "ComboEditContainerElement";
}

void* CComboEditContainerElementUI::GetInterface(std::string_view name) {
    return name == "ComboEditContainerElement" ? this : CListContainerElementUI::GetInterface(name);
}

// The row hears its children's notifications through the window's notifier list.
void CComboEditContainerElementUI::SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init) {
    if (listening_ != nullptr && listening_ != manager) {
        listening_->RemoveNotifier(this);
        listening_ = nullptr;
    }
    CListContainerElementUI::SetManager(manager, parent, init);
    if (manager_ != nullptr && listening_ == nullptr) {
        manager_->AddNotifier(this);
        listening_ = manager_;
    }
}

void CComboEditContainerElementUI::DoInit() {
    CListContainerElementUI::DoInit();
    if (GetCount() == 0) {
        CDialogBuilder builder;
        builder.Create(kContentFile, nullptr, manager_, this);
    }
    text1_ = FindSubControl("text1");
    text2_ = FindSubControl("text2");
    CControlUI* edit = FindSubControl("delay_edit");
    delayEdit_ = edit != nullptr ? static_cast<CEditUI*>(edit->GetInterface("Edit")) : nullptr;
}

void CComboEditContainerElementUI::SetAttribute(std::string_view name, std::string_view value) {
    const std::string key = ToLower(name);
    if (key == "normalimage" || key == "hotimage" || key == "selectedimage") {
        return;
    }
    CListContainerElementUI::SetAttribute(name, value);
}

void CComboEditContainerElementUI::DoEvent(TEventUI& event) {
    if (event.Type == EventType::KeyDown && (event.key == Qt::Key_Return || event.key == Qt::Key_Enter)) {
        if (IsEnabled() && manager_ != nullptr) {
            manager_->SendNotify(this, kNotifyReturn);
        }
        return;
    }
    CListContainerElementUI::DoEvent(event);
}

void CComboEditContainerElementUI::Notify(TNotifyUI& msg) {
    if (msg.pSender == nullptr || msg.pSender == this) {
        return;
    }
    if (msg.sType == kNotifySelectChanged && IsOwnDescendant(msg.pSender)) {
        changed_ = true;
    } else if (msg.sType == kNotifyReturn && delayEdit_ != nullptr && msg.pSender == delayEdit_) {
        changed_ = true;
    }
}

bool CComboEditContainerElementUI::IsOwnDescendant(const CControlUI* control) const {
    for (const CControlUI* up = control; up != nullptr; up = up->GetParent()) {
        if (up == this) {
            return true;
        }
    }
    return false;
}

}  // namespace ui
