#include "net/update_thread.h"

#include "net/firmware_list.h"
#include "net/update_round.h"
#include "platform/debug.h"

#include <climits>

CUpdateThread::CUpdateThread(const IFirmwareVersionSource& versions, IUpdateNotifier& notifier,
                             CUpdateService service, std::chrono::milliseconds recheckInterval)
    : versions_(versions),
      notifier_(notifier),
      service_(std::move(service)),
      recheckInterval_(recheckInterval) {}

CUpdateThread::~CUpdateThread() {
    Stop();
}

bool CUpdateThread::Start() {
    Stop();
    recheck_.Reset();
    ended_ = false;
    if (!worker_.Start([this](platform::CEvent& stop) { Run(stop); })) {
        ended_ = true;
        return false;
    }
    return true;
}

void CUpdateThread::Stop() {
    worker_.Stop();
}

void CUpdateThread::RequestRecheck() {
    recheck_.Set();
}

void CUpdateThread::Run(platform::CEvent& stop) {
    CFirmwareList list;
    while (!stop.TryConsume()) {
        list.Refresh(versions_);
        const RoundResult round = CUpdateRound::Run(list, service_, &stop);
        if (round.verdict == RoundResult::Verdict::kStopped) {
            break;
        }
        const bool somethingNew = round.verdict == RoundResult::Verdict::kSomethingNew;
        notifier_.UpdateRoundFinished(somethingNew);
        if (somethingNew) {
            ended_ = true;
            return;
        }
        if (!WaitForNextRound(stop)) {
            break;
        }
    }
    platform::DebugOutput(kExitText);
    ended_ = true;
}

bool CUpdateThread::WaitForNextRound(platform::CEvent& stop) {
    const auto interval = std::min<std::chrono::milliseconds::rep>(recheckInterval_.count(), INT_MAX);
    const int woken = platform::CEvent::WaitAny({&stop, &recheck_}, static_cast<int>(interval));
    recheck_.Reset();
    return woken != 0;
}
