#include "net/http_client.h"

#include "platform/text.h"

#include "net/curl_transfer.h"
#include "net/proxy_settings.h"
#include "platform/debug.h"

#include <fcntl.h>
#include <strings.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstring>
#include <memory>

namespace {

std::atomic<int> lastError{0};

void RecordError(int code) {
    lastError.store(code);
}

void RecordCurlError(CURLcode code, const std::string& url) {
    RecordError(static_cast<int>(code));
    platform::DebugFormat("HTTP %s: %s\n", url.c_str(), curl_easy_strerror(code));
}

struct SlistDeleter {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using HeaderList = std::unique_ptr<curl_slist, SlistDeleter>;

HeaderList FormHeaders(size_t bodyLength) {
    const std::string contentLength = "Content-Length:" + std::to_string(bodyLength);
    curl_slist* list = nullptr;
    for (const char* header : {contentLength.c_str(), "Content-Type: application/x-www-form-urlencoded",
                               "Accept:application/prs.Quorl.v1+json",
                               // An empty value removes libcurl's own header of that name.
                               "Expect:"}) {
        curl_slist* grown = curl_slist_append(list, header);
        if (grown == nullptr) {
            curl_slist_free_all(list);
            return nullptr;
        }
        list = grown;
    }
    return HeaderList(list);
}

// A URL as the update service names it may hold spaces and UTF-8 text; on the wire every byte
// outside printable ASCII, and the few printable ones a URL may not hold, are percent-encoded.
// Existing escapes and the URL's own delimiters stay.
std::string EscapedUrl(const std::string& url) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string escaped;
    escaped.reserve(url.size());
    for (const char c : url) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= 0x20 || byte >= 0x7F || std::strchr("\"<>\\^`{|}", c) != nullptr) {
            escaped += '%';
            escaped += kDigits[byte >> 4];
            escaped += kDigits[byte & 0x0F];
            continue;
        }
        escaped += c;
    }
    return escaped;
}

// Settings both operations share: time-outs, redirects (never from https to http), verified TLS.
void SetCommonOptions(CURL* curl, const std::string& url) {
    curl_easy_setopt(curl, CURLOPT_URL, EscapedUrl(url).c_str());
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, CHttpClient::kConnectTimeoutMs);
    // libcurl has no per-send or per-receive time-out; a transfer that stalls for as long ends.
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, CHttpClient::kReceiveTimeoutMs / 1000);
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    const bool secure = platform::EqualsNoCase(std::string_view(url).substr(0, 6), "https:");
    curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, secure ? "https" : "http,https");
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(curl, CURLOPT_MAXREDIRS, 5L);
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 2L);
    // An empty proxy means direct, whatever the environment says.
    curl_easy_setopt(curl, CURLOPT_PROXY, "");
}

struct ResponseSink {
    std::span<char> buffer;
    size_t used = 0;
    bool full = false;
};

size_t AppendToBuffer(char* data, size_t size, size_t count, void* user) {
    auto* sink = static_cast<ResponseSink*>(user);
    const size_t bytes = size * count;
    const size_t taken = std::min(bytes, sink->buffer.size() - sink->used);
    std::memcpy(sink->buffer.data() + sink->used, data, taken);
    sink->used += taken;
    if (taken < bytes) {
        // Returning less than offered ends the transfer: the rest has nowhere to go.
        sink->full = true;
    }
    return taken;
}

void WriteFailureMarker(std::span<char> response) {
    const size_t length = std::min(response.size(), CHttpClient::kFailureMarker.size());
    std::memcpy(response.data(), CHttpClient::kFailureMarker.data(), length);
}

struct DownloadSink {
    int fd = -1;
    int64_t length = 0;
    int64_t soFar = 0;
    bool writeFailed = false;
    const CHttpClient::ProgressCallback* progress = nullptr;
};

size_t WriteToFile(char* data, size_t size, size_t count, void* user) {
    auto* sink = static_cast<DownloadSink*>(user);
    const size_t wanted = std::min<size_t>(size * count, static_cast<size_t>(sink->length - sink->soFar));
    size_t written = 0;
    while (written < wanted) {
        const ssize_t n = ::write(sink->fd, data + written, wanted - written);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            sink->writeFailed = true;
            return 0;
        }
        written += static_cast<size_t>(n);
    }
    sink->soFar += static_cast<int64_t>(written);
    if (*sink->progress) {
        (*sink->progress)(sink->length, sink->soFar);
    }
    // Anything beyond the announced length is not part of the file.
    return written == size * count ? written : 0;
}

// The announced length from a HEAD request; -1 when the server cannot be asked or answers with
// an error status or without a length.
int64_t AnnouncedLength(const std::string& url, platform::CEvent* abort) {
    CCurlTransfer transfer;
    if (transfer.Handle() == nullptr) {
        return -1;
    }
    SetCommonOptions(transfer.Handle(), url);
    curl_easy_setopt(transfer.Handle(), CURLOPT_NOBODY, 1L);
    const CURLcode code = transfer.Perform(abort);
    if (code != CURLE_OK) {
        RecordCurlError(code, url);
        return -1;
    }
    long status = 0;
    curl_off_t length = -1;
    curl_easy_getinfo(transfer.Handle(), CURLINFO_RESPONSE_CODE, &status);
    curl_easy_getinfo(transfer.Handle(), CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
    if (status >= 400) {
        platform::DebugFormat("HTTP %s: status %ld\n", url.c_str(), status);
        return -1;
    }
    return length;
}

}  // namespace

void CHttpClient::InitialiseClientSettings() {
    CCurlTransfer::GlobalInit();
    RecordError(0);
}

int CHttpClient::LastError() {
    return lastError.load();
}

int CHttpClient::FormRequest(std::string_view method, const std::string& url, std::string_view body,
                             std::span<char> response, platform::CEvent* abort) {
    if (url.empty()) {
        RecordError(kErrorEmptyUrl);
        return -1;
    }
    const bool post = platform::EqualsNoCase(method, "POST");
    if (!post && !platform::EqualsNoCase(method, "GET")) {
        RecordError(kErrorBadMethod);
        return -1;
    }
    CCurlTransfer transfer;
    const HeaderList headers = FormHeaders(body.size());
    if (transfer.Handle() == nullptr || headers == nullptr) {
        RecordError(CURLE_FAILED_INIT);
        return -1;
    }
    CURL* curl = transfer.Handle();
    SetCommonOptions(curl, url);
    curl_easy_setopt(curl, CURLOPT_USERAGENT, kUserAgent);
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers.get());
    if (post || !body.empty()) {
        // Without POSTFIELDS libcurl would read the body from stdin.
        curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
        curl_easy_setopt(curl, CURLOPT_POSTFIELDS, body.empty() ? "" : body.data());
    }
    // Methods are case-sensitive on the wire; "post" is sent as "POST".
    curl_easy_setopt(curl, CURLOPT_CUSTOMREQUEST, post ? "POST" : "GET");
    // Our own Content-Length would go along to the redirect's target, which then waits for a
    // body that never comes: a redirected POST ends with the redirect's answer instead.
    if (post) {
        curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 0L);
    }
    if (response.size() > static_cast<size_t>(INT_MAX)) {
        response = response.first(static_cast<size_t>(INT_MAX));
    }
    ResponseSink sink{response};
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, AppendToBuffer);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &sink);

    CURLcode code = transfer.Perform(abort);
    if (!transfer.RequestWasSent() && !CCurlTransfer::IsAborted(abort)) {
        RecordCurlError(code, url);
        const std::string proxy = CProxySettings::ProxyForUrl(url);
        if (!proxy.empty()) {
            curl_easy_setopt(curl, CURLOPT_PROXY, proxy.c_str());
            sink.used = 0;
            code = transfer.Perform(abort);
        }
    }
    if (!transfer.RequestWasSent()) {
        RecordCurlError(code, url);
        WriteFailureMarker(response);
        return 0;
    }
    if (code != CURLE_OK && !sink.full) {
        RecordCurlError(code, url);
    }
    return static_cast<int>(sink.used);
}

bool CHttpClient::DownloadToFile(const std::string& url, const std::string& path,
                                 const ProgressCallback& progress, platform::CEvent* abort) {
    const auto fail = [&progress](int64_t soFar) {
        if (progress) {
            progress(0, soFar);
        }
        return false;
    };
    const int64_t length = AnnouncedLength(url, abort);
    if (length <= 0) {
        return fail(0);
    }
    CCurlTransfer transfer;
    if (transfer.Handle() == nullptr) {
        return fail(0);
    }
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        RecordError(errno);
        return fail(0);
    }
    DownloadSink sink{fd, length, 0, false, &progress};
    CURL* curl = transfer.Handle();
    SetCommonOptions(curl, url);
    curl_easy_setopt(curl, CURLOPT_FAILONERROR, 1L);
    curl_easy_setopt(curl, CURLOPT_BUFFERSIZE, 1024L);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, WriteToFile);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &sink);
    const CURLcode code = transfer.Perform(abort);
    const bool closed = ::close(fd) == 0;
    if (sink.soFar == length && closed) {
        return true;
    }
    RecordError(sink.writeFailed || !closed ? EIO
                                            : static_cast<int>(code != CURLE_OK ? code : CURLE_PARTIAL_FILE));
    platform::DebugFormat("download %s: %lld of %lld bytes\n", url.c_str(),
                          static_cast<long long>(sink.soFar), static_cast<long long>(length));
    return fail(sink.soFar);
}
