#include "device/device_connection.h"

CDeviceConnection::CDeviceConnection(const InterfaceSlot& row,
                                     std::shared_ptr<platform::hid::CHidBackend> backend)
    : row_(row), command_(backend), notification_(backend) {}

CDeviceConnection::~CDeviceConnection() {
    sync_.Stop();
    notification_.Close();
    command_.Close();
}

bool CDeviceConnection::OpenCommandChannel(const InterfaceSlot& slot) {
    if (!command_.Open(slot.path, slot.kind == kKindWirelessMouse)) {
        return false;
    }
    row_ = slot;
    return true;
}

void CDeviceConnection::CloseCommandChannel() {
    command_.Close();
}

void CDeviceConnection::OpenNotificationChannel(const std::string& path) {
    if (notification_.IsOpen()) {
        return;
    }
    notification_.Open(path);
    sync_.Start();
}

void CDeviceConnection::CloseNotificationChannel() {
    if (!notification_.IsOpen()) {
        return;
    }
    sync_.Stop();
    notification_.Close();
}

void CDeviceConnection::ReopenNotificationChannel(const std::string& path) {
    CloseNotificationChannel();
    OpenNotificationChannel(path);
}
