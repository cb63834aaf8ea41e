#pragma once

#include "net/firmware_version_source.h"
#include "net/update_notifier.h"
#include "net/update_service.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

// The background update check of the main window. Started, it refreshes the firmware list and
// runs one round of checks (CUpdateRound), reports the round to the notifier, and then waits,
// blocked, for a re-check request, for the re-check interval to pass, or for Stop. A round that
// finds something new ends the thread after reporting it.
//
// Stop ends the thread promptly, also in the middle of a request, and writes the debug line
// "获取更新线程退出" when the thread was still waiting or checking.
//
// Thread safety: Start, Stop and the destructor belong to the owner's thread; RequestRecheck
// may be called from any thread. The version source and notifier are used on the update thread
// and must outlive the object.
class CUpdateThread {
public:
    static constexpr std::chrono::hours kDefaultRecheckInterval{24};

    CUpdateThread(const IFirmwareVersionSource& versions, IUpdateNotifier& notifier, CUpdateService service,
                  std::chrono::milliseconds recheckInterval = kDefaultRecheckInterval);
    ~CUpdateThread();  // Stop()
    CUpdateThread(const CUpdateThread&) = delete;
    CUpdateThread& operator=(const CUpdateThread&) = delete;

    // Starts the thread with a check pending; does nothing while it runs.
    void Start();
    // Ends the thread and waits for it.
    void Stop();
    // Asks for another round as soon as the current one (if any) is over.
    void RequestRecheck();
    // Whether the thread has ended by itself (something new found) or was never started.
    bool HasEnded() const;

private:
    void Run(std::stop_token stop);
    // Waits until stop, a re-check request or the interval; true when a round is due.
    bool WaitForNextRound(std::stop_token stop);

    const IFirmwareVersionSource& versions_;
    IUpdateNotifier& notifier_;
    const CUpdateService service_;
    const std::chrono::milliseconds recheckInterval_;
    mutable std::mutex mutex_;
    std::condition_variable_any wake_;
    bool recheckRequested_ = false;
    bool ended_ = true;
    std::jthread thread_;
};
