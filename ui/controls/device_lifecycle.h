#pragma once

// IDeviceLifecycle: what a device bar item (CDeviceOptionUI) calls on the device it stands for when
// its timers 1000 to 1005 fire. The device object implements it; the item holds a non-owning
// pointer, set by the main window when it links option and page.
//
// Thread: the UI thread only (the item's timers run there).
class IDeviceLifecycle {
public:
    virtual ~IDeviceLifecycle() = default;

    // Timer 1001: the device appeared 500 ms ago; full read-back.
    virtual void OnConnected() = 0;
    // Timer 1002: the device announced a change of its own settings 500 ms ago.
    virtual void Resync() = 0;
    // Timers 1003 and 1004: hooks that do nothing in every device class.
    virtual void OnTimerHook1003() {}
    virtual void OnTimerHook1004() {}
    // Timer 1005, every 5000 ms while the device reports its power state.
    virtual void PeriodicPoll() = 0;

    // Whether the command channel is open (timers 1000 and 1005 re-arm only then).
    virtual bool IsCommandChannelOpen() const = 0;
    // Whether the device's page row reports its power state (starts timer 1005).
    virtual bool ReportsPowerState() const = 0;
};
