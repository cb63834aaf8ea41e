#include "devices/common/custom_light_effect.h"

#include "profile/data_folders.h"
#include "profile/json_access.h"
#include "profile/json_document.h"

namespace {

uint8_t Byte(const Json::Value& step, const char* key) {
    return static_cast<uint8_t>(CJsonAccess::Int(CJsonAccess::Member(step, key)));
}

}  // namespace

std::vector<LedEffectStep> CCustomLightEffect::Steps(const Json::Value& effect) {
    const Json::Value& list = CJsonAccess::Member(effect, "LEDEffectList");
    std::vector<LedEffectStep> steps;
    for (Json::ArrayIndex i = 0; i < CJsonAccess::Size(list); ++i) {
        const Json::Value& step = CJsonAccess::Element(list, i);
        steps.push_back({
            Byte(step, "LEDREGMode"),
            Byte(step, "LEDBrightness"),
            Byte(step, "LEDSpeed"),
            Byte(step, "LEDDirection"),
            Byte(step, "LEDMultiColor"),
            Byte(step, "red"),
            Byte(step, "green"),
            Byte(step, "blue"),
            CJsonAccess::Int(CJsonAccess::Member(step, "Time")),
            CJsonAccess::Int(CJsonAccess::Member(step, "Cyle")),
        });
    }
    return steps;
}

std::string CCustomLightEffect::Guid(const Json::Value& lightConfig, int listIndex, int entry) {
    if (listIndex < 0 || entry < 0) {
        return {};
    }
    const Json::Value& list = CJsonAccess::Element(CJsonAccess::Member(lightConfig, "LightInfo"),
                                                   static_cast<Json::ArrayIndex>(listIndex));
    const Json::Value& row = CJsonAccess::Element(list, static_cast<Json::ArrayIndex>(entry));
    return CJsonAccess::String(CJsonAccess::Member(row, "Guid"));
}

std::vector<LedEffectStep> CCustomLightEffect::Read(const std::string& folder, const std::string& guid) {
    if (!CDataFolders::IsSafeFileName(guid)) {
        return {};
    }
    return Steps(CJsonDocument().ReadJsonValue(folder + guid + kExtension));
}
