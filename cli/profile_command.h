#pragma once

#include "cli/cli_command.h"

#include <ostream>
#include <string>
#include <vector>

// norvikctl's "profile" family: the profile list of one device kind, through the same list
// operations as the profile panel of the device page.
//
//   profile list | add | copy | delete | reset | rename NAME | select N | import FILE | export FILE
//           [--device NAME] [--json]
//
// --device names the device kind's data folder ("mouse", "mouse3389", "keyboard", "MousePad",
// "HD"); without it the first connected mouse is meant. Every operation acts on the selected
// profile and then prints the list: one line per profile, "*" marking the one the next start
// opens; with --json an array of {"index", "name", "uuid", "selected"} in list order. select N
// takes an index of that list and, when the device is connected, writes the profile to it as
// the page's profile switch does.
//
// Exit codes: kExitOk; kExitFailure (the operation was refused or a file could not be
// written; nothing changed, except that select keeps the new selection when the device did not
// take it); kExitUsage; kExitNoDevice (no --device and no mouse connected).
//
// Threads: norvikctl's only thread.
class CProfileCommand : public CCliCommand {
public:
    int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) override;
    void PrintHelp(std::ostream& out) const override;
};
