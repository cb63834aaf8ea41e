#include "devices/mouse/mouse_profiledata.h"

#include "profile/json_access.h"

namespace {

using Access = CJsonAccess;

DpiStage DecodeStage(const Json::Value& element) {
    DpiStage stage;
    stage.active = Access::ByteOf(element, "StageActive");
    stage.separateXY = Access::ByteOf(element, "StageXY");
    stage.SetDpiX(Access::WordOf(element, "StageDPIX"));
    stage.SetDpiY(Access::WordOf(element, "StageDPIY"));
    stage.red = Access::ByteOf(element, "StageColorR");
    stage.green = Access::ByteOf(element, "StageColorG");
    stage.blue = Access::ByteOf(element, "StageColorB");
    return stage;
}

Json::Value EncodeStage(const DpiStage& stage) {
    Json::Value element(Json::objectValue);
    element["StageActive"] = stage.active;
    element["StageXY"] = stage.separateXY;
    element["StageDPIX"] = stage.DpiX();
    element["StageDPIY"] = stage.DpiY();
    element["StageColorR"] = stage.red;
    element["StageColorG"] = stage.green;
    element["StageColorB"] = stage.blue;
    return element;
}

}  // namespace

void DpiStage::SetDpiX(uint16_t value) {
    dpiX[0] = static_cast<uint8_t>(value);
    dpiX[1] = static_cast<uint8_t>(value >> 8);
}

void DpiStage::SetDpiY(uint16_t value) {
    dpiY[0] = static_cast<uint8_t>(value);
    dpiY[1] = static_cast<uint8_t>(value >> 8);
}

const char* CMouseProfiledata::StageArrayKey() const {
    switch (sensorId_) {
        case 0x3325:
        case 0x3389:
            return "StageDPIs";
        case 0x3360:
            return "StageDPIs_3360";
        default:
            return nullptr;
    }
}

std::vector<DpiStage> CMouseProfiledata::GetStages() {
    const Json::Value& section = Access::Member(DeviceSection(), "DPIStages");
    if (section.isNull()) {
        return stages_;
    }
    activeStage_ = Access::IntOf(section, "StageActive");
    const char* key = StageArrayKey();
    if (key == nullptr) {
        return stages_;
    }
    const Json::Value& list = Access::Member(section, key);
    for (Json::ArrayIndex i = 0; i < Access::Size(list); ++i) {
        const DpiStage stage = DecodeStage(list[i]);
        if (i < stages_.size()) {
            stages_[i] = stage;
        } else {
            stages_.push_back(stage);
        }
    }
    return stages_;
}

void CMouseProfiledata::SetStages(const std::vector<DpiStage>& stages) {
    stages_ = stages;
    const char* key = StageArrayKey();
    if (key == nullptr) {
        return;
    }
    Json::Value& list = Access::MemberRef(SectionMember("DPIStages"), key);
    for (size_t i = 0; i < stages.size(); ++i) {
        Access::ElementRef(list, static_cast<Json::ArrayIndex>(i)) = EncodeStage(stages[i]);
    }
}

void CMouseProfiledata::SetActiveStage(int stage) {
    activeStage_ = stage;
    Access::MemberRef(SectionMember("DPIStages"), "StageActive") = stage;
}

MouseSystemSettings CMouseProfiledata::GetSystemSettings() {
    const Json::Value& system = Access::Member(DeviceSection(), "SystemStages");
    const Json::Value& report = Access::Member(DeviceSection(), "ReportStages");
    MouseSystemSettings settings;
    settings.doubleClick = Access::WordOf(system, "DoubleClickTime");
    settings.pointerSpeed = Access::WordOf(system, "MouseSpeed");
    settings.pointerPrecision = Access::WordOf(system, "PointerPrecision");
    settings.scrollByPage = Access::WordOf(system, "ScorllPage");
    settings.scrollSpeed = Access::WordOf(system, "WheelScorlllinse");
    settings.pollingRate = Access::WordOf(report, "StageActive");
    settings.ast = Access::WordOf(system, "ASTSelectItem");
    settings.msh = Access::WordOf(system, "MSHSelectItem");
    settings.logoLight = Access::WordOf(system, "LOGOSelectItem");
    systemSettings_ = settings;
    return settings;
}

void CMouseProfiledata::SetSystemSettings(const MouseSystemSettings& settings) {
    systemSettings_ = settings;
    Json::Value& system = SectionMember("SystemStages");
    Access::MemberRef(system, "DoubleClickTime") = settings.doubleClick;
    Access::MemberRef(system, "MouseSpeed") = settings.pointerSpeed;
    Access::MemberRef(system, "PointerPrecision") = settings.pointerPrecision;
    Access::MemberRef(system, "ScorllPage") = settings.scrollByPage;
    Access::MemberRef(system, "WheelScorlllinse") = settings.scrollSpeed;
    Access::MemberRef(system, "ASTSelectItem") = settings.ast;
    Access::MemberRef(system, "MSHSelectItem") = settings.msh;
    Access::MemberRef(system, "LOGOSelectItem") = settings.logoLight;
    Access::MemberRef(SectionMember("ReportStages"), "StageActive") = settings.pollingRate;
}

std::vector<MouseCorrection> CMouseProfiledata::GetCorrections() {
    const Json::Value& list = Access::Member(DeviceSection(), "CorrectInfo");
    corrections_.clear();
    for (Json::ArrayIndex i = 0; i < Access::Size(list); ++i) {
        MouseCorrection correction;
        correction.pixelThreshold = Access::ByteOf(list[i], "CorrectPixThresh");
        correction.minimumSquare = Access::ByteOf(list[i], "CorrectMinSq");
        correction.selected = Access::ByteOf(list[i], "CorrectSelect");
        correction.name = Access::String(Access::Member(list[i], "CorrectName"));
        corrections_.push_back(correction);
    }
    return corrections_;
}

void CMouseProfiledata::OpenActiveProfile(const std::string& profilePath, const std::string& lightConfigPath,
                                          const std::string& defaultProfilePath) {
    CBasicProfiledata::OpenActiveProfile(profilePath, lightConfigPath, defaultProfilePath);
    GetStages();
    GetSystemSettings();
}
