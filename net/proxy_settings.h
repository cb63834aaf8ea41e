#pragma once

#include <string>

// The user's proxy settings, which on Linux are the standard environment variables:
// http_proxy / HTTP_PROXY for http URLs, https_proxy / HTTPS_PROXY for https URLs (the lower-case
// form wins when both are set), and no_proxy / NO_PROXY, a comma-separated list of host names
// or domain suffixes that go direct ("*" bypasses every host). Automatic configuration scripts
// have no standard on Linux and are not consulted.
//
// Thread safety: any thread; the environment is read on every call.
class CProxySettings {
public:
    // The proxy for this absolute URL, or "" when none is set or the host is bypassed.
    static std::string ProxyForUrl(const std::string& url);

    // Whether a no_proxy list names the host (case-insensitive; "example.org" and ".example.org"
    // both cover "example.org" and its sub-domains).
    static bool IsBypassed(const std::string& host, const std::string& noProxyList);
};
