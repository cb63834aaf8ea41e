#include "cli/command_arguments.h"

#include <algorithm>

#include <json/writer.h>

#include <charconv>
#include <cstdio>

namespace command_arguments {

bool ParseArguments(const std::vector<std::string>& args, Arguments& parsed, std::string& error) {
    for (size_t index = 0; index < args.size(); ++index) {
        const std::string& arg = args[index];
        if (arg == "--json") {
            parsed.json = true;
        } else if (arg == "--verify") {
            parsed.verify = true;
        } else if (arg.rfind("--", 0) == 0 && arg != "--help") {
            if (index + 1 >= args.size()) {
                error = "option " + arg + " needs a value";
                return false;
            }
            parsed.options[arg.substr(2)] = args[++index];
        } else {
            parsed.words.push_back(arg);
        }
    }
    return true;
}

std::optional<int> ReadCommandLine(const std::vector<std::string>& args, const CCliCommand& family,
                                   Arguments& parsed, std::ostream& out, std::ostream& err) {
    std::string error;
    if (!ParseArguments(args, parsed, error)) {
        err << "norvikctl: " << error << "\n";
        return kExitUsage;
    }
    const auto& words = parsed.words;
    if (std::find(words.begin(), words.end(), "--help") != words.end() ||
        (!words.empty() && words[0] == "help")) {
        family.PrintHelp(out);
        return kExitOk;
    }
    if (words.empty()) {
        family.PrintHelp(err);
        return kExitUsage;
    }
    return std::nullopt;
}

std::optional<int> ParseNumber(const std::string& text, int low, int high) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < low || value > high) {
        return std::nullopt;
    }
    return value;
}

std::string Hex(unsigned value, int digits) {
    char text[16];
    std::snprintf(text, sizeof(text), "0x%0*X", digits, value);
    return text;
}

void PrintJson(std::ostream& out, const Json::Value& value) {
    Json::StreamWriterBuilder builder;
    builder["indentation"] = "  ";
    builder["emitUTF8"] = true;
    out << Json::writeString(builder, value) << "\n";
}

bool ParseColour(std::string text, LightInfo& light) {
    if (!text.empty() && text[0] == '#') {
        text.erase(0, 1);
    }
    unsigned value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
    if (text.size() != 6 || error != std::errc() || end != text.data() + text.size()) {
        return false;
    }
    light.red = static_cast<uint8_t>(value >> 16);
    light.green = static_cast<uint8_t>(value >> 8);
    light.blue = static_cast<uint8_t>(value);
    light.multiColor = 0;  // a chosen colour ends multicolour, as in the lighting panel
    return true;
}

}  // namespace command_arguments
