#pragma once

#include <string>
#include <string_view>

// What one row's check learned.
struct CheckResult {
    static constexpr int kStatusNone = 0;      // no valid answer
    static constexpr int kStatusNewer = 1;     // the service has a newer version
    static constexpr int kStatusUpToDate = 7;  // the row's version is the newest

    int status = kStatusNone;       // set only when the answer was valid JSON
    int deviceId = 0;               // "device_id"
    std::string path;               // "path", the download URL; "NO_LINK_SERVER" when unreachable
    std::string name;               // "name"
    std::string versionName;        // "version_name"
    std::string serverVersionText;  // "V" + "version"
    std::string localVersionText;   // "V%04x" (firmware) or "V%d" (program) of the row's version
    bool serviceConfigured = true;  // false: no service address is set, nothing was asked

    // Whether the path is the HTTP client's failure marker (in any case): the service was not reached.
    bool Unreachable() const;
};

// Reads the update service's answer to one row's check.
//
// Thread safety: any thread (no state).
class CUpdateAnswer {
public:
    // body: the bytes received, read up to the first zero byte. Never throws, whatever the body:
    // not JSON leaves the status at none and the path empty; members of another type than the
    // expected read as absent. "version" is read in base 16 when hex is set, else base 10, with
    // the leniency of strtol (leading blanks, a sign, digits up to the first other character).
    static CheckResult Parse(std::string_view body, int localVersion, bool hex);

    static std::string LocalVersionText(int version, bool hex);
};
