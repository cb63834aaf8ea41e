#include "platform/hid/hidraw_connection.h"

#include "platform/hid/report_filter.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>

namespace platform::hid {
namespace {

// hidraw delivers at most HID_MAX_BUFFER_SIZE bytes per report.
constexpr size_t kMaxReport = 16384;

IoResult ErrorResult(int error) {
    return error == ENODEV || error == EIO || error == ESHUTDOWN || error == ECONNRESET ? IoResult::kClosed
                                                                                        : IoResult::kError;
}

}  // namespace

CHidrawConnection::CHidrawConnection(int fd, HidEntryInfo info)
    : fd_(fd), info_(std::move(info)), report_(kMaxReport) {}

CHidrawConnection::~CHidrawConnection() {
    ::close(fd_);
}

IoResult CHidrawConnection::Read(uint8_t* buffer, size_t length, int timeout_ms, CEvent& abort,
                                 size_t& transferred) {
    transferred = 0;
    std::vector<uint8_t>& report = report_;
    const int64_t start = SteadyMs();
    for (;;) {
        if (closed_.TryConsume()) {
            return IoResult::kClosed;
        }
        const int woke = CEvent::WaitAny({&abort, &closed_}, RemainingMs(timeout_ms, start), {fd_});
        if (woke == 0) {
            return IoResult::kAborted;
        }
        if (woke == 1) {
            return IoResult::kClosed;
        }
        if (woke < 0) {
            return IoResult::kTimeout;
        }
        const ssize_t got = ::read(fd_, report.data(), report.size());
        if (got < 0) {
            if (errno == EAGAIN || errno == EINTR) {
                continue;
            }
            return ErrorResult(errno);
        }
        if (got == 0) {
            return IoResult::kClosed;  // hidraw never delivers an empty report: end of the node
        }
        const std::span<const uint8_t> bytes(report.data(), static_cast<size_t>(got));
        if (!CollectionAcceptsReport(info_.collection, bytes[0])) {
            continue;  // another collection's report on the same node
        }
        transferred = CopyInputReport(info_.collection, bytes, buffer, length);
        return IoResult::kOk;
    }
}

IoResult CHidrawConnection::Write(const uint8_t* buffer, size_t length, int timeout_ms, CEvent& abort,
                                  size_t& transferred) {
    transferred = 0;
    if (length == 0) {
        return IoResult::kError;
    }
    // hidraw takes the Windows form as it is: report id first, 0 for unnumbered reports. The node
    // is non-blocking, so a wedged device makes the write wait here, where the time-out, the
    // abort event and Shutdown can end it, instead of inside the kernel with the I/O lock held.
    const int64_t start = SteadyMs();
    for (;;) {
        if (abort.TryConsume()) {
            return IoResult::kAborted;
        }
        if (closed_.TryConsume()) {
            return IoResult::kClosed;
        }
        const ssize_t sent = ::write(fd_, buffer, length);
        if (sent >= 0) {
            transferred = static_cast<size_t>(sent);
            return IoResult::kOk;
        }
        if (errno != EAGAIN && errno != EINTR) {
            return ErrorResult(errno);
        }
        const IoResult waited = WaitWritable(RemainingMs(timeout_ms, start), abort);
        if (waited != IoResult::kOk) {
            return waited;
        }
    }
}

IoResult CHidrawConnection::WaitWritable(int timeout_ms, CEvent& abort) {
    if (timeout_ms == 0) {
        return IoResult::kTimeout;
    }
    pollfd fds[3] = {{abort.Fd(), POLLIN, 0}, {closed_.Fd(), POLLIN, 0}, {fd_, POLLOUT, 0}};
    const int ready = ::poll(fds, 3, timeout_ms);
    if (ready < 0) {
        return errno == EINTR ? IoResult::kOk : IoResult::kError;
    }
    if (ready == 0) {
        return IoResult::kTimeout;
    }
    if ((fds[2].revents & (POLLERR | POLLHUP)) != 0 && (fds[2].revents & POLLOUT) == 0) {
        return IoResult::kClosed;
    }
    return IoResult::kOk;  // the loop consumes the events and retries the write
}

}  // namespace platform::hid
