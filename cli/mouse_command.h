#pragma once

#include "cli/cli_command.h"

#include <ostream>
#include <string>
#include <vector>

// norvikctl's "mouse" family: reads and edits the first bound mouse through the
// same firmware conversation and profile files as the mouse page, so the
// program and norvikctl agree.
//
//   mouse info | get | keys                       what the mouse and its active
//   profile hold mouse set-dpi STAGE DPI                       STAGE 1..7, DPI
//   within the sensor's range mouse stage STAGE on|off mouse polling N polling
//   option 0..4 mouse light MODE [--brightness B] [--speed S] [--colour RRGGBB]
//   mouse write-macros | write-shoot
//   mouse shoot show|set|import|export|reset ...   the shoot files (CShootCommand)
//
// Every change is stored in the active profile ("ProfileList.ini" selects it;
// made on first use) and written to the mouse. --json prints machine-readable
// output. Exit codes: kExitOk, kExitFailure (the mouse refused or did not
// answer), kExitUsage (bad arguments or a value out of range; nothing changed),
// kExitNoDevice, kExitMemoryFull (macros or shoot data do not fit; nothing sent).
//
// Threads: norvikctl's only thread.
class CMouseCommand : public CCliCommand {
public:
    int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) override;
    void PrintHelp(std::ostream& out) const override;
};
