#include "cli/pad_command.h"

#include "cli/active_profile.h"
#include "cli/command_arguments.h"
#include "cli/device_session.h"
#include "devices/pad/mouse_pad_protocol.h"
#include "devices/pad/mouse_pad_settings.h"
#include "profile/basic_profiledata.h"
#include "profile/data_folders.h"
#include "profile/profile_list.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>

using namespace command_arguments;
using namespace padwire;

namespace {

constexpr const char* kNoPadText =
    "No Norvik mouse pad is connected. Plug one in (or set NORVIK_SIMULATE=mousepad to try an "
    "emulated one).";

// The bound pad with its record read back and its active profile loaded, as the pad page has
// them after it connected.
class CPadContext {
public:
    int Open(std::ostream& err) {
        if (!session_.Discover()) {
            err << "norvikctl: the HID devices could not be listed.\n";
            return kExitFailure;
        }
        row_ = session_.FirstBound(kKindMousePad);
        if (row_ < 0) {
            err << kNoPadText << "\n";
            return kExitNoDevice;
        }
        protocol_ = std::make_unique<CMousePadProtocol>(Device().Command());
        int read = protocol_->ReadInfo();
        if (read == channel_result::kOk) {
            read = protocol_->ReadParameters(profileIndex_);
        }
        if (read != channel_result::kOk) {
            err << "norvikctl: the mouse pad did not give its settings (result " << read
                << "); nothing was changed.\n";
            return kExitFailure;
        }
        return LoadActiveProfile(err);
    }

    CDeviceConnection& Device() { return session_.Device(row_); }
    std::string Name() const { return DeviceDescriptors()[row_].deviceName; }
    int LedCount() const { return DevicePages()[row_].ledCount; }
    int ProfileIndex() const { return profileIndex_; }
    CMousePadProtocol& Protocol() { return *protocol_; }
    CBasicProfiledata& Profile() { return profile_; }
    const CProfileList& List() const { return *list_; }

private:
    int LoadActiveProfile(std::ostream& err) {
        return CActiveProfile::Open(kKindMousePad, Name(), "the mouse pad", list_, profile_, err);
    }

    CDeviceSession session_;
    int row_ = -1;
    int profileIndex_ = 0;
    CBasicProfiledata profile_;
    std::unique_ptr<CMousePadProtocol> protocol_;
    std::unique_ptr<CProfileList> list_;
};

// What "pad light" asks for, checked before the pad is opened.
struct LightRequest {
    uint8_t mode = 0;
    std::optional<uint8_t> brightness;
    std::optional<uint8_t> speed;
    std::optional<LightInfo> colour;  // red, green, blue with multicolour off
};

bool ParseLightRequest(const Arguments& args, LightRequest& request, std::ostream& err) {
    const std::optional<int> mode = ParseNumber(args.words[1], 0, kLightModeCount - 1);
    if (!mode) {
        err << "norvikctl: MODE must be a light mode from 0 to " << kLightModeCount - 1
            << ". Nothing was changed.\n";
        return false;
    }
    request.mode = static_cast<uint8_t>(*mode);
    const std::pair<const char*, std::optional<uint8_t>*> levels[] = {{"brightness", &request.brightness},
                                                                      {"speed", &request.speed}};
    for (const auto& [name, field] : levels) {
        const auto option = args.options.find(name);
        if (option == args.options.end()) {
            continue;
        }
        const std::optional<int> level = ParseNumber(option->second, 0, kHighestLevel);
        if (!level) {
            err << "norvikctl: --" << name << " must be from 0 to " << int{kHighestLevel}
                << ". Nothing was changed.\n";
            return false;
        }
        *field = static_cast<uint8_t>(*level);
    }
    const auto colour = args.options.find("colour");
    LightInfo parsed;
    if (colour != args.options.end() && !ParseColour(colour->second, parsed)) {
        err << "norvikctl: --colour must be six hexadecimal digits, RRGGBB. Nothing was changed.\n";
        return false;
    }
    if (colour != args.options.end()) {
        request.colour = parsed;
    }
    return true;
}

std::string ColourText(uint8_t red, uint8_t green, uint8_t blue) {
    char text[8];
    std::snprintf(text, sizeof(text), "%02X%02X%02X", red, green, blue);
    return text;
}

Json::Value LightJson(const PadRecord& record) {
    Json::Value light;
    light["mode"] = record.lightMode;
    light["brightness"] = record.brightness;
    light["speed"] = record.speed;
    light["multicolour"] = record.multiColour != 0;
    light["red"] = record.red;
    light["green"] = record.green;
    light["blue"] = record.blue;
    return light;
}

int Info(CPadContext& pad, const Arguments& args, std::ostream& out) {
    const ProfileEntry& entry = pad.List().Entries()[pad.List().SelectedIndex()];
    if (args.json) {
        Json::Value value;
        value["device"] = pad.Name();
        value["path"] = pad.Device().Row().path;
        value["led_count"] = pad.LedCount();
        value["active_slot"] = pad.ProfileIndex();
        value["profile"]["name"] = entry.name;
        value["profile"]["uuid"] = entry.uuid;
        value["profile"]["path"] = pad.List().CurrentProfilePath();
        PrintJson(out, value);
        return kExitOk;
    }
    out << "device:          " << pad.Name() << "\n"
        << "path:            " << pad.Device().Row().path << "\n"
        << "lights:          " << pad.LedCount() << "\n"
        << "active slot:     " << pad.ProfileIndex() << "\n"
        << "active profile:  " << entry.name << " (" << pad.List().CurrentProfilePath() << ")\n";
    return kExitOk;
}

int Get(CPadContext& pad, const Arguments& args, std::ostream& out) {
    const PadRecord& record = pad.Protocol().Record();
    if (args.json) {
        Json::Value value;
        value["slot"] = record.activeProfile;
        value["light"] = LightJson(record);
        PrintJson(out, value);
        return kExitOk;
    }
    out << "slot:   " << int{record.activeProfile} << "\n"
        << "light:  mode " << int{record.lightMode} << ", brightness " << int{record.brightness} << ", speed "
        << int{record.speed} << ", colour " << ColourText(record.red, record.green, record.blue)
        << (record.multiColour != 0 ? " (multicolour)" : "") << "\n";
    return kExitOk;
}

int Light(CPadContext& pad, const LightRequest& request, const Arguments& args, std::ostream& out,
          std::ostream& err) {
    LightInfo light = pad.Profile().GetLightInfo();
    light.selectItem = request.mode;
    light.light = request.brightness.value_or(light.light);
    light.speed = request.speed.value_or(light.speed);
    if (request.colour) {
        light.red = request.colour->red;
        light.green = request.colour->green;
        light.blue = request.colour->blue;
        light.multiColor = 0;
    }
    const int result = CMousePadSettings(pad.Profile(), pad.Protocol()).SetLight(light);
    if (result != CMousePadSettings::kOk) {
        err << "norvikctl: the profile was saved, but the mouse pad did not take the new light (result "
            << result << "). Check that it is connected and try again.\n";
        return kExitFailure;
    }
    const std::string done = "light mode " + std::to_string(request.mode);
    if (!args.json) {
        out << done << "\n";
        return kExitOk;
    }
    Json::Value value;
    value["ok"] = true;
    value["message"] = done;
    value["light"] = LightJson(pad.Protocol().Record());
    PrintJson(out, value);
    return kExitOk;
}

struct Subcommand {
    const char* name;
    size_t values;
    std::vector<std::string> options;
};

const std::vector<Subcommand>& Subcommands() {
    static const std::vector<Subcommand> table{
        {"info", 0, {}},
        {"get", 0, {}},
        {"light", 1, {"brightness", "speed", "colour"}},
    };
    return table;
}

// The command's shape: its name, its number of values and its options. kExitOk when it fits.
int CheckShape(const Arguments& parsed, const CPadCommand& command, std::ostream& err) {
    const auto& words = parsed.words;
    const auto& table = Subcommands();
    const auto found =
        std::find_if(table.begin(), table.end(), [&](const Subcommand& c) { return words[0] == c.name; });
    if (found == table.end()) {
        err << "norvikctl: unknown pad command '" << words[0] << "'.\n\n";
        command.PrintHelp(err);
        return kExitUsage;
    }
    if (words.size() != found->values + 1) {
        err << "norvikctl: wrong number of values for 'pad " << found->name << "'.\n\n";
        command.PrintHelp(err);
        return kExitUsage;
    }
    for (const auto& [name, value] : parsed.options) {
        if (std::find(found->options.begin(), found->options.end(), name) == found->options.end()) {
            err << "norvikctl: 'pad " << found->name << "' has no option --" << name << ".\n";
            return kExitUsage;
        }
    }
    return kExitOk;
}

}  // namespace

void CPadCommand::PrintHelp(std::ostream& out) const {
    out << "usage: norvikctl pad COMMAND [--json]\n"
           "\n"
           "Reads and changes the connected Norvik lit mouse pad. A light change is stored in the\n"
           "pad's active profile (the one the program shows) and written to the pad.\n"
           "\n"
           "commands:\n"
           "  info                     the pad, its lights and its active profile\n"
           "  get                      the light the pad holds now\n"
           "  light MODE [--brightness B] [--speed S] [--colour RRGGBB]\n"
           "                           light mode 0-8 (0 wave, 1 spectrum, 2 breathing, 3 static,\n"
           "                           4 blink, 5 ripple, 6 four-colour breathing, 7 four-colour\n"
           "                           blink, 8 off), brightness and speed 0-4\n"
           "\n"
           "exit codes: 0 done, 1 the pad refused or did not answer, 2 bad arguments or a value out\n"
           "of range (nothing changed), 3 no mouse pad connected.\n"
           "\n"
           "Without hardware: NORVIK_SIMULATE=mousepad NORVIK_SIM_STATE=FILE keeps an emulated pad in\n"
           "FILE across commands.\n";
}

int CPadCommand::Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    Arguments parsed;
    if (const std::optional<int> done = ReadCommandLine(args, *this, parsed, out, err)) {
        return *done;
    }
    const auto& words = parsed.words;
    if (const int shape = CheckShape(parsed, *this, err); shape != kExitOk) {
        return shape;
    }
    LightRequest request;
    if (words[0] == "light" && !ParseLightRequest(parsed, request, err)) {
        return kExitUsage;
    }
    CPadContext pad;
    if (const int opened = pad.Open(err); opened != kExitOk) {
        return opened;
    }
    if (words[0] == "info") {
        return Info(pad, parsed, out);
    }
    if (words[0] == "get") {
        return Get(pad, parsed, out);
    }
    return Light(pad, request, parsed, out, err);
}
