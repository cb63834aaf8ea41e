#include "cli/mouse_command.h"

#include "cli/active_profile.h"
#include "cli/command_arguments.h"
#include "cli/device_session.h"
#include "cli/function_argument.h"
#include "cli/mouse_verifier.h"
#include "cli/shoot_command.h"
#include "devices/mouse/mouse_key_names.h"
#include "devices/mouse/mouse_profiledata.h"
#include "devices/mouse/mouse_protocol.h"
#include "devices/mouse/mouse_settings.h"
#include "devices/mouse/shoot_data.h"
#include "macro/macro_image.h"
#include "macro/macro_list.h"
#include "profile/data_folders.h"
#include "profile/profile_list.h"

#include <json/writer.h>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <ostream>

using namespace mousewire;
using namespace command_arguments;

namespace {

constexpr const char* kNoMouseText =
    "No Norvik mouse is connected. Plug one in (or set "
    "NORVIK_SIMULATE=mouse3389 to try an emulated one).";

constexpr KeyFunctionCode kLeftButtonCode{FunctionType::kMouseButton, 0x01, 0x00};

// The mouse must keep one left button: the page refuses to reassign the last one.
bool IsLastLeftButton(const std::vector<KeyAssignment>& keys, size_t button) {
    const auto isLeft = [](const KeyAssignment& key) {
        return KeyFunctionCode{key.code1, key.code2, key.code3} == kLeftButtonCode;
    };
    return isLeft(keys[button]) && std::count_if(keys.begin(), keys.end(), isLeft) == 1;
}

// The first bound mouse with its firmware read back and its active profile
// loaded, as the mouse page has them after it connected.
class CMouseContext {
public:
    // kExitOk, or an exit code with the message already written.
    int Open(std::ostream& err) {
        if (!session_.Discover()) {
            err << "norvikctl: the HID devices could not be listed.\n";
            return kExitFailure;
        }
        row_ = session_.FirstBound(kKindMouse);
        if (row_ < 0) {
            err << kNoMouseText << "\n";
            return kExitNoDevice;
        }
        protocol_ = std::make_unique<CMouseProtocol>(Device().Command());
        const int read = protocol_->ReadDeviceInfo(profile_);
        if (read != channel_result::kOk) {
            err << "norvikctl: the mouse did not answer when its information was "
                   "read (result "
                << read << ").\n";
            return kExitFailure;
        }
        return LoadActiveProfile(err);
    }

    CDeviceConnection& Device() { return session_.Device(row_); }
    const DeviceDescriptor& Descriptor() const { return DeviceDescriptors()[row_]; }
    std::string Name() const { return Descriptor().deviceName; }
    CMouseProtocol& Protocol() { return *protocol_; }
    CMouseProfiledata& Profile() { return profile_; }
    const CProfileList& List() const { return *list_; }
    std::string DataFolder() const { return CDataFolders::UserDataFolder(Name()); }

private:
    int LoadActiveProfile(std::ostream& err) {
        if (const int opened = CActiveProfile::Open(kKindMouse, Name(), "the mouse", list_, profile_, err);
            opened != kExitOk) {
            return opened;
        }
        protocol_->MapAssignedButtons(profile_.GetKeyList());
        return kExitOk;
    }

    CDeviceSession session_;
    int row_ = -1;
    CMouseProfiledata profile_;
    std::unique_ptr<CMouseProtocol> protocol_;
    std::unique_ptr<CProfileList> list_;
};

// The outcome of a change that was stored and written.
int ReportWrite(int result, const std::string& done, const Arguments& args, std::ostream& out,
                std::ostream& err) {
    if (result == CMouseSettings::kOk) {
        if (args.json) {
            Json::Value value;
            value["ok"] = true;
            value["message"] = done;
            PrintJson(out, value);
        } else {
            out << done << "\n";
        }
        return kExitOk;
    }
    err << "norvikctl: the profile was saved, but the mouse did not take the new "
           "settings (result "
        << result << "). Check that it is connected and try again.\n";
    return kExitFailure;
}

int Info(CMouseContext& mouse, const Arguments& args, std::ostream& out) {
    const InfoBlock& info = mouse.Protocol().Info();
    const CMouseSensor sensor = mouse.Protocol().Sensor();
    const ProfileEntry& entry = mouse.List().Entries()[mouse.List().SelectedIndex()];
    const int lowest = sensor.PositionToDpi(0);
    const std::optional<int> highest = sensor.SliderMaximum();
    const int highestDpi =
        highest ? sensor.PositionToDpi(*highest) : sensor.PositionToDpi(info.highestPosition);
    if (args.json) {
        Json::Value value;
        value["device"] = mouse.Name();
        value["vendor_id"] = mouse.Descriptor().vendorId;
        value["product_id"] = mouse.Descriptor().productId;
        value["path"] = mouse.Device().Row().path;
        value["wireless"] = mouse.Device().Command().IsWireless();
        value["sensor_id"] = info.SensorId();
        value["dpi_step"] = info.dpiStep;
        value["lowest_dpi"] = info.lowestDpi;
        value["highest_position"] = highest.value_or(info.highestPosition);
        value["dpi_min"] = lowest;
        value["dpi_max"] = highestDpi;
        value["key_count"] = info.keyCount;
        value["macro_capacity"] = static_cast<Json::UInt>(info.MacroCapacity());
        value["profile"]["name"] = entry.name;
        value["profile"]["uuid"] = entry.uuid;
        value["profile"]["path"] = mouse.List().CurrentProfilePath();
        PrintJson(out, value);
        return kExitOk;
    }
    out << "device:          " << mouse.Name() << " (" << Hex(mouse.Descriptor().vendorId, 4) << ":"
        << Hex(mouse.Descriptor().productId, 4) << ")\n"
        << "path:            " << mouse.Device().Row().path << "\n"
        << "sensor:          " << Hex(info.SensorId(), 4) << "\n"
        << "DPI:             " << lowest << " .. " << highestDpi << " (step " << int{info.dpiStep}
        << " per position)\n"
        << "key positions:   " << int{info.keyCount} << "\n"
        << "macro memory:    " << info.MacroCapacity() << " bytes\n"
        << "active profile:  " << entry.name << " (" << mouse.List().CurrentProfilePath() << ")\n";
    return kExitOk;
}

int Get(CMouseContext& mouse, const Arguments& args, std::ostream& out, std::ostream& err) {
    MouseParameters parameters;
    const int result = mouse.Protocol().ReadParameters(mouse.Profile(), parameters);
    if (result != channel_result::kOk) {
        err << "norvikctl: the mouse did not return its settings (result " << result << ").\n";
        return kExitFailure;
    }
    const CMouseSensor sensor = mouse.Protocol().Sensor();
    if (args.json) {
        Json::Value value;
        value["profile_index"] = parameters.activeProfile;
        Json::Value& light = value["light"];
        light["mode"] = parameters.lightMode;
        light["brightness"] = parameters.lightBrightness;
        light["speed"] = parameters.lightSpeedIndex;
        light["fx"] = parameters.lightFx;
        light["multicolour"] = parameters.lightMulticolour;
        light["red"] = parameters.lightRed;
        light["green"] = parameters.lightGreen;
        light["blue"] = parameters.lightBlue;
        value["polling"] = parameters.pollingRate;
        value["active_stage"] = parameters.activeStage;
        value["logo"] = parameters.logoMode;
        value["ast"] = parameters.ast;
        Json::Value& stages = value["stages"] = Json::Value(Json::arrayValue);
        for (const StageParameters& stage : parameters.stages) {
            Json::Value entry;
            entry["position"] = stage.position;
            entry["dpi"] = sensor.PositionToDpi(stage.position);
            entry["red"] = stage.red;
            entry["green"] = stage.green;
            entry["blue"] = stage.blue;
            stages.append(entry);
        }
        PrintJson(out, value);
        return kExitOk;
    }
    char colour[8];
    std::snprintf(colour, sizeof(colour), "%02X%02X%02X", parameters.lightRed, parameters.lightGreen,
                  parameters.lightBlue);
    out << "profile index:  " << int{parameters.activeProfile} << "\n"
        << "light:          mode " << int{parameters.lightMode} << ", brightness "
        << int{parameters.lightBrightness} << ", speed " << int{parameters.lightSpeedIndex} << ", colour "
        << colour << (parameters.lightMulticolour ? " (multicolour)" : "") << "\n"
        << "polling option: " << int{parameters.pollingRate} << "\n"
        << "logo light:     " << int{parameters.logoMode} << "\n"
        << "AST:            " << int{parameters.ast} << "\n"
        << "stages:\n";
    for (size_t index = 0; index < parameters.stages.size(); ++index) {
        const StageParameters& stage = parameters.stages[index];
        std::snprintf(colour, sizeof(colour), "%02X%02X%02X", stage.red, stage.green, stage.blue);
        out << (index == parameters.activeStage ? "  * " : "    ") << "stage " << index + 1 << ": "
            << sensor.PositionToDpi(stage.position) << " DPI (position " << int{stage.position}
            << "), colour " << colour << "\n";
    }
    return kExitOk;
}

int SetDpi(CMouseContext& mouse, const Arguments& args, std::ostream& out, std::ostream& err) {
    const std::optional<int> stage = ParseNumber(args.words[1], 1, static_cast<int>(kStageCount));
    if (!stage) {
        err << "norvikctl: STAGE must be a number from 1 to " << kStageCount << ".\n";
        return kExitUsage;
    }
    const CMouseSensor sensor = mouse.Protocol().Sensor();
    const std::optional<int> sliderMax = sensor.SliderMaximum();
    const int lowest = sensor.PositionToDpi(0);
    const int highest = sliderMax ? sensor.PositionToDpi(*sliderMax) : sensor.PositionToDpi(UINT8_MAX);
    const std::optional<int> dpi =
        ParseNumber(args.words[2], lowest, std::min(highest, sensor.EntryMaximum().value_or(highest)));
    if (!dpi) {
        err << "norvikctl: DPI must be a number from " << lowest << " to "
            << std::min(highest, sensor.EntryMaximum().value_or(highest)) << " for this mouse.\n";
        return kExitUsage;
    }
    const int position = std::min(sensor.DpiToPosition(*dpi), sliderMax.value_or(UINT8_MAX));
    CMouseSettings settings(mouse.Profile(), mouse.Protocol());
    const int result = settings.SetStagePosition(*stage - 1, static_cast<uint16_t>(position));
    return ReportWrite(result,
                       "stage " + std::to_string(*stage) + " set to " +
                           std::to_string(sensor.PositionToDpi(position)) + " DPI (position " +
                           std::to_string(position) + ")",
                       args, out, err);
}

int Stage(CMouseContext& mouse, const Arguments& args, std::ostream& out, std::ostream& err) {
    const std::optional<int> stage = ParseNumber(args.words[1], 1, static_cast<int>(kStageCount));
    const std::string& state = args.words[2];
    if (!stage || (state != "on" && state != "off")) {
        err << "norvikctl: usage: mouse stage STAGE on|off (STAGE 1 to " << kStageCount << ").\n";
        return kExitUsage;
    }
    CMouseSettings settings(mouse.Profile(), mouse.Protocol());
    const int result = settings.SetStageEnabled(*stage - 1, state == "on");
    if (result == CMouseSettings::kRefused) {
        err << "norvikctl: stage " << *stage << " is the last enabled stage; it stays on.\n";
        return kExitUsage;
    }
    return ReportWrite(result, "stage " + std::to_string(*stage) + " " + state, args, out, err);
}

int Polling(CMouseContext& mouse, const Arguments& args, std::ostream& out, std::ostream& err) {
    const std::optional<int> option = ParseNumber(args.words[1], 0, CMouseSettings::kPollingOptionCount - 1);
    if (!option) {
        err << "norvikctl: N must be a polling option from 0 to " << CMouseSettings::kPollingOptionCount - 1
            << ".\n";
        return kExitUsage;
    }
    CMouseSettings settings(mouse.Profile(), mouse.Protocol());
    return ReportWrite(settings.SetPollingRate(*option), "polling option " + std::to_string(*option), args,
                       out, err);
}

int Light(CMouseContext& mouse, const Arguments& args, std::ostream& out, std::ostream& err) {
    LightInfo light = mouse.Profile().GetLightInfo();
    const std::optional<int> mode = ParseNumber(args.words[1], 0, kLightModeCount - 1);
    if (!mode) {
        err << "norvikctl: MODE must be a light mode from 0 to " << kLightModeCount - 1 << ".\n";
        return kExitUsage;
    }
    light.selectItem = static_cast<uint8_t>(*mode);
    const std::pair<const char*, uint8_t*> levels[] = {{"brightness", &light.light}, {"speed", &light.speed}};
    for (const auto& [name, field] : levels) {
        const auto option = args.options.find(name);
        if (option == args.options.end()) {
            continue;
        }
        const std::optional<int> level = ParseNumber(option->second, 0, kHighestSpeedIndex);
        if (!level) {
            err << "norvikctl: --" << name << " must be from 0 to " << int{kHighestSpeedIndex} << ".\n";
            return kExitUsage;
        }
        *field = static_cast<uint8_t>(*level);
    }
    const auto colour = args.options.find("colour");
    if (colour != args.options.end() && !ParseColour(colour->second, light)) {
        err << "norvikctl: --colour must be six hexadecimal digits, RRGGBB.\n";
        return kExitUsage;
    }
    CMouseSettings settings(mouse.Profile(), mouse.Protocol());
    return ReportWrite(settings.SetLight(light), "light mode " + std::to_string(*mode), args, out, err);
}

// The three bytes the mouse's key table held at a position when it was read; null when unmapped.
Json::Value FirmwareBytes(const CMouseProtocol& protocol, uint8_t position) {
    const std::span<const uint8_t> table = protocol.KeyTable();
    const size_t at = size_t{position} * 3;
    if (position == kUnmappedButton || at + 3 > table.size()) {
        return Json::Value();
    }
    return CFunctionArgument::Format({table[at], table[at + 1], table[at + 2]});
}

int Keys(CMouseContext& mouse, const Arguments& args, std::ostream& out) {
    const std::vector<KeyAssignment> keys = mouse.Profile().GetKeyList();
    const std::vector<std::string> macros = CMacroList(mouse.DataFolder()).Names();
    const ButtonMap& map = mouse.Protocol().ButtonMap();
    // Language keys are shown as they are: norvikctl has no language of its own.
    const auto resolve = [](std::string_view key) { return std::string(key); };
    Json::Value list(Json::arrayValue);
    for (size_t button = 0; button < kHostButtonCount; ++button) {
        const HostButton& host = HostButtons()[button];
        const bool assigned = button < keys.size();
        const KeyFunctionCode code =
            assigned ? KeyFunctionCode{keys[button].code1, keys[button].code2, keys[button].code3}
                     : KeyFunctionCode{};
        const std::string function =
            assigned ? CAssignedName::Text(CMouseKeyNames::Name(code, macros), resolve) : "";
        if (args.json) {
            Json::Value entry;
            entry["button"] = static_cast<Json::UInt>(button);
            entry["name"] = host.nameTextId;
            entry["position"] = map[button] == kUnmappedButton ? Json::Value() : Json::Value(map[button]);
            entry["code"] = assigned ? Json::Value(code.Packed()) : Json::Value();
            entry["bytes"] = assigned ? Json::Value(CFunctionArgument::Format(code)) : Json::Value();
            entry["firmware_bytes"] = FirmwareBytes(mouse.Protocol(), map[button]);
            entry["function"] = function;
            list.append(entry);
            continue;
        }
        out << host.nameTextId << ": ";
        if (map[button] == kUnmappedButton) {
            out << "not on this mouse\n";
            continue;
        }
        out << "firmware position " << int{map[button]};
        if (assigned) {
            out << ", " << Hex(code.Packed(), 6) << (function.empty() ? "" : " " + function);
        }
        out << "\n";
    }
    if (args.json) {
        PrintJson(out, list);
    }
    return kExitOk;
}

// Sets one button's function and writes the key table, as the key panel and "Apply to mouse" do.
int Assign(CMouseContext& mouse, const Arguments& args, std::ostream& out, std::ostream& err) {
    std::vector<KeyAssignment> keys = mouse.Profile().GetKeyList();
    const size_t count = std::min(keys.size(), kHostButtonCount);
    const std::optional<int> button = ParseNumber(args.words[1], 0, static_cast<int>(count) - 1);
    if (!button || mouse.Protocol().ButtonMap()[static_cast<size_t>(*button)] == kUnmappedButton) {
        err << "norvikctl: '" << args.words[1] << "' is not a button of this mouse; 'norvikctl mouse keys' "
            << "lists them.\n";
        return kExitUsage;
    }
    KeyAssignment& key = keys[static_cast<size_t>(*button)];
    const std::vector<std::string> macros = CMacroList(mouse.DataFolder()).Names();
    const CFunctionArgument::Parsed parsed = CFunctionArgument::Parse(
        args.words[2], {key.defaultCode1, key.defaultCode2, key.defaultCode3}, macros.size());
    if (!parsed.code) {
        err << "norvikctl: " << parsed.error << ". Nothing was changed.\n";
        return kExitUsage;
    }
    if (IsLastLeftButton(keys, static_cast<size_t>(*button)) && *parsed.code != kLeftButtonCode) {
        err << "norvikctl: button " << *button << " is the mouse's only left button and keeps it. "
            << "Nothing was changed.\n";
        return kExitUsage;
    }
    key.code1 = parsed.code->type;
    key.code2 = parsed.code->param1;
    key.code3 = parsed.code->param2;
    mouse.Profile().SetKeyList(keys);
    mouse.Profile().Save();
    const bool macro =
        parsed.code->type == FunctionType::kMacro || parsed.code->type == FunctionType::kMacroRepeated;
    if (macro && mouse.Protocol().WriteMacros(mouse.DataFolder()) != 0) {
        err << "norvikctl: the profile was saved, but the mouse did not take the macros.\n";
        return kExitFailure;
    }
    const int written = mouse.Protocol().WriteKeyTable(0, keys);
    return ReportWrite(
        written == channel_result::kOk ? CMouseSettings::kOk : written,
        "button " + std::to_string(*button) + " set to " + CFunctionArgument::Format(*parsed.code), args, out,
        err);
}

int WriteMacros(CMouseContext& mouse, const Arguments& args, std::ostream& out, std::ostream& err) {
    if (CMacroList(mouse.DataFolder()).Entries().empty()) {
        return ReportWrite(CMouseSettings::kOk, "there are no macros to write; the mouse was left as it is",
                           args, out, err);
    }
    const int result = mouse.Protocol().WriteMacros(mouse.DataFolder());
    if (result > 0) {
        err << "norvikctl: the macros do not fit the mouse's memory; remove " << result
            << " events and try again. Nothing was sent.\n";
        return kExitMemoryFull;
    }
    if (result < 0) {
        err << "norvikctl: the mouse did not take the macros.\n";
        return kExitFailure;
    }
    std::vector<size_t> counts;
    const CMacroList list(mouse.DataFolder());
    for (size_t i = 0; i < list.Entries().size(); ++i) {
        counts.push_back(list.Load(i).size());
    }
    const size_t used = CMacroImage::Size(counts);
    const size_t capacity = mouse.Protocol().Info().MacroCapacity();
    return ReportWrite(CMouseSettings::kOk,
                       "macros written: " + std::to_string(used) + " bytes used, " +
                           std::to_string(capacity - std::min(used, capacity)) + " of " +
                           std::to_string(capacity) + " free",
                       args, out, err);
}

// The shipped files stand in for any that are missing, as the recoil panel restores them.
int WriteShoot(CMouseContext& mouse, const Arguments& args, std::ostream& out, std::ostream& err) {
    const std::string folder = mouse.DataFolder();
    if (!CShootData(folder, CDataFolders::DefaultDataFolder()).RestoreMissing()) {
        err << "norvikctl: some shoot files in " << folder << " are missing and could not be restored.\n";
        return kExitFailure;
    }
    const size_t used = CMouseProtocol::ShootImage(folder).size();
    if (used > kShootMemoryBytes) {
        err << "norvikctl: the shoot data takes " << used << " bytes, more than the mouse's "
            << kShootMemoryBytes << ". Nothing was sent.\n";
        return kExitMemoryFull;
    }
    if (mouse.Protocol().WriteShootData(folder) != 0) {
        err << "norvikctl: the mouse did not take the shoot data.\n";
        return kExitFailure;
    }
    const size_t free = kShootMemoryBytes - used;
    if (args.json) {
        Json::Value value;
        value["ok"] = true;
        value["bytes_used"] = static_cast<Json::UInt>(used);
        value["bytes_free"] = static_cast<Json::UInt>(free);
        PrintJson(out, value);
        return kExitOk;
    }
    out << "shoot data written: " << used << " bytes used, " << free << " free\n";
    return kExitOk;
}

// What --verify reads back after a subcommand wrote.
enum class Readback { kNone, kParameters, kKeyTable };

int Shoot(CMouseContext& mouse, const Arguments& args, std::ostream& out, std::ostream& err) {
    return CShootCommand(mouse.DataFolder(), CDataFolders::DefaultDataFolder())
        .Run(args.words, args.json, out, err);
}

// A subcommand that checks its own values.
constexpr size_t kOwnValues = static_cast<size_t>(-1);

struct Subcommand {
    const char* name;
    size_t values;  // positional values after the name
    std::vector<std::string> options;
    std::function<int(CMouseContext&, const Arguments&, std::ostream&, std::ostream&)> run;
    Readback readback = Readback::kNone;
};

// kExitOk when the mouse holds what was written, else kExitFailure with each differing field.
int Verify(CMouseContext& mouse, Readback readback, const Arguments& args, std::ostream& out,
           std::ostream& err) {
    CMouseVerifier verifier(mouse.Protocol(), mouse.Profile());
    const std::vector<std::string> differing =
        readback == Readback::kParameters ? verifier.CheckParameters() : verifier.CheckKeyTable();
    if (differing.empty()) {
        if (!args.json) {
            out << "verified: the mouse holds what was written\n";
        }
        return kExitOk;
    }
    err << "norvikctl: the mouse does not hold what was written:";
    for (const std::string& field : differing) {
        err << "\n  " << field;
    }
    err << "\n";
    return kExitFailure;
}

const std::vector<Subcommand>& Subcommands() {
    static const std::vector<Subcommand> table{
        {"info", 0, {}, [](auto& m, auto& a, auto& o, auto&) { return Info(m, a, o); }},
        {"get", 0, {}, Get},
        {"keys", 0, {}, [](auto& m, auto& a, auto& o, auto&) { return Keys(m, a, o); }},
        {"assign", 2, {}, Assign, Readback::kKeyTable},
        {"set-dpi", 2, {}, SetDpi, Readback::kParameters},
        {"stage", 2, {}, Stage, Readback::kParameters},
        {"polling", 1, {}, Polling, Readback::kParameters},
        {"light", 1, {"brightness", "speed", "colour"}, Light, Readback::kParameters},
        {"write-macros", 0, {}, WriteMacros},
        {"write-shoot", 0, {}, WriteShoot},
        {"shoot", kOwnValues, {}, Shoot},
    };
    return table;
}

}  // namespace

void CMouseCommand::PrintHelp(std::ostream& out) const {
    out << "usage: norvikctl mouse COMMAND [--json]\n"
           "\n"
           "Reads and changes the first connected Norvik mouse. Every change is "
           "stored in the mouse's\n"
           "active profile (the one the program shows) and written to the "
           "mouse.\n"
           "\n"
           "commands:\n"
           "  info                     the mouse, its sensor and DPI range, and "
           "its active profile\n"
           "  get                      the settings the mouse holds now (light, "
           "polling, stages)\n"
           "  keys                     the buttons, their firmware positions and "
           "assigned functions\n"
           "  assign BUTTON FUNCTION   give button BUTTON (the index 'keys' shows) a function: a name\n"
           "                           'norvikctl codes' lists, default, macro:N[:MODE] or the code\n"
           "                           bytes in hex (30:CD:00); saved and written to the mouse\n"
           "  set-dpi STAGE DPI        set DPI stage STAGE (1-7) to DPI (within "
           "the range 'info' shows)\n"
           "  stage STAGE on|off       switch a DPI stage on or off (the last "
           "one stays on)\n"
           "  polling N                select polling option N (0-4)\n"
           "  light MODE [--brightness B] [--speed S] [--colour RRGGBB]\n"
           "                           light mode 0-11, brightness and speed "
           "0-4\n"
           "  write-macros             write the macro list to the mouse's macro "
           "memory\n"
           "  write-shoot              write the shoot data to the mouse; says the bytes used and free\n";
    CShootCommand::PrintHelp(out);
    out << "\n"
           "--json prints JSON; in 'get' the stages are in stage order and "
           "active_stage counts from 0.\n"
           "--verify (assign, set-dpi, stage, polling, light) reads back what the mouse stores after the\n"
           "write (parameter record or key table) and names each field that differs; it then exits 1.\n"
           "\n"
           "exit codes: 0 done, 1 the mouse refused or did not answer, 2 bad "
           "arguments or a value\n"
           "out of range (nothing changed), 3 no mouse connected, 4 macros or shoot data do "
           "not fit (nothing sent).\n"
           "\n"
           "Without hardware: NORVIK_SIMULATE=mouse3389 NORVIK_SIM_STATE=FILE "
           "keeps one emulated mouse\n"
           "in FILE across commands.\n";
}

int CMouseCommand::Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    Arguments parsed;
    if (const std::optional<int> done = ReadCommandLine(args, *this, parsed, out, err)) {
        return *done;
    }
    const auto& table = Subcommands();
    const auto command = std::find_if(table.begin(), table.end(),
                                      [&](const Subcommand& c) { return parsed.words[0] == c.name; });
    if (command == table.end()) {
        err << "norvikctl: unknown mouse command '" << parsed.words[0] << "'.\n\n";
        PrintHelp(err);
        return kExitUsage;
    }
    if (command->values != kOwnValues && parsed.words.size() != command->values + 1) {
        err << "norvikctl: wrong number of values for 'mouse " << command->name << "'.\n\n";
        PrintHelp(err);
        return kExitUsage;
    }
    for (const auto& [name, value] : parsed.options) {
        if (std::find(command->options.begin(), command->options.end(), name) == command->options.end()) {
            err << "norvikctl: 'mouse " << command->name << "' has no option --" << name << ".\n";
            return kExitUsage;
        }
    }
    if (parsed.verify && command->readback == Readback::kNone) {
        err << "norvikctl: 'mouse " << command->name
            << "' cannot be verified; --verify is for the commands that "
            << "change the parameter record or the key table.\n";
        return kExitUsage;
    }
    CMouseContext mouse;
    const int opened = mouse.Open(err);
    if (opened != kExitOk) {
        return opened;
    }
    const int result = command->run(mouse, parsed, out, err);
    if (result != kExitOk || !parsed.verify) {
        return result;
    }
    return Verify(mouse, command->readback, parsed, out, err);
}
