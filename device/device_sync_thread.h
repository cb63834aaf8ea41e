#pragma once

#include "device/command_channel.h"
#include "platform/sync/worker_thread.h"

#include <functional>

// The device sync thread: reads the consumer-control collection of a device (its notification
// channel) and turns usage 0x0401, which the mouse sends after its own buttons changed a setting,
// into a request to re-read the device 500 ms later. The request goes to a callback on this
// thread; the page arms its timer there (it must not touch controls from here).
//
// Debug texts: "接收到自动添加设备的同步信息要求  TEST" for every decoded report,
// "接收到自动添加设备的同步信息要求" for usage 0x0401, "MS设备同步线程设定退出" when the thread
// ends, and the worker thread's stop texts.
//
// Threads: Start and Stop from the owner's thread (the UI thread, or discovery's binder). Stop
// cuts the thread's waiting read short through the interface's abort event, so it never hangs.
class CDeviceSyncThread {
public:
    static constexpr uint16_t kResyncUsage = 0x0401;
    static constexpr int kResyncDelayMs = 500;

    // delayMs: when the device should be read again, counted from now.
    using ResyncRequest = std::function<void(int delayMs)>;

    explicit CDeviceSyncThread(CommandChannel& notification);
    ~CDeviceSyncThread();
    CDeviceSyncThread(const CDeviceSyncThread&) = delete;
    CDeviceSyncThread& operator=(const CDeviceSyncThread&) = delete;

    // Set before Start; called on the sync thread.
    void SetResyncRequest(ResyncRequest request) { request_ = std::move(request); }

    // Stops a running thread first, cutting its read short.
    bool Start();
    void Stop();
    bool Running() const { return thread_.Running(); }

private:
    static constexpr int kIdleWaitMs = 100;  // while the channel is closed or a read failed

    void Run(platform::CEvent& stop);
    void HandleReport(const uint8_t* report, size_t length);

    CommandChannel& notification_;
    ResyncRequest request_;
    platform::CWorkerThread thread_;
};
