#include "profile/basic_profiledata.h"

#include "platform/debug.h"
#include "profile/damaged_file.h"
#include "profile/data_folders.h"
#include "profile/json_access.h"

#include <utility>

namespace {

using Access = CJsonAccess;

LightZone DecodeZone(const Json::Value& element) {
    LightZone zone;
    if (element.isNull()) {
        return zone;
    }
    zone.mode = Access::ByteOf(element, "LEDREGMode");
    zone.brightness = Access::ByteOf(element, "LEDBrightness");
    zone.speed = Access::ByteOf(element, "LEDSpeed");
    zone.direction = Access::FlagOf(element, "LEDDirection");
    zone.multiColor = Access::FlagOf(element, "LEDMultiColor");
    zone.red = Access::ByteOf(element, "red");
    zone.green = Access::ByteOf(element, "green");
    zone.blue = Access::ByteOf(element, "blue");
    zone.present = 1;
    return zone;
}

LedEffectStep DecodeStep(const Json::Value& element) {
    LedEffectStep step;
    step.mode = Access::ByteOf(element, "LEDREGMode");
    step.brightness = Access::ByteOf(element, "LEDBrightness");
    step.speed = Access::ByteOf(element, "LEDSpeed");
    step.direction = Access::ByteOf(element, "LEDDirection");
    step.multiColor = Access::ByteOf(element, "LEDMultiColor");
    step.red = Access::ByteOf(element, "red");
    step.green = Access::ByteOf(element, "green");
    step.blue = Access::ByteOf(element, "blue");
    step.time = Access::IntOf(element, "Time");
    step.cycle = Access::IntOf(element, "Cyle");
    return step;
}

// The folder part of a path, with its final '/', or "" for a bare name.
std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

}  // namespace

CBasicProfiledata::CBasicProfiledata() = default;

int CBasicProfiledata::Save() {
    return SaveDeviceSection(deviceSection_, profilePath_);
}

int CBasicProfiledata::SaveDeviceSection(Json::Value value, std::string path) {
    Json::Value document = document_.ReadJsonValue(path);
    SetAsideIfDamaged(document, path);
    Json::Value& devices = Access::MemberRef(document, "Device");
    Access::ElementRef(devices, static_cast<Json::ArrayIndex>(deviceIndex_)) = std::move(value);
    return document_.wirtejsonFile(path, document);
}

int CBasicProfiledata::WriteDocument(const Json::Value& value, const std::string& path) {
    return document_.wirtejsonFile(path, value);
}

void CBasicProfiledata::SetProfilePath(const std::string& path) {
    if (!path.empty()) {
        profilePath_ = path;
    }
}

void CBasicProfiledata::SetDefaultProfilePath(const std::string& path) {
    if (!path.empty()) {
        defaultProfilePath_ = path;
    }
}

void CBasicProfiledata::SetLightConfigPath(const std::string& path) {
    lightConfigPath_ = path;
}

void CBasicProfiledata::SetDeviceIndex(int index) {
    // A negative index would name element 4 billion of "Device"; every kind uses 0.
    deviceIndex_ = index < 0 ? 0 : index;
}

void CBasicProfiledata::OpenActiveProfile(const std::string& profilePath, const std::string& lightConfigPath,
                                          const std::string& defaultProfilePath) {
    SetDefaultProfilePath(defaultProfilePath);
    SetDeviceIndex(0);
    SetProfilePath(profilePath);
    SetLightConfigPath(lightConfigPath);
    LoadDeviceSection(profilePath);
}

Json::Value CBasicProfiledata::LoadDeviceSection(const std::string& path) {
    const auto index = static_cast<Json::ArrayIndex>(deviceIndex_);
    Json::Value document = document_.ReadJsonValue(path);
    deviceSection_ = Access::Element(Access::Member(document, "Device"), index);
    // A section that is not an object is as good as absent: it holds nothing a reader takes.
    if (!deviceSection_.isObject()) {
        SetAsideIfDamaged(document, path);
        const Json::Value defaults = document_.ReadJsonValue(defaultProfilePath_);
        deviceSection_ = Access::Element(Access::Member(defaults, "Device"), index);
        Access::ElementRef(Access::MemberRef(document, "Device"), index) = deviceSection_;
        document_.wirtejsonFile(path, document);
    }
    return deviceSection_;
}

void CBasicProfiledata::SetAsideIfDamaged(const Json::Value& document, const std::string& path) {
    if (!document.isNull() || !CDamagedFile::HasContent(path)) {
        return;
    }
    if (std::string moved = CDamagedFile::MoveAside(path); !moved.empty()) {
        setAside_.push_back(std::move(moved));
    }
}

std::vector<std::string> CBasicProfiledata::TakeSetAsideFiles() {
    return std::exchange(setAside_, {});
}

LightInfo CBasicProfiledata::GetLightInfo() {
    const Json::Value& info = Access::Member(deviceSection_, "LightInfo");
    if (info.isNull()) {
        currentLighting_ = defaultLighting_;
        return currentLighting_;
    }
    LightInfo result;
    result.selectItem = Access::ByteOf(info, "SelectItem");
    result.light = Access::ByteOf(info, "Light");
    result.speed = Access::ByteOf(info, "Speed");
    result.red = Access::ByteOf(info, "Red");
    result.green = Access::ByteOf(info, "Green");
    result.blue = Access::ByteOf(info, "Blue");
    result.fx = Access::ByteOf(info, "Fx");
    result.multiColor = Access::FlagOf(info, "MultiColor");
    currentLighting_ = result;
    return result;
}

void CBasicProfiledata::SetLightInfo(uint32_t a, uint32_t b, uint32_t c) {
    SetLightInfo(UnpackLightRecord(a, b, c));
}

void CBasicProfiledata::SetLightInfo(const LightInfo& light) {
    currentLighting_ = light;
    Json::Value object(Json::objectValue);
    object["SelectItem"] = light.selectItem;
    object["Light"] = light.light;
    object["Speed"] = light.speed;
    object["MultiColor"] = light.multiColor;
    object["Red"] = light.red;
    object["Green"] = light.green;
    object["Blue"] = light.blue;
    object["Fx"] = light.fx;
    SectionMember("LightInfo") = std::move(object);
}

std::vector<LightZone> CBasicProfiledata::GetLightList() {
    const Json::Value& list = Access::Member(deviceSection_, "LightList");
    std::vector<LightZone> zones;
    zones.reserve(Access::Size(list));
    for (Json::ArrayIndex i = 0; i < Access::Size(list); ++i) {
        zones.push_back(DecodeZone(list[i]));
    }
    zones_ = zones;
    return zones;
}

Json::Value CBasicProfiledata::LoadLightConfig(const std::string& path) {
    lightConfig_ = document_.ReadJsonValue(path);
    effectFolder_ = FolderOf(path);
    return lightConfig_;
}

std::vector<LedEffectStep> CBasicProfiledata::GetCustomLightEffect() {
    effectSteps_.clear();
    if (lightConfig_.isNull() || currentLighting_.selectItem < builtInEffectCount_) {
        return effectSteps_;
    }
    const Json::Value& lists = Access::Member(lightConfig_, "LightInfo");
    const Json::Value& list = Access::Element(lists, static_cast<Json::ArrayIndex>(deviceIndex_));
    const auto position = static_cast<Json::ArrayIndex>(currentLighting_.selectItem - builtInEffectCount_);
    const std::string guid = Access::String(Access::Member(Access::Element(list, position), "Guid"));
    if (!CDataFolders::IsSafeFileName(guid)) {
        if (!guid.empty()) {
            platform::DebugFormat("灯效 Guid 不能作为文件名：%s\n", guid.c_str());
        }
        return effectSteps_;
    }
    // The effect files belong to the light configuration that names them, so they are looked
    // for in its folder rather than in whatever the process's working folder happens to be.
    const Json::Value effect = document_.ReadJsonValue(effectFolder_ + guid + ".light");
    const Json::Value& steps = Access::Member(effect, "LEDEffectList");
    for (Json::ArrayIndex i = 0; i < Access::Size(steps); ++i) {
        effectSteps_.push_back(DecodeStep(steps[i]));
    }
    return effectSteps_;
}

std::vector<KeyAssignment> CBasicProfiledata::GetKeyList() {
    const Json::Value& list = Access::Member(deviceSection_, "KeyList");
    keyAssignments_.clear();
    keyAssignments_.reserve(Access::Size(list));
    for (Json::ArrayIndex i = 0; i < Access::Size(list); ++i) {
        KeyAssignment key;
        key.keyPosition = static_cast<uint16_t>(i);
        key.SetCode(KeyFunctionCode::FromPacked(static_cast<uint32_t>(Access::IntOf(list[i], "Assignment"))));
        key.defaultKeyPosition = static_cast<uint16_t>(i);
        key.SetDefaultCode(
            KeyFunctionCode::FromPacked(static_cast<uint32_t>(Access::IntOf(list[i], "DefaultAssignment"))));
        keyAssignments_.push_back(key);
    }
    return keyAssignments_;
}

void CBasicProfiledata::SetKeyList(const std::vector<KeyAssignment>& list) {
    keyAssignments_ = list;
    Json::Value& keys = SectionMember("KeyList");
    for (size_t i = 0; i < list.size(); ++i) {
        const KeyAssignment& key = list[i];
        Access::MemberRef(Access::ElementRef(keys, static_cast<Json::ArrayIndex>(i)), "Assignment") =
            static_cast<int>(key.Code().Packed());
    }
}

Json::Value& CBasicProfiledata::SectionMember(const char* key) {
    return Access::MemberRef(deviceSection_, key);
}
