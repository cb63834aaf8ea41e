#include "profile/device_profile_ui.h"

#include "platform/debug.h"
#include "ui/toolkit/combo_ui.h"
#include "ui/toolkit/list_label_element_ui.h"
#include "ui/toolkit/option_ui.h"

#include <array>

namespace {

constexpr std::array<const char*, CDeviceProfileUI::kFunctionTabCount> kTabs = {
    "deng_Op_tab",   "key_Op_tab",        "macro_Op_tab", "system_Op_tab",
    "cursor_Op_tab", "6533_voice_Op_tab", "magic_Op_tab", "Virtual7.1_Op_tab"};

struct STabVisibility {
    std::vector<const char*> hidden;
    std::vector<const char*> shown;
};

STabVisibility TabVisibility(int kind) {
    switch (kind) {
        case 1:
            return {{"cursor_Op_tab"}, {}};
        case 3:
        case 5:
            return {{"cursor_Op_tab", "macro_Op_tab", "system_Op_tab", "key_Op_tab"}, {}};
        case 4:
            return {{"cursor_Op_tab", "macro_Op_tab", "key_Op_tab"}, {}};
        case 7:
            return {{"cursor_Op_tab", "macro_Op_tab", "system_Op_tab", "key_Op_tab"},
                    {"6533_voice_Op_tab", "magic_Op_tab", "Virtual7.1_Op_tab"}};
        default:
            return {};
    }
}

}  // namespace

std::string CDeviceProfileUI::GetClass() const {
    return "CDeviceProfileUI";
}

void* CDeviceProfileUI::GetInterface(std::string_view name) {
    if (name == "DeviceProfile") {
        return this;
    }
    return CHorizontalLayoutUI::GetInterface(name);
}

void CDeviceProfileUI::SetPaths(std::string profileFolder, std::string defaultProfilePath) {
    folder_ = std::move(profileFolder);
    defaultProfilePath_ = std::move(defaultProfilePath);
}

int CDeviceProfileUI::LoadProfileList() {
    list_ = std::make_unique<CProfileList>(deviceKind_, folder_, defaultProfilePath_);
    const int count = list_->Load();
    ShowList();
    ApplyTabVisibility();
    return count;
}

void CDeviceProfileUI::SelectFunctionTab(int n) {
    // Any other number deselects the first seven and leaves the eighth as it is.
    const int count = n >= 1 && n <= kFunctionTabCount ? kFunctionTabCount : kFunctionTabCount - 1;
    for (int i = 0; i < count; ++i) {
        ui::CControlUI* control = Find(kTabs[static_cast<size_t>(i)]);
        if (auto* tab =
                control != nullptr ? static_cast<ui::COptionUI*>(control->GetInterface("Option")) : nullptr) {
            tab->Selected(i == n - 1, false);
        }
    }
}

std::string CDeviceProfileUI::CurrentUuid() const {
    return list_ != nullptr ? list_->CurrentUuid() : std::string();
}

int CDeviceProfileUI::SelectProfile(int index, bool notify) {
    if (list_ == nullptr) {
        return -1;
    }
    if (ui::CComboUI* combo = Combo()) {
        combo->SelectItem(index, true, notify);
    }
    const int selected = list_->Select(index);
    ShowSelectedName();
    return selected;
}

int CDeviceProfileUI::SelectedIndex() const {
    const ui::CComboUI* combo = Combo();
    return combo != nullptr ? combo->GetCurSel() : -1;
}

int CDeviceProfileUI::AddProfile() {
    if (list_ == nullptr) {
        return -1;
    }
    const int index = list_->Add();
    ShowList();
    return index;
}

int CDeviceProfileUI::DeleteProfile() {
    if (list_ == nullptr) {
        return -1;
    }
    const int index = list_->Delete();
    ShowList();
    return index;
}

int CDeviceProfileUI::CopyProfile() {
    if (list_ == nullptr) {
        return -1;
    }
    const int index = list_->Copy();
    ShowList();
    return index;
}

int CDeviceProfileUI::ImportProfile(const std::string& path) {
    if (list_ == nullptr) {
        return -1;
    }
    const int index = list_->Import(path);
    ShowList();
    return index;
}

int CDeviceProfileUI::ExportProfile(const std::string& path) const {
    return list_ != nullptr ? list_->Export(path) : -1;
}

int CDeviceProfileUI::ResetProfileFile() {
    return list_ != nullptr ? list_->Reset() : -1;
}

int CDeviceProfileUI::RenameProfile(const std::string& name) {
    if (list_ == nullptr) {
        return -1;
    }
    const int result = list_->Rename(name);
    ShowList();
    return result;
}

std::string CDeviceProfileUI::EditedName() const {
    const ui::CControlUI* edit = Own("device_profile_name_edit");
    return edit != nullptr ? edit->GetText() : std::string();
}

void CDeviceProfileUI::ToggleButtonPanel() {
    ui::CControlUI* menu = Own("profile_menu_layout");
    if (menu == nullptr) {
        return;
    }
    const bool show = !menu->IsVisible();
    menu->SetVisible(show);
    // The column under the panel closes up while the buttons are folded away.
    if (GetFixedHeight() > 0) {
        SetFixedHeight(GetFixedHeight() + (show ? 1 : -1) * menu->GetFixedHeight());
    }
}

std::vector<std::string> CDeviceProfileUI::TakeSetAsideFiles() {
    return list_ != nullptr ? list_->TakeSetAsideFiles() : std::vector<std::string>();
}

ui::CControlUI* CDeviceProfileUI::Find(const std::string& name) const {
    const auto named = [&name](ui::CControlUI* control) { return control->GetName() == name; };
    // The panel's own controls first, then the page around it, nearest first.
    auto* self = const_cast<CDeviceProfileUI*>(this);
    for (ui::CControlUI* scope = self; scope != nullptr; scope = scope->GetParent()) {
        if (ui::CControlUI* found = scope->FindControl(named, ui::UIFIND_ALL | ui::UIFIND_ME_FIRST)) {
            return found;
        }
    }
    return nullptr;
}

ui::CControlUI* CDeviceProfileUI::Own(const std::string& name) const {
    ui::CControlUI* control = Find(name);
    if (control == nullptr) {
        platform::DebugFormat("CDeviceProfileUI: '%s' has no control named '%s'\n", GetName().c_str(),
                              name.c_str());
    }
    return control;
}

ui::CComboUI* CDeviceProfileUI::Combo() const {
    ui::CControlUI* control = Own("device_profile_combo");
    return control != nullptr ? static_cast<ui::CComboUI*>(control->GetInterface("Combo")) : nullptr;
}

void CDeviceProfileUI::ShowList() {
    ui::CComboUI* combo = Combo();
    if (combo == nullptr || list_ == nullptr) {
        return;
    }
    combo->RemoveAll();
    for (const ProfileEntry& entry : list_->Entries()) {
        auto* element = new ui::CListLabelElementUI();
        element->SetFixedHeight(kElementHeight);
        element->SetText(entry.name);
        element->SetUserData(entry.name);
        combo->Add(element);
    }
    combo->SelectItem(list_->SelectedIndex(), false, false);
    ShowSelectedName();
}

void CDeviceProfileUI::ShowSelectedName() {
    if (ui::CControlUI* edit = Own("device_profile_name_edit")) {
        const int index = list_ != nullptr ? list_->SelectedIndex() : -1;
        edit->SetText(index >= 0 ? list_->Entries()[static_cast<size_t>(index)].name : std::string());
    }
}

void CDeviceProfileUI::ApplyTabVisibility() {
    const STabVisibility visibility = TabVisibility(deviceKind_);
    for (const char* name : visibility.hidden) {
        if (ui::CControlUI* tab = Find(name)) {
            tab->SetVisible(false);
        }
    }
    for (const char* name : visibility.shown) {
        if (ui::CControlUI* tab = Find(name)) {
            tab->SetVisible(true);
        }
    }
}
