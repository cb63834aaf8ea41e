#include "cli/codes_command.h"

#include "cli/command_arguments.h"

#include "devices/common/function_catalog.h"

#include <json/writer.h>

#include <algorithm>
#include <cstdio>
#include <ostream>

namespace {

void WriteJson(const std::vector<CatalogEntry>& entries, std::ostream& out) {
    Json::Value list(Json::arrayValue);
    for (const CatalogEntry& entry : entries) {
        Json::Value item(Json::objectValue);
        item["name"] = entry.nameKey;
        item["type"] = entry.code.type;
        item["param1"] = entry.code.param1;
        item["param2"] = entry.code.param2;
        if (entry.key) {
            item["usage"] = entry.key->usage;
            item["scan_code"] = entry.key->scanCode;
            item["extended"] = entry.key->extended;
        }
        list.append(item);
    }
    command_arguments::PrintJson(out, list);
}

std::string Hex(unsigned value) {
    char text[8];
    std::snprintf(text, sizeof text, "%02X", value);
    return text;
}

void WriteText(const std::vector<CatalogEntry>& entries, std::ostream& out) {
    out << "code      name                                usage scan ext\n";
    for (const CatalogEntry& entry : entries) {
        std::string line = Hex(entry.code.type) + " " + Hex(entry.code.param1) + " " +
                           Hex(entry.code.param2) + "  " + entry.nameKey;
        if (entry.key) {
            line.resize(std::max<size_t>(line.size() + 1, 46), ' ');
            line += "0x" + Hex(entry.key->usage) + " 0x" + Hex(entry.key->scanCode) + " " +
                    std::to_string(entry.key->extended);
        }
        out << line << "\n";
    }
    out << "Macros: 70 <index> <repeat mode 0-3>, 71 <index> <count 1-255>, by position in the macro list.\n";
}

}  // namespace

void CCodesCommand::PrintHelp(std::ostream& out) const {
    out << "usage: norvikctl codes [--json]\n"
           "Lists every assignable function: its name key, its code bytes (type, param1, param2) and,\n"
           "for keyboard keys, the HID usage, the set-1 scan code and the extended flag.\n";
}

int CCodesCommand::Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.size() > 1 || (args.size() == 1 && args[0] != "--json")) {
        PrintHelp(err);
        return kExitUsage;
    }
    const std::vector<CatalogEntry> entries = CFunctionCatalog::All();
    if (args.empty()) {
        WriteText(entries, out);
    } else {
        WriteJson(entries, out);
    }
    return kExitOk;
}
