#include "device/device_access_check.h"

#include "device/device_tables.h"

#include <algorithm>

namespace {

bool IsSupported(const platform::hid::HidEntryInfo& entry) {
    const auto& rows = SupportedInterfaces();
    return std::any_of(rows.begin(), rows.end(), [&entry](const InterfaceSlot& row) {
        return row.vendorId != 0 && row.vendorId == entry.attributes.vendor_id &&
               row.productId == entry.attributes.product_id;
    });
}

}  // namespace

std::vector<std::string> CDeviceAccessCheck::DeniedNodes(platform::hid::CHidBackend& backend) {
    std::vector<platform::hid::HidEntryInfo> entries;
    std::vector<std::string> nodes;
    if (!backend.Enumerate(entries)) {
        return nodes;
    }
    for (const platform::hid::HidEntryInfo& entry : entries) {
        if (!IsSupported(entry)) {
            continue;
        }
        const std::string node = backend.AccessDeniedNode(entry.path);
        if (!node.empty() && std::find(nodes.begin(), nodes.end(), node) == nodes.end()) {
            nodes.push_back(node);
        }
    }
    return nodes;
}

std::string CDeviceAccessCheck::Hint(const std::string& node) {
    return "A supported device at " + node + " cannot be opened (permission denied): install the udev rule " +
           kUdevRule + " into /etc/udev/rules.d/, run \"udevadm control --reload\" and replug the device.";
}
