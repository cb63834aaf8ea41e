#include "cli/headset_command.h"

#include "cli/active_profile.h"
#include "cli/command_arguments.h"
#include "cli/device_session.h"
#include "devices/headset/audio_conf_bridge.h"
#include "devices/headset/headset_audio.h"
#include "devices/headset/headset_protocol.h"
#include "devices/headset/hs6533_profiledata.h"
#include "platform/paths.h"
#include "profile/data_folders.h"
#include "profile/profile_list.h"

#include <json/writer.h>

#include <charconv>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <ostream>

using namespace command_arguments;

namespace {

constexpr int kLightModeCount = 5;
constexpr const char* kNoLibraryText =
    "norvikctl: the audio library could not be loaded from %s; reinstall the program, or build it "
    "(scripts/build) so that it lies beside the programs.";

std::optional<bool> ParseSwitch(const std::string& text) {
    if (text == "on" || text == "off") {
        return text == "on";
    }
    return std::nullopt;
}

const DeviceDescriptor* HeadsetDescriptor(size_t* row) {
    const auto& rows = DeviceDescriptors();
    for (size_t index = 0; index < rows.size(); ++index) {
        if (rows[index].kind == kKindHeadset) {
            *row = index;
            return &rows[index];
        }
    }
    return nullptr;
}

// The headset as its page has it after it connected: the active profile loaded, the audio
// library started with its defaults ensured and its state read, and the HID side when present.
class CHeadsetContext {
public:
    int Open(std::ostream& err) {
        const DeviceDescriptor* descriptor = HeadsetDescriptor(&row_);
        if (descriptor == nullptr) {
            err << "norvikctl: this build knows no headset.\n";
            return kExitFailure;
        }
        name_ = descriptor->deviceName;
        if (session_.Discover() && session_.Device(row_).Command().IsOpen()) {
            protocol_ = std::make_unique<CHeadsetProtocol>(session_.Device(row_).Command());
            protocol_->ReadLightRecord();
        }
        if (const int opened = LoadProfile(err); opened != kExitOk) {
            return opened;
        }
        if (bridge_.Load(platform::ProgramFolder())) {
            bridge_.Start(
                [&err](const std::string& text) { err << "norvikctl: audio library: " << text << "\n"; });
            bridge_.EnsureDefaults();
        }
        audio_.LoadFromProfile();
        audio_.ReadAudioState();
        return kExitOk;
    }

    // kExitOk when the audio library and its recording and playback endpoints are there.
    int NeedAudio(std::ostream& err) const {
        if (!bridge_.IsLoaded()) {
            char text[512];
            std::snprintf(text, sizeof text, kNoLibraryText,
                          CAudioConfBridge::LibraryPath(platform::ProgramFolder()).c_str());
            err << text << "\n";
            return kExitFailure;
        }
        if (!bridge_.HasEndpoint(AudioEndpoint::kPlayback) ||
            !bridge_.HasEndpoint(AudioEndpoint::kRecording)) {
            err << "norvikctl: the audio library finds no headset playback and recording devices; plug the "
                   "headset in and try again.\n";
            return kExitNoDevice;
        }
        return kExitOk;
    }

    // The outcome of one audio change: saved when it took.
    int Finish(bool changed, const std::string& done, std::ostream& out, std::ostream& err) {
        if (!changed) {
            err << "norvikctl: the audio library did not take the change; nothing was stored.\n";
            return kExitFailure;
        }
        profile_.Save();
        out << done << "\n";
        return kExitOk;
    }

    CHeadsetAudio& Audio() { return audio_; }
    CAudioConfBridge& Bridge() { return bridge_; }
    CHs6533Profiledata& Profile() { return profile_; }
    CHeadsetProtocol* Protocol() { return protocol_.get(); }
    CDeviceConnection& Device() { return session_.Device(row_); }
    const CProfileList& List() const { return *list_; }

private:
    int LoadProfile(std::ostream& err) {
        return CActiveProfile::Open(kKindHeadset, name_, "the headset", list_, profile_, err);
    }

    CDeviceSession session_;
    size_t row_ = 0;
    std::string name_;
    CHs6533Profiledata profile_;
    CAudioConfBridge bridge_;
    CHeadsetAudio audio_{bridge_, profile_};
    std::unique_ptr<CHeadsetProtocol> protocol_;
    std::unique_ptr<CProfileList> list_;
};

Json::Value LightJson(const LightInfo& light) {
    Json::Value value;
    value["mode"] = light.selectItem;
    value["brightness"] = light.light;
    value["speed"] = light.speed;
    value["multicolour"] = light.multiColor;
    value["red"] = light.red;
    value["green"] = light.green;
    value["blue"] = light.blue;
    return value;
}

Json::Value Ints(const std::vector<int>& values) {
    Json::Value list(Json::arrayValue);
    for (int value : values) {
        list.append(value);
    }
    return list;
}

Json::Value StateJson(CHeadsetContext& headset) {
    CHeadsetAudio& audio = headset.Audio();
    const VoiceSettings& settings = audio.Settings();
    Json::Value value;
    value["mic"]["on"] = settings.micInSelect != 0;
    value["mic"]["level"] = settings.micInValue;
    value["monitor"]["on"] = settings.micMonitorSelect != 0;
    value["monitor"]["level"] = settings.micMonitorValue;
    value["eq"]["preset"] = settings.eqType;
    value["eq"]["bands"] = Ints(audio.Gains());
    value["eq"]["custom"] = Json::Value(Json::arrayValue);
    for (const std::string& name : audio.CustomNames()) {
        value["eq"]["custom"].append(name);
    }
    value["eq"]["selected"] = audio.SelectedCustom();
    value["voice"]["on"] = settings.magicEnable != 0;
    value["voice"]["item"] = settings.magicType;
    value["light"] = LightJson(headset.Profile().GetLightInfo());
    return value;
}

int Get(CHeadsetContext& headset, const Arguments& args, std::ostream& out) {
    const Json::Value state = StateJson(headset);
    if (args.json) {
        PrintJson(out, state);
        return kExitOk;
    }
    const auto onOff = [](const Json::Value& v) { return v.asBool() ? "on" : "off"; };
    out << "microphone:     " << onOff(state["mic"]["on"]) << ", level " << state["mic"]["level"].asInt()
        << "\n"
        << "monitoring:     " << onOff(state["monitor"]["on"]) << ", level "
        << state["monitor"]["level"].asInt() << "\n"
        << "equaliser:      preset " << state["eq"]["preset"].asInt() << ", bands";
    for (const Json::Value& gain : state["eq"]["bands"]) {
        out << " " << gain.asInt();
    }
    out << "\ncustom:        ";
    for (Json::ArrayIndex index = 0; index < state["eq"]["custom"].size(); ++index) {
        out << " " << index << "=" << state["eq"]["custom"][index].asString()
            << (static_cast<int>(index) == state["eq"]["selected"].asInt() ? " (selected)" : "");
    }
    out << "\nvoice changer:  " << onOff(state["voice"]["on"]) << ", voice " << state["voice"]["item"].asInt()
        << "\n"
        << "light:          mode " << state["light"]["mode"].asInt() << ", brightness "
        << state["light"]["brightness"].asInt() << ", speed " << state["light"]["speed"].asInt() << "\n";
    return kExitOk;
}

int Info(CHeadsetContext& headset, const Arguments& args, std::ostream& out) {
    CAudioConfBridge& bridge = headset.Bridge();
    Json::Value value;
    value["library"]["path"] = CAudioConfBridge::LibraryPath(platform::ProgramFolder());
    value["library"]["loaded"] = bridge.IsLoaded();
    for (const auto& [name, endpoint] : {std::pair{"playback", AudioEndpoint::kPlayback},
                                         std::pair{"recording", AudioEndpoint::kRecording}}) {
        Json::Value& entry = value["library"][name];
        entry["present"] = bridge.HasEndpoint(endpoint);
        if (bridge.HasEndpoint(endpoint)) {
            entry["kind"] = bridge.Descriptor(endpoint)->kind;
        }
        const CAudioConfBridge::Features features = bridge.FeatureValues(endpoint);
        entry["features"] = Ints({features.begin(), features.end()});
    }
    value["voice_changer"] = headset.Audio().HasVoiceChanger();
    value["connected"] = headset.Protocol() != nullptr;
    CHeadsetProtocol::PowerStatus power{};
    if (headset.Protocol() != nullptr && headset.Protocol()->ReadPowerStatus(power) == channel_result::kOk) {
        value["path"] = headset.Device().Row().path;
        value["battery"] = power[0];
        value["charging"] = power[1];
    }
    value["profile"]["path"] = headset.List().CurrentProfilePath();
    if (args.json) {
        PrintJson(out, value);
        return kExitOk;
    }
    out << "audio library:  " << value["library"]["path"].asString()
        << (bridge.IsLoaded() ? "" : " (not loaded)") << "\n"
        << "playback:       " << (bridge.HasEndpoint(AudioEndpoint::kPlayback) ? "present" : "none") << "\n"
        << "recording:      " << (bridge.HasEndpoint(AudioEndpoint::kRecording) ? "present" : "none") << "\n"
        << "headset:        "
        << (value.isMember("path")
                ? value["path"].asString() + ", battery " + std::to_string(value["battery"].asInt()) + "%"
                : std::string("not connected"))
        << "\n"
        << "active profile: " << value["profile"]["path"].asString() << "\n";
    return kExitOk;
}

int SaveCustom(CHeadsetContext& headset, const std::string& name, std::ostream& out, std::ostream& err) {
    switch (headset.Audio().SaveCustom(name)) {
        case CHeadsetAudio::SaveResult::kNameTaken:
            err << "norvikctl: a custom equaliser named \"" << name
                << "\" exists already (letter case does not count); choose another name.\n";
            return kExitFailure;
        case CHeadsetAudio::SaveResult::kNothing:
            err << "norvikctl: "
                << (name.empty() ? "no custom equaliser is selected to save over; give a NAME."
                                 : "the headset keeps at most 20 custom equalisers; delete one first.")
                << "\n";
            return kExitFailure;
        case CHeadsetAudio::SaveResult::kSaved:
            break;
    }
    headset.Profile().Save();
    out << "custom equaliser " << headset.Audio().SelectedCustom() << " saved\n";
    return kExitOk;
}

int Light(CHeadsetContext& headset, const Arguments& args, std::ostream& out, std::ostream& err) {
    const std::optional<int> mode = ParseNumber(args.words[1], 0, kLightModeCount - 1);
    if (!mode) {
        err << "norvikctl: MODE must be a light mode from 0 to " << kLightModeCount - 1 << ".\n";
        return kExitUsage;
    }
    LightInfo light = headset.Profile().GetLightInfo();
    light.selectItem = static_cast<uint8_t>(*mode);
    const std::pair<const char*, uint8_t*> levels[] = {{"brightness", &light.light}, {"speed", &light.speed}};
    for (const auto& [name, field] : levels) {
        const auto option = args.options.find(name);
        if (option == args.options.end()) {
            continue;
        }
        const std::optional<int> level = ParseNumber(option->second, 0, CHeadsetProtocol::kMaxSpeed);
        if (!level) {
            err << "norvikctl: --" << name << " must be from 0 to " << int{CHeadsetProtocol::kMaxSpeed}
                << ".\n";
            return kExitUsage;
        }
        *field = static_cast<uint8_t>(*level);
    }
    if (const auto colour = args.options.find("colour"); colour != args.options.end()) {
        std::string text = colour->second.rfind('#', 0) == 0 ? colour->second.substr(1) : colour->second;
        unsigned value = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
        if (text.size() != 6 || error != std::errc() || end != text.data() + text.size()) {
            err << "norvikctl: --colour must be RRGGBB in hexadecimal.\n";
            return kExitUsage;
        }
        light.red = static_cast<uint8_t>(value >> 16);
        light.green = static_cast<uint8_t>(value >> 8);
        light.blue = static_cast<uint8_t>(value);
        light.multiColor = 0;
    }
    CHeadsetProtocol* protocol = headset.Protocol();
    if (protocol == nullptr) {
        err << "norvikctl: no Norvik headset is connected. Plug one in (or set NORVIK_SIMULATE=hs6533 to try "
               "an emulated one).\n";
        return kExitNoDevice;
    }
    protocol->SetLight(light);
    const int written = protocol->WriteLightRecord(0);
    if (written != channel_result::kOk) {
        err << "norvikctl: the headset did not take the light record (result " << written
            << "); nothing was stored.\n";
        return kExitFailure;
    }
    headset.Profile().SetLightInfo(light);
    headset.Profile().Save();
    out << "light mode " << *mode << "\n";
    return kExitOk;
}

using Handler = std::function<int(CHeadsetContext&, const Arguments&, std::ostream&, std::ostream&)>;

struct SSubcommand {
    const char* name;
    size_t words;  // including the subcommand
    bool audio;    // needs the audio library
    Handler run;
};

// A switch subcommand ("on" / "off").
Handler Switch(bool (CHeadsetAudio::*set)(bool), const char* what) {
    return [set, what](CHeadsetContext& headset, const Arguments& args, std::ostream& out,
                       std::ostream& err) {
        const std::optional<bool> on = ParseSwitch(args.words[1]);
        if (!on) {
            err << "norvikctl: say on or off.\n";
            return kExitUsage;
        }
        return headset.Finish((headset.Audio().*set)(*on), std::string(what) + " " + args.words[1], out, err);
    };
}

// A number subcommand within [low, high].
Handler Number(bool (CHeadsetAudio::*set)(int), const char* what, int low, int high) {
    return [=](CHeadsetContext& headset, const Arguments& args, std::ostream& out, std::ostream& err) {
        const std::optional<int> value = ParseNumber(args.words[1], low, high);
        if (!value) {
            err << "norvikctl: " << what << " must be from " << low << " to " << high << ".\n";
            return kExitUsage;
        }
        return headset.Finish((headset.Audio().*set)(*value), std::string(what) + " " + args.words[1], out,
                              err);
    };
}

int Band(CHeadsetContext& headset, const Arguments& args, std::ostream& out, std::ostream& err) {
    const std::optional<int> band = ParseNumber(args.words[1], 1, CHeadsetAudio::kBandCount);
    const std::optional<int> gain =
        ParseNumber(args.words[2], CHeadsetAudio::kMinGain, CHeadsetAudio::kMaxGain);
    if (!band || !gain) {
        err << "norvikctl: BAND must be from 1 to " << CHeadsetAudio::kBandCount << " and GAIN from "
            << CHeadsetAudio::kMinGain << " to " << CHeadsetAudio::kMaxGain << ".\n";
        return kExitUsage;
    }
    if (!headset.Audio().MoveBand(*band - 1, *gain)) {
        err << "norvikctl: the audio library did not take the band.\n";
        return kExitFailure;
    }
    out << "band " << *band << " at " << *gain << " (save it with eq-save NAME)\n";
    return kExitOk;
}

int Delete(CHeadsetContext& headset, const Arguments& args, std::ostream& out, std::ostream& err) {
    const int count = static_cast<int>(headset.Audio().CustomNames().size());
    const std::optional<int> index = ParseNumber(args.words[1], 0, count - 1);
    if (!index) {
        err << "norvikctl: N must name a custom equaliser: "
            << (count == 0 ? std::string("there are none") : "0 to " + std::to_string(count - 1)) << ".\n";
        return kExitUsage;
    }
    headset.Audio().SelectCustom(*index);
    headset.Audio().DeleteCustom();
    headset.Profile().Save();
    out << "custom equaliser " << *index << " deleted\n";
    return kExitOk;
}

const std::vector<SSubcommand>& Subcommands() {
    static const std::vector<SSubcommand> table{
        {"info", 1, false, [](auto& h, auto& a, auto& o, auto&) { return Info(h, a, o); }},
        {"get", 1, false, [](auto& h, auto& a, auto& o, auto&) { return Get(h, a, o); }},
        {"mic", 2, true, Switch(&CHeadsetAudio::SetMicOn, "microphone")},
        {"mic-level", 2, true,
         Number(&CHeadsetAudio::SetMicLevel, "microphone level", 0, CHeadsetAudio::kMaxLevel)},
        {"monitor", 2, true, Switch(&CHeadsetAudio::SetMonitorOn, "monitoring")},
        {"monitor-level", 2, true,
         Number(&CHeadsetAudio::SetMonitorLevel, "monitoring level", 0, CHeadsetAudio::kMaxLevel)},
        {"eq", 2, true, Number(&CHeadsetAudio::ApplyPreset, "preset", 1, CHeadsetAudio::kCustomPreset)},
        {"eq-band", 3, true, Band},
        {"eq-save", 2, false,
         [](auto& h, auto& a, auto& o, auto& e) { return SaveCustom(h, a.words[1], o, e); }},
        {"eq-delete", 2, false, Delete},
        {"voice", 2, true, Switch(&CHeadsetAudio::SetVoiceChangerOn, "voice changer")},
        {"voice-item", 2, true, Number(&CHeadsetAudio::ChooseVoice, "voice", 1, CHeadsetAudio::kVoiceCount)},
        {"light", 2, false, Light},
    };
    return table;
}

}  // namespace

void CHeadsetCommand::PrintHelp(std::ostream& out) const {
    out << "usage: norvikctl headset info|get [--json]\n"
           "       norvikctl headset mic on|off | mic-level N | monitor on|off | monitor-level N\n"
           "       norvikctl headset eq PRESET | eq-band BAND GAIN | eq-save NAME | eq-delete N\n"
           "       norvikctl headset voice on|off | voice-item N\n"
           "       norvikctl headset light MODE [--brightness N] [--speed N] [--colour RRGGBB]\n"
           "Levels are 0-100; PRESET 1-12, or 13 for the selected custom equaliser; BAND 1-10 with a\n"
           "GAIN of -20..20 is tried out until eq-save NAME keeps it (at most 20 names, letter case not\n"
           "counting); N of eq-delete counts from 0 as \"get\" lists them; voices are 1-4, light modes "
           "0-4.\n";
}

int CHeadsetCommand::Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    Arguments parsed;
    if (const std::optional<int> done = ReadCommandLine(args, *this, parsed, out, err)) {
        return *done;
    }
    const auto& table = Subcommands();
    const auto found = std::find_if(table.begin(), table.end(), [&](const SSubcommand& s) {
        return parsed.words[0] == s.name && parsed.words.size() == s.words;
    });
    if (found == table.end()) {
        PrintHelp(err);
        return kExitUsage;
    }
    CHeadsetContext headset;
    if (const int opened = headset.Open(err); opened != kExitOk) {
        return opened;
    }
    if (found->audio) {
        if (const int ready = headset.NeedAudio(err); ready != kExitOk) {
            return ready;
        }
    }
    return found->run(headset, parsed, out, err);
}
