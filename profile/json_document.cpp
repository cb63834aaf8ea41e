#include "profile/json_document.h"

#include "platform/atomic_file.h"
#include "platform/debug.h"

// StyledWriter is what the files have always been written with; its output is kept byte for byte.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#include <json/reader.h>
#include <json/writer.h>
#pragma GCC diagnostic pop

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <memory>
#include <mutex>
#include <stdexcept>

namespace {

struct FileCloser {
    void operator()(FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<FILE, FileCloser>;

}  // namespace

std::string CJsonDocument::readjsonFile(const std::string& path) const {
    errno = 0;
    FilePtr file(std::fopen(path.c_str(), "rb"));
    platform::DebugFormat("readjsonFile 错误吗：：%d\n", file ? 0 : errno);
    if (!file) {
        return {};
    }
    // A directory opens too, and its end offset can be huge: only regular files are read.
    struct stat info {};
    if (::fstat(::fileno(file.get()), &info) != 0 || !S_ISREG(info.st_mode)) {
        return {};
    }
    if (std::fseek(file.get(), 0, SEEK_END) != 0) {
        return {};
    }
    const long length = std::ftell(file.get());
    if (length < 0 || std::fseek(file.get(), 0, SEEK_SET) != 0) {
        return {};
    }
    std::string content(static_cast<size_t>(length), '\0');
    const size_t read = std::fread(content.data(), 1, content.size(), file.get());
    return read == content.size() ? content : std::string();
}

Json::Value CJsonDocument::ReadJsonValue(const std::string& path) const {
    const std::string text = readjsonFile(path);
    if (text.empty()) {
        platform::DebugOutput(path);
        return Json::Value();
    }
    Json::CharReaderBuilder builder;
    builder["collectComments"] = true;
    const std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    Json::Value root;
    std::string errors;
    try {
        // jsoncpp throws rather than fail when nesting exceeds its stack limit.
        if (!reader->parse(text.data(), text.data() + text.size(), &root, &errors)) {
            return Json::Value();
        }
    } catch (const std::exception&) {
        return Json::Value();
    }
    return root;
}

int CJsonDocument::wirtejsonFile(const std::string& path, const Json::Value& value) const {
    const int error = platform::ReplaceFile(path, StyledText(value));
    platform::DebugFormat("wirtejsonFile 错误吗：：%d\n", error);
    return error == 0 ? 0 : 1;
}

std::string CJsonDocument::StyledText(const Json::Value& value) {
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    Json::StyledWriter writer;
    return writer.write(value) + "\n";
#pragma GCC diagnostic pop
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
