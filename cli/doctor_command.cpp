#include "cli/doctor_command.h"

#include "cli/command_arguments.h"

#include "cli/doctor.h"

#include <json/writer.h>

#include <iomanip>

namespace {

bool Usable(const std::vector<DoctorFinding>& findings) {
    return !findings.empty() && findings.back().check == "device" && findings.back().ok;
}

void PrintText(const std::vector<DoctorFinding>& findings, std::ostream& out) {
    for (const DoctorFinding& finding : findings) {
        out << std::left << std::setw(9) << (finding.ok ? "ok" : "problem") << std::setw(15) << finding.check
            << finding.detail << "\n";
        if (!finding.fix.empty()) {
            out << std::string(24, ' ') << "fix: " << finding.fix << "\n";
        }
    }
}

void PrintFindingsJson(const std::vector<DoctorFinding>& findings, std::ostream& out) {
    Json::Value value;
    value["usable"] = Usable(findings);
    Json::Value& checks = value["checks"] = Json::Value(Json::arrayValue);
    for (const DoctorFinding& finding : findings) {
        Json::Value entry;
        entry["check"] = finding.check;
        entry["status"] = finding.ok ? "ok" : "problem";
        entry["detail"] = finding.detail;
        entry["fix"] = finding.fix;
        checks.append(entry);
    }
    command_arguments::PrintJson(out, value);
}

}  // namespace

void CDoctorCommand::PrintHelp(std::ostream& out) const {
    out << "usage: norvikctl doctor [--json]\n"
           "\n"
           "Checks what a working device needs: the device on the USB bus, its hidraw nodes and your\n"
           "access to them, the udev rule and a local seat, the session bus and a tray, the data and\n"
           "config folders, the program data and the headset's audio library. Each line says ok or\n"
           "problem, and how to fix a problem.\n"
           "\n"
           "exit codes: 0 a device is usable, 1 none is, 2 bad arguments.\n";
}

int CDoctorCommand::Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    bool json = false;
    for (const std::string& arg : args) {
        if (arg == "--help") {
            PrintHelp(out);
            return kExitOk;
        }
        if (arg != "--json") {
            err << "norvikctl: 'doctor' does not know '" << arg << "'.\n\n";
            PrintHelp(err);
            return kExitUsage;
        }
        json = true;
    }
    const std::vector<DoctorFinding> findings = CDoctor().Run();
    json ? PrintFindingsJson(findings, out) : PrintText(findings, out);
    return Usable(findings) ? kExitOk : kExitFailure;
}
