#include "devices/headset/voice6533_control_ui.h"

#include "ui/toolkit/combo_ui.h"
#include "ui/toolkit/list_label_element_ui.h"
#include "ui/toolkit/option_ui.h"
#include "ui/toolkit/slider_ui.h"

namespace {

template <class T>
T* As(ui::CControlUI* control, const char* interfaceName) {
    return control != nullptr ? static_cast<T*>(control->GetInterface(interfaceName)) : nullptr;
}

std::string Indexed(const char* prefix, int index) {
    return prefix + std::to_string(index);
}

}  // namespace

std::string CVoice6533ControlUI::GetClass() const {
    return "CVoice6533ControlUI";
}

void* CVoice6533ControlUI::GetInterface(std::string_view name) {
    if (name == "Voice6533Control") {
        return this;
    }
    return CHorizontalLayoutUI::GetInterface(name);
}

void CVoice6533ControlUI::SetSelected(const std::string& name, bool on) {
    if (auto* option = As<ui::COptionUI>(FindSubControl(name), "Option")) {
        option->Selected(on, false);
    }
}

bool CVoice6533ControlUI::IsSelected(const std::string& name) {
    auto* option = As<ui::COptionUI>(FindSubControl(name), "Option");
    return option != nullptr && option->IsSelected();
}

void CVoice6533ControlUI::SetSliderValue(const std::string& name, int value) {
    if (auto* slider = As<ui::CSliderUI>(FindSubControl(name), "Slider")) {
        slider->SetValue(value);
    }
}

int CVoice6533ControlUI::SliderValue(const std::string& name) {
    auto* slider = As<ui::CSliderUI>(FindSubControl(name), "Slider");
    return slider != nullptr ? slider->GetValue() : -1;
}

void CVoice6533ControlUI::SelectPreset(int preset) {
    for (int n = 1; n <= kPresetCount; ++n) {
        SetSelected(Indexed("6533_eq_option_", n), false);
    }
    preset_ = preset >= 1 && preset <= kPresetCount ? preset : 0;
    if (preset_ != 0) {
        SetSelected(Indexed("6533_eq_option_", preset_), true);
    }
}

void CVoice6533ControlUI::EnableCustomEditing(bool on) {
    if (ui::CControlUI* layout = FindSubControl("custom_eq_option_layout")) {
        layout->SetEnabled(on);
    }
}

void CVoice6533ControlUI::SetBand(int band, int gain) {
    SetSliderValue(Indexed("6533_eq_hz_slider_", band), gain);
}

int CVoice6533ControlUI::Band(int band) {
    return SliderValue(Indexed("6533_eq_hz_slider_", band));
}

void CVoice6533ControlUI::SetMicOn(bool on) {
    SetSelected("6533_MicIn_option", on);
}

void CVoice6533ControlUI::SetMonitorOn(bool on) {
    SetSelected("6533_MicMoniter_option", on);
}

bool CVoice6533ControlUI::IsMicOn() {
    return IsSelected("6533_MicIn_option");
}

bool CVoice6533ControlUI::IsMonitorOn() {
    return IsSelected("6533_MicMoniter_option");
}

void CVoice6533ControlUI::SetMicLevel(int level) {
    SetSliderValue("6533_MicIn_slider", level);
}

int CVoice6533ControlUI::MicLevel() {
    return SliderValue("6533_MicIn_slider");
}

void CVoice6533ControlUI::SetMonitorLevel(int level) {
    SetSliderValue("6533_MicMoniter_slider", level);
}

int CVoice6533ControlUI::MonitorLevel() {
    return SliderValue("6533_MicMoniter_slider");
}

std::string CVoice6533ControlUI::CustomNameText() {
    ui::CControlUI* edit = FindSubControl("custom_eq_name_edit");
    return edit != nullptr ? edit->GetText() : std::string();
}

void CVoice6533ControlUI::SetCustomNameText(const std::string& text) {
    if (ui::CControlUI* edit = FindSubControl("custom_eq_name_edit")) {
        edit->SetText(text);
    }
}

ui::CComboUI* CVoice6533ControlUI::CustomList() {
    return As<ui::CComboUI>(FindSubControl("custom_eq_name_combo"), "Combo");
}

void CVoice6533ControlUI::AddCustomName(const std::string& name) {
    ui::CComboUI* list = CustomList();
    if (list == nullptr) {
        return;
    }
    auto* element = new ui::CListLabelElementUI();
    element->SetFixedHeight(kElementHeight);
    element->SetText(name);
    element->SetToolTip(name);
    list->Add(element);
}

int CVoice6533ControlUI::SelectedCustom() {
    ui::CComboUI* list = CustomList();
    return list != nullptr ? list->GetCurSel() : -1;
}

int CVoice6533ControlUI::CustomCount() {
    ui::CComboUI* list = CustomList();
    return list != nullptr ? list->GetCount() : 0;
}

void CVoice6533ControlUI::SelectCustom(int index) {
    if (ui::CComboUI* list = CustomList()) {
        list->SelectItem(index, false, false);
    }
}

void CVoice6533ControlUI::RemoveCustom(int index) {
    if (ui::CComboUI* list = CustomList(); list != nullptr && index >= 0 && index < list->GetCount()) {
        list->RemoveAt(index);
    }
}

void CVoice6533ControlUI::RemoveAllCustoms() {
    if (ui::CComboUI* list = CustomList()) {
        list->RemoveAll();
    }
}

std::string CVoice6533ControlUI::CustomName(int index) {
    ui::CComboUI* list = CustomList();
    if (list == nullptr || index < 0 || index >= list->GetCount()) {
        return "";
    }
    ui::CControlUI* element = list->GetItemAt(index);
    return element != nullptr ? element->GetText() : std::string();
}
