#pragma once

#include "device/light_animation.h"
#include "platform/sync/worker_thread.h"

#include <atomic>
#include <mutex>

// The devices the light synchronisation drives. The main window implements it over its pages.
// Both calls come from the synchronisation thread and may only read the channels' flags and store
// LED colours (SetLedColour), never touch a control.
class ILightSyncDevices {
public:
    virtual ~ILightSyncDevices() = default;
    // Whether some device has its command channel open and its synchronised-lighting flag set.
    virtual bool AnySynchronised() = 0;
    // Stores the frame into every LED of every device whose synchronised-lighting flag is set.
    virtual void StoreFrame(uint32_t frame) = 0;
};

// CLightSyncThread: animates one effect for every device that takes part in synchronised
// lighting. While no device takes part (or the system is suspended) it checks once a second;
// otherwise it computes a frame each time the pacing of the speed level has passed. The frames
// are stored in the devices' LED arrays only; nothing sends them.
//
// Threads: Start, Stop, SetSettings and SetRunning from the UI thread; the devices' calls come
// from the thread. Stop writes "同步灯光线程设定退出" when the thread ends on request.
class CLightSyncThread {
public:
    static constexpr int kIdleWaitMs = 1000;

    explicit CLightSyncThread(ILightSyncDevices& devices) : devices_(devices) {}
    ~CLightSyncThread() { Stop(); }
    CLightSyncThread(const CLightSyncThread&) = delete;
    CLightSyncThread& operator=(const CLightSyncThread&) = delete;

    bool Start();
    void Stop() { thread_.Stop(); }

    // The synchronised effect (filled by "same mode for all devices").
    void SetSettings(const LightAnimationSettings& settings);
    LightAnimationSettings Settings() const;
    // 0 between suspend and resume: no frames.
    void SetRunning(bool running) { running_.store(running); }
    bool IsRunning() const { return running_.load(); }

private:
    void Run(platform::CEvent& stop);

    ILightSyncDevices& devices_;
    mutable std::mutex mutex_;
    LightAnimationSettings settings_;
    LightAnimationState state_;
    std::atomic<bool> running_{true};
    platform::CWorkerThread thread_;
};
