#include "devices/headset/pellix_hs6533_device.h"

#include "devices/common/light_control_ui.h"
#include "devices/headset/magic_control_ui.h"
#include "devices/headset/voice6533_control_ui.h"
#include "platform/paths.h"
#include "profile/data_folders.h"
#include "profile/device_profile_ui.h"
#include "ui/controls/mp_device_power_ui.h"
#include "ui/toolkit/color_palette_ui.h"
#include "ui/toolkit/option_ui.h"
#include "ui/toolkit/tab_layout_ui.h"
#include "ui/toolkit/ui_parse.h"

namespace {

constexpr int kVoiceFunctionTab = 6;
constexpr const char* kFunctionSwitch = "hs6533_function_switch";

template <class T>
T* As(ui::CControlUI* control, const char* interfaceName) {
    return control != nullptr ? static_cast<T*>(control->GetInterface(interfaceName)) : nullptr;
}

// The sub-page of each function tab in "hs6533_function_switch".
constexpr std::pair<const char*, int> kTabPages[] = {
    {"6533_voice_Op_tab", 0}, {"magic_Op_tab", 1}, {"deng_Op_tab", 2}};

}  // namespace

CPellixHS6533Device::CPellixHS6533Device() = default;

CPellixHS6533Device::~CPellixHS6533Device() {
    StopLightThread();
}

std::string CPellixHS6533Device::GetClass() const {
    return "PellixHS6533Device";
}

void* CPellixHS6533Device::GetInterface(std::string_view name) {
    if (name == "PellixHS6533Device") {
        return this;
    }
    return CPellixUSBDevice::GetInterface(name);
}

CHeadsetProtocol* CPellixHS6533Device::Protocol() {
    if (protocol_ == nullptr && HasConnection()) {
        protocol_ = std::make_unique<CHeadsetProtocol>(Connection().Command());
    }
    return protocol_.get();
}

void CPellixHS6533Device::InitPage() {
    BindPageControls();
    InitProfilePanel();
    if (CDeviceProfileUI* panel = ProfilePanel()) {
        panel->SelectFunctionTab(kVoiceFunctionTab);
    }
    ShowTab("6533_voice_Op_tab");
}

void CPellixHS6533Device::BindPageControls() {
    ClearButtonTables();
    voicePanel_ = nullptr;
    magicPanel_ = nullptr;
    if (LayoutPath().empty()) {
        return;
    }
    if (auto* layout = As<ui::CContainerUI>(OptionalPageControl("hs6533_device_key_light"), "Container")) {
        BindSelectPanels(*layout);
    }
    voicePanel_ = As<CVoice6533ControlUI>(PageControl("Voice6533ControlItem"), "Voice6533Control");
    magicPanel_ = As<CMagicControlUI>(PageControl("MagicControlItem"), "MagicControl");
    lightPanel_ = As<CLightControlUI>(PageControl("LightControlItem"), "LightControl");
    LoadMacroAndLightLists();
    if (lightPanel_ != nullptr) {
        lightPanel_->BindControls();
        lightPanel_->SetDeviceKind(kKindHeadset);
        lightPanel_->SetSameModePermission(true);
        lightPanel_->SetModeList(lightNames_, CHeadsetProtocol::kMaxSpeed, CHeadsetProtocol::kMaxSpeed);
    }
    StartAudio();
}

void CPellixHS6533Device::StartAudio() {
    if (!bridge_.Load(platform::ProgramFolder())) {
        return;
    }
    bridge_.Start([this](const std::string& text) { ShowMessage(text); });
    bridge_.EnsureDefaults();
    audio_.ReadAudioState();
}

void CPellixHS6533Device::OnConnected() {
    LoadActiveProfile();
    audio_.ReadAudioState();
    RefreshPage();
    StopLightThread();
    StartLightThread();
}

void CPellixHS6533Device::SetProfilePaths() {
    const std::string folder = UserDataFolder();
    profilePath_ =
        CDataFolders::IsSafeFileName(ProfileBaseName()) ? folder + ProfileBaseName() + ".Json" : "";
    profile_.SetProfilePath(profilePath_);
    profile_.SetLightConfigPath(folder + ConfigBaseName() + ".config");
}

int CPellixHS6533Device::LoadActiveProfile() {
    SetProfilePaths();
    if (profilePath_.empty()) {
        return 0;
    }
    profile_.SetDefaultProfilePath(DefaultProfileFile());
    profile_.SetDeviceIndex(0);
    profile_.LoadDeviceSection(profilePath_);
    ReportSetAsideFiles(profile_.TakeSetAsideFiles());
    ApplyProfile();
    audio_.LoadFromProfile();
    return 1;
}

int CPellixHS6533Device::ApplyProfile() {
    const LightInfo light = profile_.GetLightInfo();
    if (CHeadsetProtocol* protocol = Protocol()) {
        protocol->SetLight(light);
    }
    SetLightState(light);
    return 1;
}

std::string CPellixHS6533Device::ProfilePath() const {
    return profile_.GetProfilePath();
}

void CPellixHS6533Device::SaveProfile() {
    profile_.Save();
}

void CPellixHS6533Device::ResetProfile() {
    if (CDeviceProfileUI* panel = ProfilePanel()) {
        panel->ResetProfileFile();
    }
}

void CPellixHS6533Device::ResetAndReload() {
    ResetProfile();
    LoadActiveProfile();
    WriteParameters(0, 0);
    RefreshPage();
}

void CPellixHS6533Device::Resync() {
    SetSynchronisedLighting(false);
    CHeadsetProtocol* protocol = Protocol();
    if (protocol != nullptr && protocol->ReadLightRecord() == channel_result::kOk) {
        SetLightState(protocol->Light());
    }
}

int CPellixHS6533Device::WriteParameters(int profileIndex, uint8_t /*firstByte*/) {
    CHeadsetProtocol* protocol = Protocol();
    return protocol != nullptr ? protocol->WriteLightRecord(profileIndex) : 0;
}

void CPellixHS6533Device::PeriodicPoll() {
    CHeadsetProtocol* protocol = Protocol();
    CHeadsetProtocol::PowerStatus status{};
    if (protocol == nullptr || protocol->ReadPowerStatus(status) != channel_result::kOk) {
        return;
    }
    if (auto* power = As<ui::CMpDevicePowerUI>(PowerIndicator(), "MpDevicePower")) {
        power->UpdateFromReport(status);
    }
}

// The name lists are read again on every refresh: another program may have changed them.
void CPellixHS6533Device::RefreshPage() {
    refreshing_ = true;
    LoadMacroAndLightLists();
    if (lightPanel_ != nullptr) {
        lightPanel_->SetModeList(lightNames_, CHeadsetProtocol::kMaxSpeed, CHeadsetProtocol::kMaxSpeed);
        lightPanel_->ShowLight(LightState());
    }
    ShowMagicPanel();
    ShowVoicePanel();
    refreshing_ = false;
}

void CPellixHS6533Device::LoadMacroAndLightLists() {
    lightNames_ = CLightNameLists::ReadModeNames(GetTypeCode());
}

int CPellixHS6533Device::LightMode() const {
    return LightState().selectItem;
}

void CPellixHS6533Device::ApplySyncLightMode(int mode, const LightInfo& source) {
    LightInfo light = source;
    light.selectItem = static_cast<uint8_t>(mode);
    ApplyLight(light);
}

void CPellixHS6533Device::ApplyLight(const LightInfo& light) {
    SetSynchronisedLighting(false);
    SetLightState(light);
    profile_.SetLightInfo(light);
    SaveProfile();
    if (CHeadsetProtocol* protocol = Protocol()) {
        protocol->SetLight(light);
    }
    WriteParameters(0, 0);
}

void CPellixHS6533Device::LightControlChanged(const std::string& controlName) {
    if (refreshing_ || lightPanel_ == nullptr || lightPanel_->IsUpdating()) {
        return;
    }
    if (const std::optional<LightInfo> light = lightPanel_->TakeChange(controlName, LightState())) {
        ApplyLight(*light);
    }
}

void CPellixHS6533Device::LightPaletteChanged() {
    auto* palette = As<ui::CColorPaletteUI>(PageControl("deng_Color_Pallet"), "ColorPalette");
    if (refreshing_ || lightPanel_ == nullptr || palette == nullptr) {
        return;
    }
    ApplyLight(lightPanel_->TakeColour(palette->GetSelectColor(), LightState()));
}

void CPellixHS6533Device::LightPresetChosen(int index) {
    if (refreshing_ || lightPanel_ == nullptr) {
        return;
    }
    if (const std::optional<uint32_t> colour = lightPanel_->PresetColour(index)) {
        ApplyLight(lightPanel_->TakeColour(*colour, LightState()));
    }
}

void CPellixHS6533Device::ShowMagicPanel() {
    if (magicPanel_ == nullptr) {
        return;
    }
    const VoiceSettings& settings = audio_.Settings();
    magicPanel_->SetVoiceChangerOn(settings.magicEnable != 0);
    magicPanel_->SelectVoice(settings.magicType);
}

void CPellixHS6533Device::ShowCustomList() {
    voicePanel_->RemoveAllCustoms();
    for (const std::string& name : audio_.CustomNames()) {
        voicePanel_->AddCustomName(name);
    }
    voicePanel_->SelectCustom(audio_.SelectedCustom());
}

void CPellixHS6533Device::ShowVoicePanel() {
    if (voicePanel_ == nullptr) {
        return;
    }
    const VoiceSettings& settings = audio_.Settings();
    voicePanel_->SetMicOn(settings.micInSelect != 0);
    voicePanel_->SetMicLevel(settings.micInValue);
    voicePanel_->SetMonitorOn(settings.micMonitorSelect != 0);
    voicePanel_->SetMonitorLevel(settings.micMonitorValue);
    voicePanel_->SelectPreset(settings.eqType);
    ShowCustomList();
    voicePanel_->EnableCustomEditing(settings.eqType == CHeadsetAudio::kCustomPreset);
    const std::vector<int>& gains = audio_.Gains();
    for (int band = 0; band < CHeadsetAudio::kBandCount; ++band) {
        voicePanel_->SetBand(band, gains[static_cast<size_t>(band)]);
    }
}

void CPellixHS6533Device::ShowTab(const std::string& tabName) {
    auto* pages = As<ui::CTabLayoutUI>(OptionalPageControl(kFunctionSwitch), "TabLayout");
    for (const auto& [name, page] : kTabPages) {
        if (pages != nullptr && tabName == name) {
            pages->SelectItem(page);
        }
    }
}

bool CPellixHS6533Device::IsOptionSelected(const std::string& name) const {
    auto* option = As<ui::COptionUI>(OptionalPageControl(name), "Option");
    return option != nullptr && option->IsSelected();
}

void CPellixHS6533Device::Finish(bool changed) {
    if (changed) {
        SaveProfile();
    }
    RefreshPage();
}

void CPellixHS6533Device::SaveCustom() {
    const CHeadsetAudio::SaveResult result = audio_.SaveCustom(voicePanel_->CustomNameText());
    if (result == CHeadsetAudio::SaveResult::kNameTaken) {
        ShowMessage("message_text_5");
    }
    Finish(result == CHeadsetAudio::SaveResult::kSaved);
}

void CPellixHS6533Device::HeadsetControl(const std::string& name) {
    if (refreshing_ || voicePanel_ == nullptr || magicPanel_ == nullptr) {
        return;
    }
    std::string prefix;
    int index = 0;
    const bool indexed = SplitIndexedName(name, prefix, index);
    if (name == "6533_MicIn_slider") {
        Finish(audio_.SetMicLevel(voicePanel_->MicLevel()));
    } else if (name == "6533_MicMoniter_slider") {
        Finish(audio_.SetMonitorLevel(voicePanel_->MonitorLevel()));
    } else if (name == "6533_MicIn_option") {
        Finish(audio_.SetMicOn(audio_.Settings().micInSelect == 0));
    } else if (name == "6533_MicMoniter_option") {
        Finish(audio_.SetMonitorOn(audio_.Settings().micMonitorSelect == 0));
    } else if (indexed && prefix == "6533_eq_option_" && IsOptionSelected(name)) {
        Finish(audio_.ApplyPreset(index));
    } else if (indexed && prefix == "6533_eq_hz_slider_") {
        // A band move is tried out on the chip; it is kept by saving a custom equaliser.
        audio_.MoveBand(index, voicePanel_->Band(index));
        RefreshPage();
    } else if (name == "custom_eq_name_combo") {
        Finish(audio_.ChooseCustom(voicePanel_->SelectedCustom()));
    } else if (ui::EqualsNoCase(name, "hs_EQ_btn_save")) {
        SaveCustom();
    } else if (ui::EqualsNoCase(name, "hs_EQ_btn_delete")) {
        Finish(audio_.DeleteCustom());
    } else if (name == "magic_enable_option") {
        Finish(audio_.SetVoiceChangerOn(magicPanel_->IsVoiceChangerOn()));
    } else if (indexed && prefix == "magic_option_" && IsOptionSelected(name)) {
        Finish(audio_.ChooseVoice(index));
    }
}
