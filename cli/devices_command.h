#pragma once

#include "cli/cli_command.h"

#include <ostream>
#include <string>
#include <vector>

// norvikctl's "devices" family: the interface slots that one discovery pass binds, with their
// device names and paths. --json prints {"bus", "slots": [{"slot", "device", "kind", "sub_kind",
// "vendor_id", "product_id", "path"}]}. kExitNoDevice when nothing is bound.
//
// Threads: norvikctl's only thread.
class CDevicesCommand : public CCliCommand {
public:
    int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) override;
    void PrintHelp(std::ostream& out) const override;
};
