#include "net/update_thread.h"

#include "net/firmware_list.h"
#include "net/update_round.h"
#include "platform/debug.h"

CUpdateThread::CUpdateThread(const IFirmwareVersionSource& versions, IUpdateNotifier& notifier,
                             CUpdateService service, std::chrono::milliseconds recheckInterval)
    : versions_(versions),
      notifier_(notifier),
      service_(std::move(service)),
      recheckInterval_(recheckInterval) {}

CUpdateThread::~CUpdateThread() {
    Stop();
}

void CUpdateThread::Start() {
    if (thread_.joinable() && !HasEnded()) {
        return;
    }
    Stop();
    {
        std::lock_guard lock(mutex_);
        recheckRequested_ = false;
        ended_ = false;
    }
    thread_ = std::jthread([this](std::stop_token stop) { Run(stop); });
}

void CUpdateThread::Stop() {
    if (!thread_.joinable()) {
        return;
    }
    thread_.request_stop();
    thread_.join();
}

void CUpdateThread::RequestRecheck() {
    {
        std::lock_guard lock(mutex_);
        recheckRequested_ = true;
    }
    wake_.notify_all();
}

bool CUpdateThread::HasEnded() const {
    std::lock_guard lock(mutex_);
    return ended_;
}

void CUpdateThread::Run(std::stop_token stop) {
    CFirmwareList list;
    while (!stop.stop_requested()) {
        list.Refresh(versions_);
        const RoundResult round = CUpdateRound::Run(list, service_, stop);
        if (round.verdict == RoundResult::Verdict::kStopped) {
            break;
        }
        const bool somethingNew = round.verdict == RoundResult::Verdict::kSomethingNew;
        notifier_.UpdateRoundFinished(somethingNew);
        if (somethingNew) {
            std::lock_guard lock(mutex_);
            ended_ = true;
            return;
        }
        if (!WaitForNextRound(stop)) {
            break;
        }
    }
    platform::DebugOutput("获取更新线程退出\n");
    std::lock_guard lock(mutex_);
    ended_ = true;
}

bool CUpdateThread::WaitForNextRound(std::stop_token stop) {
    std::unique_lock lock(mutex_);
    wake_.wait_for(lock, stop, recheckInterval_, [this] { return recheckRequested_; });
    recheckRequested_ = false;
    return !stop.stop_requested();
}
