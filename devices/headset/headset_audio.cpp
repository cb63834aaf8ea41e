#include "devices/headset/headset_audio.h"

#include "platform/text.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>

namespace {

constexpr auto kPlayback = AudioEndpoint::kPlayback;
constexpr auto kRecording = AudioEndpoint::kRecording;
constexpr int kVoiceChangerFeature = 0x20000;

constexpr std::array<std::array<int, CHeadsetAudio::kBandCount>, CHeadsetAudio::kPresetCount> kPresets{{
    {7, 11, 2, -3, -1, 4, 9, 12, 9, 5},
    {7, 11, 6, -3, -11, -1, 6, 13, 6, 13},
    {10, 4, 0, -3, -4, -3, -2, -1, 0, 0},
    {2, 1, -2, -3, -5, -7, 0, 4, 9, 8},
    {0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
    {7, 14, -13, -6, -1, 8, 13, 7, 2, 6},
    {14, 10, 4, 0, -4, -3, -1, 1, 2, 3},
    {2, 1, -2, -3, -5, -1, 7, 11, 15, 13},
    {8, 2, -4, -8, 1, 3, 8, 11, 14, 16},
    {-3, 4, 10, 0, -11, 3, 9, 13, 6, 0},
    {18, 14, 8, 2, -3, -6, -1, 2, 5, 6},
    {2, 1, -2, -4, -8, 4, 12, 16, 18, 15},
}};

std::string BandName(int band) {
    return "EQ_Slider" + std::to_string(band + 1);
}

// Levels come back as 0-1; rounding keeps a stored 57 at 57 across a float round trip.
int32_t Percent(double scalar) {
    return static_cast<int32_t>(std::clamp(std::lround(scalar * 100.0), 0L, 100L));
}

}  // namespace

std::vector<int> CHeadsetAudio::PresetGains(int preset) {
    if (preset < 1 || preset > kPresetCount) {
        return {};
    }
    const auto& gains = kPresets[static_cast<size_t>(preset - 1)];
    return {gains.begin(), gains.end()};
}

void CHeadsetAudio::LoadFromProfile() {
    settings_ = profile_.GetVoiceSettings();
    customNames_ = profile_.GetCustomNames();
    const int index = settings_.customEqSelectIndex;
    const bool validIndex = index >= 0 && index < static_cast<int>(customNames_.size());
    selectedCustom_ = validIndex ? index : -1;
    gains_ = settings_.eqType == kCustomPreset ? profile_.GetCustomGains(index)
                                               : profile_.GetPresetGains(settings_.eqType);
    gains_.resize(kBandCount, 0);
}

bool CHeadsetAudio::HasVoiceChanger() const {
    return (bridge_.FeatureValues(kRecording)[0] & kVoiceChangerFeature) != 0;
}

void CHeadsetAudio::ReadAudioState() {
    for (const char* name : {"GetMaxVol", "GetMinVol", "GetVolStep"}) {
        bridge_.ReadNumber(kRecording, name);
    }
    bridge_.ReadNumber(kRecording, "VolumeControl", AudioIndex::kMinusOne);
    if (const auto muted = bridge_.ReadNumber(kRecording, "MuteControl")) {
        settings_.micInSelect = *muted == 0 ? 1 : 0;
    }
    if (const auto level = bridge_.ReadNumber(kRecording, "VolumeScalarControl", AudioIndex::kMinusOne)) {
        settings_.micInValue = Percent(*level);
    }
    if (bridge_.ReadNumber(kRecording, "GetAAMaxVol")) {
        bridge_.ReadNumber(kRecording, "GetAAMinVol");
        bridge_.ReadNumber(kRecording, "GetAAVolStep");
        bridge_.ReadNumber(kRecording, "AAVolumeControl", AudioIndex::kMinusOne);
        if (const auto muted = bridge_.ReadNumber(kRecording, "AAMuteControl")) {
            settings_.micMonitorSelect = *muted == 0 ? 1 : 0;
        }
        if (const auto level =
                bridge_.ReadNumber(kRecording, "AAVolumeScalarControl", AudioIndex::kMinusOne)) {
            settings_.micMonitorValue = Percent(*level);
        }
    }
    for (int band = 0; band < kBandCount; ++band) {
        if (const auto gain = bridge_.ReadNumber(kPlayback, BandName(band))) {
            gains_[static_cast<size_t>(band)] = static_cast<int>(std::lround(*gain));
        }
    }
    if (HasVoiceChanger()) {
        if (const auto on = bridge_.ReadNumber(kRecording, "Enable_MAGICVOICE")) {
            settings_.magicEnable = *on != 0 ? 1 : 0;
        }
    }
    if (const auto voice = bridge_.ReadNumber(kRecording, "MagicVoice_Selection");
        voice && *voice >= 0 && *voice <= 3) {
        settings_.magicType = static_cast<int32_t>(*voice) + 1;
    }
}

bool CHeadsetAudio::SetLevel(const char* scalar, const char* level, int value, int32_t& stored) {
    const int clamped = std::clamp(value, 0, kMaxLevel);
    if (!bridge_.WriteFloat(kRecording, scalar, static_cast<float>(clamped) / 100.0F,
                            AudioIndex::kMinusOne)) {
        return false;
    }
    bridge_.ReadNumber(kRecording, level, AudioIndex::kMinusOne);
    stored = clamped;
    StoreSettings();
    return true;
}

bool CHeadsetAudio::SetMute(const char* name, bool on, int32_t& stored) {
    if (!bridge_.WriteInt(kRecording, name, on ? 0 : 1)) {
        return false;
    }
    stored = on ? 1 : 0;
    StoreSettings();
    return true;
}

bool CHeadsetAudio::SetMicLevel(int level) {
    return SetLevel("VolumeScalarControl", "VolumeControl", level, settings_.micInValue);
}

bool CHeadsetAudio::SetMicOn(bool on) {
    return SetMute("MuteControl", on, settings_.micInSelect);
}

bool CHeadsetAudio::SetMonitorLevel(int level) {
    return SetLevel("AAVolumeScalarControl", "AAVolumeControl", level, settings_.micMonitorValue);
}

bool CHeadsetAudio::SetMonitorOn(bool on) {
    return SetMute("AAMuteControl", on, settings_.micMonitorSelect);
}

bool CHeadsetAudio::WriteBands(const std::vector<int>& gains) {
    if (!bridge_.WriteInt(kPlayback, "Enable_EQ_GFX", 1)) {
        return false;
    }
    for (int band = 0; band < kBandCount; ++band) {
        if (!bridge_.WriteInt(kPlayback, BandName(band), gains[static_cast<size_t>(band)])) {
            return false;
        }
    }
    return true;
}

bool CHeadsetAudio::ApplyPreset(int preset) {
    if (preset == kCustomPreset) {
        if (selectedCustom_ >= 0) {
            return ChooseCustom(selectedCustom_);
        }
        settings_.eqType = kCustomPreset;
        StoreSettings();
        return true;
    }
    const std::vector<int> gains = PresetGains(preset);
    if (gains.empty() || !WriteBands(gains)) {
        return false;
    }
    gains_ = gains;
    settings_.eqType = preset;
    StoreSettings();
    profile_.SetPresetGains(preset, gains);
    return true;
}

bool CHeadsetAudio::MoveBand(int band, int gain) {
    if (band < 0 || band >= kBandCount) {
        return false;
    }
    const int clamped = std::clamp(gain, kMinGain, kMaxGain);
    if (!bridge_.WriteInt(kPlayback, BandName(band), clamped)) {
        return false;
    }
    if (settings_.eqType != kCustomPreset) {
        settings_.eqType = kCustomPreset;
        selectedCustom_ = -1;
    }
    gains_[static_cast<size_t>(band)] = clamped;
    return true;
}

bool CHeadsetAudio::ChooseCustom(int index) {
    if (index < 0 || index >= static_cast<int>(customNames_.size())) {
        return false;
    }
    std::vector<int> gains = profile_.GetCustomGains(index);
    gains.resize(kBandCount, 0);
    if (!WriteBands(gains)) {
        return false;
    }
    gains_ = gains;
    settings_.eqType = kCustomPreset;
    settings_.customEqSelectIndex = index;
    selectedCustom_ = index;
    StoreSettings();
    return true;
}

CHeadsetAudio::SaveResult CHeadsetAudio::SaveCustom(const std::string& name) {
    if (name.empty()) {
        if (selectedCustom_ < 0) {
            return SaveResult::kNothing;
        }
        profile_.SetCustomGains(selectedCustom_, gains_);
        settings_.eqType = kCustomPreset;
        settings_.customEqSelectIndex = selectedCustom_;
        StoreSettings();
        return SaveResult::kSaved;
    }
    if (customNames_.size() >= static_cast<size_t>(kMaxCustom)) {
        return SaveResult::kNothing;
    }
    const std::string folded = platform::ToLower(name);
    if (std::any_of(customNames_.begin(), customNames_.end(),
                    [&](const std::string& existing) { return platform::ToLower(existing) == folded; })) {
        return SaveResult::kNameTaken;
    }
    customNames_.push_back(name);
    const int index = static_cast<int>(customNames_.size()) - 1;
    profile_.SetCustomNames(customNames_);
    profile_.SetCustomGains(index, gains_);
    selectedCustom_ = index;
    settings_.eqType = kCustomPreset;
    settings_.customEqSelectIndex = index;
    StoreSettings();
    return SaveResult::kSaved;
}

bool CHeadsetAudio::SelectCustom(int index) {
    if (index < 0 || index >= static_cast<int>(customNames_.size())) {
        return false;
    }
    selectedCustom_ = index;
    return true;
}

bool CHeadsetAudio::DeleteCustom() {
    if (selectedCustom_ < 0 || selectedCustom_ >= static_cast<int>(customNames_.size())) {
        return false;
    }
    customNames_.erase(customNames_.begin() + selectedCustom_);
    profile_.RemoveCustomGains(selectedCustom_);
    profile_.SetCustomNames(customNames_);
    if (customNames_.empty()) {
        selectedCustom_ = -1;
        settings_.eqType = 1;
        gains_ = profile_.GetPresetGains(1);
    } else {
        selectedCustom_ = 0;
        settings_.customEqSelectIndex = 0;
        gains_ = profile_.GetCustomGains(0);
    }
    gains_.resize(kBandCount, 0);
    // The chip plays what the page now shows.
    WriteBands(gains_);
    StoreSettings();
    return true;
}

bool CHeadsetAudio::SetVoiceChangerOn(bool on) {
    if (!bridge_.WriteInt(kRecording, "Enable_MAGICVOICE", on ? 1 : 0)) {
        return false;
    }
    if (on) {
        bridge_.WriteInt(kRecording, "Enable_MICECHO", 0);
    }
    settings_.magicEnable = on ? 1 : 0;
    StoreSettings();
    return true;
}

bool CHeadsetAudio::ChooseVoice(int voice) {
    if (voice < 1 || voice > kVoiceCount ||
        !bridge_.WriteInt(kRecording, "MagicVoice_Selection", voice - 1)) {
        return false;
    }
    settings_.magicType = voice;
    StoreSettings();
    return true;
}
