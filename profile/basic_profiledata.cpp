#include "profile/basic_profiledata.h"

#include "platform/debug.h"
#include "profile/damaged_file.h"
#include "profile/data_folders.h"
#include "profile/json_access.h"

#include <utility>

namespace {

using Access = CJsonAccess;

uint8_t Byte(const Json::Value& object, const char* key) {
    return static_cast<uint8_t>(Access::Int(Access::Member(object, key)));
}

uint8_t Flag(const Json::Value& object, const char* key) {
    return Access::Bool(Access::Member(object, key)) ? 1 : 0;
}

uint8_t ByteOf(uint32_t word, int index) {
    return static_cast<uint8_t>(word >> (8 * index));
}

LightZone DecodeZone(const Json::Value& element) {
    LightZone zone;
    if (element.isNull()) {
        return zone;
    }
    zone.mode = Byte(element, "LEDREGMode");
    zone.brightness = Byte(element, "LEDBrightness");
    zone.speed = Byte(element, "LEDSpeed");
    zone.direction = Flag(element, "LEDDirection");
    zone.multiColor = Flag(element, "LEDMultiColor");
    zone.red = Byte(element, "red");
    zone.green = Byte(element, "green");
    zone.blue = Byte(element, "blue");
    zone.present = 1;
    return zone;
}

LedEffectStep DecodeStep(const Json::Value& element) {
    LedEffectStep step;
    step.mode = Byte(element, "LEDREGMode");
    step.brightness = Byte(element, "LEDBrightness");
    step.speed = Byte(element, "LEDSpeed");
    step.direction = Byte(element, "LEDDirection");
    step.multiColor = Byte(element, "LEDMultiColor");
    step.red = Byte(element, "red");
    step.green = Byte(element, "green");
    step.blue = Byte(element, "blue");
    step.time = Access::Int(Access::Member(element, "Time"));
    step.cycle = Access::Int(Access::Member(element, "Cyle"));
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
    result.selectItem = Byte(info, "SelectItem");
    result.light = Byte(info, "Light");
    result.speed = Byte(info, "Speed");
    result.red = Byte(info, "Red");
    result.green = Byte(info, "Green");
    result.blue = Byte(info, "Blue");
    result.fx = Byte(info, "Fx");
    result.multiColor = Flag(info, "MultiColor");
    currentLighting_ = result;
    return result;
}

void CBasicProfiledata::SetLightInfo(uint32_t a, uint32_t b, uint32_t c) {
    LightInfo& info = currentLighting_;
    info.selectItem = ByteOf(a, 0);
    info.light = ByteOf(a, 1);
    info.speed = ByteOf(a, 2);
    info.fx = ByteOf(a, 3);
    info.multiColor = ByteOf(b, 0);
    info.red = ByteOf(b, 1);
    info.green = ByteOf(b, 2);
    info.blue = ByteOf(b, 3);
    info.extraWord = static_cast<uint16_t>(c);
    info.extraByte = ByteOf(c, 2);

    Json::Value object(Json::objectValue);
    object["SelectItem"] = info.selectItem;
    object["Light"] = info.light;
    object["Speed"] = info.speed;
    object["MultiColor"] = info.multiColor;
    object["Red"] = info.red;
    object["Green"] = info.green;
    object["Blue"] = info.blue;
    object["Fx"] = info.fx;
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
        const auto current = static_cast<uint32_t>(Access::Int(Access::Member(list[i], "Assignment")));
        const auto fallback =
            static_cast<uint32_t>(Access::Int(Access::Member(list[i], "DefaultAssignment")));
        KeyAssignment key;
        key.keyPosition = static_cast<uint16_t>(i);
        key.code1 = ByteOf(current, 2);
        key.code2 = ByteOf(current, 1);
        key.code3 = ByteOf(current, 0);
        key.defaultKeyPosition = static_cast<uint16_t>(i);
        key.defaultCode1 = ByteOf(fallback, 2);
        key.defaultCode2 = ByteOf(fallback, 1);
        key.defaultCode3 = ByteOf(fallback, 0);
        keyAssignments_.push_back(key);
    }
    return keyAssignments_;
}

void CBasicProfiledata::SetKeyList(const std::vector<KeyAssignment>& list) {
    keyAssignments_ = list;
    Json::Value& keys = SectionMember("KeyList");
    for (size_t i = 0; i < list.size(); ++i) {
        const KeyAssignment& key = list[i];
        const int code = (key.code1 << 16) + (key.code2 << 8) + key.code3;
        Access::MemberRef(Access::ElementRef(keys, static_cast<Json::ArrayIndex>(i)), "Assignment") = code;
    }
}

Json::Value& CBasicProfiledata::SectionMember(const char* key) {
    return Access::MemberRef(deviceSection_, key);
}
