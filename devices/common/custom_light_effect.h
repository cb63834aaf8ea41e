#pragma once

#include "profile/profile_records.h"

#include <json/value.h>

#include <string>
#include <vector>

// Custom light effect files: Guid + ".light", holding "LEDEffectList", one step per element
// {"LEDREGMode", "LEDBrightness", "LEDSpeed", "LEDDirection", "LEDMultiColor", "red", "green",
// "blue", "Time", "Cyle"}. Members of the wrong type read as 0. Reads files only; any thread.
class CCustomLightEffect {
public:
    static constexpr const char* kExtension = ".light";

    static std::vector<LedEffectStep> Steps(const Json::Value& effect);

    // The Guid of a custom effect list: lightConfig["LightInfo"][listIndex][entry]["Guid"], "" when absent.
    static std::string Guid(const Json::Value& lightConfig, int listIndex, int entry);

    // The steps of the effect file named by `guid` in `folder` (ending in '/'). A Guid that could
    // name a file outside the folder, or a missing or unreadable file, gives no steps.
    static std::vector<LedEffectStep> Read(const std::string& folder, const std::string& guid);
};
