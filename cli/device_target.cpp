#include "cli/device_target.h"

#include <algorithm>
#include <charconv>

std::string ParseDeviceArguments(const std::vector<std::string>& args, DeviceArguments& parsed) {
    for (size_t index = 0; index < args.size(); ++index) {
        const std::string& arg = args[index];
        if (arg == "--json") {
            parsed.json = true;
        } else if (arg == "--device") {
            if (index + 1 >= args.size()) {
                return "option --device needs a device name";
            }
            parsed.device = args[++index];
        } else if (arg.rfind("--", 0) == 0) {
            return "unknown option " + arg;
        } else {
            parsed.words.push_back(arg);
        }
    }
    return {};
}

std::string KnownDeviceNames() {
    std::vector<std::string> seen;
    std::string names;
    for (const DeviceDescriptor& row : DeviceDescriptors()) {
        if (std::find(seen.begin(), seen.end(), row.deviceName) == seen.end()) {
            seen.emplace_back(row.deviceName);
            names.append(names.empty() ? "" : ", ").append(row.deviceName);
        }
    }
    return names;
}

const DeviceDescriptor* DescriptorNamed(const std::string& name) {
    for (const DeviceDescriptor& row : DeviceDescriptors()) {
        if (name == row.deviceName) {
            return &row;
        }
    }
    return nullptr;
}

bool IsMouseKind(int kind) {
    return kind == 2 || kind == 6;
}

std::optional<int> ParseIndex(const std::string& text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < 0) {
        return std::nullopt;
    }
    return value;
}
