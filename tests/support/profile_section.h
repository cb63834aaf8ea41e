#pragma once

#include "profile/basic_profiledata.h"
#include "profile/json_document.h"

#include <json/reader.h>

#include <sstream>
#include <string>

// Parses JSON text written in a test; a typo in the text fails loudly.
inline Json::Value ParseJson(const std::string& text) {
    Json::Value value;
    std::istringstream in(text);
    std::string errors;
    if (!Json::parseFromStream(Json::CharReaderBuilder(), in, &value, &errors)) {
        throw std::runtime_error("bad JSON in test: " + errors);
    }
    return value;
}

// Writes a profile file whose "Device"[0] is the section and loads it into the profile data,
// the way a device loads its active profile.
inline void LoadSection(CBasicProfiledata& profile, const std::string& path, const Json::Value& section) {
    Json::Value root;
    root["profilename"] = "test";
    root["Device"][0] = section;
    CJsonDocument().wirtejsonFile(path, root);
    profile.SetProfilePath(path);
    profile.LoadDeviceSection(path);
}
