#include "devices/mouse/pellix_mouse_device.h"

#include "devices/common/assigned_name.h"
#include "devices/mouse/mouse_key_names.h"
#include "devices/mouse/mouse_settings.h"
#include "macro/macro_control_ui.h"
#include "macro/macro_list.h"
#include "profile/data_folders.h"
#include "profile/device_profile_ui.h"
#include "profile/json_document.h"
#include "ui/controls/device_key_button_ui.h"
#include "ui/toolkit/color_palette_ui.h"
#include "ui/toolkit/combo_ui.h"
#include "ui/toolkit/edit_ui.h"
#include "ui/toolkit/horizontal_layout_ui.h"
#include "ui/toolkit/label_ui.h"
#include "ui/toolkit/option_ui.h"
#include "ui/toolkit/resource_manager.h"
#include "ui/toolkit/slider_ui.h"
#include "ui/toolkit/ui_parse.h"

#include <algorithm>

namespace {

constexpr const char* kActiveSliderImage = "Control/SliderBar_BK3.png";
constexpr const char* kActiveThumbImage = "Control/SliderBar2_Thumb.png";
constexpr const char* kInactiveSliderImage = "Control/SliderBar_BK1.png";
constexpr const char* kInactiveThumbImage = "Control/SliderBar1_Thumb.png";
constexpr KeyFunctionCode kLeftButton{FunctionType::kMouseButton, 0x01, 0x00};
constexpr uint32_t kFunctionTextColour = 0xFF0099FF;
constexpr uint32_t kButtonTextColour = 0xFFFFFFFF;

std::string Indexed(const char* prefix, int index) {
    return prefix + std::to_string(index);
}

// The text of a language key, or the key itself when the table has none.
std::string Resolve(std::string_view key) {
    const std::string* text = ui::CResourceManager::GetInstance().GetText(std::string(key));
    return text != nullptr ? *text : std::string(key);
}

KeyFunctionCode CodeOf(const KeyAssignment& key) {
    return {key.code1, key.code2, key.code3};
}

template <class T>
T* As(ui::CControlUI* control, const char* interfaceName) {
    return control != nullptr ? static_cast<T*>(control->GetInterface(interfaceName)) : nullptr;
}

// The function tab types of the settings sub-pages: performance, keys, lighting, macros, shoot,
// pointer.
constexpr std::array<int, CPellixMouseDevice::kSubPageCount> kSubPageTabs{1, 2, 3, 7, 5, 4};

}  // namespace

CPellixMouseDevice::CPellixMouseDevice() = default;

CPellixMouseDevice::~CPellixMouseDevice() {
    // The light thread calls this class's generators, so it ends before the members go.
    StopLightThread();
}

std::string CPellixMouseDevice::GetClass() const {
    return "PellixMouseDevice";
}

void* CPellixMouseDevice::GetInterface(std::string_view name) {
    if (name == "PellixMouseDevice") {
        return this;
    }
    return CPellixUSBDevice::GetInterface(name);
}

CMouseProtocol* CPellixMouseDevice::Protocol() {
    if (protocol_ == nullptr && HasConnection()) {
        protocol_ = std::make_unique<CMouseProtocol>(Connection().Command());
    }
    return protocol_.get();
}

CMouseSensor CPellixMouseDevice::Sensor() const {
    return protocol_ != nullptr ? protocol_->Sensor() : CMouseSensor();
}

void CPellixMouseDevice::InitPage() {
    ClearButtonTables();
    secondLightButtons_.assign(static_cast<size_t>(LedCount()), nullptr);
    secondLightPanel_ = nullptr;
    logoButton_ = nullptr;
    if (LayoutPath().empty()) {
        return;
    }
    if (auto* layout = As<ui::CContainerUI>(PageControl("mouse_device_seting_layout"), "Container")) {
        BindSelectPanels(*layout);
    }
    InitProfilePanel();
    LoadMacroAndLightLists();
    BindPanels();
    SelectSettingsSubPage(0);
}

void CPellixMouseDevice::BindPanels() {
    lightPanel_ = As<CLightControlUI>(PageControl("LightControlItem"), "LightControl");
    if (lightPanel_ != nullptr) {
        lightPanel_->BindControls();
        lightPanel_->SetDeviceKind(kKindMouse);
        lightPanel_->SetSameModePermission(true);
        lightPanel_->SetModeList(lightNames_, mousewire::kHighestSpeedIndex, mousewire::kHighestSpeedIndex);
    }
    keySet_ = As<CKeySetControlUI>(PageControl("KeySetControlItem"), "KeySetControl");
    if (keySet_ != nullptr) {
        keySet_->BindControls();
        keySet_->SetDeviceKind(CKeySetControlUI::kKindMouse);
        ShowKeyEditor(false);
        keySet_->SetMacroNames(macroNames_);
    }
    macroPanel_ = As<CMacroControlUI>(PageControl("MacroControlItem"), "MacroControl");
    if (macroPanel_ != nullptr) {
        macroPanel_->BindControls();
        macroPanel_->SetFolder(UserDataFolder());
        if (!macroPanel_->TakeSetAsideFiles().empty()) {
            ShowMessage("macro_list_set_aside");
        }
        ShowMacroCapacity();
    }
    shootPanel_ = As<CShootControlUI>(PageControl("ShootControlItem"), "ShootControl");
    if (shootPanel_ != nullptr) {
        shootPanel_->SetFolders(UserDataFolder(), DefaultDataFolder());
        shootPanel_->Initialise();
        shootPanel_->SelectGun(0);
        shootPanel_->SelectBullet(0);
    }
}

void CPellixMouseDevice::ShowMacroCapacity() {
    if (macroPanel_ != nullptr) {
        const CMouseProtocol* protocol = Protocol();
        macroPanel_->SetMemoryCapacity(protocol != nullptr ? protocol->Info().MacroCapacity() : 0);
    }
}

int CPellixMouseDevice::WriteShootData() {
    CMouseProtocol* protocol = Protocol();
    return protocol != nullptr ? protocol->WriteShootData(UserDataFolder()) : 0;
}

void CPellixMouseDevice::BindButton(ui::CControlUI& button) {
    CPellixUSBDevice::BindButton(button);
    std::string prefix;
    int index = 0;
    if (SplitIndexedName(button.GetName(), prefix, index)) {
        if (prefix == "light_") {
            SetLightButton(index, &button);
        } else if (prefix == "light_0_" && index >= 0 &&
                   index < static_cast<int>(secondLightButtons_.size())) {
            secondLightButtons_[index] = &button;
            secondLightPanel_ = secondLightPanel_ != nullptr ? secondLightPanel_ : button.GetParent();
        }
    }
    if (ui::EqualsNoCase(button.GetToolTip(), "logo")) {
        logoButton_ = &button;
    }
}

ui::CControlUI* CPellixMouseDevice::SecondLightButton(int index) const {
    return index >= 0 && index < static_cast<int>(secondLightButtons_.size()) ? secondLightButtons_[index]
                                                                              : nullptr;
}

void CPellixMouseDevice::OnConnected() {
    if (CMouseProtocol* protocol = Protocol();
        protocol != nullptr && protocol->ReadDeviceInfo(profile_) == 1) {
        ApplySensorRanges();
    }
    LoadActiveProfile();
    if (CMouseProtocol* protocol = Protocol()) {
        protocol->MapAssignedButtons(keys_);
    }
    RefreshPage();
    StopLightThread();
    StartLightThread();
}

void CPellixMouseDevice::Resync() {
    CMouseProtocol* protocol = Protocol();
    mousewire::MouseParameters parameters;
    if (protocol != nullptr && protocol->ReadParameters(profile_, parameters) == 1) {
        systemSettings_.pollingRate = parameters.pollingRate;
        SetLightState(profile_.CurrentLightInfo());
    }
    RefreshPage();
}

void CPellixMouseDevice::SetProfilePaths() {
    const std::string folder = UserDataFolder();
    profilePath_ =
        CDataFolders::IsSafeFileName(ProfileBaseName()) ? folder + ProfileBaseName() + ".Json" : "";
    profile_.SetProfilePath(profilePath_);
    profile_.SetLightConfigPath(folder + ConfigBaseName() + ".config");
}

int CPellixMouseDevice::LoadActiveProfile() {
    SetProfilePaths();
    if (profilePath_.empty()) {
        return 0;
    }
    profile_.OpenActiveProfile(profilePath_, profile_.GetLightConfigPath(), DefaultProfileFile());
    ReportSetAsideFiles(profile_.TakeSetAsideFiles());
    TakeSystemSettings();
    keys_ = profile_.GetKeyList();
    SetLightState(profile_.GetLightInfo());
    return 1;
}

std::string CPellixMouseDevice::ProfilePath() const {
    return profile_.GetProfilePath();
}

void CPellixMouseDevice::SaveProfile() {
    profile_.Save();
}

void CPellixMouseDevice::SetTypeCode(int code) {
    CPellixUSBDevice::SetTypeCode(code);
    profile_.SetDeviceIndex(0);
}

void CPellixMouseDevice::ApplySensorRanges() {
    const CMouseSensor sensor = Sensor();
    for (int stage = 0; stage < kStageCount; ++stage) {
        if (auto* slider = As<ui::CSliderUI>(PageControl(Indexed("DPI_slider_", stage)), "Slider")) {
            slider->SetMinValue(0);
            if (const std::optional<int> maximum = sensor.SliderMaximum()) {
                slider->SetMaxValue(*maximum);
            }
        }
        if (auto* edit = As<ui::CEditUI>(PageControl(Indexed("DPI_edit_", stage)), "Edit")) {
            edit->SetMinValue(0);
            if (const std::optional<int> maximum = sensor.EntryMaximum()) {
                edit->SetMaxValue(*maximum);
            }
        }
    }
}

// The name lists are read again on every refresh: another program may have changed them.
void CPellixMouseDevice::RefreshPage() {
    refreshing_ = true;
    LoadMacroAndLightLists();
    const std::vector<DpiStage> stages = profile_.GetStages();
    const int shown = std::min(kStageCount, static_cast<int>(stages.size()));
    for (int stage = 0; stage < shown; ++stage) {
        ShowStageEnabled(stage, stages[stage].active != 0);
        ShowStagePosition(stage, stages[stage].DpiX());
    }
    ShowSystemSettings();
    ShowKeyAssignments();
    ShowPanels();
    ShowMacroCapacity();
    refreshing_ = false;
}

void CPellixMouseDevice::ShowPanels() {
    if (lightPanel_ != nullptr) {
        lightPanel_->SetModeList(lightNames_, mousewire::kHighestSpeedIndex, mousewire::kHighestSpeedIndex);
        lightPanel_->ShowLight(LightState());
    }
    if (keySet_ != nullptr) {
        keySet_->SetMacroNames(macroNames_);
        const int key = SelectedKey();
        if (keySet_->IsVisible() && key >= 0 && key < static_cast<int>(keys_.size())) {
            keySet_->ShowKey(keys_[key]);
        }
    }
}

void CPellixMouseDevice::ShowStagePosition(int stage, int position) {
    auto* slider = As<ui::CSliderUI>(PageControl(Indexed("DPI_slider_", stage)), "Slider");
    ui::CControlUI* edit = PageControl(Indexed("DPI_edit_", stage));
    if (slider == nullptr || edit == nullptr) {
        return;
    }
    slider->SetValue(position);
    edit->SetText(std::to_string(Sensor().PositionToDpi(position)));
    const bool active = stage == profile_.GetActiveStage();
    const char* thumb = active ? kActiveThumbImage : kInactiveThumbImage;
    slider->SetAttribute("foreimage", active ? kActiveSliderImage : kInactiveSliderImage);
    slider->SetAttribute("thumbimage", thumb);
    slider->SetAttribute("thumbhotimage", thumb);
    slider->SetAttribute("thumbpushedimage", thumb);
    slider->Invalidate();
}

void CPellixMouseDevice::ShowStageEnabled(int stage, bool on) {
    for (const char* prefix : {"DPI_slider_", "DPI_edit_", "DPI_label_"}) {
        if (ui::CControlUI* control = PageControl(Indexed(prefix, stage))) {
            control->SetEnabled(on);
        }
    }
    if (auto* check = As<ui::COptionUI>(PageControl(Indexed("DPI_enable_check_", stage)), "Option")) {
        check->Selected(on, false);
    }
    UpdateLastStageLock();
}

// Every box is usable except a single checked one: the last stage on cannot be switched off.
void CPellixMouseDevice::UpdateLastStageLock() {
    std::vector<ui::COptionUI*> checks;
    int checked = 0;
    for (int stage = 0; stage < kStageCount; ++stage) {
        auto* check = As<ui::COptionUI>(OptionalPageControl(Indexed("DPI_enable_check_", stage)), "Option");
        checks.push_back(check);
        checked += check != nullptr && check->IsSelected() ? 1 : 0;
    }
    for (ui::COptionUI* check : checks) {
        if (check != nullptr) {
            check->SetEnabled(!(checked == 1 && check->IsSelected()));
        }
    }
}

void CPellixMouseDevice::ShowSystemSettings() {
    const MouseSystemSettings& settings = systemSettings_;
    const std::pair<const char*, int> sliders[] = {{"double_click_slider", settings.doubleClick},
                                                   {"pointer_speed_slider", settings.pointerSpeed},
                                                   {"scroll_speed_slider", settings.scrollSpeed}};
    for (const auto& [name, value] : sliders) {
        if (auto* slider = As<ui::CSliderUI>(PageControl(name), "Slider")) {
            slider->SetValue(value);
        }
    }
    const std::pair<const char*, bool> checks[] = {
        {"pointer_precision_check", settings.pointerPrecision != 0},
        {"scrolls_page_check", settings.scrollByPage != 0}};
    for (const auto& [name, on] : checks) {
        if (auto* check = As<ui::COptionUI>(PageControl(name), "Option")) {
            check->Selected(on, false);
        }
    }
    SelectPollingOption(settings.pollingRate);
    const std::pair<const char*, int> combos[] = {{"AST_set_comboSelect", settings.ast},
                                                  {"MSH_set_comboSelect", settings.msh},
                                                  {"Logolight_combo_modeSelect", settings.logoLight}};
    for (const auto& [name, item] : combos) {
        if (auto* combo = As<ui::CComboUI>(PageControl(name), "Combo")) {
            combo->SelectItem(item < combo->GetCount() ? item : 0);
        }
    }
}

void CPellixMouseDevice::SelectPollingOption(int option) {
    const int selected = option >= 0 && option < kPollingOptionCount ? option : 0;
    for (int index = 0; index < kPollingOptionCount; ++index) {
        if (auto* box = As<ui::COptionUI>(PageControl(Indexed("polling_rate_option_", index)), "Option")) {
            box->Selected(index == selected, false);
        }
    }
}

void CPellixMouseDevice::ShowKeyAssignments() {
    ui::CControlUI* list = PageControl("device_setkeyinfo_list");
    auto* rows = As<ui::CContainerUI>(list, "Container");
    if (rows == nullptr) {
        return;
    }
    rows->RemoveAll();
    for (int index = 0; index < static_cast<int>(keys_.size()); ++index) {
        ShowKeyAssignment(index, *list);
    }
    ShowLogoTip();
    list->SetVisible(true);
    list->Invalidate();
}

void CPellixMouseDevice::ShowKeyAssignment(int index, ui::CControlUI& list) {
    const AssignedName name = CMouseKeyNames::Name(CodeOf(keys_[index]), macroNames_);
    if (name.kind == AssignedName::Kind::kNone) {
        return;
    }
    const std::string function = CAssignedName::Text(name, Resolve);
    const auto& buttons = mousewire::HostButtons();
    const std::string button =
        index < static_cast<int>(buttons.size()) ? Resolve(buttons[index].nameTextId) : std::string();
    ui::CControlUI* keyButton = KeyButton(index);
    if (keyButton != nullptr) {
        keyButton->SetToolTip(button + "\n" + function);
    }
    if (auto* drawn = As<ui::CDeviceKeyButtonUI>(keyButton, "DeviceKeyButton")) {
        drawn->SetShowKeySetImage(ui::EqualsNoCase(function, button));
    }
    ui::CControlUI* row = KeyInfoRow(list, index);
    auto* labels = As<ui::CContainerUI>(row, "Container");
    if (labels == nullptr || labels->GetCount() < 2) {
        return;
    }
    labels->GetItemAt(0)->SetText(button);
    labels->GetItemAt(1)->SetText(function);
    row->SetVisible(keyButton != nullptr && keyButton->IsVisible());
}

// Row index of the list, made (hidden and disabled) with the rows before it when missing.
ui::CControlUI* CPellixMouseDevice::KeyInfoRow(ui::CControlUI& list, int index) {
    auto* rows = static_cast<ui::CContainerUI*>(list.GetInterface("Container"));
    while (rows->GetCount() <= index) {
        auto* row = new ui::CHorizontalLayoutUI;
        row->SetFixedHeight(kKeyInfoRowHeight);
        const std::pair<int, uint32_t> columns[] = {{200, kButtonTextColour}, {180, kFunctionTextColour}};
        for (const auto& [width, colour] : columns) {
            auto* label = new ui::CLabelUI;
            label->SetFixedWidth(width);
            label->SetTextColor(colour);
            label->SetAttribute("disabledtextcolor", colour == kButtonTextColour ? "#FFFFFFFF" : "#FF0099FF");
            label->SetAttribute("endellipsis", "true");
            label->SetAttribute("font", "7");
            row->Add(label);
        }
        row->SetVisible(false);
        row->SetEnabled(false);
        rows->Add(row);
    }
    return rows->GetItemAt(index);
}

void CPellixMouseDevice::ShowLogoTip() {
    if (logoButton_ == nullptr) {
        return;
    }
    logoButton_->SetToolTip("Logo\n" + Resolve("Light_Set") + "\n" + Resolve("Overall_Light_Set") +
                            ModeName(LightState().selectItem));
}

std::string CPellixMouseDevice::ModeName(int mode) const {
    if (mode < mousewire::kLightModeCount) {
        return mode < static_cast<int>(lightNames_.size()) ? Resolve(lightNames_[mode].name) : std::string();
    }
    const int custom = mode - mousewire::kLightModeCount;
    return custom < static_cast<int>(customEffects_.size()) ? customEffects_[custom].name : std::string();
}

void CPellixMouseDevice::CheckMacroReferences() {
    LoadMacroAndLightLists();
    if (keySet_ != nullptr) {
        keySet_->SetMacroNames(macroNames_);
    }
    keys_ = profile_.GetKeyList();
    CMouseSettings::RepairMacroReferences(keys_, macroNames_.size());
    profile_.SetKeyList(keys_);
    ShowKeyAssignments();
}

bool CPellixMouseDevice::MacroReferenced(int position) {
    return position >= 0 &&
           CMouseSettings::ReferencesMacro(profile_.GetKeyList(), static_cast<size_t>(position));
}

void CPellixMouseDevice::MacroDeleted(int position) {
    keys_ = profile_.GetKeyList();
    const bool changed =
        position >= 0 && CMouseSettings::RenumberAfterDelete(keys_, static_cast<size_t>(position));
    MacroNamesChanged();
    if (!changed) {
        return;
    }
    profile_.SetKeyList(keys_);
    SaveProfile();
    WriteProfileKeys(0);
    ShowKeyAssignments();
}

void CPellixMouseDevice::MacroNamesChanged() {
    LoadMacroAndLightLists();
    if (keySet_ != nullptr) {
        keySet_->SetMacroNames(macroNames_);
    }
    ShowKeyAssignments();
}

void CPellixMouseDevice::ResetProfile() {
    if (CDeviceProfileUI* panel = ProfilePanel()) {
        panel->ResetProfileFile();
    }
}

int CPellixMouseDevice::WriteKeyTable(int profileIndex, const std::vector<KeyAssignment>& keys) {
    CMouseProtocol* protocol = Protocol();
    return protocol != nullptr ? protocol->WriteKeyTable(profileIndex, keys) : 0;
}

int CPellixMouseDevice::WriteProfileKeys(int profileIndex) {
    return WriteKeyTable(profileIndex, profile_.GetKeyList());
}

int CPellixMouseDevice::WriteMacros() {
    CMouseProtocol* protocol = Protocol();
    return protocol != nullptr ? protocol->WriteMacros(UserDataFolder()) : 0;
}

int CPellixMouseDevice::WriteParameters(int profileIndex, uint8_t firstByte) {
    CMouseProtocol* protocol = Protocol();
    return protocol != nullptr ? protocol->WriteParameters(profile_, profileIndex, firstByte) : 0;
}

void CPellixMouseDevice::LoadMacroAndLightLists() {
    macroNames_ = CMacroList(UserDataFolder()).Names();
    lightNames_ = CLightNameLists::ReadModeNames(GetTypeCode());
    areaNames_ = CLightNameLists::ReadAreaNames(GetTypeCode());
    customEffects_ = CLightNameLists::ReadCustomEffects(DeviceName(), GetTypeCode());
}

void CPellixMouseDevice::SetFunctionTab(int type) {
    CPellixUSBDevice::SetFunctionTab(type);
    if (ui::CControlUI* tip = OptionalPageControl("device_tishi_info")) {
        tip->SetVisible(false);
    }
}

int CPellixMouseDevice::SubPageFunctionTab(int index) {
    return index >= 0 && index < kSubPageCount ? kSubPageTabs[index] : kSubPageTabs[0];
}

bool CPellixMouseDevice::InKeyView() const {
    return GetFunctionTab() == 2 || GetFunctionTab() == 6;
}

void CPellixMouseDevice::KeyClicked(int index) {
    if (!InKeyView() || CJsonDocument().ReadJsonValue(profilePath_).isNull()) {
        return;
    }
    keys_ = profile_.GetKeyList();
    if (index < 0 || index >= static_cast<int>(keys_.size())) {
        return;
    }
    const auto leftButtons = std::count_if(
        keys_.begin(), keys_.end(), [](const KeyAssignment& key) { return CodeOf(key) == kLeftButton; });
    if (CodeOf(keys_[index]) == kLeftButton && leftButtons == 1) {
        ShowMessage("message_text_6");
        return;
    }
    SelectKey(index);
}

int CPellixMouseDevice::WriteSettings() {
    SaveProfile();
    const int keys = WriteProfileKeys(0);
    const int record = WriteParameters(0, 0);
    return SettingsResult(keys, record, WriteMacros());
}

void CPellixMouseDevice::RestoreDefaults() {
    ResetAndReload();
    WriteProfileKeys(0);
    WriteParameters(0, 0);
}

void CPellixMouseDevice::ResetAndReload() {
    ResetProfile();
    LoadActiveProfile();
    RefreshPage();
}

void CPellixMouseDevice::HideKeyEditor() {
    ShowKeyEditor(false);
}

// Until a button is chosen, the place of the key panel says what to do.
void CPellixMouseDevice::ShowKeyEditor(bool shown) {
    if (ui::CControlUI* editor = OptionalPageControl("KeySetControlItem")) {
        editor->SetVisible(shown);
    }
    if (ui::CControlUI* hint = OptionalPageControl("keyset_empty_hint")) {
        hint->SetVisible(!shown);
    }
}

void CPellixMouseDevice::ShowTab(const std::string& tabName) {
    static const std::pair<const char*, int> tabs[] = {{"system_Op_tab", 1},
                                                       {"key_Op_tab", 2},
                                                       {"deng_Op_tab", 3},
                                                       {"macro_Op_tab", 7},
                                                       {"cursor_Op_tab", 4}};
    for (const auto& [name, type] : tabs) {
        if (tabName == name) {
            SetFunctionTab(type);
            return;
        }
    }
}

void CPellixMouseDevice::SelectSettingsSubPage(int index) {
    SetFunctionTab(SubPageFunctionTab(index));
    if (auto* option =
            As<ui::COptionUI>(PageControl(Indexed("mouse_device_seting_option_", index)), "Option")) {
        option->Selected(true, false);
    }
}

void CPellixMouseDevice::StageEnabledChanged(int stage) {
    CMouseProtocol* protocol = Protocol();
    auto* check = As<ui::COptionUI>(PageControl(Indexed("DPI_enable_check_", stage)), "Option");
    if (refreshing_ || protocol == nullptr || check == nullptr) {
        return;
    }
    const bool on = check->IsSelected();
    ShowStageEnabled(stage, on);
    if (CMouseSettings(profile_, *protocol).SetStageEnabled(stage, on) == CMouseSettings::kRefused) {
        ShowStageEnabled(stage, true);
    }
}

void CPellixMouseDevice::DpiSliderMoved(int stage) {
    ShowStagePosition(stage, SliderValue(Indexed("DPI_slider_", stage)));
}

void CPellixMouseDevice::DpiSliderReleased(int stage) {
    CMouseProtocol* protocol = Protocol();
    if (refreshing_ || protocol == nullptr) {
        return;
    }
    const int position = SliderValue(Indexed("DPI_slider_", stage));
    ShowStagePosition(stage, position);
    CMouseSettings(profile_, *protocol).SetStagePosition(stage, static_cast<uint16_t>(position));
}

void CPellixMouseDevice::DpiEditLeft(int stage) {
    CMouseProtocol* protocol = Protocol();
    ui::CControlUI* edit = PageControl(Indexed("DPI_edit_", stage));
    auto* slider = As<ui::CSliderUI>(PageControl(Indexed("DPI_slider_", stage)), "Slider");
    if (refreshing_ || protocol == nullptr || edit == nullptr || slider == nullptr) {
        return;
    }
    const int typed = Sensor().EntryToPosition(edit->GetText());
    const int position = std::clamp(typed, slider->GetMinValue(), slider->GetMaxValue());
    ShowStagePosition(stage, position);
    CMouseSettings(profile_, *protocol).SetStagePosition(stage, static_cast<uint16_t>(position));
}

void CPellixMouseDevice::PollingRateSelected(int option) {
    CMouseProtocol* protocol = Protocol();
    if (refreshing_ || protocol == nullptr) {
        return;
    }
    const int selected = option >= 0 && option < kPollingOptionCount ? option : 0;
    SelectPollingOption(selected);
    CMouseSettings(profile_, *protocol).SetPollingRate(selected);
    TakeSystemSettings();
}

void CPellixMouseDevice::ComboSelected(const std::string& controlName) {
    CMouseProtocol* protocol = Protocol();
    auto* combo = As<ui::CComboUI>(OptionalPageControl(controlName), "Combo");
    if (refreshing_ || protocol == nullptr || combo == nullptr) {
        return;
    }
    CMouseSettings settings(profile_, *protocol);
    const int item = std::max(0, combo->GetCurSel());
    if (controlName == "AST_set_comboSelect") {
        settings.SetAst(item);
    } else if (controlName == "MSH_set_comboSelect") {
        settings.SetMsh(item);
    } else if (controlName == "Logolight_combo_modeSelect") {
        settings.SetLogoLight(item);
    }
    TakeSystemSettings();
}

void CPellixMouseDevice::PointerSettingChanged(const std::string& controlName) {
    CMouseProtocol* protocol = Protocol();
    if (refreshing_ || protocol == nullptr) {
        return;
    }
    CMouseSettings settings(profile_, *protocol);
    if (controlName == "pointer_speed_slider") {
        settings.SetPointerSpeed(static_cast<uint16_t>(SliderValue(controlName)));
    } else if (controlName == "pointer_precision_check") {
        settings.SetPointerPrecision(IsChecked(controlName));
    } else if (controlName == "scrolls_page_check") {
        settings.SetScrollByPage(IsChecked(controlName),
                                 static_cast<uint16_t>(SliderValue("scroll_speed_slider")));
    } else if (controlName == "scroll_speed_slider") {
        if (auto* check = As<ui::COptionUI>(PageControl("scrolls_page_check"), "Option")) {
            check->Selected(false, false);
        }
        settings.SetScrollSpeed(static_cast<uint16_t>(SliderValue(controlName)));
    } else if (controlName == "double_click_slider") {
        settings.SetDoubleClick(static_cast<uint16_t>(SliderValue(controlName)));
    }
    TakeSystemSettings();
}

int CPellixMouseDevice::LightMode() const {
    return LightState().selectItem;
}

void CPellixMouseDevice::ApplySyncLightMode(int mode, const LightInfo& source) {
    CMouseProtocol* protocol = Protocol();
    LightInfo light = source;
    light.selectItem = static_cast<uint8_t>(mode);
    SetLightState(light);
    if (protocol != nullptr) {
        CMouseSettings(profile_, *protocol).SetLight(light);
    }
    ShowLogoTip();
}

int CPellixMouseDevice::SliderValue(const std::string& name) const {
    auto* slider = As<ui::CSliderUI>(PageControl(name), "Slider");
    return slider != nullptr ? slider->GetValue() : 0;
}

bool CPellixMouseDevice::IsChecked(const std::string& name) const {
    auto* check = As<ui::COptionUI>(PageControl(name), "Option");
    return check != nullptr && check->IsSelected();
}

void CPellixMouseDevice::StepLight() {
    switch (LightState().selectItem) {
        case 0:
        case 3:
            EffectWave();
            break;
        case 1:
            EffectSpectrum();
            break;
        case 2:
            EffectBreathWheel();
            break;
        case 4:
        case 5:
        case 6:
            EffectStatic();
            break;
        case 7:
            EffectBlink();
            break;
        case 8:
            EffectReaction();
            break;
        case 9:
            EffectBreathFourColours();
            break;
        case 10:
            EffectBlinkFourColours();
            break;
        case 11:
            EffectOff();
            break;
        default:
            EffectStatic();  // a user light list: its colour until the list is played here
            break;
    }
}

bool CPellixMouseDevice::IsAnimatedMode(int mode) const {
    return !(mode >= 4 && mode <= 6) && mode != 11 && mode < mousewire::kLightModeCount;
}

// The colour wheel running along the LEDs, one wheel segment apart.
void CPellixMouseDevice::EffectWave() {
    const LightAnimationSettings settings = AnimationSettings(SyncEffect::kColourCycle);
    const uint32_t frame = CLightAnimation::NextFrame(waveState_, settings, 0);
    const uint8_t brightness = static_cast<uint8_t>(frame >> 24);
    const int step = settings.forward ? CLightAnimation::kWheelSize / 6 : -CLightAnimation::kWheelSize / 6;
    for (int led = 0; led < LedCount(); ++led) {
        const int place =
            ((waveState_.wheel + led * step) % CLightAnimation::kWheelSize + CLightAnimation::kWheelSize) %
            CLightAnimation::kWheelSize;
        SetLedColour(led, CLightAnimation::Pack(CLightAnimation::Wheel()[place], brightness));
    }
}

// Keys that were hit light up in the fixed colour and fade.
void CPellixMouseDevice::EffectReaction() {
    const LightAnimationSettings settings = AnimationSettings(SyncEffect::kStatic);
    TriggerReaction();
    DecayReaction(false);
    for (int led = 0; led < LedCount(); ++led) {
        SetLedColour(led, CLightAnimation::Pack(settings.colour, ReactionKey(static_cast<size_t>(led))));
    }
}

void CPellixMouseDevice::SelectKey(int index) {
    CPellixUSBDevice::SelectKey(index);
    for (int button = 0; button < static_cast<int>(keys_.size()); ++button) {
        if (auto* drawn = As<ui::CDeviceKeyButtonUI>(KeyButton(button), "DeviceKeyButton")) {
            drawn->SetSelected(button == index);
        }
    }
    if (keySet_ == nullptr || index < 0 || index >= static_cast<int>(keys_.size())) {
        return;
    }
    ShowKeyEditor(true);
    keySet_->ShowKey(keys_[index]);
}

bool CPellixMouseDevice::KeyPanelIdle() const {
    return keySet_ != nullptr && !keySet_->IsUpdating() && !refreshing_;
}

void CPellixMouseDevice::KeySetFunctionSelected() {
    if (KeyPanelIdle()) {
        keySet_->FunctionSelected();
    }
}

void CPellixMouseDevice::KeySetMacroModeSelected() {
    if (KeyPanelIdle()) {
        keySet_->MacroModeSelected();
    }
}

// The edited function becomes the selected key's; the file and the mouse follow with
// "key_butt_prosave".
void CPellixMouseDevice::SaveKeyAssignment() {
    const int index = SelectedKey();
    if (!KeyPanelIdle() || index < 0 || index >= static_cast<int>(keys_.size())) {
        return;
    }
    keys_[index] = keySet_->BuildCode();
    profile_.SetKeyList(keys_);
    ShowKeyAssignments();
}

void CPellixMouseDevice::ShowDefaultKey() {
    if (KeyPanelIdle()) {
        keySet_->ShowDefault();
    }
}

void CPellixMouseDevice::ShowCurrentKey() {
    if (KeyPanelIdle()) {
        keySet_->ShowCurrent();
    }
}

void CPellixMouseDevice::CaptureKey(uint8_t scanCode, bool extended) {
    if (KeyPanelIdle() && keySet_->TakeCapturedKey(scanCode, extended)) {
        SaveKeyAssignment();
    }
}

void CPellixMouseDevice::SetKeyPanelBusy(bool busy) {
    if (keySet_ != nullptr) {
        keySet_->EnableButtons(!busy);
    }
}

void CPellixMouseDevice::ApplyLight(const LightInfo& light) {
    SetLightState(light);
    if (CMouseProtocol* protocol = Protocol()) {
        CMouseSettings(profile_, *protocol).SetLight(light);
    }
    ShowLogoTip();
}

void CPellixMouseDevice::LightControlChanged(const std::string& controlName) {
    if (refreshing_ || lightPanel_ == nullptr || lightPanel_->IsUpdating()) {
        return;
    }
    if (const std::optional<LightInfo> light = lightPanel_->TakeChange(controlName, LightState())) {
        ApplyLight(*light);
    }
}

void CPellixMouseDevice::LightPaletteChanged() {
    auto* palette = As<ui::CColorPaletteUI>(PageControl("deng_Color_Pallet"), "ColorPalette");
    if (refreshing_ || lightPanel_ == nullptr || palette == nullptr) {
        return;
    }
    ApplyLight(lightPanel_->TakeColour(palette->GetSelectColor(), LightState()));
}

void CPellixMouseDevice::LightPresetChosen(int index) {
    if (refreshing_ || lightPanel_ == nullptr) {
        return;
    }
    if (const std::optional<uint32_t> colour = lightPanel_->PresetColour(index)) {
        ApplyLight(lightPanel_->TakeColour(*colour, LightState()));
    }
}
