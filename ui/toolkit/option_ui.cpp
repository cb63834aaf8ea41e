#include "ui/toolkit/option_ui.h"

#include "ui/toolkit/paint_manager_ui.h"
#include "ui/toolkit/render_engine.h"
#include "ui/toolkit/tab_layout_ui.h"
#include "ui/toolkit/ui_parse.h"

namespace ui {

COptionUI::~COptionUI() {
    if (manager_ != nullptr && !group_.empty()) {
        manager_->RemoveOptionGroup(group_, this);
    }
}

std::string COptionUI::GetClass() const {
    return "Option";
}

void* COptionUI::GetInterface(std::string_view name) {
    return name == "Option" ? this : CButtonUI::GetInterface(name);
}

void COptionUI::SetGroup(const std::string& group) {
    if (group == group_) {
        return;
    }
    if (manager_ != nullptr && !group_.empty()) {
        manager_->RemoveOptionGroup(group_, this);
    }
    group_ = group;
    if (manager_ != nullptr && !group_.empty()) {
        manager_->AddOptionGroup(group_, this);
    }
    Selected(selected_, false);
}

void COptionUI::SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init) {
    if (manager_ != nullptr && manager != manager_ && !group_.empty()) {
        manager_->RemoveOptionGroup(group_, this);
    }
    CButtonUI::SetManager(manager, parent, init);
    if (manager_ != nullptr && !group_.empty()) {
        manager_->AddOptionGroup(group_, this);
    }
}

void COptionUI::Selected(bool selected, bool triggerEvent) {
    if (selected_ == selected) {
        return;
    }
    selected_ = selected;
    if (manager_ != nullptr && selected_ && !group_.empty()) {
        if (const auto* members = manager_->GetOptionGroup(group_)) {
            const std::vector<CControlUI*> others = *members;
            for (CControlUI* other : others) {
                auto* option = static_cast<COptionUI*>(other->GetInterface("Option"));
                if (option != nullptr && option != this) {
                    option->Selected(false, triggerEvent);
                }
            }
        }
    }
    if (selected_) {
        SelectBoundTab();
    }
    if (triggerEvent && manager_ != nullptr) {
        manager_->SendNotify(this, kNotifySelectChanged);
    }
    Invalidate();
}

void COptionUI::SetSelectedImage(const std::string& image) {
    selectedImage_ = image;
    Invalidate();
}

void COptionUI::SetSelectedHotImage(const std::string& image) {
    selectedHotImage_ = image;
    Invalidate();
}

void COptionUI::BindTabLayoutName(const std::string& name) {
    bindTabName_ = name;
}

void COptionUI::BindTabIndex(int index) {
    bindTabIndex_ = index;
}

bool COptionUI::SelectBoundTab() {
    if (manager_ == nullptr || bindTabName_.empty() || bindTabIndex_ < 0) {
        return false;
    }
    CControlUI* control = manager_->FindControl(bindTabName_);
    auto* tab = control != nullptr ? static_cast<CTabLayoutUI*>(control->GetInterface("TabLayout")) : nullptr;
    return tab != nullptr && tab->SelectItem(bindTabIndex_);
}

bool COptionUI::Activate() {
    if (!CButtonUI::Activate()) {
        return false;
    }
    Selected(group_.empty() ? !selected_ : true);
    return true;
}

void COptionUI::SetAttribute(std::string_view name, std::string_view value) {
    const std::string key = ToLower(name);
    const std::string text(value);
    if (key == "group") {
        SetGroup(text);
    } else if (key == "selected") {
        Selected(ParseBool(value), false);
    } else if (key == "selectedimage") {
        selectedImage_ = text;
    } else if (key == "selectedhotimage") {
        selectedHotImage_ = text;
    } else if (key == "selectedforeimage") {
        selectedForeImage_ = text;
    } else if (key == "selectedbkcolor") {
        selectedBkColor_ = ParseColor(value);
    } else if (key == "selectedtextcolor") {
        selectedTextColor_ = ParseColor(value);
    } else if (key == "bindtabname" || key == "bindtablayoutname") {
        bindTabName_ = text;
    } else if (key == "bindtabindex") {
        bindTabIndex_ = ParseInt(value, -1);
    } else {
        CButtonUI::SetAttribute(name, value);
        return;
    }
    Invalidate();
}

void COptionUI::PaintBkColor(QPainter& painter) {
    if (selected_ && selectedBkColor_ != 0 && IsEnabled()) {
        const QSize round = manager_ != nullptr ? manager_->GetDPIObj().Scale(borderRound_) : borderRound_;
        CRenderEngine::DrawColor(painter, pos_, selectedBkColor_, round);
        return;
    }
    CButtonUI::PaintBkColor(painter);
}

void COptionUI::PaintStatusImage(QPainter& painter) {
    if (!selected_ || !IsEnabled()) {
        CButtonUI::PaintStatusImage(painter);
        return;
    }
    const std::string& image = (hot_ && !selectedHotImage_.empty()) ? selectedHotImage_ : selectedImage_;
    if (image.empty() || !DrawImage(painter, image)) {
        CButtonUI::PaintStatusImage(painter);
        return;
    }
    DrawImage(painter, selectedForeImage_.empty() ? foreImage_ : selectedForeImage_);
}

void COptionUI::PaintText(QPainter& painter) {
    if (selected_ && selectedTextColor_ != 0 && IsEnabled()) {
        PaintTextIn(painter, selectedTextColor_);
        return;
    }
    CButtonUI::PaintText(painter);
}

std::string CCheckBoxUI::GetClass() const {
    return "CheckBox";
}

void* CCheckBoxUI::GetInterface(std::string_view name) {
    return name == "CheckBox" ? this : COptionUI::GetInterface(name);
}

}  // namespace ui
