#include "ui/toolkit/tab_layout_ui.h"

#include "ui/toolkit/paint_manager_ui.h"
#include "ui/toolkit/ui_parse.h"

namespace ui {

std::string CTabLayoutUI::GetClass() const {
    return "TabLayout";
}

void* CTabLayoutUI::GetInterface(std::string_view name) {
    return name == "TabLayout" ? this : CContainerUI::GetInterface(name);
}

bool CTabLayoutUI::Add(CControlUI* control) {
    return AddAt(control, GetCount());
}

bool CTabLayoutUI::AddAt(CControlUI* control, int index) {
    if (!CContainerUI::AddAt(control, index)) {
        return false;
    }
    // A "selectedid" given before the children arrive stays until its child exists.
    const bool selectionExisted = curSel_ >= 0 && curSel_ < GetCount() - 1;
    if (curSel_ < 0) {
        curSel_ = 0;
    } else if (selectionExisted && index <= curSel_) {
        ++curSel_;
    }
    ShowOnlyCurrent();
    return true;
}

bool CTabLayoutUI::Remove(CControlUI* control, bool doNotDestroy) {
    const int index = GetItemIndex(control);
    return index >= 0 && RemoveAt(index, doNotDestroy);
}

bool CTabLayoutUI::RemoveAt(int index, bool doNotDestroy) {
    if (!CContainerUI::RemoveAt(index, doNotDestroy)) {
        return false;
    }
    if (GetCount() == 0) {
        curSel_ = -1;
    } else if (index < curSel_ || curSel_ >= GetCount()) {
        curSel_ = std::max(0, curSel_ - 1);
    }
    ShowOnlyCurrent();
    return true;
}

void CTabLayoutUI::RemoveAll() {
    CContainerUI::RemoveAll();
    curSel_ = -1;
}

bool CTabLayoutUI::SelectItem(int index) {
    if (index < 0 || index >= GetCount()) {
        return false;
    }
    if (index == curSel_) {
        return true;
    }
    curSel_ = index;
    ShowOnlyCurrent();
    NeedUpdate();
    if (manager_ != nullptr) {
        manager_->SendNotify(this, "tabselect", static_cast<WPARAM>(curSel_));
    }
    return true;
}

bool CTabLayoutUI::SelectItem(CControlUI* control) {
    return SelectItem(GetItemIndex(control));
}

void CTabLayoutUI::ShowOnlyCurrent() {
    for (int i = 0; i < GetCount(); ++i) {
        items_[static_cast<std::size_t>(i)]->SetInternVisible(IsVisible() && i == curSel_);
    }
}

void CTabLayoutUI::SetInternVisible(bool visible) {
    CControlUI::SetInternVisible(visible);
    ShowOnlyCurrent();
}

void CTabLayoutUI::SetVisible(bool visible) {
    CControlUI::SetVisible(visible);
    ShowOnlyCurrent();
}

void CTabLayoutUI::SetPos(QRect rect, bool needInvalidate) {
    CControlUI::SetPos(rect, needInvalidate);
    const QRect content = ContentRect();
    for (CControlUI* item : items_) {
        if (item->IsFloat()) {
            SetFloatPos(item);
        } else {
            item->SetPos(content.marginsRemoved(item->GetPadding()), false);
        }
    }
}

void CTabLayoutUI::SetAttribute(std::string_view name, std::string_view value) {
    if (EqualsNoCase(name, "selectedid")) {
        curSel_ = std::max(0, ParseInt(value));
        ShowOnlyCurrent();
        return;
    }
    CContainerUI::SetAttribute(name, value);
}

}  // namespace ui
