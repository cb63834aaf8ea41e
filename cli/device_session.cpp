#include "cli/device_session.h"

CDeviceSession::CDeviceSession() : discovery_(binder_) {
    for (const DeviceDescriptor& row : DeviceDescriptors()) {
        const int slot = FindSlot(SupportedInterfaces(), row.vendorId, row.productId, row.kind, row.subKind);
        InterfaceSlot stored = slot >= 0 ? SupportedInterfaces()[slot] : InterfaceSlot{};
        devices_.push_back(std::make_unique<CDeviceConnection>(stored));
        binder_.Add(*devices_.back());
    }
}

bool CDeviceSession::Discover() {
    return discovery_.RunPass();
}

int CDeviceSession::FirstBound(uint16_t kind) const {
    const auto& rows = DeviceDescriptors();
    for (size_t index = 0; index < rows.size(); ++index) {
        const bool wanted = IsMouseKind(kind) ? IsMouseKind(rows[index].kind) : rows[index].kind == kind;
        if (wanted && devices_[index]->Command().IsOpen()) {
            return static_cast<int>(index);
        }
    }
    return -1;
}
