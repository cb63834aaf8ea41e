#include "platform/sync/worker_thread.h"

#include "platform/debug.h"

#include <system_error>

namespace platform {

struct CWorkerThread::Shared {
    CEvent stop{CEvent::Mode::kManualReset};
    CEvent ended{CEvent::Mode::kManualReset};
};

CWorkerThread::~CWorkerThread() {
    Stop();
}

bool CWorkerThread::Start(Body body) {
    Stop();
    auto shared = std::make_shared<Shared>();
    try {
        thread_ = std::thread([shared, body = std::move(body)] {
            body(shared->stop);
            shared->ended.Set();
        });
    } catch (const std::system_error&) {
        return false;
    }
    shared_ = std::move(shared);
    return true;
}

bool CWorkerThread::Stop() {
    if (!thread_.joinable()) {
        return false;
    }
    shared_->stop.Set();
    const bool ended = shared_->ended.Wait(kStopWaitMs);
    DebugOutput(ended ? kEndedText : kTimeoutText);
    thread_.join();
    shared_.reset();
    return ended;
}

}  // namespace platform
