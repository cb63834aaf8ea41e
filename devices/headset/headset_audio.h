#pragma once

#include "devices/headset/audio_conf_bridge.h"
#include "devices/headset/hs6533_profiledata.h"

#include <string>
#include <vector>

// CHeadsetAudio: the headset's audio settings as the page and norvikctl change them: the voice
// settings, the ten band gains in effect, the custom equalisers and which of them is selected.
// Every change goes to the audio library through the bridge and into the profile data in memory;
// the caller saves the profile when an operation says it changed something.
//
// A library write that fails leaves the settings and the profile as they were; so does a change
// while the library or its endpoint is missing.
//
// Equaliser presets: 1-12 carry fixed gains, 13 is the selected custom equaliser, 0 changes
// nothing.
//
// Threads: the UI thread (or norvikctl's one thread).
class CHeadsetAudio {
public:
    static constexpr int kBandCount = CHs6533Profiledata::kBandCount;
    static constexpr int kCustomPreset = CHs6533Profiledata::kCustomPreset;
    static constexpr int kPresetCount = 12;
    static constexpr int kMaxCustom = 20;
    static constexpr int kVoiceCount = 4;
    static constexpr int kMaxLevel = 100;
    static constexpr int kMinGain = -20;
    static constexpr int kMaxGain = 20;

    // What a save of a custom equaliser did.
    enum class SaveResult { kNothing = -1, kNameTaken = 0, kSaved = 1 };

    CHeadsetAudio(CAudioConfBridge& bridge, CHs6533Profiledata& profile)
        : bridge_(bridge), profile_(profile) {}

    // The fixed gains of preset 1-12, band 1 first.
    static std::vector<int> PresetGains(int preset);

    // From the profile: the voice settings, the gains of preset EqType (or of the selected custom
    // equaliser for preset 13) and the custom names. Writes nothing to the library.
    void LoadFromProfile();
    // From the library: levels, mute states, the ten bands and the voice changer.
    void ReadAudioState();

    bool SetMicLevel(int level);
    bool SetMicOn(bool on);
    bool SetMonitorLevel(int level);
    bool SetMonitorOn(bool on);
    bool ApplyPreset(int preset);
    // Switches to the custom state (not stored) and writes that band only.
    bool MoveBand(int band, int gain);
    bool ChooseCustom(int index);
    SaveResult SaveCustom(const std::string& name);
    // Marks custom equaliser `index` as selected (as the page's list shows it) without applying
    // it; false for an index that names none.
    bool SelectCustom(int index);
    // Removes the selected custom equaliser; false when none is selected.
    bool DeleteCustom();
    bool SetVoiceChangerOn(bool on);
    bool ChooseVoice(int voice);

    const VoiceSettings& Settings() const { return settings_; }
    const std::vector<int>& Gains() const { return gains_; }
    const std::vector<std::string>& CustomNames() const { return customNames_; }
    // The custom equaliser shown as selected, -1 for none.
    int SelectedCustom() const { return selectedCustom_; }
    // Whether the voice changer can be read (the recording endpoint announces it).
    bool HasVoiceChanger() const;

private:
    bool SetLevel(const char* scalar, const char* level, int value, int32_t& stored);
    bool SetMute(const char* name, bool on, int32_t& stored);
    bool WriteBands(const std::vector<int>& gains);
    void StoreSettings() { profile_.SetVoiceSettings(settings_); }

    CAudioConfBridge& bridge_;
    CHs6533Profiledata& profile_;
    VoiceSettings settings_;
    std::vector<int> gains_ = std::vector<int>(kBandCount, 0);
    std::vector<std::string> customNames_;
    int selectedCustom_ = -1;
};
