#pragma once

#include "device/device_connection.h"
#include "device/device_discovery.h"

#include <vector>

// The device side of an interface's arrival and removal: which device object a slot belongs to
// and which of its channels opens or closes. The main window calls it from its handlers of
// 0x0C12 / 0x0C13 on the UI thread and adds the device bar and window steps; norvikctl and the
// tests use it directly as discovery's listener.
//
// Arrival, sub-kind 0: the device of that kind whose row equals the slot gets its command
// channel opened (wireless for kind 6) when it is not open yet. Sub-kind 0xFF: every mouse (the
// first device for the other kinds) whose notification channel is closed and whose row has the
// slot's vendor id, product id and kind opens its notification channel. Removal closes the same
// channels. Debug texts: "添加一个键盘设备" / "添加一个鼠标设备" / "添加一个鼠标垫设备" and
// "删除一个键盘设备" / "删除一个鼠标设备" / "删除一个鼠标垫设备" by kind (none for the headset).
//
// Threads: the binding thread only (discovery's listener calls).
class CDeviceBinder : public CDiscoveryListener {
public:
    // Devices are looked up in the order they were added; they must outlive the binder.
    void Add(CDeviceConnection& device);

    // The device whose command channel the slot is (or would be) bound to, or nullptr.
    CDeviceConnection* CommandDevice(const InterfaceSlot& slot) const;

    void InterfaceArrived(int slot, const InterfaceSlot& row) override;
    void InterfaceRemoved(int slot, const InterfaceSlot& row) override;

private:
    // Devices of the slot's kind family (both mouse kinds count as one).
    std::vector<CDeviceConnection*> OfKind(uint16_t kind) const;

    std::vector<CDeviceConnection*> devices_;
};
