#include "devices/headset/hs6533_profiledata.h"

#include "profile/json_access.h"

namespace {

using Access = CJsonAccess;

// Custom equalisers are at most 20 and presets at most 13: an index from a caller or a file
// beyond this creates nothing in the document.
constexpr int kMaxGainIndex = 255;

int PresetIndex(int preset) {
    return preset <= 0 || preset > CHs6533Profiledata::kCustomPreset ? 1 : preset;
}

bool ValidIndex(int index) {
    return index >= 0 && index <= kMaxGainIndex;
}

}  // namespace

VoiceSettings CHs6533Profiledata::GetVoiceSettings() {
    const Json::Value& stages = Access::Member(DeviceSection(), "SystemSetStages");
    VoiceSettings settings;
    settings.magicEnable = Access::IntOf(stages, "MagicEnable");
    settings.magicType = Access::IntOf(stages, "MagicType");
    settings.eqType = Access::IntOf(stages, "EqType");
    settings.customEqSelectIndex = Access::IntOf(stages, "CustomEqSeletIndex");
    settings.micInSelect = Access::IntOf(stages, "MicInSelect");
    settings.micInValue = Access::IntOf(stages, "MicInValue");
    settings.micMonitorSelect = Access::IntOf(stages, "MicMoniterSelect");
    settings.micMonitorValue = Access::IntOf(stages, "MicMoniterValue");
    return settings;
}

void CHs6533Profiledata::SetVoiceSettings(const VoiceSettings& settings) {
    Json::Value& stages = SectionMember("SystemSetStages");
    Access::MemberRef(stages, "MagicEnable") = settings.magicEnable;
    Access::MemberRef(stages, "MagicType") = settings.magicType;
    Access::MemberRef(stages, "EqType") = settings.eqType;
    Access::MemberRef(stages, "CustomEqSeletIndex") = settings.customEqSelectIndex;
    Access::MemberRef(stages, "MicInSelect") = settings.micInSelect;
    Access::MemberRef(stages, "MicInValue") = settings.micInValue;
    Access::MemberRef(stages, "MicMoniterSelect") = settings.micMonitorSelect;
    Access::MemberRef(stages, "MicMoniterValue") = settings.micMonitorValue;
}

std::vector<int> CHs6533Profiledata::ReadGains(const char* key, int index) {
    gains_.assign(kBandCount, 0);
    if (!ValidIndex(index)) {
        return gains_;
    }
    Json::Value& table = SectionMember(key);
    Json::Value& bands = Access::ElementRef(table, static_cast<Json::ArrayIndex>(index));
    if (!bands.isArray()) {
        bands = Json::Value(Json::arrayValue);
        for (int band = 0; band < kBandCount; ++band) {
            bands[band]["value"] = 0;
        }
        return gains_;
    }
    for (int band = 0; band < kBandCount; ++band) {
        gains_[band] = Access::IntOf(Access::Element(bands, static_cast<Json::ArrayIndex>(band)), "value");
    }
    return gains_;
}

void CHs6533Profiledata::WriteGains(const char* key, int index, const std::vector<int>& gains) {
    if (!ValidIndex(index)) {
        return;
    }
    Json::Value& bands = Access::ElementRef(SectionMember(key), static_cast<Json::ArrayIndex>(index));
    for (int band = 0; band < kBandCount; ++band) {
        const int gain = band < static_cast<int>(gains.size()) ? gains[band] : 0;
        Access::MemberRef(Access::ElementRef(bands, static_cast<Json::ArrayIndex>(band)), "value") = gain;
    }
}

std::vector<int> CHs6533Profiledata::GetPresetGains(int preset) {
    if (preset == kCustomPreset) {
        return {};
    }
    return ReadGains("EQHzValueInfo", PresetIndex(preset));
}

void CHs6533Profiledata::SetPresetGains(int preset, const std::vector<int>& gains) {
    if (preset == kCustomPreset) {
        return;
    }
    WriteGains("EQHzValueInfo", PresetIndex(preset), gains);
}

std::vector<std::string> CHs6533Profiledata::GetCustomNames() {
    const Json::Value& list = Access::Member(DeviceSection(), "CustomEQNameInfo");
    std::vector<std::string> names;
    for (Json::ArrayIndex i = 0; i < Access::Size(list); ++i) {
        names.push_back(Access::String(Access::Member(list[i], "Name")));
    }
    return names;
}

void CHs6533Profiledata::SetCustomNames(const std::vector<std::string>& names) {
    Json::Value list(Json::arrayValue);
    for (const std::string& name : names) {
        Json::Value entry(Json::objectValue);
        entry["Name"] = name;
        list.append(std::move(entry));
    }
    SectionMember("CustomEQNameInfo") = std::move(list);
}

std::vector<int> CHs6533Profiledata::GetCustomGains(int index) {
    return ReadGains("CustomEQHzValueInfo", index);
}

void CHs6533Profiledata::SetCustomGains(int index, const std::vector<int>& gains) {
    WriteGains("CustomEQHzValueInfo", index, gains);
}

void CHs6533Profiledata::RemoveCustomGains(int index) {
    const Json::Value& existing = Access::Member(DeviceSection(), "CustomEQHzValueInfo");
    if (index < 0 || static_cast<Json::ArrayIndex>(index) >= Access::Size(existing)) {
        return;
    }
    Json::Value removed;
    SectionMember("CustomEQHzValueInfo").removeIndex(static_cast<Json::ArrayIndex>(index), &removed);
}
