#pragma once

#include "profile/basic_profiledata.h"

#include <cstdint>
#include <string>
#include <vector>

// The headset's voice settings, eight 32-bit values in this order (32 bytes), kept in the
// profile's "SystemSetStages" under the key named beside each.
struct VoiceSettings {
    int32_t magicEnable = 0;          // "MagicEnable": voice changer on 1 / off 0
    int32_t magicType = 0;            // "MagicType": voice 1-4, 0 none
    int32_t eqType = 0;               // "EqType": equaliser preset 0-13, 13 custom
    int32_t customEqSelectIndex = 0;  // "CustomEqSeletIndex": selected custom equaliser
    int32_t micInSelect = 0;          // "MicInSelect": microphone on (not muted)
    int32_t micInValue = 0;           // "MicInValue": microphone level 0-100
    int32_t micMonitorSelect = 0;     // "MicMoniterSelect": monitoring on
    int32_t micMonitorValue = 0;      // "MicMoniterValue": monitoring level 0-100

    bool operator==(const VoiceSettings&) const = default;
};
static_assert(sizeof(VoiceSettings) == 32);

// The headset's profile data: the base sections plus the voice settings, the band gains last
// applied with each equaliser preset ("EQHzValueInfo"[preset 1-12]), and the custom equalisers,
// whose names ("CustomEQNameInfo") and gains ("CustomEQHzValueInfo") are parallel by index.
//
// Gains are ten signed integers, band 1 first. Preset 13 (custom) has no preset gains; preset 0
// and presets above 13 count as preset 1.
//
// Contract: as CBasicProfiledata's. Every operation changes the device section in memory only;
// the headset saves the profile afterwards. Readers never fail. UI thread only.
class CHs6533Profiledata : public CBasicProfiledata {
public:
    static constexpr int kBandCount = 10;
    static constexpr int kCustomPreset = 13;

    VoiceSettings GetVoiceSettings();
    void SetVoiceSettings(const VoiceSettings& settings);

    // Ten gains; empty for preset 13. A missing preset is created in memory with zero gains.
    std::vector<int> GetPresetGains(int preset);
    // Nothing for preset 13; only the first ten gains are used, missing ones are written as 0.
    void SetPresetGains(int preset, const std::vector<int>& gains);

    std::vector<std::string> GetCustomNames();
    void SetCustomNames(const std::vector<std::string>& names);

    // Ten gains of custom equaliser `index`; a missing one is created in memory with zeros.
    std::vector<int> GetCustomGains(int index);
    void SetCustomGains(int index, const std::vector<int>& gains);
    // Removes custom equaliser `index`'s gains; the later ones move down by one.
    void RemoveCustomGains(int index);

private:
    std::vector<int> ReadGains(const char* key, int index);
    void WriteGains(const char* key, int index, const std::vector<int>& gains);

    std::vector<int> gains_;
};
