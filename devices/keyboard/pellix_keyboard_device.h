#pragma once

#include "device/pellix_usb_device.h"
#include "devices/common/key_set_control_ui.h"
#include "devices/common/light_control_ui.h"
#include "devices/common/light_name_lists.h"
#include "devices/keyboard/keyboard_profiledata.h"
#include "devices/keyboard/keyboard_protocol.h"

#include <array>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

// CPellixKeyboardDevice: the keyboard page (skin "XML\DeviceXml\keyboarddevice.xml", element
// "PellixKeyboardDevice") and its driver. The firmware conversation is CKeyboardProtocol's and
// every settings edit goes through CKeyboardSettings, as norvikctl's do; this class reads and
// writes the page's controls and calls them.
//
// The page draws the keyboard twice in "keyboard_device_key_light": the key layer ("key_" n,
// chosen for assignment on the key sub-page) and the light layer ("device_key_light", "light_"
// n, shown on the lighting sub-page, where a band or a click gives keys the single colour of the
// custom mode 8).
//
// Page rules kept by the handlers:
// - a refresh of the page sends nothing: control events raised while the page shows the device
//   state are ignored;
// - an option of a group that is being cleared is not a choice: only the selected one counts.
//
// Threads: the UI thread, apart from what CPellixUSBDevice allows on other threads and
// KeyEvent, which the device sync thread calls.
class CPellixKeyboardDevice : public CPellixUSBDevice {
public:
    static constexpr int kPositionCount = 126;
    static constexpr int kFnPosition = 110;
    static constexpr int kPollingOptionCount = 4;
    static constexpr int kRepeatDelayCount = 4;
    static constexpr int kCustomLightMode = 8;
    static constexpr int kBrightnessMaximum = 4;
    static constexpr int kSpeedMaximum = 4;
    // Copies the LED colours of the preview into the light buttons while they are shown.

    CPellixKeyboardDevice();
    ~CPellixKeyboardDevice() override;

    std::string GetClass() const override;
    void* GetInterface(std::string_view name) override;

    // The fixed order of the device operations.
    void BindPageControls() override;
    int ApplyProfile() override;
    void OnConnected() override;
    void Resync() override;
    int LoadActiveProfile() override;
    void RefreshPage() override;
    void CheckMacroReferences() override;
    void ResetProfile() override;
    int WriteKeyTable(int profileIndex, const std::vector<KeyAssignment>& keys) override;
    int WriteProfileKeys(int profileIndex) override;
    int WriteMacros() override;
    int WriteParameters(int profileIndex, uint8_t firstByte) override;
    void LoadMacroAndLightLists() override;
    void SetFunctionTab(int type) override;
    void SetProfilePaths() override;
    std::string ProfilePath() const override;
    void SaveProfile() override;
    void SetTypeCode(int code) override;
    void SetLightRecord(uint32_t a, uint32_t b, uint32_t c) override;
    void SelectKey(int index) override;

    // Added operations, after SelectKey: the page build, then a key event of the device sync
    // thread (firmware key, CDeviceSyncThread::kKeyPressed / kKeyReleased) and the same by host
    // position; any thread.
    void InitPage() override;
    void KeyEvent(int firmwareKey, int state);
    void PositionEvent(int position, int state);

    // Page operations of the main window's routing.
    bool InKeyView() const override { return GetFunctionTab() == 2; }
    void KeyClicked(int index) override;
    int WriteSettings() override;
    void Refresh() override { RefreshPage(); }
    void RestoreDefaults() override;
    void ResetAndReload() override;
    void HideKeyEditor() override;
    void ShowTab(const std::string& tabName) override;
    void PollingRateSelected(int option) override;
    void KeyboardSettingChanged(const std::string& controlName) override;
    int LightMode() const override;
    void ApplySyncLightMode(int mode, const LightInfo& source) override;
    CMacroControlUI* MacroPanel() const override { return macroPanel_; }
    bool MacroReferenced(int position) override;
    void MacroDeleted(int position) override;
    void MacroNamesChanged() override;
    void KeySetFunctionSelected() override;
    void KeySetMacroModeSelected() override;
    void SaveKeyAssignment() override;
    void ShowDefaultKey() override;
    void ShowCurrentKey() override;
    void CaptureKey(uint8_t scanCode, bool extended) override;
    void SetKeyPanelBusy(bool busy) override;
    void LightControlChanged(const std::string& controlName) override;
    void LightPaletteChanged() override;
    void LightPresetChosen(int index) override;
    void LightCustomGroupSelected() override;
    void LightCustomColourAll(bool lit) override;
    void LightKeysSelected() override;
    void LightKeyClicked(int position) override;

    // The protocol on the connection's command channel; null without a connection.
    CKeyboardProtocol* Protocol();
    // The preview's glow of a host position (0 dark .. 255 just pressed).
    uint8_t KeyGlow(int position) const;

protected:
    void BindButton(ui::CControlUI& button) override;
    void StepLight() override;
    bool IsAnimatedMode(int mode) const override;
    const char* LightThreadExitText() const override { return "KB灯光线程设定退出"; }

private:
    void BindPanels();
    void ShowSystemStages();
    void ShowRepeatDelay(int index);
    void SelectOptions(const char* prefix, int count, int selected);
    void ShowKeyAssignments();
    void ShowPanels();
    void ShowMacroCapacity();
    void ShowKeyEditor(bool shown);
    void ShowLayer();
    void ApplyLight(const LightInfo& light);
    void TakeLight(const LightInfo& light);
    void LoadCustomColours();
    void SetCustomColours(std::vector<LedColor> colours);
    void UpdateKeyCodeMap();
    void PaintCustomColours();
    bool KeyPanelIdle() const;
    bool IsSelectedOption(const std::string& name) const;
    void EffectReactive(int mode);
    void TakeStages() { stages_ = profile_.GetSystemSettings(); }

    CKeyboardProfiledata profile_;
    std::unique_ptr<CKeyboardProtocol> protocol_;
    KeyboardSystemStages stages_;
    std::vector<KeyAssignment> keys_;
    std::vector<std::string> macroNames_;
    std::vector<LightModeName> lightNames_;
    std::vector<LedColor> customColours_;
    CKeySetControlUI* keySet_ = nullptr;
    CLightControlUI* lightPanel_ = nullptr;
    CMacroControlUI* macroPanel_ = nullptr;
    std::string profilePath_;
    bool refreshing_ = false;

    // What the other threads read: the key-press matrix of the reactive modes (written by the
    // sync thread, faded by the light thread), the firmware key map the sync thread looks key
    // events up in, and the custom colours the light thread shows. The UI thread writes the
    // last two.
    mutable std::mutex glowMutex_;
    std::array<uint8_t, kPositionCount> glow_{};
    std::array<bool, kPositionCount> held_{};
    keyboardwire::PositionMap keyCodeMap_ = keyboardwire::EmptyMaps().keyCode;
};
