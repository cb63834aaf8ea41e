#pragma once

#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

// Faults a simulated device plays on purpose on chosen command requests, so that tests reach the
// paths a flaky device or a pulled cable takes. Each fault is queued with the number of requests
// to let pass first; faults queued for the same request all fall on it, in the order added.
//
// Thread safety: every call may come from any thread.

enum class FaultKind : uint8_t {
    kNoReply,         // the request is carried out, the reply is lost
    kWrongEcho,       // the reply names another command in byte 3
    kStrayReply,      // a report of another command arrives before the real reply
    kStatusRejected,  // the firmware refuses the request: status 0xFE, nothing changed
    kStatusFailed,    // the firmware fails the request: status 0xFF, nothing changed
    kUnplug,          // the device disappears instead of answering
};

class CFaultPlan {
public:
    // The fault hits the request that follows `passing` untouched ones.
    void Add(FaultKind kind, unsigned passing = 0);
    // Adds the faults of a plan in text form, the form NORVIK_SIM_FAULTS takes: KIND@N separated
    // by commas, each counted from now (KIND: unplug, noreply, wrongecho, stray, rejected,
    // failed), or "none". Adds nothing and describes the first bad entry in `error` when the
    // text is not such a plan.
    bool AddFromText(std::string_view text, std::string* error = nullptr);
    void Clear();

    // Counts one request and returns the faults that fall on it.
    std::vector<FaultKind> Take();

private:
    struct Pending {
        FaultKind kind;
        uint64_t request;
    };

    std::mutex mutex_;
    std::deque<Pending> pending_;
    uint64_t requests_ = 0;
};
