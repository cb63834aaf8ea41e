// norvikctl: the command-line companion of the application. Each command family is one class;
// add a family by adding its row below.

#include "cli/autostart_command.h"
#include "cli/codes_command.h"
#include "cli/command_line.h"
#include "cli/devices_command.h"
#include "cli/doctor_command.h"
#include "cli/headset_command.h"
#include "cli/hid_command.h"
#include "cli/keyboard_command.h"
#include "cli/macro_command.h"
#include "cli/mouse_command.h"
#include "cli/pad_command.h"
#include "cli/profile_command.h"
#include "cli/sim_command.h"
#include "cli/update_command.h"
#include "platform/hid/hid_backend.h"
#include "sim/sim_environment.h"

#include <iostream>
#include <string>

int main(int argc, char** argv) {
    // The bus is chosen once: the simulated one when NORVIK_SIMULATE is set, else hidraw. The
    // simulated bus lives until the end so that its device states are saved.
    std::string unknown;
    std::string fault_error;
    const std::shared_ptr<CSimHidBus> simulated =
        InstallSimulatedBusFromEnvironment(CSimDeviceRegistry::Standard(), &unknown, &fault_error);
    if (!fault_error.empty()) {
        std::cerr << "norvikctl: NORVIK_SIM_FAULTS ignored: " << fault_error << "\n";
    }
    if (!unknown.empty()) {
        std::string known;
        for (const std::string& name : CSimDeviceRegistry::Standard().Names()) {
            known.append(known.empty() ? "" : ", ").append(name);
        }
        std::cerr << "norvikctl: NORVIK_SIMULATE names unknown devices (" << unknown
                  << "); known: " << (known.empty() ? "none" : known) << "\n";
    }

    const CCommandLine command_line({
        {"hid", "list the HID entries of the bus, describe a report descriptor",
         [] { return std::make_unique<CHidCommand>(platform::hid::ProcessBackend()); }},
        {"sim", "list the emulated devices, press an emulated mouse's buttons or keyboard's keys",
         [&simulated] { return std::make_unique<CSimCommand>(simulated); }},
        {"devices", "list the connected devices' interfaces and their paths",
         [] { return std::make_unique<CDevicesCommand>(); }},
        {"mouse", "read and change the connected mouse: DPI stages, polling, light, keys",
         [] { return std::make_unique<CMouseCommand>(); }},
        {"keyboard", "read and change the connected keyboard: keys, polling, flags, light, macros",
         [] { return std::make_unique<CKeyboardCommand>(); }},
        {"pad", "read and change the connected lit mouse pad: its light",
         [] { return std::make_unique<CPadCommand>(); }},
        {"update", "ask the update service about the program and the named devices' firmware",
         [] { return std::make_unique<CUpdateCommand>(); }},
        {"doctor", "check what a working device needs and say how to fix what is missing",
         [] { return std::make_unique<CDoctorCommand>(); }},
        {"autostart", "start the application at login, hidden, so that host settings are applied",
         [] { return std::make_unique<CAutostartCommand>(); }},
        {"codes", "list every assignable function with its code bytes, HID usage and scan code",
         [] { return std::make_unique<CCodesCommand>(); }},
        {"profile", "list, add, copy, delete, rename, select, reset, import and export profiles",
         [] { return std::make_unique<CProfileCommand>(); }},
        {"macro", "list, add, delete, rename, import, export and show macros",
         [] { return std::make_unique<CMacroCommand>(); }},
        {"headset", "read and change the headset: microphone, monitoring, equaliser, voice changer, light",
         [] { return std::make_unique<CHeadsetCommand>(); }},
    });
    const std::vector<std::string> args(argv + 1, argv + argc);
    return command_line.Run(args, std::cout, std::cerr);
}
