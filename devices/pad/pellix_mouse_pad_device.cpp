#include "devices/pad/pellix_mouse_pad_device.h"

#include "devices/common/light_control_ui.h"
#include "devices/pad/mouse_pad_settings.h"
#include "profile/data_folders.h"
#include "profile/device_profile_ui.h"
#include "ui/controls/device_key_button_ui.h"
#include "ui/toolkit/color_palette_ui.h"
#include "ui/toolkit/option_ui.h"

namespace {

constexpr const char* kLightTab = "deng_Op_tab";

// The pad's modes: 0 wave, 1 spectrum, 2 breathing, 3 static, 4 blink, 5 ripple, 6 breathing
// and 7 blinking through four colours, 8 off.
enum PadMode : uint8_t {
    kWave = 0,
    kSpectrum,
    kBreathing,
    kStatic,
    kBlink,
    kRipple,
    kBreathFourColours,
    kBlinkFourColours,
    kOff,
};

template <class T>
T* As(ui::CControlUI* control, const char* interfaceName) {
    return control != nullptr ? static_cast<T*>(control->GetInterface(interfaceName)) : nullptr;
}

// A light button's colour (0xRRGGBB) of a packed LED colour.
uint32_t ButtonRgb(uint32_t packed) {
    return (packed & 0xFF) << 16 | (packed >> 8 & 0xFF) << 8 | (packed >> 16 & 0xFF);
}

}  // namespace

CPellixMousePadDevice::CPellixMousePadDevice() = default;

CPellixMousePadDevice::~CPellixMousePadDevice() {
    // The light thread calls this class's generators, so it ends before the members go.
    StopLightThread();
}

std::string CPellixMousePadDevice::GetClass() const {
    return "PellixMousePadDevice";
}

void* CPellixMousePadDevice::GetInterface(std::string_view name) {
    if (name == "PellixMousePadDevice") {
        return this;
    }
    return CPellixUSBDevice::GetInterface(name);
}

CMousePadProtocol* CPellixMousePadDevice::Protocol() {
    if (protocol_ == nullptr && HasConnection()) {
        protocol_ = std::make_unique<CMousePadProtocol>(Connection().Command());
    }
    return protocol_.get();
}

void CPellixMousePadDevice::InitPage() {
    BindPageControls();
    if (LayoutPath().empty()) {
        return;
    }
    InitProfilePanel();
    LoadMacroAndLightLists();
    lightPanel_ = As<CLightControlUI>(PageControl("LightControlItem"), "LightControl");
    if (lightPanel_ != nullptr) {
        lightPanel_->BindControls();
        lightPanel_->SetDeviceKind(kKindMousePad);
        lightPanel_->SetSameModePermission(true);
        lightPanel_->SetModeList(lightNames_, padwire::kHighestLevel, padwire::kHighestLevel);
    }
    ShowTab(kLightTab);
}

// The pad's buttons are the "DeviceKeyButton" children of its button layout.
void CPellixMousePadDevice::BindPageControls() {
    ClearButtonTables();
    auto* layout = As<ui::CContainerUI>(PageControl(kButtonLayout), "Container");
    if (layout == nullptr) {
        return;
    }
    for (int child = 0; child < layout->GetCount(); ++child) {
        ui::CControlUI* button = layout->GetItemAt(child);
        if (button->GetClass() == "DeviceKeyButton") {
            BindButton(*button);
        }
    }
}

void CPellixMousePadDevice::BindButton(ui::CControlUI& button) {
    CPellixUSBDevice::BindButton(button);
    std::string prefix;
    int index = 0;
    if (SplitIndexedName(button.GetName(), prefix, index) && prefix == "light_") {
        SetLightButton(index, &button);
    }
}

void CPellixMousePadDevice::OnConnected() {
    // The record is read before anything is written, so that the bytes only the pad sets go
    // back as they are.
    if (CMousePadProtocol* protocol = Protocol(); protocol != nullptr && protocol->ReadInfo() == 1) {
        int profileIndex = 0;
        protocol->ReadParameters(profileIndex);
    }
    LoadActiveProfile();
    RefreshPage();
    StopLightThread();
    StartLightThread();
}

int CPellixMousePadDevice::ReadParameters(int& profileIndex) {
    CMousePadProtocol* protocol = Protocol();
    const int result = protocol != nullptr ? protocol->ReadParameters(profileIndex) : 0;
    return result == channel_result::kOk ? 1 : result;
}

// The pad's own button changed its light: the page and the profile follow the pad.
void CPellixMousePadDevice::Resync() {
    int profileIndex = 0;
    if (ReadParameters(profileIndex) == 1) {
        const LightInfo light = padwire::LightOf(protocol_->Record(), LightState());
        SetLightState(light);
        CMousePadSettings::StoreLightInfo(profile_, light);
        SaveProfile();
    }
    RefreshPage();
}

void CPellixMousePadDevice::SetProfilePaths() {
    const std::string folder = UserDataFolder();
    profilePath_ =
        CDataFolders::IsSafeFileName(ProfileBaseName()) ? folder + ProfileBaseName() + ".Json" : "";
    profile_.SetProfilePath(profilePath_);
    profile_.SetLightConfigPath(folder + ConfigBaseName() + ".config");
}

int CPellixMousePadDevice::LoadActiveProfile() {
    SetProfilePaths();
    if (profilePath_.empty()) {
        return 0;
    }
    profile_.OpenActiveProfile(profilePath_, profile_.GetLightConfigPath(), DefaultProfileFile());
    ReportSetAsideFiles(profile_.TakeSetAsideFiles());
    ApplyProfile();
    return 1;
}

int CPellixMousePadDevice::ApplyProfile() {
    const LightInfo light = profile_.GetLightInfo();
    SetLightState(light);
    if (CMousePadProtocol* protocol = Protocol()) {
        protocol->SetLight(light);
    }
    return 1;
}

std::string CPellixMousePadDevice::ProfilePath() const {
    return profile_.GetProfilePath();
}

void CPellixMousePadDevice::SaveProfile() {
    profile_.Save();
}

void CPellixMousePadDevice::ResetProfile() {
    if (CDeviceProfileUI* panel = ProfilePanel()) {
        panel->ResetProfileFile();
    }
}

void CPellixMousePadDevice::ResetAndReload() {
    ResetProfile();
    LoadActiveProfile();
    WriteParameters(0, 0);
    RefreshPage();
}

// The pad ignores the first byte: its record keeps the active profile it was read with.
int CPellixMousePadDevice::WriteParameters(int profileIndex, uint8_t /*firstByte*/) {
    CMousePadProtocol* protocol = Protocol();
    const int result = protocol != nullptr ? protocol->WriteParameters(profileIndex) : 0;
    return result == channel_result::kOk ? 1 : result;
}

int CPellixMousePadDevice::WriteSettings() {
    SaveProfile();
    return WriteParameters(0, 0) == 1 ? 0 : -1;
}

// The name lists are read again on every refresh: another program may have changed them.
void CPellixMousePadDevice::LoadMacroAndLightLists() {
    lightNames_ = CLightNameLists::ReadModeNames(GetTypeCode());
}

void CPellixMousePadDevice::RefreshPage() {
    refreshing_ = true;
    LoadMacroAndLightLists();
    if (lightPanel_ != nullptr) {
        lightPanel_->SetModeList(lightNames_, padwire::kHighestLevel, padwire::kHighestLevel);
        lightPanel_->ShowLight(LightState());
    }
    PaintLightButtons();
    refreshing_ = false;
}

void CPellixMousePadDevice::ShowTab(const std::string& tabName) {
    if (tabName != kLightTab) {
        return;
    }
    if (auto* option = As<ui::COptionUI>(PageControl(kLightTab), "Option")) {
        option->Selected(true, false);
    }
}

int CPellixMousePadDevice::LightMode() const {
    return LightState().selectItem;
}

// Another page is the active one: this page's panel is left alone (its events would reach that
// page) and shows the light at the next refresh.
void CPellixMousePadDevice::ApplySyncLightMode(int mode, const LightInfo& source) {
    LightInfo light = source;
    light.selectItem = static_cast<uint8_t>(mode);
    ApplyLight(light);
}

void CPellixMousePadDevice::ApplyLight(const LightInfo& light) {
    SetLightState(light);
    if (CMousePadProtocol* protocol = Protocol()) {
        CMousePadSettings(profile_, *protocol).SetLight(light);
    } else {
        CMousePadSettings::StoreLightInfo(profile_, light);
        SaveProfile();
    }
    PaintLightButtons();
}

void CPellixMousePadDevice::LightControlChanged(const std::string& controlName) {
    if (refreshing_ || lightPanel_ == nullptr || lightPanel_->IsUpdating()) {
        return;
    }
    if (const std::optional<LightInfo> light = lightPanel_->TakeChange(controlName, LightState())) {
        ApplyLight(*light);
    }
}

void CPellixMousePadDevice::LightPaletteChanged() {
    auto* palette = As<ui::CColorPaletteUI>(PageControl("deng_Color_Pallet"), "ColorPalette");
    if (refreshing_ || lightPanel_ == nullptr || palette == nullptr) {
        return;
    }
    ApplyLight(lightPanel_->TakeColour(palette->GetSelectColor(), LightState()));
}

void CPellixMousePadDevice::LightPresetChosen(int index) {
    if (refreshing_ || lightPanel_ == nullptr) {
        return;
    }
    if (const std::optional<uint32_t> colour = lightPanel_->PresetColour(index)) {
        ApplyLight(lightPanel_->TakeColour(*colour, LightState()));
    }
}

// The effect at rest: the wheel spread round the pad where the mode runs through colours, the
// single colour otherwise, at the chosen brightness.
void CPellixMousePadDevice::PaintLightButtons() {
    const LightInfo light = LightState();
    const bool wheel =
        light.selectItem == kWave || light.selectItem == kSpectrum ||
        (light.multiColor != 0 && (light.selectItem == kBreathing || light.selectItem == kBlink));
    const uint8_t intensity = light.selectItem == kOff ? 0 : CLightAnimation::Brightness(light.light);
    const int leds = LedCount();
    for (int led = 0; led < leds; ++led) {
        auto* button = As<ui::CDeviceKeyButtonUI>(LightButton(led), "DeviceKeyButton");
        if (button == nullptr) {
            continue;
        }
        const LightRgb colour = wheel ? CLightAnimation::Wheel()[led * CLightAnimation::kWheelSize / leds]
                                      : LightRgb{light.red, light.green, light.blue};
        button->SetLightImageOn(true);
        button->SetLightColor(ButtonRgb(CLightAnimation::Pack(colour, 0)), intensity);
    }
}

void CPellixMousePadDevice::StepLight() {
    switch (LightState().selectItem) {
        case kWave:
            EffectRunningLight(true);
            break;
        case kSpectrum:
            EffectSpectrum();
            break;
        case kBreathing:
            EffectBreathWheel();
            break;
        case kBlink:
            EffectBlink();
            break;
        case kRipple:
            EffectRunningLight(false);
            break;
        case kBreathFourColours:
            EffectBreathFourColours();
            break;
        case kBlinkFourColours:
            EffectBlinkFourColours();
            break;
        case kOff:
            EffectOff();
            break;
        default:
            EffectStatic();
            break;
    }
}

bool CPellixMousePadDevice::IsAnimatedMode(int mode) const {
    return mode < padwire::kLightModeCount && mode != kStatic && mode != kOff;
}

// One wheel segment apart from LED to LED; the ripple's single colour fades behind its head.
void CPellixMousePadDevice::EffectRunningLight(bool wheel) {
    const LightAnimationSettings settings = AnimationSettings(SyncEffect::kColourCycle);
    const uint32_t frame = CLightAnimation::NextFrame(runningState_, settings, 0);
    const uint8_t brightness = static_cast<uint8_t>(frame >> 24);
    const int leds = LedCount();
    const int size = CLightAnimation::kWheelSize;
    for (int led = 0; led < leds; ++led) {
        const int place = (runningState_.wheel + led * size / leds) % size;
        if (wheel) {
            SetLedColour(led, CLightAnimation::Pack(CLightAnimation::Wheel()[place], brightness));
            continue;
        }
        const uint8_t fade = static_cast<uint8_t>(brightness * place / size);
        SetLedColour(led, CLightAnimation::Pack(settings.colour, fade));
    }
}
