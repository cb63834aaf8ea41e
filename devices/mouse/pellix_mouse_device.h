#pragma once

#include "device/pellix_usb_device.h"
#include "devices/common/key_set_control_ui.h"
#include "devices/common/light_control_ui.h"
#include "devices/common/light_name_lists.h"
#include "devices/mouse/mouse_profiledata.h"
#include "devices/mouse/mouse_protocol.h"
#include "devices/mouse/mouse_sensor.h"
#include "devices/mouse/shoot_control_ui.h"

#include <memory>
#include <string>
#include <vector>

// CPellixMouseDevice: the mouse page (skin "XML\DeviceXml\mousedevice.xml", element
// "PellixMouseDevice") and its driver. The firmware conversation is CMouseProtocol's and every
// settings edit goes through CMouseSettings, as norvikctl's do; this class reads and writes the
// page's controls and calls them.
//
// Page rules kept by the handlers:
// - a stage's slider, entry and label follow its check box; the box itself stays usable, and the
//   last checked box is disabled so that one stage always stays on;
// - a typed DPI becomes a slider position within the slider's range (the sensor's conversion,
//   the lowest DPI as the floor, an empty entry as 0);
// - a refresh of the page sends nothing: control events raised while the page shows the device
//   state are ignored.
//
// Threads: the UI thread, apart from what CPellixUSBDevice allows on other threads.
class CPellixMouseDevice : public CPellixUSBDevice {
public:
    static constexpr int kStageCount = 7;
    static constexpr int kPollingOptionCount = 5;
    static constexpr int kSubPageCount = 6;
    static constexpr int kKeyInfoRowHeight = 25;

    CPellixMouseDevice();
    ~CPellixMouseDevice() override;

    std::string GetClass() const override;
    void* GetInterface(std::string_view name) override;

    void OnConnected() override;
    void Resync() override;
    int LoadActiveProfile() override;
    void RefreshPage() override;
    void CheckMacroReferences() override;
    CMacroControlUI* MacroPanel() const override { return macroPanel_; }
    bool MacroReferenced(int position) override;
    void MacroDeleted(int position) override;
    void MacroNamesChanged() override;
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

    // Added operations: the page initialisation and the mouse's own light generators.
    void InitPage() override;
    virtual void EffectWave();
    virtual void EffectReaction();

    bool InKeyView() const override;
    void KeyClicked(int index) override;
    int WriteSettings() override;
    void Refresh() override { RefreshPage(); }
    void RestoreDefaults() override;
    void ResetAndReload() override;
    void HideKeyEditor() override;
    void ShowTab(const std::string& tabName) override;
    void SelectSettingsSubPage(int index) override;
    void StageEnabledChanged(int stage) override;
    void DpiSliderMoved(int stage) override;
    void DpiSliderReleased(int stage) override;
    void DpiEditLeft(int stage) override;
    void PollingRateSelected(int option) override;
    void PointerSettingChanged(const std::string& controlName) override;
    void ComboSelected(const std::string& controlName) override;
    int LightMode() const override;
    void ApplySyncLightMode(int mode, const LightInfo& source) override;
    void SelectKey(int index) override;
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

    // Slider n at position p, its entry at the DPI of p, and the active or inactive look.
    void ShowStagePosition(int stage, int position);
    // The stage's slider, entry and label follow on; the check box shows on without an event.
    void ShowStageEnabled(int stage, bool on);

    CMouseProfiledata& Profile() { return profile_; }
    CMouseSensor Sensor() const;
    const MouseSystemSettings& SystemSettings() const { return systemSettings_; }
    const std::vector<std::string>& MacroNames() const { return macroNames_; }
    const std::vector<LightModeName>& LightModeNames() const { return lightNames_; }
    ui::CControlUI* LogoButton() const { return logoButton_; }
    // The panels of the page; null before InitPage or when the skin lacks them.
    CKeySetControlUI* KeySetPanel() const { return keySet_; }
    CLightControlUI* LightPanel() const { return lightPanel_; }
    CShootControlUI* ShootPanel() const { return shootPanel_; }
    // The four shoot files to the mouse; 0 when written or without a connection, else
    // CMouseProtocol::kMacroWriteFailed.
    int WriteShootData();
    ui::CControlUI* SecondLightButton(int index) const;

    // The function tab type that settings sub-page n shows.
    static int SubPageFunctionTab(int index);

protected:
    void BindButton(ui::CControlUI& button) override;
    void StepLight() override;
    bool IsAnimatedMode(int mode) const override;

private:
    // The protocol on the connection's command channel; null without a connection.
    CMouseProtocol* Protocol();
    void ApplySensorRanges();
    void UpdateLastStageLock();
    void ShowSystemSettings();
    void SelectPollingOption(int option);
    void ShowKeyAssignments();
    void ShowKeyAssignment(int index, ui::CControlUI& list);
    void ShowLogoTip();
    void BindPanels();
    void ShowMacroCapacity();
    void ShowKeyEditor(bool shown);
    void ShowPanels();
    void ApplyLight(const LightInfo& light);
    bool KeyPanelIdle() const;
    ui::CControlUI* KeyInfoRow(ui::CControlUI& list, int index);
    std::string ModeName(int mode) const;
    int SliderValue(const std::string& name) const;
    bool IsChecked(const std::string& name) const;
    void TakeSystemSettings() { systemSettings_ = profile_.GetSystemSettings(); }

    CMouseProfiledata profile_;
    std::unique_ptr<CMouseProtocol> protocol_;
    MouseSystemSettings systemSettings_;
    std::vector<KeyAssignment> keys_;
    std::vector<std::string> macroNames_;
    std::vector<LightModeName> lightNames_;
    std::vector<std::string> areaNames_;
    std::vector<CustomEffectName> customEffects_;
    std::vector<ui::CControlUI*> secondLightButtons_;
    ui::CControlUI* secondLightPanel_ = nullptr;
    ui::CControlUI* logoButton_ = nullptr;
    CKeySetControlUI* keySet_ = nullptr;
    CLightControlUI* lightPanel_ = nullptr;
    CMacroControlUI* macroPanel_ = nullptr;
    CShootControlUI* shootPanel_ = nullptr;
    std::string profilePath_;
    bool refreshing_ = false;
    LightAnimationState waveState_;  // the light thread's
};
