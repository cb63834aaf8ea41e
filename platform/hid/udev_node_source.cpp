#include "platform/hid/hidraw_backend.h"

#include <libudev.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace platform::hid {
namespace {

// HID_ID is "bus:vendor:product" in hexadecimal, e.g. "0003:0000320F:000021FD".
bool ParseHidId(const char* text, HidAttributes& attributes) {
    unsigned bus = 0;
    unsigned vendor = 0;
    unsigned product = 0;
    if (text == nullptr || std::sscanf(text, "%x:%x:%x", &bus, &vendor, &product) != 3) {
        return false;
    }
    attributes.vendor_id = static_cast<uint16_t>(vendor);
    attributes.product_id = static_cast<uint16_t>(product);
    return true;
}

unsigned HexAttribute(udev_device* device, const char* name, unsigned fallback) {
    const char* text = device == nullptr ? nullptr : udev_device_get_sysattr_value(device, name);
    return text == nullptr ? fallback : static_cast<unsigned>(std::strtoul(text, nullptr, 16));
}

std::vector<uint8_t> ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

class CUdevNodeSource : public CHidrawNodeSource {
public:
    CUdevNodeSource() : udev_(udev_new()) {
        if (udev_ == nullptr) {
            return;
        }
        monitor_ = udev_monitor_new_from_netlink(udev_, "udev");
        if (monitor_ != nullptr &&
            (udev_monitor_filter_add_match_subsystem_devtype(monitor_, "hidraw", nullptr) < 0 ||
             udev_monitor_enable_receiving(monitor_) < 0)) {
            udev_monitor_unref(monitor_);
            monitor_ = nullptr;
        }
    }
    ~CUdevNodeSource() override {
        if (monitor_ != nullptr) {
            udev_monitor_unref(monitor_);
        }
        if (udev_ != nullptr) {
            udev_unref(udev_);
        }
    }

    bool List(std::vector<HidrawNode>& nodes) override {
        nodes.clear();
        if (udev_ == nullptr) {
            return false;
        }
        udev_enumerate* enumerate = udev_enumerate_new(udev_);
        if (enumerate == nullptr) {
            return false;
        }
        udev_enumerate_add_match_subsystem(enumerate, "hidraw");
        const bool scanned = udev_enumerate_scan_devices(enumerate) >= 0;
        udev_list_entry* entry = nullptr;
        udev_list_entry_foreach(entry, scanned ? udev_enumerate_get_list_entry(enumerate) : nullptr) {
            udev_device* device = udev_device_new_from_syspath(udev_, udev_list_entry_get_name(entry));
            if (device == nullptr) {
                continue;
            }
            HidrawNode node;
            if (Describe(device, node)) {
                nodes.push_back(std::move(node));
            }
            udev_device_unref(device);
        }
        udev_enumerate_unref(enumerate);
        return scanned;
    }

    int ChangeFd() const override { return monitor_ == nullptr ? -1 : udev_monitor_get_fd(monitor_); }

    int DrainChanges() override {
        if (monitor_ == nullptr) {
            return -1;
        }
        int count = 0;
        // The monitor's socket is non-blocking: this returns null once nothing is queued.
        while (udev_device* device = udev_monitor_receive_device(monitor_)) {
            udev_device_unref(device);
            ++count;
        }
        return count;
    }

private:
    static bool Describe(udev_device* hidraw, HidrawNode& node) {
        const char* devnode = udev_device_get_devnode(hidraw);
        // Parents belong to the child device and must not be unreferenced.
        udev_device* hid = udev_device_get_parent_with_subsystem_devtype(hidraw, "hid", nullptr);
        if (devnode == nullptr || hid == nullptr ||
            !ParseHidId(udev_device_get_property_value(hid, "HID_ID"), node.attributes)) {
            return false;
        }
        node.devnode = devnode;
        node.identity = udev_device_get_sysname(hid);
        node.descriptor = ReadFile(std::string(udev_device_get_syspath(hid)) + "/report_descriptor");
        udev_device* interface =
            udev_device_get_parent_with_subsystem_devtype(hidraw, "usb", "usb_interface");
        if (interface != nullptr) {
            node.interface_number = static_cast<int>(HexAttribute(interface, "bInterfaceNumber", 0));
        }
        udev_device* usb = udev_device_get_parent_with_subsystem_devtype(hidraw, "usb", "usb_device");
        node.attributes.version = static_cast<uint16_t>(HexAttribute(usb, "bcdDevice", 0));
        return !node.descriptor.empty();
    }

    udev* udev_ = nullptr;
    udev_monitor* monitor_ = nullptr;
};

}  // namespace

std::unique_ptr<CHidrawNodeSource> MakeUdevNodeSource() {
    return std::make_unique<CUdevNodeSource>();
}

}  // namespace platform::hid
