#include "devices/common/light_name_lists.h"

#include "profile/data_folders.h"
#include "profile/json_access.h"
#include "profile/json_document.h"

namespace {

const Json::Value& List(const Json::Value& document, const char* key, int index) {
    if (index < 0) {
        return Json::Value::nullSingleton();
    }
    return CJsonAccess::Element(CJsonAccess::Member(document, key), static_cast<Json::ArrayIndex>(index));
}

std::string Name(const Json::Value& entry) {
    return CJsonAccess::String(CJsonAccess::Member(entry, "LightName"));
}

Json::Value DefaultLight() {
    return CJsonDocument().ReadJsonValue(CDataFolders::DefaultDataFolder() +
                                         CLightNameLists::kDefaultLightFile);
}

}  // namespace

std::vector<LightModeName> CLightNameLists::ModeNames(const Json::Value& defaultLight, int lightTableIndex) {
    const Json::Value& list = List(defaultLight, "DefaultLightName", lightTableIndex);
    std::vector<LightModeName> names;
    for (Json::ArrayIndex i = 0; i < CJsonAccess::Size(list); ++i) {
        const Json::Value& entry = CJsonAccess::Element(list, i);
        names.push_back({Name(entry), CJsonAccess::Bool(CJsonAccess::Member(entry, "visible"))});
    }
    return names;
}

std::vector<std::string> CLightNameLists::AreaNames(const Json::Value& defaultLight, int lightTableIndex) {
    const Json::Value& list = List(defaultLight, "AreaLightName", lightTableIndex);
    std::vector<std::string> names;
    for (Json::ArrayIndex i = 0; i < CJsonAccess::Size(list); ++i) {
        names.push_back(Name(CJsonAccess::Element(list, i)));
    }
    return names;
}

std::vector<CustomEffectName> CLightNameLists::CustomEffects(const Json::Value& lightConfig,
                                                             int lightTableIndex) {
    const Json::Value& list = List(lightConfig, "LightInfo", lightTableIndex);
    std::vector<CustomEffectName> names;
    for (Json::ArrayIndex i = 0; i < CJsonAccess::Size(list); ++i) {
        const Json::Value& entry = CJsonAccess::Element(list, i);
        names.push_back({Name(entry), CJsonAccess::String(CJsonAccess::Member(entry, "Guid"))});
    }
    return names;
}

std::vector<LightModeName> CLightNameLists::ReadModeNames(int lightTableIndex) {
    return ModeNames(DefaultLight(), lightTableIndex);
}

std::vector<std::string> CLightNameLists::ReadAreaNames(int lightTableIndex) {
    return AreaNames(DefaultLight(), lightTableIndex);
}

std::vector<CustomEffectName> CLightNameLists::ReadCustomEffects(const std::string& deviceFolderName,
                                                                 int lightTableIndex) {
    const std::string path = CDataFolders::UserDataFolder(deviceFolderName) + kLightConfigFile;
    return CustomEffects(CJsonDocument().ReadJsonValue(path), lightTableIndex);
}
