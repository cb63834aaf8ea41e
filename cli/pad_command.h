#pragma once

#include "cli/cli_command.h"

#include <ostream>
#include <string>
#include <vector>

// norvikctl's "pad" family: reads and changes the bound lit mouse pad through the same firmware
// conversation, settings code and profile files as the pad page.
//
//   pad info                      the pad, its lights and its active profile
//   pad get                       the record the pad holds now
//   pad light MODE [--brightness B] [--speed S] [--colour RRGGBB]
//
// A light change is stored in the active profile and written to the pad; a bad value changes
// nothing. --json prints machine-readable output. Exit codes as "mouse": kExitOk, kExitFailure,
// kExitUsage (nothing changed), kExitNoDevice.
//
// Threads: norvikctl's only thread.
class CPadCommand : public CCliCommand {
public:
    int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) override;
    void PrintHelp(std::ostream& out) const override;
};
