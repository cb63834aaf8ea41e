#pragma once

#include "cli/cli_command.h"
#include "platform/hid/hid_backend.h"

#include <memory>

// "norvikctl hid": what the HID layer sees, so a user can tell why a device is or is not found.
//   hid list [--json]            every entry of the bus in use, with the figures discovery reads
//   hid describe FILE [--json]   the per-collection figures of a raw report descriptor file
class CHidCommand : public CCliCommand {
public:
    explicit CHidCommand(std::shared_ptr<platform::hid::CHidBackend> backend)
        : backend_(std::move(backend)) {}

    int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) override;
    void PrintHelp(std::ostream& out) const override;

private:
    int List(bool json, std::ostream& out, std::ostream& err);
    int Describe(const std::string& file, bool json, std::ostream& out, std::ostream& err);

    std::shared_ptr<platform::hid::CHidBackend> backend_;
};
