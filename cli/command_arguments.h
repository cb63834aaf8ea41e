#pragma once

#include "cli/cli_command.h"
#include "profile/profile_records.h"

#include <json/value.h>

#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

// What the device families of norvikctl ("mouse", "keyboard", "headset") share when they read their
// command lines and print their answers. Pure functions; norvikctl's only thread.
namespace command_arguments {

// The parsed command line of one device subcommand.
struct Arguments {
    std::vector<std::string> words;              // the subcommand and its positional values
    std::map<std::string, std::string> options;  // --name value
    bool json = false;
    bool verify = false;  // read back what was written (commands that support it)
};

// Splits the words from the options; false with a message for an option that lacks its value.
bool ParseArguments(const std::vector<std::string>& args, Arguments& parsed, std::string& error);

// Reads a family's command line and answers "--help", "help" and an empty line as every family
// does: the exit code when that ends the command, nothing when parsed holds a subcommand to run.
std::optional<int> ReadCommandLine(const std::vector<std::string>& args, const CCliCommand& family,
                                   Arguments& parsed, std::ostream& out, std::ostream& err);

// A decimal number within [low, high], or nothing.
std::optional<int> ParseNumber(const std::string& text, int low, int high);

// "0x" and the value in upper-case hex digits.
std::string Hex(unsigned value, int digits);

void PrintJson(std::ostream& out, const Json::Value& value);

// RRGGBB (an optional leading '#') into the light record; a chosen colour ends multicolour.
bool ParseColour(std::string text, LightInfo& light);

}  // namespace command_arguments
