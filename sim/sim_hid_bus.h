#pragma once

#include "platform/hid/hid_backend.h"
#include "sim/sim_device.h"

#include <json/value.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

// The simulated HID bus: a CHidBackend whose entries are the collections of the plugged
// simulated devices, parsed from their own report descriptors. Devices can be plugged and
// unplugged while the program runs; unplugging wakes blocked reads of the device with kClosed.
//
// Paths have the form "sim#vid_320f&pid_21fd&mi_01&col04#<name>.<plug number>": each plug-in gets
// a new number, so the existence probe tells a replugged device from the old one.
//
// With a state file, each device's state is loaded at Plug from the member under its name and
// the file is rewritten (through CJsonDocument) whenever a device reports a state change, at
// Unplug and when the bus is destroyed. A device whose member is absent or unusable starts in its
// factory state.
//
// Own the bus through a shared_ptr: devices reach it through weak references, so a bus that is
// not shared cannot save states on their changes or let them unplug themselves.
//
// Thread safety: every operation from any thread.
class CSimHidBus : public platform::hid::CHidBackend, public std::enable_shared_from_this<CSimHidBus> {
public:
    // Each open connection queues at most this many input reports of its interface (of every
    // collection, as hidraw does); a report that finds the queue full is lost.
    static constexpr size_t kQueuedReports = 64;

    CSimHidBus();
    ~CSimHidBus() override;

    // Uses FILE for the device states from now on ("" for none).
    void SetStateFile(const std::string& path);

    // Plugs the device in under its name; returns a handle for Unplug, or 0 when its report
    // descriptor cannot be parsed.
    uint64_t Plug(const std::string& name, std::shared_ptr<CSimDevice> device);
    // False when no such device is plugged.
    bool Unplug(uint64_t handle);
    // Makes the device's entries behave as a node without a udev rule does: listed, but every
    // open fails and AccessDeniedNode names the node. False when no such device is plugged.
    bool DenyAccess(uint64_t handle);
    // Writes the state file now; false when it could not be written (or none is set).
    bool SaveState();
    // The first plugged device of that name, or nullptr; lets tools press an emulator's buttons.
    std::shared_ptr<CSimDevice> DeviceNamed(const std::string& name) const;

    bool Enumerate(std::vector<platform::hid::HidEntryInfo>& entries) override;
    std::shared_ptr<platform::hid::CHidConnection> Open(const std::string& path,
                                                        platform::hid::OpenMode mode) override;
    bool Exists(const std::string& path) override;
    std::string AccessDeniedNode(const std::string& path) override;
    int ChangeFd() const override;
    uint64_t ChangeCount() override;
    const char* Name() const override { return "simulated"; }

private:
    struct Plugged;
    class Connection;

    bool Remove(uint64_t handle, bool requested_by_device);
    void SaveIfDirty();
    std::shared_ptr<Plugged> FindByPath(const std::string& path, platform::hid::HidEntryInfo* entry) const;
    void Changed();

    mutable std::mutex mutex_;
    std::mutex save_mutex_;  // one writer of the state file at a time
    std::vector<std::shared_ptr<Plugged>> plugged_;
    std::vector<std::shared_ptr<Plugged>> leaving_;  // unplugged, state not yet saved
    Json::Value states_{Json::objectValue};          // every saved device state, also of absent ones
    std::atomic<bool> dirty_{false};
    uint64_t next_handle_ = 1;
    uint64_t change_count_ = 0;
    platform::CEvent change_event_{platform::CEvent::Mode::kManualReset};
    std::string state_file_;
};
