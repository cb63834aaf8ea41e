#pragma once

#include "platform/sync/event.h"

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

// The program's HTTP client: two blocking operations for worker threads (the update thread, the
// settings window's download threads). Neither touches the UI, reuses a connection or retries
// beyond the proxy fallback below. Certificates of https servers are verified. URLs are sent with
// spaces, non-ASCII bytes and other bytes a URL may not hold percent-encoded. Redirects are
// followed (at most 5) except for a POST, and never from https to http.
//
// FormRequest sends a URL-encoded form and collects the response body into the caller's buffer.
//   - Headers: "User-Agent: WinHTTP Client/1.0", "Content-Length:<n>" (also 0 with a GET),
//     "Content-Type: application/x-www-form-urlencoded", "Accept:application/prs.Quorl.v1+json".
//   - Time-outs: 60 s to resolve and connect; a send or a receive that makes no progress for
//     30 s ends the exchange.
//   - The first attempt goes direct. When it cannot send the request at all, the user's proxy
//     (CProxySettings) is tried once.
//   - Result: the number of body bytes written from the start of the buffer (HTTP error statuses
//     are bodies like any other; a body longer than the buffer is cut at its capacity);
//     0 with "NO_LINK_SERVER" (14 bytes, no terminating zero, cut to the capacity) at the start
//     of the buffer when no request could be sent; -1 for an empty URL (last error 3), a method
//     other than GET or POST in any case (last error 87), or no HTTP session.
//
// DownloadToFile streams a URL into a file (replaced, mode 0644: never made executable).
//   - It asks for the length with a HEAD request, then reads the body with a GET, direct.
//   - Progress reports (length, bytes so far) after each piece of at most 1024 bytes; a failure
//     reports (0, bytes so far) once and returns false: a refused connection, an error status,
//     no announced length, a server that stops before the announced length, a write error, or
//     abort. A partly written file stays.
//
// LastError keeps the most recent failure of any request of any thread: 3, 87, or a libcurl
// error code (CURLcode).
//
// Thread safety: every call may come from any thread; setting the abort event (manual-reset, may
// be null) ends a running request promptly (FormRequest then answers as for a request that could not be sent,
// or with the bytes received so far).
class CHttpClient {
public:
    static constexpr std::string_view kFailureMarker = "NO_LINK_SERVER";
    static constexpr const char* kUserAgent = "WinHTTP Client/1.0";
    static constexpr int kErrorEmptyUrl = 3;
    static constexpr int kErrorBadMethod = 87;
    static constexpr long kConnectTimeoutMs = 60000;
    static constexpr long kSendTimeoutMs = 30000;
    static constexpr long kReceiveTimeoutMs = 30000;

    using ProgressCallback = std::function<void(int64_t total, int64_t soFar)>;

    // Sets the last error to 0 and prepares libcurl; the requests call it themselves when needed.
    static void InitialiseClientSettings();
    static int LastError();

    static int FormRequest(std::string_view method, const std::string& url, std::string_view body,
                           std::span<char> response, platform::CEvent* abort = nullptr);

    static bool DownloadToFile(const std::string& url, const std::string& path,
                               const ProgressCallback& progress, platform::CEvent* abort = nullptr);
};
