#pragma once

#include "cli/cli_command.h"

// "norvikctl update": the update check without a window.
//   update check [PAGE=VERSION ...]
//     Asks the update service about the program and about each named device page (mouse,
//     keyboard, MousePad, HD, mouse3389) with its firmware version in hexadecimal (mouse=0103),
//     and prints each row's application key, local and server versions and result. Until the
//     device discovery can say which devices are connected, the caller names them.
//   Exit codes: 0 when the service answered, 1 when no service is configured or it could not be
//   reached, 2 for a wrong command line. A check that reached the service records today's date
//   in "updatetime.config".
class CUpdateCommand : public CCliCommand {
public:
    int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) override;
    void PrintHelp(std::ostream& out) const override;

private:
    int Check(const std::vector<std::string>& devices, std::ostream& out, std::ostream& err);
};
