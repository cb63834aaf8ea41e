#pragma once

#include <iosfwd>
#include <string>
#include <vector>

// norvikctl codes [--json]: lists every assignable function with its name key and code bytes,
// and for keyboard keys their HID usage, set-1 scan code and extended flag. With --json the
// output is one JSON array of objects {"name", "type", "param1", "param2"[, "usage",
// "scan_code", "extended"]}, numbers as integers. Returns the exit status: 0, or 2 for an unknown
// argument (with a line on err). Touches no device or file; any thread.
int RunCodesCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
