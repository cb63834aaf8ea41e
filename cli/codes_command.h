#pragma once

#include "cli/cli_command.h"

// "norvikctl codes": every function a key or button can be given, so that a user can look up
// what to assign.
//   codes          one line per function: code bytes, name key, and for keyboard keys their HID
//                  usage, set-1 scan code and extended flag
//   codes --json   one JSON array of objects {"name", "type", "param1", "param2"[, "usage",
//                  "scan_code", "extended"]}, numbers as integers
// Touches no device and no file.
class CCodesCommand : public CCliCommand {
public:
    int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) override;
    void PrintHelp(std::ostream& out) const override;
};
