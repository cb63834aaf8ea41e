#include "net/update_answer.h"

#include "platform/json_file.h"
#include "platform/text.h"
#include "profile/json_access.h"

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

// Services answer the version as text ("0103") or as a number (103); a number reads as its digits.
std::string VersionText(const Json::Value& version) {
    if (version.isUInt64()) {
        return std::to_string(version.asUInt64());
    }
    if (version.isInt64()) {
        return std::to_string(version.asInt64());
    }
    return CJsonAccess::String(version);
}

long long ServerVersion(const std::string& text, bool hex) {
    return std::strtoll(text.c_str(), nullptr, hex ? 16 : 10);
}

}  // namespace

bool CheckResult::Unreachable() const {
    return platform::EqualsNoCase(path, "NO_LINK_SERVER");
}

CheckResult CUpdateAnswer::Parse(std::string_view body, int localVersion, bool hex) {
    body = body.substr(0, body.find('\0'));
    CheckResult result;
    result.localVersionText = LocalVersionText(localVersion, hex);
    Json::Value root;
    if (!CJsonFile::Parse(body, root)) {
        return result;
    }
    result.path = CJsonAccess::String(CJsonAccess::Member(root, "path"));
    result.name = CJsonAccess::String(CJsonAccess::Member(root, "name"));
    result.versionName = CJsonAccess::String(CJsonAccess::Member(root, "version_name"));
    const std::string version = VersionText(CJsonAccess::Member(root, "version"));
    result.serverVersionText = "V" + version;
    result.deviceId = CJsonAccess::Int(CJsonAccess::Member(root, "device_id"));
    result.status =
        localVersion < ServerVersion(version, hex) ? CheckResult::kStatusNewer : CheckResult::kStatusUpToDate;
    return result;
}

std::string CUpdateAnswer::LocalVersionText(int version, bool hex) {
    char text[32];
    std::snprintf(text, sizeof text, hex ? "V%04x" : "V%d", version);
    return text;
}
