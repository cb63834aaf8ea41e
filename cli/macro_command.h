#pragma once

#include "cli/cli_command.h"

#include <ostream>
#include <string>
#include <vector>

// norvikctl's "macro" family: the macro list and macro files of one device kind, the same files
// and list operations as the macro panel of the device page.
//
//   macro list | add NAME | delete N | rename N NAME | import FILE | export N FILE | show N
//         [--device NAME] [--json]
//
// --device names the device kind's data folder; without it the first connected mouse is meant.
// list prints one line per macro, with --json an array of {"index", "name", "guid", "events"};
// show prints the events of macro N, with --json an array of the macro file's event objects.
// delete gives a mouse's buttons assigned to the macro their default function back and moves
// those of later macros up with them, in the active profile.
//
// Exit codes: kExitOk; kExitFailure (refused: 50 macros, a file that is not a macro file, a
// write that failed; nothing changed); kExitUsage; kExitNoDevice (no --device and no mouse).
//
// Threads: norvikctl's only thread.
class CMacroCommand : public CCliCommand {
public:
    int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) override;
    void PrintHelp(std::ostream& out) const override;
};
