#include "net/update_service.h"

#include "platform/text.h"

#include "net/http_client.h"
#include "platform/debug.h"
#include "platform/paths.h"
#include "profile/json_document.h"

#include <strings.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <vector>

namespace {

bool IsHttpUrl(const std::string& address) {
    const std::string_view text(address);
    return platform::EqualsNoCase(text.substr(0, 7), "http://") ||
           platform::EqualsNoCase(text.substr(0, 8), "https://");
}

// Read through the document helper, so that a huge file is refused rather than read.
std::string AddressFromFile(const std::string& path) {
    std::istringstream file(CJsonDocument().readjsonFile(path));
    std::string line;
    while (std::getline(file, line)) {
        line = std::string(platform::Trimmed(line));
        if (!line.empty() && line.front() != '#') {
            return line;
        }
    }
    return {};
}

}  // namespace

CUpdateService::CUpdateService(std::string baseAddress) : baseAddress_(platform::Trimmed(baseAddress)) {
    if (baseAddress_.empty()) {
        return;
    }
    if (!IsHttpUrl(baseAddress_)) {
        platform::DebugFormat("update service address is not an http(s) URL: %s\n", baseAddress_.c_str());
        baseAddress_.clear();
        return;
    }
    if (baseAddress_.back() != '/') {
        baseAddress_ += '/';
    }
}

CUpdateService CUpdateService::FromUserSettings() {
    const char* fromEnvironment = std::getenv("NORVIK_UPDATE_URL");
    if (fromEnvironment != nullptr && fromEnvironment[0] != '\0') {
        return CUpdateService(fromEnvironment);
    }
    return CUpdateService(AddressFromFile(ConfigFilePath()));
}

std::string CUpdateService::ConfigFilePath() {
    return platform::UserConfigFolder() + kConfigFileName;
}

std::string CUpdateService::RequestBody(const std::string& applicationKey, int version, bool hex) {
    char number[16];
    std::snprintf(number, sizeof number, hex ? "%x" : "%d", version);
    std::string body = "app_key=" + applicationKey + "&version=" + number;
    body.push_back('\0');
    return body;
}

CheckResult CUpdateService::CheckOneRow(const std::string& applicationKey, int version, bool hex,
                                        platform::CEvent* abort) const {
    if (!IsConfigured()) {
        CheckResult result;
        result.serviceConfigured = false;
        result.localVersionText = CUpdateAnswer::LocalVersionText(version, hex);
        return result;
    }
    // One byte more than the client may fill, so the answer always ends in a zero.
    std::vector<char> response(kResponseCapacity + 1, '\0');
    const std::string body = RequestBody(applicationKey, version, hex);
    const int received = CHttpClient::FormRequest("POST", UpdatesUrl(), body,
                                                  std::span<char>(response.data(), kResponseCapacity), abort);
    if (received <= 0) {
        CheckResult result;
        result.path = response.data();
        result.localVersionText = CUpdateAnswer::LocalVersionText(version, hex);
        return result;
    }
    return CUpdateAnswer::Parse(std::string_view(response.data(), static_cast<size_t>(received)), version,
                                hex);
}
