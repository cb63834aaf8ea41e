#pragma once

#include "device/command_channel.h"
#include "device/device_sync_thread.h"
#include "device/device_tables.h"

#include <memory>
#include <string>

// What a device object needs to be reached: its command channel on the vendor collection, its
// notification channel on the consumer-control collection with the device sync thread that
// reads it, and the slot row it was matched with. The device object (page and driver) owns one
// and lives across any number of connections; discovery's binder opens and closes the channels.
//
// Threads: the opens and closes run on the binding thread (the UI thread in the program); the
// channels themselves are shared with the device's other threads through their locks.
class CDeviceConnection {
public:
    // row: the slot row of the device's command interface (sets kind and sub-kind). The
    // channels use the given bus, by default the process bus.
    explicit CDeviceConnection(const InterfaceSlot& row, std::shared_ptr<platform::hid::CHidBackend> backend =
                                                             platform::hid::ProcessBackend());
    ~CDeviceConnection();
    CDeviceConnection(const CDeviceConnection&) = delete;
    CDeviceConnection& operator=(const CDeviceConnection&) = delete;

    CommandChannel& Command() { return command_; }
    CommandChannel& Notification() { return notification_; }
    CDeviceSyncThread& SyncThread() { return sync_; }

    const InterfaceSlot& Row() const { return row_; }
    void SetRow(const InterfaceSlot& row) { row_ = row; }
    uint16_t Kind() const { return row_.kind; }

    // Opens the command channel on the slot's path (read and write, shared), with the wireless
    // flag for a mouse behind a receiver (kind 6), and stores the slot as the device's row.
    // False when the interface could not be opened (the row stays).
    bool OpenCommandChannel(const InterfaceSlot& slot);
    void CloseCommandChannel();

    // When the notification channel is not open: opens it on the path and starts the sync
    // thread (also when the open failed, as the thread waits for an open channel).
    void OpenNotificationChannel(const std::string& path);
    // When open: stops the sync thread, then closes the channel.
    void CloseNotificationChannel();
    void ReopenNotificationChannel(const std::string& path);

private:
    InterfaceSlot row_;
    CommandChannel command_;
    CommandChannel notification_;
    CDeviceSyncThread sync_{notification_};
};
