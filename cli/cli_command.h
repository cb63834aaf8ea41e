#pragma once

#include <ostream>
#include <string>
#include <vector>

// One command family of norvikctl ("hid", "devices", "mouse", ...). main.cpp lists the families;
// a family parses the words after its name and runs them.
//
// Contract: Run gets the arguments after the family name and returns an exit code below; it
// writes results to `out` and what went wrong (with what to do about it) to `err`, and never
// throws. PrintHelp writes the family's usage. Both run on the program's only thread.

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;     // the operation failed (no device, unreadable file, ...)
inline constexpr int kExitUsage = 2;       // the command line was wrong
inline constexpr int kExitNoDevice = 3;    // no supported device of the family is connected
inline constexpr int kExitMemoryFull = 4;  // the data does not fit the device's memory; nothing sent

class CCliCommand {
public:
    virtual ~CCliCommand() = default;
    virtual int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) = 0;
    virtual void PrintHelp(std::ostream& out) const = 0;
};
