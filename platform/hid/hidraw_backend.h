#pragma once

#include "platform/hid/hid_backend.h"

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

// The kernel's HID bus: one hidraw node per HID interface, offered as one entry per top-level
// collection of its report descriptor. The CHidBackend contract applies.
//
// Paths: "/dev/hidrawN#vid_XXXX&pid_XXXX&mi_XX&colNN#<hid device name>", where the hid device name
// (for example "0003:320F:21FD.0005") is the kernel's name of the HID device behind the node; it
// changes with every plug-in, so the existence probe tells a replugged device from the old one
// even when it gets the same node.
//
// Idle cost: nodes are listed by libudev; descriptors are read from sysfs (no device is opened to
// list it) and parsed once per HID device. ChangeFd is a udev monitor of the hidraw subsystem;
// ChangeCount drains it and grows by the events seen, so a discovery pass can skip enumeration
// while the count stays the same. Without a monitor (no netlink) the count grows on every call.
namespace platform::hid {

// One hidraw node as the system lists it.
struct HidrawNode {
    std::string devnode;   // /dev/hidrawN
    std::string identity;  // the HID device's sysfs name
    HidAttributes attributes;
    int interface_number = -1;        // from the parent usb_interface; -1 when there is none
    std::vector<uint8_t> descriptor;  // raw report descriptor
};

// Where nodes come from: libudev on a real system, a fixed list in tests.
class CHidrawNodeSource {
public:
    virtual ~CHidrawNodeSource() = default;
    // False when the system cannot be asked. Any thread, one at a time.
    virtual bool List(std::vector<HidrawNode>& nodes) = 0;
    // A descriptor that becomes readable when nodes may have changed, or -1.
    virtual int ChangeFd() const = 0;
    // Drains the change notifications; returns how many there were, or -1 when there is no monitor.
    virtual int DrainChanges() = 0;
};

std::unique_ptr<CHidrawNodeSource> MakeUdevNodeSource();

class CHidrawBackend : public CHidBackend {
public:
    // sysfs_root is where the existence probe finds class/hidraw/ ("/sys" on a real system).
    explicit CHidrawBackend(std::unique_ptr<CHidrawNodeSource> source = MakeUdevNodeSource(),
                            std::string sysfs_root = "/sys");

    bool Enumerate(std::vector<HidEntryInfo>& entries) override;
    std::shared_ptr<CHidConnection> Open(const std::string& path, OpenMode mode) override;
    bool Exists(const std::string& path) override;
    std::string AccessDeniedNode(const std::string& path) override;
    int ChangeFd() const override;
    uint64_t ChangeCount() override;
    const char* Name() const override { return "hidraw"; }

    // The entries of one node, as Enumerate lists them; false for an unusable descriptor.
    static bool EntriesOfNode(const HidrawNode& node, std::vector<HidEntryInfo>& entries);

private:
    bool FindEntry(const std::string& path, HidEntryInfo& entry);

    std::unique_ptr<CHidrawNodeSource> source_;
    std::string sysfs_root_;
    std::mutex mutex_;
    uint64_t change_count_ = 0;
    std::map<std::string, std::vector<HidEntryInfo>> by_identity_;  // parsed once per HID device
    std::vector<HidEntryInfo> last_;
};

}  // namespace platform::hid
