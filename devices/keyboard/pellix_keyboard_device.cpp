#include "devices/keyboard/pellix_keyboard_device.h"

#include "device/device_sync_thread.h"
#include "devices/common/assigned_name.h"
#include "devices/common/default_key_table.h"
#include "devices/keyboard/keyboard_settings.h"
#include "devices/mouse/mouse_settings.h"
#include "macro/macro_control_ui.h"
#include "macro/macro_list.h"
#include "profile/data_folders.h"
#include "profile/device_profile_ui.h"
#include "ui/controls/device_key_button_ui.h"
#include "ui/toolkit/color_palette_ui.h"
#include "ui/toolkit/option_ui.h"
#include "ui/toolkit/resource_manager.h"
#include "ui/toolkit/slider_ui.h"
#include "ui/toolkit/tab_layout_ui.h"
#include "ui/toolkit/ui_parse.h"

#include <algorithm>

namespace {

// LED intensity of the brightness levels 0-4.
constexpr std::array<uint8_t, 5> kIntensities{30, 80, 135, 195, 255};
// How much a key's glow fades per step in the reactive modes 19, 20 and 21.
constexpr std::array<int, 3> kGlowFade{12, 24, 6};
constexpr int kFirstReactiveMode = 19;
constexpr int kLastReactiveMode = 21;

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

bool IsReactiveMode(int mode) {
    return mode >= kFirstReactiveMode && mode <= kLastReactiveMode;
}

uint8_t Intensity(const LightInfo& light) {
    return kIntensities[std::min<size_t>(light.light, kIntensities.size() - 1)];
}

// The index after the last "_" of a control name, or -1.
int NameIndex(const std::string& name) {
    const size_t split = name.rfind('_');
    return split == std::string::npos ? -1 : std::atoi(name.c_str() + split + 1);
}

}  // namespace

CPellixKeyboardDevice::CPellixKeyboardDevice() = default;

CPellixKeyboardDevice::~CPellixKeyboardDevice() {
    // The light thread calls this class's generators, so it ends before the members go.
    StopLightThread();
}

std::string CPellixKeyboardDevice::GetClass() const {
    return "PellixKeyboardDevice";
}

void* CPellixKeyboardDevice::GetInterface(std::string_view name) {
    if (name == "PellixKeyboardDevice") {
        return this;
    }
    return CPellixUSBDevice::GetInterface(name);
}

CKeyboardProtocol* CPellixKeyboardDevice::Protocol() {
    if (protocol_ == nullptr && HasConnection()) {
        protocol_ = std::make_unique<CKeyboardProtocol>(Connection().Command());
    }
    return protocol_.get();
}

void CPellixKeyboardDevice::InitPage() {
    BindPageControls();
    if (LayoutPath().empty()) {
        return;
    }
    if (HasConnection()) {
        Connection().SyncThread().SetKeyEvent([this](int key, int state) { KeyEvent(key, state); });
    }
    InitProfilePanel();
    LoadMacroAndLightLists();
    BindPanels();
    // The profile panel has chosen the first function tab, the lighting.
    ShowTab("deng_Op_tab");
}

void CPellixKeyboardDevice::BindPageControls() {
    ClearButtonTables();
    if (LayoutPath().empty()) {
        return;
    }
    if (auto* layout = As<ui::CContainerUI>(PageControl("keyboard_device_key_light"), "Container")) {
        BindSelectPanels(*layout);
    }
}

void CPellixKeyboardDevice::BindButton(ui::CControlUI& button) {
    CPellixUSBDevice::BindButton(button);
    std::string prefix;
    int index = 0;
    if (SplitIndexedName(button.GetName(), prefix, index) && prefix == "light_") {
        SetLightButton(index, &button);
    }
}

void CPellixKeyboardDevice::BindPanels() {
    lightPanel_ = As<CLightControlUI>(PageControl("LightControlItem"), "LightControl");
    if (lightPanel_ != nullptr) {
        lightPanel_->BindControls();
        lightPanel_->SetDeviceKind(kKindKeyboard);
        lightPanel_->SetSameModePermission(true);
        lightPanel_->SetModeList(lightNames_, kBrightnessMaximum, kSpeedMaximum);
    }
    keySet_ = As<CKeySetControlUI>(PageControl("KeySetControlItem"), "KeySetControl");
    if (keySet_ != nullptr) {
        keySet_->BindControls();
        keySet_->SetDeviceKind(CKeySetControlUI::kKindKeyboard);
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
}

void CPellixKeyboardDevice::ShowMacroCapacity() {
    if (macroPanel_ != nullptr) {
        const CKeyboardProtocol* protocol = Protocol();
        macroPanel_->SetMemoryCapacity(protocol != nullptr ? protocol->Info().MacroCapacity() : 0);
    }
}

void CPellixKeyboardDevice::OnConnected() {
    CKeyboardProtocol* protocol = Protocol();
    if (protocol != nullptr) {
        protocol->ReadDeviceInfo();
    }
    LoadActiveProfile();
    if (protocol != nullptr) {
        protocol->MapAssignedKeys(keys_);
    }
    UpdateKeyCodeMap();
    RefreshPage();
    StopLightThread();
    StartLightThread();
    ShowLayer();
}

void CPellixKeyboardDevice::UpdateKeyCodeMap() {
    const keyboardwire::PositionMap map =
        protocol_ != nullptr ? protocol_->Maps().keyCode : keyboardwire::EmptyMaps().keyCode;
    std::lock_guard lock(glowMutex_);
    keyCodeMap_ = map;
}

void CPellixKeyboardDevice::Resync() {
    CKeyboardProtocol* protocol = Protocol();
    std::array<uint8_t, keyboardwire::kRecordSize> record{};
    if (protocol != nullptr && protocol->ReadActiveProfile(profile_, record) == channel_result::kOk) {
        TakeStages();
        TakeLight(profile_.GetLightInfo());
    }
    RefreshPage();
}

void CPellixKeyboardDevice::SetProfilePaths() {
    const std::string folder = UserDataFolder();
    profilePath_ =
        CDataFolders::IsSafeFileName(ProfileBaseName()) ? folder + ProfileBaseName() + ".Json" : "";
    profile_.SetProfilePath(profilePath_);
    profile_.SetLightConfigPath(folder + ConfigBaseName() + ".config");
}

int CPellixKeyboardDevice::LoadActiveProfile() {
    SetProfilePaths();
    if (profilePath_.empty()) {
        return 0;
    }
    profile_.OpenActiveProfile(profilePath_, profile_.GetLightConfigPath(), DefaultProfileFile());
    ReportSetAsideFiles(profile_.TakeSetAsideFiles());
    keys_ = profile_.GetKeyList();
    ApplyProfile();
    TakeStages();
    return 1;
}

int CPellixKeyboardDevice::ApplyProfile() {
    TakeLight(profile_.GetLightInfo());
    return 1;
}

// The mode-change handling of the preview: a new mode starts from clear buffers.
void CPellixKeyboardDevice::TakeLight(const LightInfo& light) {
    const bool modeChanged = light.selectItem != LightState().selectItem;
    SetLightState(light);
    if (modeChanged) {
        ClearReaction();
        std::lock_guard lock(glowMutex_);
        glow_.fill(0);
        held_.fill(false);
    }
    LoadCustomColours();
}

std::string CPellixKeyboardDevice::ProfilePath() const {
    return profile_.GetProfilePath();
}

void CPellixKeyboardDevice::SaveProfile() {
    profile_.Save();
}

void CPellixKeyboardDevice::SetTypeCode(int code) {
    CPellixUSBDevice::SetTypeCode(code);
    profile_.SetDeviceIndex(0);
}

void CPellixKeyboardDevice::SetLightRecord(uint32_t a, uint32_t b, uint32_t c) {
    CPellixUSBDevice::SetLightRecord(a, b, c);
    profile_.SetLightInfo(a, b, c);
}

// The name lists are read again on every refresh: another program may have changed them.
void CPellixKeyboardDevice::RefreshPage() {
    refreshing_ = true;
    LoadMacroAndLightLists();
    ShowKeyAssignments();
    ShowSystemStages();
    ShowPanels();
    ShowMacroCapacity();
    PaintCustomColours();
    PaintLightButtons();
    refreshing_ = false;
}

void CPellixKeyboardDevice::ShowSystemStages() {
    const std::pair<const char*, uint16_t> flags[] = {{"winlockflag_option", stages_.winFlag},
                                                      {"wflag_option", stages_.wFlag},
                                                      {"6flag_option", stages_.key6Flag}};
    for (const auto& [name, value] : flags) {
        if (auto* option = As<ui::COptionUI>(PageControl(name), "Option")) {
            option->Selected(value != 0, false);
        }
    }
    if (auto* slider = As<ui::CSliderUI>(PageControl("repeat_rate_slider"), "Slider")) {
        slider->SetValue(stages_.repeat);
    }
    ShowRepeatDelay(stages_.repeatDelay);
    if (ui::CControlUI* edit = PageControl("repeat_input_richedit")) {
        edit->SetText("");
        edit->SetAttribute("tipvalue", Resolve("Repeat_input_text"));
    }
    SelectOptions("polling_rate_option_", kPollingOptionCount, stages_.pollingRate);
}

void CPellixKeyboardDevice::ShowRepeatDelay(int index) {
    const int shown = index >= 0 && index < kRepeatDelayCount ? index : 0;
    SelectOptions("repeat_delay_check_", kRepeatDelayCount, shown);
    if (ui::CControlUI* label = PageControl("repeat_delay_time_label1")) {
        label->SetText(Resolve("Repeat_Delay_Time") + std::to_string(250 + 250 * shown) + "ms");
    }
}

// Indices outside the group count as 0.
void CPellixKeyboardDevice::SelectOptions(const char* prefix, int count, int selected) {
    const int shown = selected >= 0 && selected < count ? selected : 0;
    for (int index = 0; index < count; ++index) {
        if (auto* option = As<ui::COptionUI>(PageControl(Indexed(prefix, index)), "Option")) {
            option->Selected(index == shown, false);
        }
    }
}

void CPellixKeyboardDevice::ShowKeyAssignments() {
    for (int position = 0; position < kPositionCount && position < static_cast<int>(keys_.size());
         ++position) {
        ui::CControlUI* button = KeyButton(position);
        if (button == nullptr) {
            continue;
        }
        const AssignedName name = CAssignedName::Name(CodeOf(keys_[position]), macroNames_);
        if (name.kind == AssignedName::Kind::kNone) {
            continue;
        }
        const std::string function = CAssignedName::Text(name, Resolve);
        const std::optional<std::string_view> own = CAssignedName::OwnNameKey(DefaultKeyTable[position]);
        const std::string key = own ? Resolve(*own) : std::string();
        button->SetToolTip(key.empty() ? function : key + "\n" + function);
        if (auto* drawn = As<ui::CDeviceKeyButtonUI>(button, "DeviceKeyButton")) {
            drawn->SetShowKeySetImage(CodeOf(keys_[position]) == DefaultKeyTable[position]);
        }
    }
}

void CPellixKeyboardDevice::ShowPanels() {
    if (lightPanel_ != nullptr) {
        lightPanel_->SetModeList(lightNames_, kBrightnessMaximum, kSpeedMaximum);
        lightPanel_->ShowLight(LightState());
        lightPanel_->SelectCustomGroup(profile_.GetGroupIndex());
    }
    if (keySet_ != nullptr) {
        keySet_->SetMacroNames(macroNames_);
        const int key = SelectedKey();
        if (keySet_->IsVisible() && key >= 0 && key < static_cast<int>(keys_.size())) {
            keySet_->ShowKey(keys_[key]);
        }
    }
}

void CPellixKeyboardDevice::CheckMacroReferences() {
    LoadMacroAndLightLists();
    if (keySet_ != nullptr) {
        keySet_->SetMacroNames(macroNames_);
    }
    keys_ = profile_.GetKeyList();
    CMouseSettings::RepairMacroReferences(keys_, macroNames_.size());
    profile_.SetKeyList(keys_);
    SaveProfile();
    ShowKeyAssignments();
}

bool CPellixKeyboardDevice::MacroReferenced(int position) {
    return position >= 0 &&
           CMouseSettings::ReferencesMacro(profile_.GetKeyList(), static_cast<size_t>(position));
}

void CPellixKeyboardDevice::MacroDeleted(int position) {
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

void CPellixKeyboardDevice::MacroNamesChanged() {
    LoadMacroAndLightLists();
    if (keySet_ != nullptr) {
        keySet_->SetMacroNames(macroNames_);
    }
    ShowKeyAssignments();
}

void CPellixKeyboardDevice::ResetProfile() {
    if (CDeviceProfileUI* panel = ProfilePanel()) {
        panel->ResetProfileFile();
    }
}

int CPellixKeyboardDevice::WriteKeyTable(int profileIndex, const std::vector<KeyAssignment>& keys) {
    CKeyboardProtocol* protocol = Protocol();
    return protocol != nullptr ? protocol->WriteKeyTable(profileIndex, keys) : 0;
}

int CPellixKeyboardDevice::WriteProfileKeys(int profileIndex) {
    return WriteKeyTable(profileIndex, profile_.GetKeyList());
}

int CPellixKeyboardDevice::WriteMacros() {
    CKeyboardProtocol* protocol = Protocol();
    return protocol != nullptr ? protocol->WriteMacros(UserDataFolder()) : 0;
}

int CPellixKeyboardDevice::WriteParameters(int profileIndex, uint8_t firstByte) {
    CKeyboardProtocol* protocol = Protocol();
    return protocol != nullptr ? protocol->WriteParameters(profile_, profileIndex, firstByte) : 0;
}

void CPellixKeyboardDevice::LoadMacroAndLightLists() {
    macroNames_ = CMacroList(UserDataFolder()).Names();
    lightNames_ = CLightNameLists::ReadModeNames(GetTypeCode());
}

// FN can be chosen for lighting, not for key assignment.
void CPellixKeyboardDevice::SetFunctionTab(int type) {
    CPellixUSBDevice::SetFunctionTab(type);
    if (type == 1 || type == 2) {
        if (ui::CControlUI* fn = KeyButton(kFnPosition)) {
            fn->SetEnabled(type == 1);
        }
    }
    ShowLayer();
}

// The light layer while the lighting sub-page shows, the key layer otherwise; the base paints
// the light buttons only while they can be seen.
void CPellixKeyboardDevice::ShowLayer() {
    const bool lighting = GetFunctionTab() == 3;
    if (auto* layers = As<ui::CTabLayoutUI>(OptionalPageControl("keyboard_device_key_light"), "TabLayout")) {
        layers->SelectItem(lighting ? 1 : 0);
    }
}

void CPellixKeyboardDevice::SelectKey(int index) {
    CPellixUSBDevice::SelectKey(index);
    for (int position = 0; position < kPositionCount; ++position) {
        if (auto* drawn = As<ui::CDeviceKeyButtonUI>(KeyButton(position), "DeviceKeyButton")) {
            drawn->SetSelected(position == index);
        }
    }
    if (keySet_ == nullptr || index < 0 || index >= static_cast<int>(keys_.size())) {
        return;
    }
    ShowKeyEditor(true);
    keySet_->ShowKey(keys_[index]);
}

// On the sync thread: the maps belong to the UI thread, so the position is found in the copy
// the light thread reads as well.
void CPellixKeyboardDevice::KeyEvent(int firmwareKey, int state) {
    int position = -1;
    {
        std::lock_guard lock(glowMutex_);
        position = keyboardwire::PositionOfFirmwareKey(keyCodeMap_, firmwareKey);
    }
    if (position >= 0) {
        PositionEvent(position, state);
    }
}

void CPellixKeyboardDevice::PositionEvent(int position, int state) {
    if (position < 0 || position >= kPositionCount || !IsReactiveMode(LightState().selectItem)) {
        return;
    }
    std::lock_guard lock(glowMutex_);
    held_[position] = state == CDeviceSyncThread::kKeyPressed;
    if (held_[position]) {
        glow_[position] = 255;
    }
}

uint8_t CPellixKeyboardDevice::KeyGlow(int position) const {
    std::lock_guard lock(glowMutex_);
    return position >= 0 && position < kPositionCount ? glow_[position] : 0;
}

void CPellixKeyboardDevice::KeyClicked(int index) {
    if (InKeyView() && index >= 0 && index < static_cast<int>(keys_.size())) {
        SelectKey(index);
    }
}

int CPellixKeyboardDevice::WriteSettings() {
    SaveProfile();
    const int record = WriteParameters(0, 0);
    const int macros = WriteMacros();
    return SettingsResult(WriteProfileKeys(0), record, macros);
}

void CPellixKeyboardDevice::RestoreDefaults() {
    ResetAndReload();
    WriteProfileKeys(0);
    WriteParameters(0, 0);
}

void CPellixKeyboardDevice::ResetAndReload() {
    ResetProfile();
    LoadActiveProfile();
    SaveProfile();
    RefreshPage();
}

void CPellixKeyboardDevice::HideKeyEditor() {
    ShowKeyEditor(false);
}

// Until a key is chosen, the place of the key panel says what to do.
void CPellixKeyboardDevice::ShowKeyEditor(bool shown) {
    if (ui::CControlUI* editor = OptionalPageControl("KeySetControlItem")) {
        editor->SetVisible(shown);
    }
    if (ui::CControlUI* hint = OptionalPageControl("keyset_empty_hint")) {
        hint->SetVisible(!shown);
    }
}

// The sub-page tabs are an option group: the option being cleared is not the user's choice.
void CPellixKeyboardDevice::ShowTab(const std::string& tabName) {
    static const std::pair<const char*, int> tabs[] = {
        {"system_Op_tab", 1}, {"key_Op_tab", 2}, {"deng_Op_tab", 3}, {"macro_Op_tab", 7}};
    auto* option = As<ui::COptionUI>(OptionalPageControl(tabName), "Option");
    if (option != nullptr && !option->IsSelected()) {
        return;
    }
    for (const auto& [name, type] : tabs) {
        if (tabName == name) {
            SetFunctionTab(type);
            return;
        }
    }
}

bool CPellixKeyboardDevice::IsSelectedOption(const std::string& name) const {
    auto* option = As<ui::COptionUI>(PageControl(name), "Option");
    return option != nullptr && option->IsSelected();
}

void CPellixKeyboardDevice::PollingRateSelected(int option) {
    CKeyboardProtocol* protocol = Protocol();
    if (refreshing_ || protocol == nullptr || !IsSelectedOption(Indexed("polling_rate_option_", option))) {
        return;
    }
    CKeyboardSettings(profile_, *protocol).SetPollingRate(option);
    TakeStages();
}

void CPellixKeyboardDevice::KeyboardSettingChanged(const std::string& controlName) {
    if (controlName == "reset_repeat_btn") {
        if (ui::CControlUI* edit = PageControl("repeat_input_richedit")) {
            edit->SetText("");
        }
        return;
    }
    CKeyboardProtocol* protocol = Protocol();
    if (refreshing_ || protocol == nullptr) {
        return;
    }
    CKeyboardSettings settings(profile_, *protocol);
    if (controlName == "winlockflag_option") {
        settings.SetWinLock(IsSelectedOption(controlName));
    } else if (controlName == "wflag_option") {
        settings.SetWFlag(IsSelectedOption(controlName));
    } else if (controlName == "6flag_option") {
        settings.SetSixKey(IsSelectedOption(controlName));
    } else if (controlName == "repeat_rate_slider") {
        auto* slider = As<ui::CSliderUI>(PageControl(controlName), "Slider");
        settings.SetRepeat(static_cast<uint16_t>(slider != nullptr ? slider->GetValue() : 0));
    } else if (controlName.starts_with("repeat_delay_check_") && IsSelectedOption(controlName)) {
        settings.SetRepeatDelay(NameIndex(controlName));
        ShowRepeatDelay(NameIndex(controlName));
    }
    TakeStages();
}

int CPellixKeyboardDevice::LightMode() const {
    return LightState().selectItem;
}

void CPellixKeyboardDevice::ApplySyncLightMode(int mode, const LightInfo& source) {
    LightInfo light = source;
    light.selectItem = static_cast<uint8_t>(mode);
    ApplyLight(light);
}

void CPellixKeyboardDevice::ApplyLight(const LightInfo& light) {
    if (CKeyboardProtocol* protocol = Protocol()) {
        CKeyboardSettings(profile_, *protocol).SetLight(light);
    } else {
        CKeyboardProtocol::StoreLightInfo(profile_, light);
        SaveProfile();
    }
    TakeLight(light);
}

void CPellixKeyboardDevice::LightControlChanged(const std::string& controlName) {
    if (refreshing_ || lightPanel_ == nullptr || lightPanel_->IsUpdating()) {
        return;
    }
    if (const std::optional<LightInfo> light = lightPanel_->TakeChange(controlName, LightState())) {
        ApplyLight(*light);
    }
}

void CPellixKeyboardDevice::LightPaletteChanged() {
    auto* palette = As<ui::CColorPaletteUI>(PageControl("deng_Color_Pallet"), "ColorPalette");
    if (refreshing_ || lightPanel_ == nullptr || palette == nullptr) {
        return;
    }
    ApplyLight(lightPanel_->TakeColour(palette->GetSelectColor(), LightState()));
}

void CPellixKeyboardDevice::LightPresetChosen(int index) {
    if (refreshing_ || lightPanel_ == nullptr) {
        return;
    }
    if (const std::optional<uint32_t> colour = lightPanel_->PresetColour(index)) {
        ApplyLight(lightPanel_->TakeColour(*colour, LightState()));
    }
}

// The custom group of mode 8: its colours come from the profile with the page's LED count.
void CPellixKeyboardDevice::LoadCustomColours() {
    SetCustomColours(profile_.GetGroupColors(profile_.GetGroupIndex(), LedCount()));
}

// Every LED of the keyboard has a colour, so that filling the group reaches all 126.
void CPellixKeyboardDevice::SetCustomColours(std::vector<LedColor> colours) {
    colours.resize(kPositionCount);
    {
        std::lock_guard lock(glowMutex_);
        customColours_ = std::move(colours);
    }
    PaintCustomColours();
    PaintLightButtons();
}

void CPellixKeyboardDevice::LightCustomGroupSelected() {
    if (refreshing_ || lightPanel_ == nullptr || lightPanel_->IsUpdating()) {
        return;
    }
    const int group = lightPanel_->SelectedCustomGroup();
    if (group < 0) {
        return;
    }
    std::vector<LedColor> colours;
    if (profile_.SelectCustomGroup(group, LedCount(), colours)) {
        SaveProfile();
    }
    SetCustomColours(std::move(colours));
}

void CPellixKeyboardDevice::LightCustomColourAll(bool lit) {
    if (lightPanel_ == nullptr) {
        return;
    }
    const LightInfo light = LightState();
    std::vector<LedColor> colours = customColours_;
    const bool changed = lit ? profile_.FillCustomGroup(colours, light.red, light.green, light.blue,
                                                        lightPanel_->SelectedCustomGroup())
                             : profile_.FillCustomGroup(colours, 0, 0, 0, lightPanel_->SelectedCustomGroup());
    if (changed) {
        SaveProfile();
    }
    SetCustomColours(std::move(colours));
}

void CPellixKeyboardDevice::LightKeyClicked(int position) {
    const LightInfo light = LightState();
    if (lightPanel_ == nullptr || light.selectItem != kCustomLightMode) {
        return;
    }
    std::vector<LedColor> colours = customColours_;
    const bool changed = profile_.SetCustomGroupLed(colours, position, light.red, light.green, light.blue,
                                                    lightPanel_->SelectedCustomGroup());
    if (changed) {
        SaveProfile();
    }
    SetCustomColours(std::move(colours));
}

// The band on the light layer ended: each key it took gets the single colour.
void CPellixKeyboardDevice::LightKeysSelected() {
    for (int position = 0; position < kPositionCount; ++position) {
        auto* button = As<ui::CDeviceKeyButtonUI>(LightButton(position), "DeviceKeyButton");
        if (button != nullptr && button->IsSelected()) {
            LightKeyClicked(position);
            button->SetSelected(false);
        }
    }
}

// Mode 8 shows its group at once; the light thread keeps it there.
void CPellixKeyboardDevice::PaintCustomColours() {
    const LightInfo light = LightState();
    if (light.selectItem != kCustomLightMode) {
        return;
    }
    std::lock_guard lock(glowMutex_);
    for (int led = 0; led < LedCount() && led < kPositionCount; ++led) {
        const LedColor& colour = customColours_[led];
        SetLedColour(led, CLightAnimation::Pack({colour.red, colour.green, colour.blue}, Intensity(light)));
    }
}

void CPellixKeyboardDevice::StepLight() {
    const int mode = LightState().selectItem;
    if (IsReactiveMode(mode)) {
        EffectReactive(mode);
        return;
    }
    switch (mode) {
        case 1:
            EffectSpectrum();
            break;
        case 2:
            EffectBreathWheel();
            break;
        case 17:
            EffectBlink();
            break;
        case 4:
        case 22:
            EffectBreathFourColours();
            break;
        case 23:
            EffectBlinkFourColours();
            break;
        case 24:
            EffectOff();
            break;
        case kCustomLightMode:
            PaintCustomColours();
            break;
        case 3:
            EffectStatic();
            break;
        default:
            // The moving effects and the custom effect lists: the firmware draws them; the
            // preview shows the colour cycle, or the single colour for the lists.
            if (mode < keyboardwire::kLightModeLimit) {
                EffectSpectrum();
            } else {
                EffectStatic();
            }
            break;
    }
}

bool CPellixKeyboardDevice::IsAnimatedMode(int mode) const {
    return mode != 3 && mode != kCustomLightMode && mode != 24 && mode < keyboardwire::kLightModeLimit;
}

// Pressed keys light up in the single colour (white in multicolour) and fade once released.
void CPellixKeyboardDevice::EffectReactive(int mode) {
    const LightInfo light = LightState();
    const LightRgb colour =
        light.multiColor != 0 ? LightRgb{255, 255, 255} : LightRgb{light.red, light.green, light.blue};
    const int fade = kGlowFade[static_cast<size_t>(mode - kFirstReactiveMode)];
    const uint8_t intensity = Intensity(light);
    std::lock_guard lock(glowMutex_);
    for (int led = 0; led < kPositionCount && led < LedCount(); ++led) {
        SetLedColour(led, CLightAnimation::Pack(colour, static_cast<uint8_t>(glow_[led] * intensity / 255)));
        if (!held_[led]) {
            glow_[led] = static_cast<uint8_t>(std::max(0, glow_[led] - fade));
        }
    }
}

bool CPellixKeyboardDevice::KeyPanelIdle() const {
    return keySet_ != nullptr && !keySet_->IsUpdating() && !refreshing_;
}

void CPellixKeyboardDevice::KeySetFunctionSelected() {
    if (KeyPanelIdle()) {
        keySet_->FunctionSelected();
    }
}

void CPellixKeyboardDevice::KeySetMacroModeSelected() {
    if (KeyPanelIdle()) {
        keySet_->MacroModeSelected();
    }
}

// The edited function becomes the selected key's; the file and the keyboard follow with
// "key_butt_prosave".
void CPellixKeyboardDevice::SaveKeyAssignment() {
    const int index = SelectedKey();
    if (!KeyPanelIdle() || index < 0 || index >= static_cast<int>(keys_.size())) {
        return;
    }
    keys_[index] = keySet_->BuildCode();
    profile_.SetKeyList(keys_);
    ShowKeyAssignments();
}

void CPellixKeyboardDevice::ShowDefaultKey() {
    if (KeyPanelIdle()) {
        keySet_->ShowDefault();
    }
}

void CPellixKeyboardDevice::ShowCurrentKey() {
    if (KeyPanelIdle()) {
        keySet_->ShowCurrent();
    }
}

void CPellixKeyboardDevice::CaptureKey(uint8_t scanCode, bool extended) {
    if (KeyPanelIdle() && keySet_->TakeCapturedKey(scanCode, extended)) {
        SaveKeyAssignment();
    }
}

void CPellixKeyboardDevice::SetKeyPanelBusy(bool busy) {
    if (keySet_ != nullptr) {
        keySet_->EnableButtons(!busy);
    }
}
