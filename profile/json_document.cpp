#include "profile/json_document.h"

#include "platform/debug.h"
#include "platform/json_file.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <mutex>

std::string CJsonDocument::readjsonFile(const std::string& path) const {
    errno = 0;
    std::string text = CJsonFile::ReadText(path);
    platform::DebugFormat("readjsonFile 错误吗：：%d\n", text.empty() ? errno : 0);
    return text;
}

Json::Value CJsonDocument::ReadJsonValue(const std::string& path) const {
    const std::string text = readjsonFile(path);
    Json::Value root;
    if (text.empty()) {
        platform::DebugOutput(path);
        return root;
    }
    return CJsonFile::Parse(text, root) ? root : Json::Value();
}

int CJsonDocument::wirtejsonFile(const std::string& path, const Json::Value& value) const {
    const int error = CJsonFile::Write(path, value);
    platform::DebugFormat("wirtejsonFile 错误吗：：%d\n", error);
    return error == 0 ? 0 : 1;
}

std::string CJsonDocument::TimeStamp() const {
    using namespace std::chrono;
    static std::mutex mutex;
    static int64_t lastMillis = 0;

    int64_t millis = duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
    {
        std::lock_guard lock(mutex);
        if (millis <= lastMillis) {
            millis = lastMillis + 1;
        }
        lastMillis = millis;
    }
    const std::time_t seconds = static_cast<std::time_t>(millis / 1000);
    std::tm local{};
    localtime_r(&seconds, &local);
    char text[64];
    std::snprintf(text, sizeof text, "%d_%02d_%02d_%02d_%02d_%02d_%03d", local.tm_year + 1900,
                  local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec,
                  static_cast<int>(millis % 1000));
    return text;
}
