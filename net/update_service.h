#pragma once

#include "net/update_answer.h"
#include "platform/sync/event.h"

#include <string>

// The maker's update service: where it is, and the check of one catalogue row.
//
// The base address (an http or https URL ending in "/api/") comes from the environment variable
// NORVIK_UPDATE_URL, else from the first line of UserConfigFolder() + kConfigFileName that is
// neither empty nor a "#" comment. Without either, or with a value that is not an http(s) URL,
// no service is configured and CheckOneRow asks nothing.
//
// Thread safety: a configured object is immutable; any thread may check through it.
class CUpdateService {
public:
    static constexpr const char* kConfigFileName = "Norvik 400100 Gaming Mouse/update.conf";
    static constexpr size_t kResponseCapacity = 102400;

    // baseAddress "" (or not http/https) means no service; a missing final "/" is added.
    explicit CUpdateService(std::string baseAddress);

    // The address from the environment or the user's configuration file, as described above.
    static CUpdateService FromUserSettings();
    static std::string ConfigFilePath();

    bool IsConfigured() const { return !baseAddress_.empty(); }
    const std::string& BaseAddress() const { return baseAddress_; }
    std::string UpdatesUrl() const { return baseAddress_ + "updates"; }

    // Asks the service about one row: a POST of RequestBody to UpdatesUrl().
    //   - no service configured: serviceConfigured false, nothing sent;
    //   - nothing received: the path is the response buffer's text ("NO_LINK_SERVER" when the
    //     service could not be reached, else empty);
    //   - otherwise the answer as CUpdateAnswer::Parse reads it.
    // Blocks for up to the HTTP client's time-outs; setting the abort event ends it early.
    CheckResult CheckOneRow(const std::string& applicationKey, int version, bool hex,
                            platform::CEvent* abort = nullptr) const;

    // "app_key=<key>&version=<version in hex or decimal>" followed by its terminating zero byte,
    // which the service counts as part of the body.
    static std::string RequestBody(const std::string& applicationKey, int version, bool hex);

private:
    std::string baseAddress_;
};
