#include "ui/toolkit/list_ui.h"

#include "ui/toolkit/paint_manager_ui.h"

namespace ui {
CListUI::CListUI() {
    vScrollEnabled_ = true;
}

std::string CListUI::GetClass() const {
    return "List";
}

void* CListUI::GetInterface(std::string_view name) {
    if (name == "IListOwner") {
        return static_cast<IListOwnerUI*>(this);
    }
    return name == "List" ? this : CVerticalLayoutUI::GetInterface(name);
}

bool CListUI::Add(CControlUI* control) {
    return AddAt(control, GetCount());
}

bool CListUI::AddAt(CControlUI* control, int index) {
    if (!CVerticalLayoutUI::AddAt(control, index)) {
        return false;
    }
    if (IListItemUI* item = AsListItem(control)) {
        item->SetOwner(this);
    }
    if (curSel_ >= index) {
        ++curSel_;
    }
    ReindexListItems(*this);
    return true;
}

bool CListUI::Remove(CControlUI* control, bool doNotDestroy) {
    const int index = GetItemIndex(control);
    return index >= 0 && RemoveAt(index, doNotDestroy);
}

bool CListUI::RemoveAt(int index, bool doNotDestroy) {
    if (!CVerticalLayoutUI::RemoveAt(index, doNotDestroy)) {
        return false;
    }
    curSel_ = SelectionAfterRemoval(curSel_, index);
    ReindexListItems(*this);
    return true;
}

void CListUI::RemoveAll() {
    curSel_ = -1;
    CVerticalLayoutUI::RemoveAll();
}

bool CListUI::SelectItem(int index, bool takeFocus) {
    if (index == curSel_) {
        return true;
    }
    if (index < -1 || index >= GetCount()) {
        return false;
    }
    const int old = curSel_;
    if (IListItemUI* previous = AsListItem(GetItemAt(old))) {
        previous->Select(false);
    }
    curSel_ = index;
    if (IListItemUI* item = AsListItem(GetItemAt(index))) {
        item->Select(true);
        EnsureVisible(index);
        if (takeFocus) {
            GetItemAt(index)->SetFocus();
        }
    }
    if (manager_ != nullptr) {
        manager_->SendNotify(this, kNotifyItemSelect, static_cast<WPARAM>(curSel_), old);
    }
    Invalidate();
    return true;
}

void CListUI::EnsureVisible(int index) {
    CControlUI* item = GetItemAt(index);
    if (item == nullptr || !vScrollVisible_) {
        return;
    }
    const QRect content = ContentRect();
    const QRect rect = item->GetPos();
    if (rect.top() < content.top()) {
        SetScrollPos(QPoint(0, scrollPos_.y() - (content.top() - rect.top())));
    } else if (rect.bottom() > content.bottom()) {
        SetScrollPos(QPoint(0, scrollPos_.y() + (rect.bottom() - content.bottom())));
    }
}

void CListUI::SetAttribute(std::string_view name, std::string_view value) {
    if (info_.SetAttribute(name, value)) {
        Invalidate();
        return;
    }
    CVerticalLayoutUI::SetAttribute(name, value);
}

void CListUI::DoEvent(TEventUI& event) {
    if (event.Type == EventType::KeyDown) {
        if (event.key == Qt::Key_Up && curSel_ > 0) {
            SelectItem(curSel_ - 1, true);
            return;
        }
        if (event.key == Qt::Key_Down && curSel_ + 1 < GetCount()) {
            SelectItem(curSel_ + 1, true);
            return;
        }
    }
    CVerticalLayoutUI::DoEvent(event);
}

}  // namespace ui
