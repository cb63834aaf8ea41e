#pragma once

#include "device/command_channel.h"
#include "platform/sync/worker_thread.h"

#include <functional>

// The device sync thread: reads the consumer-control collection of a device (its notification
// channel) and turns usage 0x0401, which the mouse sends after its own buttons changed a setting,
// into a request to re-read the device 500 ms later (the keyboard asks for 100 ms). The keyboard
// also reports its keys for the reactive light modes: 0x0500 + k when firmware key k is pressed,
// 0x0600 + k when it is released. Requests and key events go to callbacks on this thread; the
// page arms its timer there (it must not touch controls from here).
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
    static constexpr int kKeyboardResyncDelayMs = 100;
    static constexpr uint16_t kKeyPressedUsage = 0x0500;
    static constexpr uint16_t kKeyReleasedUsage = 0x0600;
    static constexpr int kKeyPressed = 1;
    static constexpr int kKeyReleased = 2;

    // delayMs: when the device should be read again, counted from now.
    using ResyncRequest = std::function<void(int delayMs)>;
    // firmwareKey 0..255; state kKeyPressed or kKeyReleased.
    using KeyEvent = std::function<void(int firmwareKey, int state)>;

    explicit CDeviceSyncThread(CommandChannel& notification);
    ~CDeviceSyncThread();
    CDeviceSyncThread(const CDeviceSyncThread&) = delete;
    CDeviceSyncThread& operator=(const CDeviceSyncThread&) = delete;

    // Set before Start; called on the sync thread.
    void SetResyncRequest(ResyncRequest request) { request_ = std::move(request); }
    void SetResyncDelay(int delayMs) { delayMs_ = delayMs; }
    int ResyncDelay() const { return delayMs_; }
    void SetKeyEvent(KeyEvent event) { keyEvent_ = std::move(event); }

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
    KeyEvent keyEvent_;
    int delayMs_ = kResyncDelayMs;
    platform::CWorkerThread thread_;
};
