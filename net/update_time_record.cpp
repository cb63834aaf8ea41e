#include "net/update_time_record.h"

#include "profile/data_folders.h"
#include "profile/json_access.h"
#include "profile/json_document.h"

#include <cstdio>

namespace {

constexpr const char* kFileName = "updatetime.config";

}  // namespace

std::string CUpdateTimeRecord::FilePath() {
    return CDataFolders::ApplicationDataFolder() + kFileName;
}

std::string CUpdateTimeRecord::ReadLastCheckDate() {
    const Json::Value document = CJsonDocument().ReadJsonValue(FilePath());
    const std::string date =
        CJsonAccess::String(CJsonAccess::Member(CJsonAccess::Member(document, "updatelasttime"), "value"));
    if (!date.empty()) {
        return date;
    }
    const std::string today = Today();
    WriteLastCheckDate(today);
    return today;
}

int CUpdateTimeRecord::WriteLastCheckDate(const std::string& date) {
    const CJsonDocument files;
    Json::Value document = files.ReadJsonValue(FilePath());
    if (!document.isObject()) {
        document = Json::Value(Json::objectValue);
    }
    CJsonAccess::MemberRef(CJsonAccess::MemberRef(document, "updatelasttime"), "value") = date;
    return files.wirtejsonFile(FilePath(), document);
}

std::string CUpdateTimeRecord::Today() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return DateText(local);
}

std::string CUpdateTimeRecord::DateText(const std::tm& local) {
    char text[48];
    std::snprintf(text, sizeof text, "%d-%d-%d", local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
    return text;
}
