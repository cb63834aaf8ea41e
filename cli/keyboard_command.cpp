#include "cli/keyboard_command.h"

#include "cli/active_profile.h"
#include "cli/command_arguments.h"
#include "cli/device_session.h"
#include "cli/function_argument.h"
#include "devices/common/assigned_name.h"
#include "devices/keyboard/keyboard_profiledata.h"
#include "devices/keyboard/keyboard_protocol.h"
#include "devices/keyboard/keyboard_settings.h"
#include "macro/macro_list.h"
#include "profile/data_folders.h"
#include "profile/profile_list.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>

using namespace command_arguments;
using namespace keyboardwire;

namespace {

constexpr const char* kNoKeyboardText =
    "No Norvik keyboard is connected. Plug one in (or set NORVIK_SIMULATE=keyboard to try an "
    "emulated one).";
// FN chooses the keyboard's second layer; it can be lit but not reassigned.
constexpr size_t kFnPosition = 110;
constexpr int kHighestLevel = 4;

// The bound keyboard with its tables read back and its active profile loaded, as the keyboard
// page has them after it connected.
class CKeyboardContext {
public:
    int Open(std::ostream& err) {
        if (!session_.Discover()) {
            err << "norvikctl: the HID devices could not be listed.\n";
            return kExitFailure;
        }
        row_ = session_.FirstBound(kKindKeyboard);
        if (row_ < 0) {
            err << kNoKeyboardText << "\n";
            return kExitNoDevice;
        }
        protocol_ = std::make_unique<CKeyboardProtocol>(Device().Command());
        const int read = protocol_->ReadDeviceInfo();
        if (read != channel_result::kOk) {
            err << "norvikctl: the keyboard did not give its key tables (result " << read
                << "); nothing was changed.\n";
            return kExitFailure;
        }
        return LoadActiveProfile(err);
    }

    CDeviceConnection& Device() { return session_.Device(row_); }
    std::string Name() const { return DeviceDescriptors()[row_].deviceName; }
    CKeyboardProtocol& Protocol() { return *protocol_; }
    CKeyboardProfiledata& Profile() { return profile_; }
    const CProfileList& List() const { return *list_; }
    std::string DataFolder() const { return CDataFolders::UserDataFolder(Name()); }

private:
    int LoadActiveProfile(std::ostream& err) {
        if (const int opened =
                CActiveProfile::Open(kKindKeyboard, Name(), "the keyboard", list_, profile_, err);
            opened != kExitOk) {
            return opened;
        }
        profile_.GetSystemSettings();
        protocol_->MapAssignedKeys(profile_.GetKeyList());
        return kExitOk;
    }

    CDeviceSession session_;
    int row_ = -1;
    CKeyboardProfiledata profile_;
    std::unique_ptr<CKeyboardProtocol> protocol_;
    std::unique_ptr<CProfileList> list_;
};

int ReportWrite(int result, const std::string& done, const Arguments& args, std::ostream& out,
                std::ostream& err) {
    if (result != CKeyboardSettings::kOk) {
        err << "norvikctl: the profile was saved, but the keyboard did not take the new settings (result "
            << result << "). Check that it is connected and try again.\n";
        return kExitFailure;
    }
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

size_t MappedPositions(const KeyMaps& maps) {
    return static_cast<size_t>(std::count_if(maps.keyCode.begin(), maps.keyCode.end(),
                                             [](uint8_t key) { return key != kUnmapped; }));
}

int Info(CKeyboardContext& keyboard, const Arguments& args, std::ostream& out) {
    const InfoBlock& info = keyboard.Protocol().Info();
    const ProfileEntry& entry = keyboard.List().Entries()[keyboard.List().SelectedIndex()];
    const size_t mapped = MappedPositions(keyboard.Protocol().Maps());
    if (args.json) {
        Json::Value value;
        value["device"] = keyboard.Name();
        value["path"] = keyboard.Device().Row().path;
        value["key_count"] = info.keyCount;
        value["mapped_positions"] = static_cast<Json::UInt>(mapped);
        value["macro_capacity"] = static_cast<Json::UInt>(info.MacroCapacity());
        value["profile"]["name"] = entry.name;
        value["profile"]["uuid"] = entry.uuid;
        value["profile"]["path"] = keyboard.List().CurrentProfilePath();
        PrintJson(out, value);
        return kExitOk;
    }
    out << "device:          " << keyboard.Name() << "\n"
        << "path:            " << keyboard.Device().Row().path << "\n"
        << "firmware keys:   " << int{info.keyCount} << " (" << mapped << " of " << kKeyboardPositionCount
        << " host positions found)\n"
        << "macro memory:    " << info.MacroCapacity() << " bytes\n"
        << "active profile:  " << entry.name << " (" << keyboard.List().CurrentProfilePath() << ")\n";
    return kExitOk;
}

int Get(CKeyboardContext& keyboard, const Arguments& args, std::ostream& out, std::ostream& err) {
    std::array<uint8_t, kRecordSize> record{};
    const int result = keyboard.Protocol().ReadActiveProfile(keyboard.Profile(), record);
    if (result != channel_result::kOk) {
        err << "norvikctl: the keyboard did not return its settings (result " << result << ").\n";
        return kExitFailure;
    }
    ProfileRecord fields{};
    std::memcpy(&fields, record.data(), sizeof fields);
    const int speed = fields.inverseSpeed > kHighestSpeed ? 0 : kHighestSpeed - fields.inverseSpeed;
    if (args.json) {
        Json::Value value;
        value["slot"] = fields.activeSlot;
        Json::Value& light = value["light"];
        light["mode"] = fields.lightMode;
        light["brightness"] = fields.brightness;
        light["speed"] = speed;
        light["direction"] = fields.direction;
        light["multicolour"] = fields.multiColour;
        light["red"] = fields.red;
        light["green"] = fields.green;
        light["blue"] = fields.blue;
        value["polling"] = fields.pollingRate;
        value["winlock"] = fields.winFlag != 0;
        value["wkey"] = fields.wFlag != 0;
        value["sixkey"] = fields.key6Flag != 0;
        PrintJson(out, value);
        return kExitOk;
    }
    char colour[8];
    std::snprintf(colour, sizeof(colour), "%02X%02X%02X", fields.red, fields.green, fields.blue);
    const auto onOff = [](uint8_t flag) { return flag != 0 ? "on" : "off"; };
    out << "slot:           " << int{fields.activeSlot} << "\n"
        << "light:          mode " << int{fields.lightMode} << ", brightness " << int{fields.brightness}
        << ", speed " << speed << ", colour " << colour << (fields.multiColour ? " (multicolour)" : "")
        << "\n"
        << "polling option: " << int{fields.pollingRate} << "\n"
        << "Windows lock:   " << onOff(fields.winFlag) << "\n"
        << "W key flag:     " << onOff(fields.wFlag) << "\n"
        << "six-key mode:   " << onOff(fields.key6Flag) << "\n";
    return kExitOk;
}

int Keys(CKeyboardContext& keyboard, const Arguments& args, std::ostream& out) {
    const std::vector<KeyAssignment> keys = keyboard.Profile().GetKeyList();
    const std::vector<std::string> macros = CMacroList(keyboard.DataFolder()).Names();
    const PositionMap& map = keyboard.Protocol().Maps().keyCode;
    const auto resolve = [](std::string_view key) { return std::string(key); };
    Json::Value list(Json::arrayValue);
    for (size_t position = 0; position < kKeyboardPositionCount; ++position) {
        const std::string name(CAssignedName::OwnNameKey(DefaultKeyTable[position]).value_or(""));
        const bool assigned = position < keys.size();
        const KeyFunctionCode code =
            assigned ? KeyFunctionCode{keys[position].code1, keys[position].code2, keys[position].code3}
                     : DefaultKeyTable[position];
        const std::string function = CAssignedName::Text(CAssignedName::Name(code, macros), resolve);
        if (args.json) {
            Json::Value entry;
            entry["position"] = static_cast<Json::UInt>(position);
            entry["name"] = name;
            entry["firmware_key"] = map[position] == kUnmapped ? Json::Value() : Json::Value(map[position]);
            entry["code"] = code.Packed();
            entry["bytes"] = CFunctionArgument::Format(code);
            entry["function"] = function;
            list.append(entry);
            continue;
        }
        out << position << " " << (name.empty() ? "(unnamed)" : name) << ": ";
        if (map[position] == kUnmapped) {
            out << "not on this keyboard\n";
            continue;
        }
        out << "firmware key " << int{map[position]} << ", " << Hex(code.Packed(), 6)
            << (function.empty() ? "" : " " + function) << "\n";
    }
    if (args.json) {
        PrintJson(out, list);
    }
    return kExitOk;
}

int Assign(CKeyboardContext& keyboard, const Arguments& args, std::ostream& out, std::ostream& err) {
    std::vector<KeyAssignment> keys = keyboard.Profile().GetKeyList();
    const int count = static_cast<int>(std::min(keys.size(), kKeyboardPositionCount));
    const std::optional<int> position = ParseNumber(args.words[1], 0, count - 1);
    if (!position || keyboard.Protocol().Maps().keyCode[static_cast<size_t>(*position)] == kUnmapped) {
        err << "norvikctl: '" << args.words[1] << "' is not a key position of this keyboard; "
            << "'norvikctl keyboard keys' lists them.\n";
        return kExitUsage;
    }
    if (static_cast<size_t>(*position) == kFnPosition) {
        err << "norvikctl: the FN key keeps its function. Nothing was changed.\n";
        return kExitUsage;
    }
    KeyAssignment& key = keys[static_cast<size_t>(*position)];
    const std::vector<std::string> macros = CMacroList(keyboard.DataFolder()).Names();
    const CFunctionArgument::Parsed parsed = CFunctionArgument::Parse(
        args.words[2], {key.defaultCode1, key.defaultCode2, key.defaultCode3}, macros.size());
    if (!parsed.code) {
        err << "norvikctl: " << parsed.error << ". Nothing was changed.\n";
        return kExitUsage;
    }
    key.code1 = parsed.code->type;
    key.code2 = parsed.code->param1;
    key.code3 = parsed.code->param2;
    keyboard.Profile().SetKeyList(keys);
    keyboard.Profile().Save();
    const bool macro =
        parsed.code->type == FunctionType::kMacro || parsed.code->type == FunctionType::kMacroRepeated;
    if (macro && keyboard.Protocol().WriteMacros(keyboard.DataFolder()) != 0) {
        err << "norvikctl: the profile was saved, but the keyboard did not take the macros.\n";
        return kExitFailure;
    }
    const int written = keyboard.Protocol().WriteKeyTable(0, keys);
    return ReportWrite(
        written == channel_result::kOk ? CKeyboardSettings::kOk : written,
        "key " + std::to_string(*position) + " set to " + CFunctionArgument::Format(*parsed.code), args, out,
        err);
}

int Polling(CKeyboardContext& keyboard, const Arguments& args, std::ostream& out, std::ostream& err) {
    const std::optional<int> option =
        ParseNumber(args.words[1], 0, CKeyboardSettings::kPollingOptionCount - 1);
    if (!option) {
        err << "norvikctl: N must be a polling option from 0 to "
            << CKeyboardSettings::kPollingOptionCount - 1 << ".\n";
        return kExitUsage;
    }
    CKeyboardSettings settings(keyboard.Profile(), keyboard.Protocol());
    return ReportWrite(settings.SetPollingRate(*option), "polling option " + std::to_string(*option), args,
                       out, err);
}

// winlock, wkey and sixkey: one flag of the settings record each.
int Flag(CKeyboardContext& keyboard, const Arguments& args, std::ostream& out, std::ostream& err) {
    const std::string& state = args.words[1];
    if (state != "on" && state != "off") {
        err << "norvikctl: usage: keyboard " << args.words[0] << " on|off.\n";
        return kExitUsage;
    }
    const bool on = state == "on";
    CKeyboardSettings settings(keyboard.Profile(), keyboard.Protocol());
    const std::string& flag = args.words[0];
    const int result = flag == "winlock" ? settings.SetWinLock(on)
                       : flag == "wkey"  ? settings.SetWFlag(on)
                                         : settings.SetSixKey(on);
    return ReportWrite(result, flag + " " + state, args, out, err);
}

int Light(CKeyboardContext& keyboard, const Arguments& args, std::ostream& out, std::ostream& err) {
    LightInfo light = keyboard.Profile().GetLightInfo();
    const std::optional<int> mode = ParseNumber(args.words[1], 0, kLightModeLimit - 1);
    if (!mode) {
        err << "norvikctl: MODE must be a light mode from 0 to " << kLightModeLimit - 1 << ".\n";
        return kExitUsage;
    }
    light.selectItem = static_cast<uint8_t>(*mode);
    const std::pair<const char*, uint8_t*> levels[] = {{"brightness", &light.light}, {"speed", &light.speed}};
    for (const auto& [name, field] : levels) {
        const auto option = args.options.find(name);
        if (option == args.options.end()) {
            continue;
        }
        const std::optional<int> level = ParseNumber(option->second, 0, kHighestLevel);
        if (!level) {
            err << "norvikctl: --" << name << " must be from 0 to " << kHighestLevel << ".\n";
            return kExitUsage;
        }
        *field = static_cast<uint8_t>(*level);
    }
    const auto colour = args.options.find("colour");
    if (colour != args.options.end() && !ParseColour(colour->second, light)) {
        err << "norvikctl: --colour must be six hexadecimal digits, RRGGBB.\n";
        return kExitUsage;
    }
    CKeyboardSettings settings(keyboard.Profile(), keyboard.Protocol());
    return ReportWrite(settings.SetLight(light), "light mode " + std::to_string(*mode), args, out, err);
}

int WriteMacros(CKeyboardContext& keyboard, const Arguments& args, std::ostream& out, std::ostream& err) {
    if (CMacroList(keyboard.DataFolder()).Entries().empty()) {
        return ReportWrite(CKeyboardSettings::kOk,
                           "there are no macros to write; the keyboard was left as it is", args, out, err);
    }
    const int result = keyboard.Protocol().WriteMacros(keyboard.DataFolder());
    if (result > 0) {
        err << "norvikctl: the macros do not fit the keyboard's memory; remove " << result
            << " events and try again. Nothing was sent.\n";
        return kExitMemoryFull;
    }
    if (result < 0) {
        err << "norvikctl: the keyboard did not take the macros.\n";
        return kExitFailure;
    }
    return ReportWrite(CKeyboardSettings::kOk, "macros written", args, out, err);
}

struct Subcommand {
    const char* name;
    size_t values;
    std::vector<std::string> options;
    std::function<int(CKeyboardContext&, const Arguments&, std::ostream&, std::ostream&)> run;
};

const std::vector<Subcommand>& Subcommands() {
    static const std::vector<Subcommand> table{
        {"info", 0, {}, [](auto& k, auto& a, auto& o, auto&) { return Info(k, a, o); }},
        {"get", 0, {}, Get},
        {"keys", 0, {}, [](auto& k, auto& a, auto& o, auto&) { return Keys(k, a, o); }},
        {"assign", 2, {}, Assign},
        {"polling", 1, {}, Polling},
        {"winlock", 1, {}, Flag},
        {"wkey", 1, {}, Flag},
        {"sixkey", 1, {}, Flag},
        {"light", 1, {"brightness", "speed", "colour"}, Light},
        {"write-macros", 0, {}, WriteMacros},
    };
    return table;
}

}  // namespace

void CKeyboardCommand::PrintHelp(std::ostream& out) const {
    out << "usage: norvikctl keyboard COMMAND [--json]\n"
           "\n"
           "Reads and changes the connected Norvik keyboard. Every change is stored in the keyboard's\n"
           "active profile (the one the program shows) and written to the keyboard.\n"
           "\n"
           "commands:\n"
           "  info                     the keyboard, its key count, macro memory and active profile\n"
           "  get                      the settings the keyboard holds now (light, polling, flags)\n"
           "  keys                     the 126 key positions, their firmware keys and functions\n"
           "  assign POS FUNCTION      give key position POS (0-125, as 'keys' shows; not FN) a\n"
           "                           function: a name 'norvikctl codes' lists, default,\n"
           "                           macro:N[:MODE] or the code bytes in hex (20:00:04)\n"
           "  polling N                select polling option N (0-3)\n"
           "  winlock on|off           lock the Windows keys\n"
           "  wkey on|off              the W-key flag\n"
           "  sixkey on|off            six-key mode\n"
           "  light MODE [--brightness B] [--speed S] [--colour RRGGBB]\n"
           "                           light mode 0-24, brightness and speed 0-4\n"
           "  write-macros             write the macro list to the keyboard's macro memory\n"
           "\n"
           "exit codes: 0 done, 1 the keyboard refused or did not answer, 2 bad arguments or a value\n"
           "out of range (nothing changed), 3 no keyboard connected, 4 macros do not fit (nothing sent).\n"
           "\n"
           "Without hardware: NORVIK_SIMULATE=keyboard NORVIK_SIM_STATE=FILE keeps an emulated\n"
           "keyboard in FILE across commands.\n";
}

int CKeyboardCommand::Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    Arguments parsed;
    if (const std::optional<int> done = ReadCommandLine(args, *this, parsed, out, err)) {
        return *done;
    }
    const auto& words = parsed.words;
    const auto& table = Subcommands();
    const auto command =
        std::find_if(table.begin(), table.end(), [&](const Subcommand& c) { return words[0] == c.name; });
    if (command == table.end()) {
        err << "norvikctl: unknown keyboard command '" << words[0] << "'.\n\n";
        PrintHelp(err);
        return kExitUsage;
    }
    if (words.size() != command->values + 1) {
        err << "norvikctl: wrong number of values for 'keyboard " << command->name << "'.\n\n";
        PrintHelp(err);
        return kExitUsage;
    }
    for (const auto& [name, value] : parsed.options) {
        if (std::find(command->options.begin(), command->options.end(), name) == command->options.end()) {
            err << "norvikctl: 'keyboard " << command->name << "' has no option --" << name << ".\n";
            return kExitUsage;
        }
    }
    CKeyboardContext keyboard;
    const int opened = keyboard.Open(err);
    if (opened != kExitOk) {
        return opened;
    }
    return command->run(keyboard, parsed, out, err);
}
