#include "net/curl_transfer.h"

#include <mutex>

namespace {

CURLcode FinishedResult(CURLM* multi) {
    int queued = 0;
    while (CURLMsg* message = curl_multi_info_read(multi, &queued)) {
        if (message->msg == CURLMSG_DONE) {
            return message->data.result;
        }
    }
    return CURLE_RECV_ERROR;
}

}  // namespace

CCurlTransfer::CCurlTransfer() {
    GlobalInit();
    easy_ = curl_easy_init();
}

CCurlTransfer::~CCurlTransfer() {
    if (easy_ != nullptr) {
        curl_easy_cleanup(easy_);
    }
}

void CCurlTransfer::GlobalInit() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

bool CCurlTransfer::IsAborted(platform::CEvent* abort) {
    return abort != nullptr && abort->TryConsume();
}

CURLcode CCurlTransfer::Perform(platform::CEvent* abort) {
    CURLM* multi = curl_multi_init();
    if (multi == nullptr) {
        return CURLE_OUT_OF_MEMORY;
    }
    curl_multi_add_handle(multi, easy_);
    CURLcode result = CURLE_ABORTED_BY_CALLBACK;
    // The multi interface can wait on the abort event beside the transfer's own sockets; the easy
    // interface cannot be woken.
    curl_waitfd abortFd{abort != nullptr ? abort->Fd() : -1, CURL_WAIT_POLLIN, 0};
    while (!IsAborted(abort)) {
        int running = 0;
        if (curl_multi_perform(multi, &running) != CURLM_OK) {
            result = CURLE_FAILED_INIT;
            break;
        }
        if (running == 0) {
            result = FinishedResult(multi);
            break;
        }
        abortFd.revents = 0;
        curl_multi_poll(multi, abort != nullptr ? &abortFd : nullptr, abort != nullptr ? 1 : 0, 1000,
                        nullptr);
    }
    curl_multi_remove_handle(multi, easy_);
    curl_multi_cleanup(multi);
    return result;
}

bool CCurlTransfer::RequestWasSent() const {
    long requestBytes = 0;
    curl_easy_getinfo(easy_, CURLINFO_REQUEST_SIZE, &requestBytes);
    return requestBytes > 0;
}
