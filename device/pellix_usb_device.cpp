#include "device/pellix_usb_device.h"

#include "platform/debug.h"
#include "profile/data_folders.h"
#include "profile/device_profile_ui.h"
#include "ui/controls/device_key_button_ui.h"
#include "ui/toolkit/message_queue.h"
#include "ui/toolkit/paint_manager_ui.h"
#include "ui/toolkit/tab_layout_ui.h"

#include <algorithm>
#include <charconv>
#include <utility>

namespace {

// The four colours that the four-colour breathing and blinking step through.
constexpr std::array<LightRgb, 4> kFourColours{{{0, 255, 180}, {0, 255, 0}, {255, 255, 255}, {255, 0, 0}}};

// The tab selections of "device_function_switch" and "device_key_function_switch" for a
// function tab type; -1 leaves a tab as it is.
struct TabChoice {
    int function;
    int key;
};

TabChoice FunctionTabChoice(int type, int kind) {
    switch (type) {
        case 2:
        case 6:
            return {0, 1};
        case 3:
        case 8:
            return {1, -1};
        case 4:
            return kind == 1 || kind == 2 ? TabChoice{3, -1} : TabChoice{0, 2};
        case 7:
            return {0, 2};
        case 5:
            return {2, -1};
        default:
            return {0, 0};
    }
}

void SelectTab(ui::CControlUI* control, int index) {
    auto* tab =
        control != nullptr ? static_cast<ui::CTabLayoutUI*>(control->GetInterface("TabLayout")) : nullptr;
    if (tab != nullptr && index >= 0) {
        tab->SelectItem(index);
    }
}

}  // namespace

CPellixUSBDevice::CPellixUSBDevice() = default;

CPellixUSBDevice::~CPellixUSBDevice() {
    StopLightThread();
}

std::string CPellixUSBDevice::GetClass() const {
    return "PellixUSBDevice";
}

void* CPellixUSBDevice::GetInterface(std::string_view name) {
    if (name == "PellixUSBDevice") {
        return this;
    }
    return CHorizontalLayoutUI::GetInterface(name);
}

void CPellixUSBDevice::BindPageControls() {
    ClearButtonTables();
    BindSelectPanels(*this);
}

int CPellixUSBDevice::ApplyProfile() {
    return 0;
}

LightAnimationSettings CPellixUSBDevice::AnimationSettings(SyncEffect effect) const {
    std::lock_guard lock(lightMutex_);
    LightAnimationSettings settings;
    settings.effect = effect;
    settings.brightnessLevel = lightState_.light;
    settings.speedLevel = lightState_.speed;
    settings.forward = lightState_.fx != 0;
    settings.colourMode = lightState_.multiColor != 0;
    settings.colour = {lightState_.red, lightState_.green, lightState_.blue};
    return settings;
}

void CPellixUSBDevice::EffectBreathWheel() {
    const LightAnimationSettings settings = AnimationSettings(SyncEffect::kBreathing);
    FillLeds(CLightAnimation::NextFrame(animation_, settings, platform::SteadyMs()));
}

void CPellixUSBDevice::EffectBreathFourColours() {
    EffectFourColours(false);
}

void CPellixUSBDevice::EffectStatic() {
    const LightAnimationSettings settings = AnimationSettings(SyncEffect::kStatic);
    FillLeds(CLightAnimation::NextFrame(animation_, settings, platform::SteadyMs()));
}

void CPellixUSBDevice::EffectSpectrum() {
    const LightAnimationSettings settings = AnimationSettings(SyncEffect::kColourCycle);
    FillLeds(CLightAnimation::NextFrame(animation_, settings, platform::SteadyMs()));
}

void CPellixUSBDevice::EffectBlink() {
    const LightAnimationSettings settings = AnimationSettings(SyncEffect::kBlink);
    FillLeds(CLightAnimation::NextFrame(animation_, settings, platform::SteadyMs()));
}

void CPellixUSBDevice::EffectBlinkFourColours() {
    EffectFourColours(true);
}

void CPellixUSBDevice::EffectOff() {
    FillLeds(0);
}

// Breathing or blinking in one fixed colour; the next colour starts when a breath ends or the
// light goes out.
void CPellixUSBDevice::EffectFourColours(bool blink) {
    LightAnimationSettings settings = AnimationSettings(blink ? SyncEffect::kBlink : SyncEffect::kBreathing);
    settings.colourMode = false;
    settings.forward = true;
    settings.colour = kFourColours[fourColourIndex_];
    const bool wasOn = animation_.blinkOn;
    const uint32_t frame = CLightAnimation::NextFrame(animation_, settings, platform::SteadyMs());
    const bool cycleEnded = blink ? (wasOn && !animation_.blinkOn) : animation_.breath == 0;
    if (cycleEnded) {
        fourColourIndex_ = (fourColourIndex_ + 1) % static_cast<int>(kFourColours.size());
    }
    FillLeds(frame);
}

int CPellixUSBDevice::SendLightFrame() {
    if (!IsCommandChannelOpen() || connection_->Command().IsWireless()) {
        return 0;
    }
    std::vector<uint8_t> frame;
    {
        std::lock_guard lock(ledMutex_);
        for (size_t index = 0; index < ledColours_.size(); ++index) {
            if (index == kReactionKeys) {
                continue;  // LED 126 is not part of the frame
            }
            const uint32_t rgba = ledColours_[index];
            const uint32_t alpha = rgba >> 24;
            for (int shift = 0; shift < 24; shift += 8) {
                frame.push_back(static_cast<uint8_t>(((rgba >> shift) & 0xFF) * alpha >> 8));
            }
        }
    }
    return connection_->Command().WriteLightFrame(frame);
}

void CPellixUSBDevice::SetLedColour(int index, uint32_t rgba) {
    std::lock_guard lock(ledMutex_);
    if (index >= 0 && index < static_cast<int>(ledColours_.size())) {
        ledColours_[index] = rgba;
    }
}

uint32_t CPellixUSBDevice::GetLedColour(int index) const {
    std::lock_guard lock(ledMutex_);
    return index >= 0 && index < static_cast<int>(ledColours_.size()) ? ledColours_[index] : 0;
}

void CPellixUSBDevice::FillLeds(uint32_t rgba) {
    std::lock_guard lock(ledMutex_);
    std::fill(ledColours_.begin(), ledColours_.end(), rgba);
}

void CPellixUSBDevice::OnConnected() {}

void CPellixUSBDevice::Resync() {}

int CPellixUSBDevice::LoadActiveProfile() {
    SetProfilePaths();
    return 0;
}

int CPellixUSBDevice::WriteKeyTable(int /*profileIndex*/, const std::vector<KeyAssignment>& /*keys*/) {
    return 0;
}

int CPellixUSBDevice::WriteProfileKeys(int /*profileIndex*/) {
    return 0;
}

int CPellixUSBDevice::WriteMacros() {
    return 0;
}

int CPellixUSBDevice::WriteParameters(int /*profileIndex*/, uint8_t /*firstByte*/) {
    return 0;
}

void CPellixUSBDevice::SetLightKeyMap(const std::map<int, int>& map) {
    lightKeyMap_ = map;
}

void CPellixUSBDevice::DecayReaction(bool secondVariant) {
    for (uint8_t& key : reactionKeys_) {
        int step = secondVariant ? 4 : 1;
        if (key > 200) {
            step = 40;
        } else if (key > 120) {
            step = 30;
        } else if (key > 60) {
            step = 10;
        } else if (key > 20) {
            step = 8;
        }
        key = static_cast<uint8_t>(std::max(0, key - step));
    }
}

void CPellixUSBDevice::TriggerReaction() {
    for (size_t index = 0; index < 9; ++index) {
        if (reactionRing_[index] != 0) {
            reactionKeys_[index] = 255;
        }
    }
}

void CPellixUSBDevice::ShiftReaction(bool forward) {
    if (forward) {
        const uint8_t carry = reactionRing_.back();
        std::copy_backward(reactionRing_.begin(), reactionRing_.end() - 1, reactionRing_.end());
        reactionRing_.front() = carry;
        return;
    }
    const uint8_t carry = reactionRing_.front();
    std::copy(reactionRing_.begin() + 1, reactionRing_.end(), reactionRing_.begin());
    reactionRing_.back() = carry;
}

void CPellixUSBDevice::ClearReaction() {
    reactionKeys_.fill(0);
    reactionRing_.fill(0);
}

void CPellixUSBDevice::SetReactionRing(size_t index, uint8_t value) {
    if (index < kReactionRing) {
        reactionRing_[index] = value;
    }
}

void CPellixUSBDevice::SetFunctionTab(int type) {
    functionTab_ = type;
    ui::CControlUI* function = OptionalPageControl("device_function_switch");
    ui::CControlUI* key = OptionalPageControl("device_key_function_switch");
    if (function == nullptr || key == nullptr) {
        return;
    }
    const TabChoice choice = FunctionTabChoice(type, kind_);
    SelectTab(function, choice.function);
    SelectTab(key, choice.key);
}

void CPellixUSBDevice::SetLightRecord(uint32_t a, uint32_t b, uint32_t c) {
    std::lock_guard lock(lightMutex_);
    lightRecord_ = UnpackLightRecord(a, b, c);
}

LightInfo CPellixUSBDevice::LightRecord() const {
    std::lock_guard lock(lightMutex_);
    return lightRecord_;
}

void CPellixUSBDevice::SetDeviceKind(int kind, int subKind) {
    kind_ = kind;
    subKind_ = subKind;
}

void CPellixUSBDevice::SetKeyCount(int count) {
    keyButtons_.assign(static_cast<size_t>(std::max(0, count)), nullptr);
}

void CPellixUSBDevice::SetLedCount(int count) {
    const size_t size = static_cast<size_t>(std::max(0, count));
    lightButtons_.assign(size, nullptr);
    ledLightRecords_.assign(size, LightInfo{});
    std::lock_guard lock(ledMutex_);
    ledColours_.assign(size, 0);
}

int CPellixUSBDevice::LedCount() const {
    std::lock_guard lock(ledMutex_);
    return static_cast<int>(ledColours_.size());
}

void CPellixUSBDevice::SetSlotRow(const InterfaceSlot& row) {
    SetDeviceKind(row.kind, row.subKind);
    if (connection_ != nullptr) {
        connection_->SetRow(row);
        return;
    }
    connection_ =
        std::make_unique<CDeviceConnection>(row, backend_ ? backend_ : platform::hid::ProcessBackend());
    connection_->SyncThread().SetResyncRequest([this](int delayMs) { PostResync(delayMs); });
    if (row.kind == kKindKeyboard) {
        connection_->SyncThread().SetResyncDelay(CDeviceSyncThread::kKeyboardResyncDelayMs);
    }
}

// On the sync thread: only the main window may arm the device bar item's timer.
void CPellixUSBDevice::PostResync(int delayMs) {
    ui::PostMessage(mainWindow_, kMsgDeviceResync, static_cast<ui::WPARAM>(delayMs),
                    reinterpret_cast<ui::LPARAM>(this));
}

void CPellixUSBDevice::SetScreenSize(int width, int height) {
    screenWidth_ = width;
    screenHeight_ = height;
}

bool CPellixUSBDevice::IsSynchronisedLighting() const {
    return connection_ != nullptr && connection_->Command().SynchronisedLighting();
}

void CPellixUSBDevice::SetSynchronisedLighting(bool on) {
    if (connection_ != nullptr) {
        connection_->Command().SetSynchronisedLighting(on);
    }
}

void CPellixUSBDevice::RequestResync(int delayMs) {
    if (deviceBarItem_ != nullptr) {
        deviceBarItem_->SetTimer(kResyncTimer, delayMs);
    }
}

void CPellixUSBDevice::NotifyConnected() {
    if (deviceBarItem_ != nullptr) {
        deviceBarItem_->SetTimer(kConnectTimer, kConnectDelayMs);
    }
}

bool CPellixUSBDevice::IsCommandChannelOpen() const {
    return connection_ != nullptr && connection_->Command().IsOpen();
}

void CPellixUSBDevice::StartLightThread() {
    lightThread_.Start([this](platform::CEvent& stop) { LightThreadBody(stop); });
    FollowLightButtons();
}

void CPellixUSBDevice::StopLightThread() {
    lightThread_.Stop();
}

// Sleeps on the stop event until the next step is due: without limit while the light buttons are
// out of view, a long wait while there is nothing to animate, the mode's pacing while there is.
void CPellixUSBDevice::LightThreadBody(platform::CEvent& stop) {
    while (true) {
        const int waitMs = lightShown_ ? NextLightWaitMs() : platform::kInfinite;
        const int woke = platform::CEvent::WaitAny({&stop, &lightShownChanged_}, waitMs);
        if (woke == 0) {
            break;
        }
        if (woke == 1 || !lightShown_ || !IsCommandChannelOpen() || IsSynchronisedLighting()) {
            continue;
        }
        StepLight();
    }
    platform::DebugOutput(LightThreadExitText());
}

int CPellixUSBDevice::NextLightWaitMs() const {
    if (!IsCommandChannelOpen() || IsSynchronisedLighting()) {
        return kIdleLightWaitMs;
    }
    const LightInfo light = LightState();
    if (!IsAnimatedMode(light.selectItem)) {
        return kIdleLightWaitMs;
    }
    return CLightAnimation::Steps(light.speed) * kLightStepMs;
}

bool CPellixUSBDevice::LightButtonsShown() const {
    const ui::CPaintManagerUI* manager = GetManager();
    if (manager == nullptr || !manager->IsShown()) {
        return false;
    }
    return std::any_of(lightButtons_.begin(), lightButtons_.end(),
                       [](const ui::CControlUI* button) { return button != nullptr && button->IsVisible(); });
}

void CPellixUSBDevice::FollowLightButtons() {
    const bool shown = lightThread_.Running() && LightButtonsShown();
    if (shown == lightShown_) {
        return;
    }
    lightShown_ = shown;
    lightShownChanged_.Set();
    if (shown) {
        SetTimer(kLightPaintTimer, kLightPaintMs);
    } else {
        KillTimer(kLightPaintTimer);
    }
}

void CPellixUSBDevice::DoEvent(ui::TEventUI& event) {
    if (event.Type == ui::EventType::Timer && event.wParam == kLightPaintTimer) {
        FollowLightButtons();
        if (lightShown_) {
            PaintLightButtons();
        }
        return;
    }
    CHorizontalLayoutUI::DoEvent(event);
}

// Painting is how the light buttons come back into view (a shown window, a page or tab selected).
void CPellixUSBDevice::DoPaint(QPainter& painter, const QRect& paintRect) {
    CHorizontalLayoutUI::DoPaint(painter, paintRect);
    if (!lightShown_) {
        FollowLightButtons();
    }
}

int CPellixUSBDevice::SettingsResult(int keysResult, int recordResult, int macrosResult) {
    if (macrosResult != 0) {
        return macrosResult;
    }
    return keysResult == channel_result::kOk && recordResult == channel_result::kOk ? 0 : -1;
}

void CPellixUSBDevice::PaintLightButtons() {
    for (int led = 0; led < static_cast<int>(lightButtons_.size()); ++led) {
        auto* button =
            lightButtons_[led] != nullptr
                ? static_cast<ui::CDeviceKeyButtonUI*>(lightButtons_[led]->GetInterface("DeviceKeyButton"))
                : nullptr;
        if (button == nullptr) {
            continue;
        }
        const uint32_t rgba = GetLedColour(led);
        const uint32_t rgb = (rgba & 0xFF) << 16 | (rgba & 0xFF00) | (rgba >> 16 & 0xFF);
        const int alpha = static_cast<int>(rgba >> 24);
        button->SetLightImageOn(true);
        if (button->GetLightColor() != rgb || button->GetLightAlpha() != alpha) {
            button->SetLightColor(rgb, alpha);
        }
    }
}

void CPellixUSBDevice::StepLight() {
    EffectStatic();
}

void CPellixUSBDevice::SetLightState(const LightInfo& light) {
    std::lock_guard lock(lightMutex_);
    lightState_ = light;
}

LightInfo CPellixUSBDevice::LightState() const {
    std::lock_guard lock(lightMutex_);
    return lightState_;
}

std::string CPellixUSBDevice::UserDataFolder() const {
    return CDataFolders::UserDataFolder(deviceName_);
}

std::string CPellixUSBDevice::DefaultDataFolder() const {
    return CDataFolders::DefaultDataFolder();
}

std::string CPellixUSBDevice::DefaultProfileFile() const {
    return CDataFolders::DefaultProfileFile(deviceName_);
}

ui::CControlUI* CPellixUSBDevice::KeyButton(int index) const {
    return index >= 0 && index < static_cast<int>(keyButtons_.size()) ? keyButtons_[index] : nullptr;
}

ui::CControlUI* CPellixUSBDevice::LightButton(int index) const {
    return index >= 0 && index < static_cast<int>(lightButtons_.size()) ? lightButtons_[index] : nullptr;
}

bool CPellixUSBDevice::SplitIndexedName(const std::string& text, std::string& prefix, int& index) {
    const size_t split = text.rfind('_');
    if (split == std::string::npos || split + 1 >= text.size()) {
        return false;
    }
    const char* first = text.data() + split + 1;
    const char* last = text.data() + text.size();
    const auto [end, error] = std::from_chars(first, last, index);
    if (error != std::errc() || end != last) {
        return false;
    }
    prefix = text.substr(0, split + 1);
    return true;
}

void CPellixUSBDevice::BindSelectPanels(ui::CContainerUI& container) {
    for (int item = 0; item < container.GetCount(); ++item) {
        ui::CControlUI* panel = container.GetItemAt(item);
        auto* panelContainer = static_cast<ui::CContainerUI*>(panel->GetInterface("Container"));
        if (panel->GetClass() != "SelectPanel" || panelContainer == nullptr) {
            continue;
        }
        for (int child = 0; child < panelContainer->GetCount(); ++child) {
            ui::CControlUI* button = panelContainer->GetItemAt(child);
            if (button->GetClass() == "DeviceKeyButton") {
                BindButton(*button);
            }
        }
    }
}

void CPellixUSBDevice::BindButton(ui::CControlUI& button) {
    std::string prefix;
    int index = 0;
    if (SplitIndexedName(button.GetName(), prefix, index) && prefix == "key_") {
        SetKeyButton(index, &button);
    }
    if (SplitIndexedName(button.GetUserData(), prefix, index) && prefix == "light_") {
        SetLightButton(index, &button);
    }
}

void CPellixUSBDevice::ClearButtonTables() {
    std::fill(keyButtons_.begin(), keyButtons_.end(), nullptr);
    std::fill(lightButtons_.begin(), lightButtons_.end(), nullptr);
}

void CPellixUSBDevice::SetKeyButton(int index, ui::CControlUI* button) {
    if (index >= 0 && index < static_cast<int>(keyButtons_.size())) {
        keyButtons_[index] = button;
    }
}

// A light button starts white at full alpha until the lighting gives it its colour.
void CPellixUSBDevice::SetLightButton(int index, ui::CControlUI* button) {
    if (index >= 0 && index < static_cast<int>(lightButtons_.size())) {
        lightButtons_[index] = button;
        SetLedColour(index, kLightButtonWhite);
    }
}

ui::CControlUI* CPellixUSBDevice::PageControl(const std::string& name) const {
    ui::CControlUI* control = OptionalPageControl(name);
    if (control == nullptr) {
        platform::DebugFormat("PellixUSBDevice: page '%s' has no control named '%s'\n", deviceName_.c_str(),
                              name.c_str());
    }
    return control;
}

ui::CControlUI* CPellixUSBDevice::OptionalPageControl(const std::string& name) const {
    return const_cast<CPellixUSBDevice*>(this)->FindSubControl(name);
}

void CPellixUSBDevice::ShowMessage(const std::string& textKey) const {
    if (messageSink_) {
        messageSink_(textKey);
        return;
    }
    if (std::find(pendingMessages_.begin(), pendingMessages_.end(), textKey) == pendingMessages_.end()) {
        pendingMessages_.push_back(textKey);
    }
}

void CPellixUSBDevice::DeliverPendingMessages() {
    if (!messageSink_) {
        return;
    }
    for (const std::string& textKey : std::exchange(pendingMessages_, {})) {
        messageSink_(textKey);
    }
}

CDeviceProfileUI* CPellixUSBDevice::ProfilePanel() const {
    ui::CControlUI* control = OptionalPageControl("DeviceProfileItem");
    return control != nullptr ? static_cast<CDeviceProfileUI*>(control->GetInterface("DeviceProfile"))
                              : nullptr;
}

bool CPellixUSBDevice::InitProfilePanel() {
    CDeviceProfileUI* panel = ProfilePanel();
    if (panel == nullptr) {
        return false;
    }
    panel->SetDeviceKind(kind_);
    panel->SetPaths(UserDataFolder(), DefaultProfileFile());
    panel->LoadProfileList();
    panel->SelectFunctionTab(1);
    SetProfileBaseName(panel->CurrentUuid());
    ReportSetAsideFiles(panel->TakeSetAsideFiles());
    return true;
}

void CPellixUSBDevice::SwitchToSelectedProfile() {
    CDeviceProfileUI* panel = ProfilePanel();
    if (panel == nullptr) {
        return;
    }
    panel->SelectProfile(panel->SelectedIndex(), false);
    SetProfileBaseName(panel->CurrentUuid());
    SetProfilePaths();
    LoadActiveProfile();
    CheckMacroReferences();
    RefreshPage();
    WriteParameters(0, 0);
    WriteMacros();
    WriteProfileKeys(0);
}

void CPellixUSBDevice::ReportSetAsideFiles(const std::vector<std::string>& files) const {
    if (!files.empty()) {
        ShowMessage("profile_damaged_set_aside");
    }
}
