#include "cli/devices_command.h"

#include "cli/command_arguments.h"

#include "cli/device_session.h"
#include "device/device_access_check.h"
#include "platform/hid/hid_backend.h"

#include <json/writer.h>

#include <algorithm>
#include <ostream>

namespace {

// The device name of a slot: the descriptor row with its vendor and product id and kind.
std::string DeviceName(const InterfaceSlot& slot) {
    const int row = FindDescriptor(slot.vendorId, slot.productId, slot.kind, kSubKindCommand);
    return row < 0 ? "" : DeviceDescriptors()[row].deviceName;
}

const char* SubKindName(uint16_t subKind) {
    return subKind == kSubKindCommand ? "command" : "notification";
}

}  // namespace

void CDevicesCommand::PrintHelp(std::ostream& out) const {
    out << "usage: norvikctl devices [--json]\n"
           "\n"
           "Lists the supported device interfaces that are connected now, with their paths: each\n"
           "device has a command interface and a notification interface. A supported device that\n"
           "is plugged in but cannot be opened is named on stderr with the udev rule to install.\n"
           "\n"
           "exit codes: 0 something is connected, 1 the HID devices could not be listed, 2 bad\n"
           "arguments, 3 no supported device is connected.\n";
}

int CDevicesCommand::Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const bool json = std::find(args.begin(), args.end(), "--json") != args.end();
    if (std::find(args.begin(), args.end(), "--help") != args.end()) {
        PrintHelp(out);
        return kExitOk;
    }
    if (std::any_of(args.begin(), args.end(), [](const std::string& a) { return a != "--json"; })) {
        err << "norvikctl: 'devices' takes no values.\n\n";
        PrintHelp(err);
        return kExitUsage;
    }
    CDeviceSession session;
    if (!session.Discover()) {
        err << "norvikctl: the HID devices could not be listed.\n";
        return kExitFailure;
    }
    for (const std::string& node : CDeviceAccessCheck::DeniedNodes(*platform::hid::ProcessBackend())) {
        err << CDeviceAccessCheck::Hint(node) << "\n";
    }
    const std::vector<InterfaceSlot> slots = session.Slots();
    Json::Value list(Json::arrayValue);
    for (size_t index = 0; index < slots.size(); ++index) {
        const InterfaceSlot& slot = slots[index];
        if (slot.connected == 0) {
            continue;
        }
        Json::Value entry;
        entry["slot"] = static_cast<Json::UInt>(index);
        entry["device"] = DeviceName(slot);
        entry["kind"] = slot.kind;
        entry["sub_kind"] = SubKindName(slot.subKind);
        entry["vendor_id"] = slot.vendorId;
        entry["product_id"] = slot.productId;
        entry["path"] = slot.path;
        list.append(entry);
        if (!json) {
            out << "slot " << index << "  " << DeviceName(slot) << "  " << SubKindName(slot.subKind) << "  "
                << slot.path << "\n";
        }
    }
    if (json) {
        Json::Value value;
        value["bus"] = platform::hid::ProcessBackend()->Name();
        value["slots"] = list;
        command_arguments::PrintJson(out, value);
    } else if (list.empty()) {
        err << "No supported device is connected.\n";
    }
    return list.empty() ? kExitNoDevice : kExitOk;
}
