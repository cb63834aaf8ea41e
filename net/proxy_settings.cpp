#include "net/proxy_settings.h"

#include "platform/text.h"

#include <curl/curl.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <sstream>

namespace {

std::string Environment(const char* lowerName, const char* upperName) {
    for (const char* name : {lowerName, upperName}) {
        const char* value = std::getenv(name);
        if (value != nullptr && value[0] != '\0') {
            return value;
        }
    }
    return {};
}

std::string HostOf(const std::string& url) {
    CURLU* parsed = curl_url();
    if (parsed == nullptr) {
        return {};
    }
    std::string host;
    char* part = nullptr;
    if (curl_url_set(parsed, CURLUPART_URL, url.c_str(), 0) == CURLUE_OK &&
        curl_url_get(parsed, CURLUPART_HOST, &part, 0) == CURLUE_OK) {
        host = part;
        curl_free(part);
    }
    curl_url_cleanup(parsed);
    // IPv6 literals come back in brackets; no_proxy lists them without.
    if (host.size() > 2 && host.front() == '[' && host.back() == ']') {
        host = host.substr(1, host.size() - 2);
    }
    return platform::ToLower(host);
}

bool CoversHost(const std::string& host, std::string entry) {
    if (!entry.empty() && entry.front() == '.') {
        entry.erase(0, 1);
    }
    if (entry.empty()) {
        return false;
    }
    if (host == entry) {
        return true;
    }
    return host.size() > entry.size() && host.ends_with(entry) && host[host.size() - entry.size() - 1] == '.';
}

}  // namespace

std::string CProxySettings::ProxyForUrl(const std::string& url) {
    const bool secure = platform::EqualsNoCase(std::string_view(url).substr(0, 8), "https://");
    const std::string proxy =
        secure ? Environment("https_proxy", "HTTPS_PROXY") : Environment("http_proxy", "HTTP_PROXY");
    if (proxy.empty()) {
        return {};
    }
    if (IsBypassed(HostOf(url), Environment("no_proxy", "NO_PROXY"))) {
        return {};
    }
    return proxy;
}

bool CProxySettings::IsBypassed(const std::string& host, const std::string& noProxyList) {
    std::istringstream entries(noProxyList);
    std::string entry;
    while (std::getline(entries, entry, ',')) {
        entry = platform::ToLower(platform::Trimmed(entry));
        if (entry == "*" || CoversHost(platform::ToLower(host), entry)) {
            return true;
        }
    }
    return false;
}
