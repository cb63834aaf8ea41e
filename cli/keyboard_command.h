#pragma once

#include "cli/cli_command.h"

#include <ostream>
#include <string>
#include <vector>

// norvikctl's "keyboard" family: reads and edits the bound keyboard through the same firmware
// conversation, settings code and profile files as the keyboard page.
//
//   keyboard info | get | keys               what the keyboard and its active profile hold
//   keyboard assign POS FUNCTION             host key position 0..125 (FN excepted)
//   keyboard polling N                       polling option 0..3
//   keyboard winlock|wkey|sixkey on|off      the three flags of the settings record
//   keyboard light MODE [--brightness B] [--speed S] [--colour RRGGBB]
//   keyboard write-macros
//
// Every change is stored in the active profile and written to the keyboard. --json prints
// machine-readable output. Exit codes as "mouse": kExitOk, kExitFailure, kExitUsage (nothing
// changed), kExitNoDevice, kExitMemoryFull (macros do not fit; nothing sent).
//
// Threads: norvikctl's only thread.
class CKeyboardCommand : public CCliCommand {
public:
    int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) override;
    void PrintHelp(std::ostream& out) const override;
};
