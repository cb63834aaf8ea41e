#include "ui/controls/update_info_list_item_ui.h"

#include "ui/toolkit/dialog_builder.h"
#include "ui/toolkit/option_ui.h"

#include <array>

namespace ui {
namespace {

constexpr std::array<const char*, 9> kStateTextKeys{"LessUpdateText",   "NeedUpdateText",  "NeedUpdateText",
                                                    "DownloadWaitText", "DownloadIngText", "DownloadOkText",
                                                    "UpdateIngText",    "UpdateOkText",    "UpdateFailText"};

}  // namespace

std::string CUpdateInfoListItemUI::StateTextKey(int state) {
    return state >= 0 && state < static_cast<int>(kStateTextKeys.size())
               ? kStateTextKeys[static_cast<std::size_t>(state)]
               : "";
}

std::string CUpdateInfoListItemUI::GetClass() const {
    return "UpdateInfoListItem";
}

void* CUpdateInfoListItemUI::GetInterface(std::string_view name) {
    return name == "UpdateInfoListItem" ? this : CListContainerElementUI::GetInterface(name);
}

void CUpdateInfoListItemUI::DoInit() {
    CListContainerElementUI::DoInit();
    if (GetCount() == 0) {
        CDialogBuilder builder;
        builder.Create(kContentFile, nullptr, manager_, this);
    }
    ShowAll();
}

CControlUI* CUpdateInfoListItemUI::Child(const char* name) const {
    return const_cast<CUpdateInfoListItemUI*>(this)->FindSubControl(name);
}

void CUpdateInfoListItemUI::ShowAll() {
    SetState(state_);
    SetName(name_);
    SetOldVersion(oldVersion_);
    SetNewVersion(newVersion_);
    SetProgress(progress_);
    SetChecked(checked_);
    SetSelectable(selectable_);
    ShowFileText();
}

void CUpdateInfoListItemUI::ShowFileText() {
    // The row grows by the lines of the file's path and SHA-256 while it has them.
    SetFixedHeight(fileText_.empty() ? 48 : 100);
    if (CControlUI* file = Child("update_file_text")) {
        file->SetText(fileText_);
        file->SetVisible(!fileText_.empty());
    }
}

void CUpdateInfoListItemUI::SetState(int state) {
    state_ = state;
    if (CControlUI* text = Child("update_status_text")) {
        text->SetText(pending_ ? std::string() : StateTextKey(state));
    }
    if (CControlUI* busy = Child("update_status_ing")) {
        busy->SetVisible(state == kDownloading || state == kInstalling);
    }
    if (CControlUI* ok = Child("update_status_ok")) {
        ok->SetVisible(state == kUpToDate && !pending_);
    }
    if (CControlUI* progress = Child("update_progress_value")) {
        progress->SetVisible(state == kDownloading || state == kInstalling);
    }
    if (state == kNothing) {
        SetSelectable(false);
    }
}

void CUpdateInfoListItemUI::SetPending(bool pending) {
    pending_ = pending;
    SetState(state_);
}

void CUpdateInfoListItemUI::SetName(const std::string& name) {
    name_ = name;
    if (CControlUI* check = Child("check_name_select")) {
        check->SetText(name);
    }
}

void CUpdateInfoListItemUI::SetOldVersion(const std::string& text) {
    oldVersion_ = text;
    if (CControlUI* label = Child("OldRev")) {
        label->SetText(text);
    }
}

void CUpdateInfoListItemUI::SetNewVersion(const std::string& text) {
    newVersion_ = text;
    if (CControlUI* label = Child("updateRev")) {
        label->SetText(text);
    }
    if (CControlUI* arrow = Child("update_arrow")) {
        arrow->SetVisible(!text.empty());
    }
}

void CUpdateInfoListItemUI::SetProgress(int percent) {
    progress_ = percent;
    if (CControlUI* label = Child("update_progress_value")) {
        label->SetText(std::to_string(percent) + "%");
    }
}

CCheckBoxUI* CUpdateInfoListItemUI::CheckBox() const {
    CControlUI* control = Child("check_name_select");
    return control != nullptr ? static_cast<CCheckBoxUI*>(control->GetInterface("CheckBox")) : nullptr;
}

bool CUpdateInfoListItemUI::IsChecked() const {
    // The user ticks the box itself: it is the truth once it exists.
    const CCheckBoxUI* box = CheckBox();
    return box != nullptr ? box->GetCheck() : checked_;
}

void CUpdateInfoListItemUI::SetChecked(bool checked) {
    checked_ = checked;
    CCheckBoxUI* box = CheckBox();
    if (box != nullptr && box->GetCheck() != checked) {
        box->SetCheck(checked, false);
    }
}

void CUpdateInfoListItemUI::SetSelectable(bool selectable) {
    selectable_ = selectable;
    if (CControlUI* check = Child("check_name_select")) {
        check->SetEnabled(selectable);
    }
}

void CUpdateInfoListItemUI::SetFileInfo(const std::string& path, const std::string& sha256) {
    fileText_ = path.empty() && sha256.empty() ? std::string() : path + "\nSHA-256: " + sha256;
    ShowFileText();
}

std::string CUpdateInfoListItemUI::GetFileText() const {
    return fileText_;
}

}  // namespace ui
