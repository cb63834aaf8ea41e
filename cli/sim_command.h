#pragma once

#include "cli/cli_command.h"
#include "sim/sim_hid_bus.h"

#include <memory>

// "norvikctl sim": the emulated devices of NORVIK_SIMULATE, for trying the program without
// hardware and for end-to-end tests.
//   sim list                       the emulators there are, and which are plugged in
//   sim press NAME dpi             presses the mouse's DPI button (next DPI stage)
//   sim press NAME profile N       presses its profile button to make profile N active
//   sim press NAME light           presses the headset's light button (next light mode)
//   sim battery NAME PERCENT       sets the battery level the emulated headset reports
//   sim press keyboard key K       presses and releases the keyboard's firmware key K
//   sim press keyboard light       changes the light effect on the keyboard itself
//   sim press mousepad light       presses the mouse pad's light button (next light mode)
// A press changes the emulated firmware as the real button does (kept in NORVIK_SIM_STATE) and
// announces it with consumer usage 0x0401, as the mouse does towards the program.
class CSimCommand : public CCliCommand {
public:
    // bus is nullptr when NORVIK_SIMULATE is not set.
    explicit CSimCommand(std::shared_ptr<CSimHidBus> bus) : bus_(std::move(bus)) {}

    int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) override;
    void PrintHelp(std::ostream& out) const override;

private:
    int List(std::ostream& out) const;
    int Press(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) const;
    int Headset(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) const;
    int PressKeyboard(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) const;
    int PressPad(std::ostream& out, std::ostream& err) const;

    std::shared_ptr<CSimHidBus> bus_;
};
