#include "cli/command_line.h"

#include <algorithm>
#include <iomanip>

namespace {

bool IsHelp(const std::string& word) {
    return word == "--help" || word == "-h" || word == "help";
}

}  // namespace

const CCommandLine::Family* CCommandLine::Find(const std::string& name) const {
    auto found =
        std::find_if(families_.begin(), families_.end(), [&](const Family& f) { return name == f.name; });
    return found == families_.end() ? nullptr : &*found;
}

void CCommandLine::PrintUsage(std::ostream& out) const {
    out << "Usage: norvikctl COMMAND [ARGUMENTS...]\n"
           "Reaches the devices, profiles and macros of the Norvik 400100 Gaming Mouse utility without a "
           "window.\n\nCommands:\n";
    for (const Family& family : families_) {
        out << "  " << std::left << std::setw(10) << family.name << family.summary << "\n";
    }
    out << "\nRun \"norvikctl COMMAND --help\" for a command's usage.\n"
           "With NORVIK_SIMULATE set (e.g. NORVIK_SIMULATE=mouse3389) emulated devices stand in for the real "
           "ones;\nNORVIK_SIM_STATE=FILE keeps their memory between runs.\n"
           "\nExit status: 0 success, 1 the operation failed, 2 the command line was wrong.\n";
}

int CCommandLine::Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) const {
    if (args.empty()) {
        PrintUsage(err);
        return kExitUsage;
    }
    if (IsHelp(args[0])) {
        const Family* family = args.size() > 1 ? Find(args[1]) : nullptr;
        if (family != nullptr) {
            family->create()->PrintHelp(out);
        } else {
            PrintUsage(out);
        }
        return kExitOk;
    }
    const Family* family = Find(args[0]);
    if (family == nullptr) {
        err << "norvikctl: unknown command \"" << args[0] << "\"\n\n";
        PrintUsage(err);
        return kExitUsage;
    }
    std::unique_ptr<CCliCommand> command = family->create();
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (std::any_of(rest.begin(), rest.end(),
                    [](const std::string& word) { return word == "--help" || word == "-h"; })) {
        command->PrintHelp(out);
        return kExitOk;
    }
    return command->Run(rest, out, err);
}
