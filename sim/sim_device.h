#pragma once

#include "sim/fault_plan.h"

#include <json/value.h>

#include <cstdint>
#include <functional>
#include <mutex>
#include <span>
#include <string>
#include <vector>

// One simulated HID interface, as a firmware emulator implements it. The simulated bus lists the
// device's collections from its own report descriptor (through the same parser as hidraw) and
// hands it what the host writes; the device answers by sending input reports.
//
// Contract for implementers:
// - Identity() and ReportDescriptor() are constant for the device's life.
// - OnOutputReport receives each output report the host writes (report id first, as long as the
//   host wrote it), on the host's writing thread, with no bus lock held. Return false to make the
//   host's write fail. Replies go out with SendInputReport, from within OnOutputReport or later
//   from any thread (slow replies).
// - SaveState returns a JSON object that LoadState accepts; LoadState ignores what it does not
//   understand and returns false when the object was unusable (the device then keeps its factory
//   state). Both run on the thread that owns the bus, never during OnOutputReport.
// - Call NotifyStateChanged after the host changed what SaveState would return; the bus then
//   writes the state file.
// - RequestUnplug removes the device from its bus as if its cable were pulled (also from inside
//   OnOutputReport): waiting reads fail at once and later opens fail.
class CSimDevice {
public:
    struct Identity {
        uint16_t vendor_id = 0;
        uint16_t product_id = 0;
        uint16_t version = 0;
        int interface_number = -1;  // -1: no USB interface number
        std::string serial;
        // The device kind of the supported-interface row the emulator stands in for, for rows
        // that ids alone cannot tell apart (the keyboard's and the pad's); 0: by ids alone.
        uint16_t emulated_kind = 0;
    };

    // What the bus gives a device it holds; set while plugged, cleared on unplug.
    struct Link {
        std::function<void(std::vector<uint8_t>)> send_input;
        std::function<void()> state_changed;
        std::function<void()> unplug;
    };

    virtual ~CSimDevice() = default;

    virtual Identity GetIdentity() const = 0;
    virtual std::vector<uint8_t> ReportDescriptor() const = 0;
    virtual bool OnOutputReport(std::span<const uint8_t> report) = 0;
    virtual Json::Value SaveState() const = 0;
    virtual bool LoadState(const Json::Value& state) = 0;
    // The faults the device plays on purpose, or nullptr for a device that plays none.
    virtual CFaultPlan* FaultPlan() { return nullptr; }

    // Used by the bus only.
    void Attach(Link link);
    void Detach();

protected:
    // Queues an input report (report id first; without report ids the first byte is 0 and is
    // not part of the report) for every open connection of this interface. Dropped when unplugged.
    void SendInputReport(std::vector<uint8_t> report);
    void NotifyStateChanged();
    void RequestUnplug();

private:
    Link CurrentLink() const;

    mutable std::mutex link_mutex_;
    Link link_;
};
