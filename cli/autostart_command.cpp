#include "cli/autostart_command.h"

#include "platform/autostart.h"

namespace {

void PrintState(std::ostream& out) {
    out << "autostart " << (platform::AutostartEnabled() ? "on" : "off") << " ("
        << platform::AutostartEntryPath() << ")\n";
}

}  // namespace

void CAutostartCommand::PrintHelp(std::ostream& out) const {
    out << "usage: norvikctl autostart [on|off]\n"
           "\n"
           "Without a value, says whether the application starts at login. \"on\" starts it at login,\n"
           "hidden to the tray, so that the settings kept on this computer are applied again; \"off\"\n"
           "stops that.\n"
           "\n"
           "exit codes: 0 done, 1 the autostart entry could not be written or removed, 2 bad arguments.\n";
}

int CAutostartCommand::Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.empty()) {
        PrintState(out);
        return kExitOk;
    }
    if (args.size() == 1 && args[0] == "--help") {
        PrintHelp(out);
        return kExitOk;
    }
    if (args.size() != 1 || (args[0] != "on" && args[0] != "off")) {
        err << "norvikctl: 'autostart' takes \"on\" or \"off\".\n\n";
        PrintHelp(err);
        return kExitUsage;
    }
    if (!platform::SetAutostart(args[0] == "on", platform::ApplicationProgram())) {
        err << "norvikctl: " << platform::AutostartEntryPath() << " could not be "
            << (args[0] == "on" ? "written" : "removed") << "; check that the folder is writable.\n";
        return kExitFailure;
    }
    PrintState(out);
    return kExitOk;
}
