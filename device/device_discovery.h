#pragma once

#include "device/device_tables.h"
#include "device/hid_device.h"
#include "platform/hid/hid_backend.h"
#include "platform/sync/worker_thread.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

// What discovery tells its owner. The main window marshals these to its UI thread as the
// messages 0x0C12 (arrived) and 0x0C13 (removed) and handles them synchronously; norvikctl and
// the tests bind directly (CDeviceBinder).
//
// Calls come from the thread that runs the pass, one at a time, and the pass waits for each to
// return. A listener may read the slot list (CDeviceDiscovery::Slots) but must not run a pass.
class CDiscoveryListener {
public:
    virtual ~CDiscoveryListener() = default;
    // The slot has just been marked connected with its path.
    virtual void InterfaceArrived(int slot, const InterfaceSlot& row) = 0;
    // The slot has just been marked disconnected; row still holds the path it had.
    virtual void InterfaceRemoved(int slot, const InterfaceSlot& row) = 0;
    // Once, after the first pass (the main window comes to the front).
    virtual void FirstPassDone() {}
};

// Device discovery and hot-plug: the slot list (a working copy of the supported-interface table)
// and the pass that binds present interfaces to free slots and frees the slots of interfaces
// that left.
//
// A pass: when a slot is free and the bus may have changed since the last enumeration (the
// backend's change count moved, or a candidate could not be probed last time), enumerate; for
// each path, the pre-check (vendor, product, interface and collection from the path match a row
// and a free slot), the probe (open for reading; identity and usages from the interface), then
// binding to the first free slot that equals the probe in all eight fields (an emulator that
// names its device kind binds only to rows of that kind, since the keyboard's and the pad's rows
// share their ids). Then the existence probe of every connected slot. An idle pass therefore
// touches only the connected slots' paths and the change counter.
//
// Threads: RunPass on one thread at a time (the discovery thread, or norvikctl's thread);
// Slots from any thread. Start/Stop from the owner's thread.
class CDeviceDiscovery {
public:
    static constexpr int kPassIntervalMs = 100;

    explicit CDeviceDiscovery(
        CDiscoveryListener& listener,
        std::shared_ptr<platform::hid::CHidBackend> backend = platform::hid::ProcessBackend());
    ~CDeviceDiscovery();
    CDeviceDiscovery(const CDeviceDiscovery&) = delete;
    CDeviceDiscovery& operator=(const CDeviceDiscovery&) = delete;

    // One pass. False when the bus could not be listed (the discovery thread then ends).
    bool RunPass();

    // Runs a pass every 100 ms on the discovery thread, earlier when the bus reports a change,
    // until Stop. The stop text "抓取设备线程设定退出" is written when it ends on request.
    bool Start();
    void Stop();

    std::vector<InterfaceSlot> Slots() const;

private:
    void BindPresentInterfaces();
    // Binds the path to a free slot; false when the probe could not open it.
    bool ProbeAndBind(const std::string& path);
    bool PassesPreCheck(const std::string& path) const;
    void ProbeConnectedSlots();
    void Run(platform::CEvent& stop);

    CDiscoveryListener& listener_;
    std::shared_ptr<platform::hid::CHidBackend> backend_;
    HidDevice enumerator_;
    HidDevice probe_;
    mutable std::mutex slotsMutex_;  // guards slots_ against readers on other threads
    std::vector<InterfaceSlot> slots_;
    bool enumerated_ = false;
    bool retry_ = false;  // a candidate could not be probed: enumerate again next pass
    uint64_t changeCount_ = 0;
    bool firstPassDone_ = false;
    platform::CWorkerThread thread_;
};
