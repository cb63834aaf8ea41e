#pragma once

#include <json/value.h>

#include <string>
#include <vector>

// The light-mode name lists of a device kind, indexed by its light-table index:
//   "default_light.json" (default data folder): "DefaultLightName"[index] = [{"LightName", "visible"}]
//     and "AreaLightName"[index] = [{"LightName"}];
//   "quorl_light.config" (user data folder): "LightInfo"[index] = [{"LightName", "Guid"}], the
//     custom effect lists.
// A missing or unreadable file, an index beyond the arrays or a member of the wrong type gives
// an empty list or an empty text, never an error. Reads files only; any thread.
struct LightModeName {
    std::string name;
    bool visible = false;

    bool operator==(const LightModeName&) const = default;
};

struct CustomEffectName {
    std::string name;
    std::string guid;

    bool operator==(const CustomEffectName&) const = default;
};

class CLightNameLists {
public:
    static constexpr const char* kDefaultLightFile = "default_light.json";
    static constexpr const char* kLightConfigFile = "quorl_light.config";

    static std::vector<LightModeName> ModeNames(const Json::Value& defaultLight, int lightTableIndex);
    static std::vector<std::string> AreaNames(const Json::Value& defaultLight, int lightTableIndex);
    static std::vector<CustomEffectName> CustomEffects(const Json::Value& lightConfig, int lightTableIndex);

    // The same, read from the files in their folders.
    static std::vector<LightModeName> ReadModeNames(int lightTableIndex);
    static std::vector<std::string> ReadAreaNames(int lightTableIndex);
    static std::vector<CustomEffectName> ReadCustomEffects(const std::string& deviceFolderName,
                                                           int lightTableIndex);
};
