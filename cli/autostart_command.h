#pragma once

#include "cli/cli_command.h"

#include <ostream>
#include <string>
#include <vector>

// norvikctl's "autostart": shows whether the application starts at login, or switches it with
// "on" / "off" (the XDG autostart entry). Exit 1 when the entry cannot be written or removed.
//
// Threads: norvikctl's only thread.
class CAutostartCommand : public CCliCommand {
public:
    int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) override;
    void PrintHelp(std::ostream& out) const override;
};
