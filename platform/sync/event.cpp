#include "platform/sync/event.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <vector>

namespace platform {
namespace {

bool Readable(int fd) {
    pollfd entry{fd, POLLIN, 0};
    return ::poll(&entry, 1, 0) > 0 && (entry.revents & POLLIN) != 0;
}

}  // namespace

int64_t SteadyMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

int RemainingMs(int timeout_ms, int64_t start_ms) {
    if (timeout_ms < 0) {
        return kInfinite;
    }
    const int64_t left = start_ms + timeout_ms - SteadyMs();
    return left > 0 ? static_cast<int>(left) : 0;
}

CEvent::CEvent(Mode mode, bool initially_set) : mode_(mode), fd_(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {
    // Without an eventfd no wait could ever work; there is no sane way to continue.
    if (fd_ < 0) {
        std::abort();
    }
    if (initially_set) {
        Set();
    }
}

CEvent::~CEvent() {
    ::close(fd_);
}

void CEvent::Set() {
    const uint64_t one = 1;
    // A full counter (never reached in practice) still leaves the event set, which is all we need.
    [[maybe_unused]] ssize_t written = ::write(fd_, &one, sizeof one);
}

void CEvent::Reset() {
    uint64_t value = 0;
    [[maybe_unused]] ssize_t got = ::read(fd_, &value, sizeof value);
}

bool CEvent::TryConsume() {
    if (mode_ == Mode::kManualReset) {
        return Readable(fd_);
    }
    uint64_t value = 0;
    return ::read(fd_, &value, sizeof value) == static_cast<ssize_t>(sizeof value);
}

bool CEvent::Wait(int timeout_ms) {
    CEvent* self = this;
    return WaitAny(std::span<CEvent* const>(&self, 1), timeout_ms) == 0;
}

int CEvent::WaitAny(std::initializer_list<CEvent*> events, int timeout_ms, std::initializer_list<int> fds) {
    return WaitAny(std::span<CEvent* const>(events.begin(), events.size()), timeout_ms,
                   std::span<const int>(fds.begin(), fds.size()));
}

int CEvent::WaitAny(std::span<CEvent* const> events, int timeout_ms, std::span<const int> fds) {
    std::vector<pollfd> entries;
    entries.reserve(events.size() + fds.size());
    for (CEvent* event : events) {
        entries.push_back({event->fd_, POLLIN, 0});
    }
    for (int fd : fds) {
        entries.push_back({fd, POLLIN, 0});
    }
    const int64_t start = SteadyMs();
    for (;;) {
        for (pollfd& entry : entries) {
            entry.revents = 0;
        }
        const int ready = ::poll(entries.data(), entries.size(), RemainingMs(timeout_ms, start));
        if (ready < 0 && errno != EINTR) {
            return -1;
        }
        for (size_t i = 0; i < events.size(); ++i) {
            if ((entries[i].revents & POLLIN) != 0 && events[i]->TryConsume()) {
                return static_cast<int>(i);
            }
        }
        for (size_t i = events.size(); i < entries.size(); ++i) {
            if (entries[i].revents != 0) {
                return static_cast<int>(i);
            }
        }
        // Another waiter took an auto-reset event first, or a signal came: wait for the rest.
        if (RemainingMs(timeout_ms, start) == 0) {
            return -1;
        }
    }
}

}  // namespace platform
