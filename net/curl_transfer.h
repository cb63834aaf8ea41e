#pragma once

#include "platform/sync/event.h"

#include <curl/curl.h>

// One libcurl transfer: owns an easy handle that the caller configures, and runs it until it
// ends or until the caller's abort event (manual-reset) is set, whichever comes first. Setting the
// event wakes the transfer at once, even while it waits for a connection or for data.
//
// Thread safety: one thread uses an object; the abort event may be set from any thread.
class CCurlTransfer {
public:
    // Handle() is null when libcurl could not create a handle.
    CCurlTransfer();
    ~CCurlTransfer();
    CCurlTransfer(const CCurlTransfer&) = delete;
    CCurlTransfer& operator=(const CCurlTransfer&) = delete;

    CURL* Handle() const { return easy_; }

    // Runs the configured transfer (abort may be null). CURLE_ABORTED_BY_CALLBACK when the abort
    // event was set. May be called again after changing options (the handle's options stay).
    CURLcode Perform(platform::CEvent* abort);

    // Whether the abort event (which may be null) is set.
    static bool IsAborted(platform::CEvent* abort);

    // Whether the last Perform sent at least the request line and headers.
    bool RequestWasSent() const;

    // libcurl's process-wide initialisation; safe to call any number of times from any thread.
    static void GlobalInit();

private:
    CURL* easy_ = nullptr;
};
