#include "device/device_binder.h"

#include "platform/debug.h"

namespace {

bool SameFamily(uint16_t a, uint16_t b) {
    return a == b || (IsMouseKind(a) && IsMouseKind(b));
}

bool SameDevice(const InterfaceSlot& row, const InterfaceSlot& slot) {
    return row.vendorId == slot.vendorId && row.productId == slot.productId &&
           SameFamily(row.kind, slot.kind);
}

void WriteKindText(uint16_t kind, bool arrived) {
    if (kind == kKindKeyboard) {
        platform::DebugOutput(arrived ? "添加一个键盘设备\n" : "删除一个键盘设备\n");
    } else if (IsMouseKind(kind)) {
        platform::DebugOutput(arrived ? "添加一个鼠标设备\n" : "删除一个鼠标设备\n");
    } else if (kind == kKindMousePad) {
        platform::DebugOutput(arrived ? "添加一个鼠标垫设备\n" : "删除一个鼠标垫设备\n");
    }
}

}  // namespace

void CDeviceBinder::Add(CDeviceConnection& device) {
    devices_.push_back(&device);
}

std::vector<CDeviceConnection*> CDeviceBinder::OfKind(uint16_t kind) const {
    std::vector<CDeviceConnection*> found;
    for (CDeviceConnection* device : devices_) {
        if (SameFamily(device->Kind(), kind)) {
            found.push_back(device);
        }
    }
    return found;
}

CDeviceConnection* CDeviceBinder::CommandDevice(const InterfaceSlot& slot) const {
    for (CDeviceConnection* device : OfKind(slot.kind)) {
        if (device->Row().SameInterface(slot)) {
            return device;
        }
    }
    return nullptr;
}

void CDeviceBinder::InterfaceArrived(int /*slot*/, const InterfaceSlot& row) {
    WriteKindText(row.kind, true);
    if (row.subKind == kSubKindCommand) {
        CDeviceConnection* device = CommandDevice(row);
        if (device != nullptr && !device->Command().IsOpen()) {
            device->OpenCommandChannel(row);
        }
        // The headset has one interface: its change notifications arrive beside the commands.
        if (device != nullptr && row.kind == kKindHeadset) {
            device->OpenNotificationChannel(row.path);
        }
        return;
    }
    for (CDeviceConnection* device : OfKind(row.kind)) {
        if (!device->Notification().IsOpen() && SameDevice(device->Row(), row)) {
            device->OpenNotificationChannel(row.path);
            if (!IsMouseKind(row.kind)) {
                return;
            }
        }
    }
}

void CDeviceBinder::InterfaceRemoved(int /*slot*/, const InterfaceSlot& row) {
    WriteKindText(row.kind, false);
    if (row.subKind == kSubKindCommand) {
        if (CDeviceConnection* device = CommandDevice(row)) {
            device->CloseCommandChannel();
            if (row.kind == kKindHeadset) {
                device->CloseNotificationChannel();
            }
        }
        return;
    }
    for (CDeviceConnection* device : OfKind(row.kind)) {
        if (device->Notification().IsOpen() && SameDevice(device->Row(), row)) {
            device->CloseNotificationChannel();
            if (!IsMouseKind(row.kind)) {
                return;
            }
        }
    }
}
