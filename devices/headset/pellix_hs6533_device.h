#pragma once

#include "device/pellix_usb_device.h"
#include "devices/common/light_name_lists.h"
#include "devices/headset/audio_conf_bridge.h"
#include "devices/headset/headset_audio.h"
#include "devices/headset/headset_protocol.h"
#include "devices/headset/hs6533_profiledata.h"

#include <memory>
#include <string>

class CLightControlUI;
class CMagicControlUI;
class CVoice6533ControlUI;

// CPellixHS6533Device: the headset page (skin "XML\DeviceXml\hs6533device.xml", element
// "PellixHS6533Device") and its driver. The lighting record and the power status go over HID
// through CHeadsetProtocol; microphone, monitoring, equaliser and voice changer go to the audio
// library through CHeadsetAudio, as norvikctl's do. This class reads and writes the page's
// controls ("Voice6533ControlItem", "MagicControlItem", "LightControlItem") and calls them.
//
// The audio library is loaded and started once, when the page is built; without it (or
// without its endpoints) the audio controls change nothing and the page still works for
// lighting. A refresh of the page sends nothing.
//
// Threads: the UI thread, apart from what CPellixUSBDevice allows on other threads.
class CPellixHS6533Device : public CPellixUSBDevice {
public:
    CPellixHS6533Device();
    ~CPellixHS6533Device() override;

    std::string GetClass() const override;
    void* GetInterface(std::string_view name) override;

    void BindPageControls() override;
    int ApplyProfile() override;
    void OnConnected() override;
    void Resync() override;
    void PeriodicPoll() override;
    int LoadActiveProfile() override;
    void RefreshPage() override;
    void ResetProfile() override;
    int WriteParameters(int profileIndex, uint8_t firstByte) override;
    void SetProfilePaths() override;
    std::string ProfilePath() const override;
    void SaveProfile() override;
    void LoadMacroAndLightLists() override;
    int LightMode() const override;
    void ApplySyncLightMode(int mode, const LightInfo& source) override;

    void InitPage() override;
    void Refresh() override { RefreshPage(); }
    void RestoreDefaults() override { ResetAndReload(); }
    void ResetAndReload() override;
    void ShowTab(const std::string& tabName) override;
    void HeadsetControl(const std::string& controlName) override;
    void LightControlChanged(const std::string& controlName) override;
    void LightPaletteChanged() override;
    void LightPresetChosen(int index) override;

    CHs6533Profiledata& Profile() { return profile_; }
    CHeadsetAudio& Audio() { return audio_; }
    CVoice6533ControlUI* VoicePanel() const { return voicePanel_; }
    CMagicControlUI* MagicPanel() const { return magicPanel_; }
    CLightControlUI* LightPanel() const { return lightPanel_; }

private:
    CHeadsetProtocol* Protocol();
    void StartAudio();
    void ShowVoicePanel();
    void ShowMagicPanel();
    void ShowCustomList();
    bool IsOptionSelected(const std::string& name) const;
    // Saves the profile when the change took, and shows what is in effect either way.
    void Finish(bool changed);
    void SaveCustom();
    // A lighting edit: shown, stored in the profile, saved and written to the headset.
    void ApplyLight(const LightInfo& light);

    CHs6533Profiledata profile_;
    CAudioConfBridge bridge_;
    CHeadsetAudio audio_{bridge_, profile_};
    std::unique_ptr<CHeadsetProtocol> protocol_;
    CVoice6533ControlUI* voicePanel_ = nullptr;
    CMagicControlUI* magicPanel_ = nullptr;
    CLightControlUI* lightPanel_ = nullptr;
    std::vector<LightModeName> lightNames_;
    std::string profilePath_;
    bool refreshing_ = false;
};
