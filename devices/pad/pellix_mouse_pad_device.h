#pragma once

#include "device/pellix_usb_device.h"
#include "devices/common/light_name_lists.h"
#include "devices/pad/mouse_pad_protocol.h"
#include "profile/basic_profiledata.h"

#include <memory>
#include <string>
#include <vector>

class CLightControlUI;

// CPellixMousePadDevice: the lit mouse pad's page (skin "XML\DeviceXml\mousepaddevice.xml",
// element "PellixMousePadDevice") and its driver. The pad has LEDs and no keys: its page holds
// the profile list, the pad with its 15 light buttons and the lighting panel. The firmware
// conversation is CMousePadProtocol's and every lighting edit goes through CMousePadSettings,
// as norvikctl's do; this class reads and writes the page's controls and calls them.
//
// Page rules kept by the handlers:
// - the page shows the profile loaded from disk; the pad's own record is read at connection
//   (for the bytes only the pad sets) and again when the pad announces a change made with its
//   own button, which then becomes the profile's lighting;
// - a refresh of the page sends nothing: control events raised while the page shows the device
//   state are ignored.
//
// Threads: the UI thread, apart from what CPellixUSBDevice allows on other threads.
class CPellixMousePadDevice : public CPellixUSBDevice {
public:
    static constexpr const char* kButtonLayout = "mousepad_device_key_light";

    CPellixMousePadDevice();
    ~CPellixMousePadDevice() override;

    std::string GetClass() const override;
    void* GetInterface(std::string_view name) override;

    void BindPageControls() override;
    int ApplyProfile() override;
    void OnConnected() override;
    void Resync() override;
    int LoadActiveProfile() override;
    void RefreshPage() override;
    void ResetProfile() override;
    int WriteParameters(int profileIndex, uint8_t firstByte) override;
    void LoadMacroAndLightLists() override;
    void SetProfilePaths() override;
    std::string ProfilePath() const override;
    void SaveProfile() override;

    // Added operations: the page initialisation, and the read-back of the pad's record (1 when
    // read; the profile index the pad reports comes back through the argument).
    void InitPage() override;
    int ReadParameters(int& profileIndex);

    int WriteSettings() override;
    void Refresh() override { RefreshPage(); }
    void RestoreDefaults() override { ResetAndReload(); }
    void ResetAndReload() override;
    void ShowTab(const std::string& tabName) override;
    int LightMode() const override;
    void ApplySyncLightMode(int mode, const LightInfo& source) override;
    void LightControlChanged(const std::string& controlName) override;
    void LightPaletteChanged() override;
    void LightPresetChosen(int index) override;

    CLightControlUI* LightPanel() const { return lightPanel_; }

protected:
    void BindButton(ui::CControlUI& button) override;
    void StepLight() override;
    bool IsAnimatedMode(int mode) const override;

private:
    CMousePadProtocol* Protocol();
    // A lighting edit: shown, stored in the profile, saved and written to the pad.
    void ApplyLight(const LightInfo& light);
    void ShowLight();
    // The LED colours as the light buttons' colours, once (the light thread changes them).
    void PaintLightButtons();
    // Light running round the pad: the colour wheel (wave), or the single colour (ripple).
    void EffectRunningLight(bool wheel);

    CBasicProfiledata profile_;
    std::unique_ptr<CMousePadProtocol> protocol_;
    CLightControlUI* lightPanel_ = nullptr;
    std::vector<LightModeName> lightNames_;
    std::string profilePath_;
    bool refreshing_ = false;
    LightAnimationState runningState_;  // the light thread's
};
