#include "cli/sim_command.h"

#include "sim/mouse_firmware.h"
#include "sim/sim_device_registry.h"
#include "sim/simulated_headset.h"
#include "sim/simulated_keyboard.h"
#include "sim/simulated_mouse.h"
#include "sim/simulated_mouse_pad.h"

#include <charconv>
#include <ostream>

namespace {

int ActiveStage(const CSimulatedMouse& mouse) {
    const std::vector<uint8_t> memory = mouse.Memory();
    const size_t profile = memory[0] < mouse.Model().profileCount ? memory[0] : 0;
    return memory[profile * mouse_record::kSize + mouse_record::kActiveStage] + 1;
}

bool ParseUnsigned(const std::string& text, unsigned& profile) {
    const auto result = std::from_chars(text.data(), text.data() + text.size(), profile);
    return result.ec == std::errc() && result.ptr == text.data() + text.size();
}

}  // namespace

void CSimCommand::PrintHelp(std::ostream& out) const {
    out << "usage: norvikctl sim list\n"
           "       norvikctl sim press NAME dpi\n"
           "       norvikctl sim press NAME profile N\n"
           "       norvikctl sim press NAME light\n"
           "       norvikctl sim press keyboard key K\n"
           "       norvikctl sim press mousepad light\n"
           "       norvikctl sim battery NAME PERCENT\n"
           "Presses a button of an emulated mouse or headset (NORVIK_SIMULATE=NAME) or a key of the\n"
           "emulated keyboard (firmware key K; light: the keyboard's own light-effect key) or the light\n"
           "button of the emulated mouse pad as its user would, or sets the battery level (0-100) the "
           "emulated headset reports.\n";
}

int CSimCommand::Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.size() == 1 && args[0] == "list") {
        return List(out);
    }
    if (args.size() == 3 && args[0] == "press" && args[1] == CSimulatedMousePad::kName &&
        args[2] == "light") {
        return PressPad(out, err);
    }
    if (args.size() == 3 && args[0] == "press" && args[2] == "light" &&
        args[1] != CSimulatedKeyboard::kName) {
        return Headset(args, out, err);
    }
    if (!args.empty() && args[0] == "press") {
        return Press(args, out, err);
    }
    if (args.size() == 3 && args[0] == "battery") {
        return Headset(args, out, err);
    }
    PrintHelp(err);
    return kExitUsage;
}

int CSimCommand::List(std::ostream& out) const {
    for (const std::string& name : CSimDeviceRegistry::Standard().Names()) {
        const bool plugged = bus_ != nullptr && bus_->DeviceNamed(name) != nullptr;
        out << name << (plugged ? "  plugged in" : "") << "\n";
    }
    return kExitOk;
}

int CSimCommand::Press(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) const {
    if (args.size() >= 2 && args[1] == CSimulatedKeyboard::kName) {
        return PressKeyboard(args, out, err);
    }
    const bool dpi = args.size() == 3 && args[2] == "dpi";
    unsigned profile = 0;
    const bool profileButton = args.size() == 4 && args[2] == "profile" && ParseUnsigned(args[3], profile);
    if (!dpi && !profileButton) {
        PrintHelp(err);
        return kExitUsage;
    }
    const std::string& name = args[1];
    if (bus_ == nullptr) {
        err << "norvikctl sim: no device is emulated; set NORVIK_SIMULATE, for example NORVIK_SIMULATE="
            << name << "\n";
        return kExitFailure;
    }
    auto* mouse = dynamic_cast<CSimulatedMouse*>(bus_->DeviceNamed(name).get());
    if (mouse == nullptr) {
        err << "norvikctl sim: no emulated mouse \"" << name
            << "\" is plugged in; see \"norvikctl sim list\"\n";
        return kExitFailure;
    }
    if (dpi) {
        mouse->PressDpiButton();
        out << name << ": DPI stage " << ActiveStage(*mouse) << " of " << mouse_record::kStageCount << "\n";
        return kExitOk;
    }
    if (profile > 0xFF || !mouse->PressProfileButton(static_cast<uint8_t>(profile))) {
        err << "norvikctl sim: " << name << " has profiles 0 to " << mouse->Model().profileCount - 1
            << "; profile " << args[3] << " is not one it can switch to\n";
        return kExitFailure;
    }
    out << name << ": profile " << profile << " active\n";
    return kExitOk;
}

int CSimCommand::Headset(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) const {
    const std::string& name = args[1];
    unsigned percent = 0;
    const bool battery = args[0] == "battery";
    if (battery && (!ParseUnsigned(args[2], percent) || percent > 100)) {
        err << "norvikctl sim: the battery level is a number from 0 to 100, not \"" << args[2] << "\"\n";
        return kExitUsage;
    }
    if (bus_ == nullptr) {
        err << "norvikctl sim: no device is emulated; set NORVIK_SIMULATE, for example NORVIK_SIMULATE="
            << name << "\n";
        return kExitFailure;
    }
    auto* headset = dynamic_cast<CSimulatedHeadset*>(bus_->DeviceNamed(name).get());
    if (headset == nullptr) {
        err << "norvikctl sim: no emulated headset \"" << name
            << "\" is plugged in; see \"norvikctl sim list\"\n";
        return kExitFailure;
    }
    if (battery) {
        headset->SetBatteryLevel(static_cast<int>(percent));
        out << name << ": battery " << percent << "%\n";
        return kExitOk;
    }
    headset->PressLightButton();
    out << name << ": light mode " << static_cast<int>(headset->Memory()[1]) << "\n";
    return kExitOk;
}

int CSimCommand::PressKeyboard(const std::vector<std::string>& args, std::ostream& out,
                               std::ostream& err) const {
    if (bus_ == nullptr) {
        err << "norvikctl sim: no device is emulated; set NORVIK_SIMULATE, for example "
               "NORVIK_SIMULATE=keyboard\n";
        return kExitFailure;
    }
    auto* keyboard = dynamic_cast<CSimulatedKeyboard*>(bus_->DeviceNamed(CSimulatedKeyboard::kName).get());
    if (keyboard == nullptr) {
        err << "norvikctl sim: no emulated keyboard is plugged in; see \"norvikctl sim list\"\n";
        return kExitFailure;
    }
    const bool light = args.size() == 3 && args[2] == "light";
    unsigned key = 0;
    const bool keyPress = args.size() == 4 && args[2] == "key" && ParseUnsigned(args[3], key);
    if (!light && !keyPress) {
        PrintHelp(err);
        return kExitUsage;
    }
    if (light) {
        keyboard->ChangeLightOnKeyboard();
        const std::vector<uint8_t> memory = keyboard->Memory();
        const size_t slot = memory[0] < CKeyboardFirmware::kSlotCount ? memory[0] : 0;
        out << "keyboard: light mode " << int{memory[slot * CKeyboardFirmware::kRecordSize + 1]} << "\n";
        return kExitOk;
    }
    if (!keyboard->PressKey(key)) {
        err << "norvikctl sim: the keyboard has firmware keys 0 to " << keyboard->KeyCount() - 1 << "; key "
            << args[3] << " is not one of them\n";
        return kExitFailure;
    }
    out << "keyboard: firmware key " << key << " pressed and released\n";
    return kExitOk;
}

int CSimCommand::PressPad(std::ostream& out, std::ostream& err) const {
    auto* pad = bus_ != nullptr
                    ? dynamic_cast<CSimulatedMousePad*>(bus_->DeviceNamed(CSimulatedMousePad::kName).get())
                    : nullptr;
    if (pad == nullptr) {
        err << "norvikctl sim: no emulated mouse pad is plugged in; set NORVIK_SIMULATE=mousepad\n";
        return kExitFailure;
    }
    pad->PressLightButton();
    out << "mousepad: light mode " << int{pad->ActiveRecord()[1]} << "\n";
    return kExitOk;
}
