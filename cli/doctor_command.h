#pragma once

#include "cli/cli_command.h"

#include <ostream>
#include <string>
#include <vector>

// norvikctl's "doctor": every check of CDoctor with ok / problem and how to fix each problem.
// --json prints {"usable", "checks": [{"check", "status" ("ok" or "problem"), "detail", "fix"}]}.
// Exit 0 when a device is usable, 1 otherwise, 2 on bad arguments.
//
// Threads: norvikctl's only thread.
class CDoctorCommand : public CCliCommand {
public:
    int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) override;
    void PrintHelp(std::ostream& out) const override;
};
