#pragma once

#include <cstdint>
#include <initializer_list>
#include <span>

// The stand-in for Windows event objects, on an eventfd so that a wait can also watch file
// descriptors (a hidraw node) with poll.
//
// A manual-reset event stays set until Reset; every waiter sees it. An auto-reset event wakes
// one waiter and is cleared by that wake; a Set with nobody waiting stays until the next wait.
//
// Thread safety: every call may come from any thread at any time, also while others wait. The
// event must outlive its waiters.

namespace platform {

inline constexpr int kInfinite = -1;

class CEvent {
public:
    enum class Mode { kManualReset, kAutoReset };

    explicit CEvent(Mode mode, bool initially_set = false);
    ~CEvent();
    CEvent(const CEvent&) = delete;
    CEvent& operator=(const CEvent&) = delete;

    void Set();
    void Reset();

    // True when the event is (or becomes) set within timeout_ms (kInfinite waits without limit).
    bool Wait(int timeout_ms);

    // True when the event is set right now; consumes it when auto-reset.
    bool TryConsume();

    // Waits until one of the events is set or one of the descriptors is readable (POLLIN or an
    // error condition), at most timeout_ms. Returns the index of the first event that ended the
    // wait (consumed when auto-reset), or events.size() + i for descriptor i, or -1 when the time
    // ran out. Events are checked before descriptors, in their order.
    static int WaitAny(std::span<CEvent* const> events, int timeout_ms, std::span<const int> fds = {});
    static int WaitAny(std::initializer_list<CEvent*> events, int timeout_ms,
                       std::initializer_list<int> fds = {});

    Mode GetMode() const { return mode_; }
    // The eventfd, readable while the event is set; for callers that poll it themselves.
    int Fd() const { return fd_; }

private:
    Mode mode_;
    int fd_;
};

// Milliseconds left of a time-out that started at start_ms (a steady clock reading), never
// negative; kInfinite stays kInfinite.
int RemainingMs(int timeout_ms, int64_t start_ms);
int64_t SteadyMs();

}  // namespace platform
