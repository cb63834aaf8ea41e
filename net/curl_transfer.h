#pragma once

#include <curl/curl.h>

#include <stop_token>

// One libcurl transfer: owns an easy handle that the caller configures, and runs it until it
// ends or until the caller's stop token is set, whichever comes first. A stop request wakes the
// transfer at once, even while it waits for a connection or for data.
//
// Thread safety: one thread uses an object; the stop token may be set from any thread.
class CCurlTransfer {
public:
    // Handle() is null when libcurl could not create a handle.
    CCurlTransfer();
    ~CCurlTransfer();
    CCurlTransfer(const CCurlTransfer&) = delete;
    CCurlTransfer& operator=(const CCurlTransfer&) = delete;

    CURL* Handle() const { return easy_; }

    // Runs the configured transfer. CURLE_ABORTED_BY_CALLBACK when stop was requested.
    // May be called again after changing options (the handle's options stay).
    CURLcode Perform(std::stop_token stop);

    // Whether the last Perform sent at least the request line and headers.
    bool RequestWasSent() const;

    // libcurl's process-wide initialisation; safe to call any number of times from any thread.
    static void GlobalInit();

private:
    CURL* easy_ = nullptr;
};
