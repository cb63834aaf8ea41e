#pragma once

#include "device/device_binder.h"
#include "device/device_connection.h"
#include "device/device_discovery.h"
#include "device/device_tables.h"

#include <memory>
#include <vector>

// norvikctl's view of the devices: one connection per device descriptor row, as the main window
// creates one page per row, bound by one discovery pass on the process bus.
//
// Threads: norvikctl's main thread only.
class CDeviceSession {
public:
    CDeviceSession();

    // One discovery pass; false when the bus could not be listed.
    bool Discover();

    std::vector<InterfaceSlot> Slots() const { return discovery_.Slots(); }
    // The connection of a descriptor row.
    CDeviceConnection& Device(size_t descriptorRow) { return *devices_[descriptorRow]; }

    // The descriptor row of the first device of the kind whose command channel is open, or -1;
    // either mouse kind stands for a mouse.
    int FirstBound(uint16_t kind) const;

private:
    std::vector<std::unique_ptr<CDeviceConnection>> devices_;
    CDeviceBinder binder_;
    CDeviceDiscovery discovery_;
};
