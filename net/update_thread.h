#pragma once

#include "net/firmware_version_source.h"
#include "net/update_notifier.h"
#include "net/update_service.h"
#include "platform/sync/event.h"
#include "platform/sync/worker_thread.h"

#include <atomic>
#include <chrono>

// The background update check of the main window, on a platform::CWorkerThread. Started, it
// refreshes the firmware list and runs one round of checks (CUpdateRound), reports the round to
// the notifier, and then waits, blocked on its events, for a re-check request (a manual-reset
// event, reset when seen), for the re-check interval to pass, or for its stop event. A round that
// finds something new ends the thread after reporting it.
//
// Stop follows the worker thread protocol and ends the thread promptly, also in the middle of a
// request; a thread that was still waiting or checking writes the debug line "获取更新线程退出".
//
// Thread safety: Start, Stop and the destructor belong to the owner's thread; RequestRecheck and
// HasEnded may be called from any thread. The version source and the notifier are used on the
// update thread and must outlive the object.
class CUpdateThread {
public:
    static constexpr std::chrono::hours kDefaultRecheckInterval{24};
    static constexpr const char* kExitText = "获取更新线程退出\n";

    CUpdateThread(const IFirmwareVersionSource& versions, IUpdateNotifier& notifier, CUpdateService service,
                  std::chrono::milliseconds recheckInterval = kDefaultRecheckInterval);
    ~CUpdateThread();  // Stop()
    CUpdateThread(const CUpdateThread&) = delete;
    CUpdateThread& operator=(const CUpdateThread&) = delete;

    // Starts the thread with a check pending (a running thread is stopped first).
    bool Start();
    // Ends the thread and waits for it.
    void Stop();
    // Asks for another round as soon as the current one (if any) is over.
    void RequestRecheck();
    // Whether the thread has ended by itself (something new found), was stopped or never started.
    bool HasEnded() const { return ended_.load(); }

private:
    void Run(platform::CEvent& stop);
    // Waits for stop, a re-check request or the interval; true when a round is due.
    bool WaitForNextRound(platform::CEvent& stop);

    const IFirmwareVersionSource& versions_;
    IUpdateNotifier& notifier_;
    const CUpdateService service_;
    const std::chrono::milliseconds recheckInterval_;
    platform::CEvent recheck_{platform::CEvent::Mode::kManualReset};
    std::atomic<bool> ended_{true};
    platform::CWorkerThread worker_;
};
