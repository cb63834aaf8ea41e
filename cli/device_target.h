#pragma once

#include "cli/cli_command.h"
#include "cli/device_session.h"

#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

// What the data-folder families of norvikctl ("profile", "macro") share: their options and the
// device kind they act on, named with --device or the first connected mouse.
// Threads: norvikctl's only thread.

// The words and options of a command line.
struct DeviceArguments {
    std::vector<std::string> words;
    std::string device;
    bool json = false;
};

// The words and options; an error text for an option without its value or an unknown one.
std::string ParseDeviceArguments(const std::vector<std::string>& args, DeviceArguments& parsed);
// The device names, each once, comma separated.
std::string KnownDeviceNames();
const DeviceDescriptor* DescriptorNamed(const std::string& name);
bool IsMouseKind(int kind);
// A decimal index without sign or trailing text.
std::optional<int> ParseIndex(const std::string& text);

// The device kind the command is about: --device, else the first connected mouse.
class CDeviceTarget {
public:
    // kExitOk, or an exit code with the message written.
    int Resolve(const std::string& device, std::ostream& err) {
        if (!device.empty()) {
            descriptor_ = DescriptorNamed(device);
            if (descriptor_ == nullptr) {
                err << "norvikctl: no device is named \"" << device << "\"; known: " << KnownDeviceNames()
                    << ".\n";
                return kExitUsage;
            }
            return kExitOk;
        }
        if (!Discover()) {
            err << "norvikctl: the HID devices could not be listed.\n";
            return kExitFailure;
        }
        const int row = session_->FirstBound(kKindMouse);
        if (row < 0) {
            err << "norvikctl: no Norvik mouse is connected. Name the device with --device ("
                << KnownDeviceNames() << ") to work on its profiles anyway.\n";
            return kExitNoDevice;
        }
        descriptor_ = &DeviceDescriptors()[static_cast<size_t>(row)];
        return kExitOk;
    }

    std::string Name() const { return descriptor_->deviceName; }
    int Kind() const { return descriptor_->kind; }

    // The connected mouse of this name, or nullptr.
    CDeviceConnection* ConnectedMouse() {
        if (!Discover()) {
            return nullptr;
        }
        const auto& rows = DeviceDescriptors();
        for (size_t index = 0; index < rows.size(); ++index) {
            CDeviceConnection& device = session_->Device(index);
            if (Name() == rows[index].deviceName && IsMouseKind(rows[index].kind) &&
                device.Command().IsOpen()) {
                return &device;
            }
        }
        return nullptr;
    }

private:
    bool Discover() {
        if (session_ == nullptr) {
            session_ = std::make_unique<CDeviceSession>();
            discovered_ = session_->Discover();
        }
        return discovered_;
    }

    const DeviceDescriptor* descriptor_ = nullptr;
    std::unique_ptr<CDeviceSession> session_;
    bool discovered_ = false;
};
