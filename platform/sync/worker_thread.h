#pragma once

#include "platform/sync/event.h"

#include <functional>
#include <memory>
#include <string>
#include <thread>

// A worker thread with the stop protocol every worker of the program follows: the thread body
// receives a manual-reset stop event and ends promptly once it is set; Stop sets the event,
// waits 1000 ms for the thread, writes the outcome text to the debug output, and when the time
// ran out keeps waiting, since a thread cannot be terminated here. Every blocking call a body
// makes must be abortable (wait on the stop event, or an abort event that the caller of Stop sets
// first), so the second wait ends.
//
// Thread safety: Start and Stop are called by the owning thread only, never from the body.

namespace platform {

class CWorkerThread {
public:
    using Body = std::function<void(CEvent& stop)>;

    static constexpr const char* kEndedText = "线程退出：：对象处于激发状态\n";
    static constexpr const char* kTimeoutText = "线程退出：：对象处于非激发状态，超时\n";
    static constexpr int kStopWaitMs = 1000;

    CWorkerThread() = default;
    ~CWorkerThread();  // Stop
    CWorkerThread(const CWorkerThread&) = delete;
    CWorkerThread& operator=(const CWorkerThread&) = delete;

    // Starts the body on a new thread with a fresh, unsignalled stop event. A running thread is
    // stopped first. False when the thread could not be created.
    bool Start(Body body);

    // Does nothing when no thread runs; otherwise the protocol above. Returns true when the
    // thread ended within the first wait.
    bool Stop();

    bool Running() const { return thread_.joinable(); }

private:
    struct Shared;
    std::shared_ptr<Shared> shared_;
    std::thread thread_;
};

}  // namespace platform
