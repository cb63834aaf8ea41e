#pragma once

#include "platform/hid/hid_backend.h"

#include <string>
#include <vector>

// Why a supported device that is plugged in does not appear: its node exists but this user may
// not open it, because the udev rule that gives the logged-in user access is not installed. The
// no-device page and norvikctl name the node and the rule to install.
//
// Thread safety: pure functions over the bus, any thread.
class CDeviceAccessCheck {
public:
    static constexpr const char* kUdevRule = "packaging/udev/70-norvik.rules";

    // The nodes of supported interfaces (vendor and product of the supported-interface table) on
    // the bus that cannot be opened for lack of permission, each once, in bus order.
    static std::vector<std::string> DeniedNodes(platform::hid::CHidBackend& backend);

    // The one line that says so for a node, in English (norvikctl and the debug output).
    static std::string Hint(const std::string& node);
};
