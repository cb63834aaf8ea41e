#include "audio/osconf/os_conf_chip.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

constexpr int kPlayback = 0;
constexpr int kRecording = 1;
constexpr const char* kDefaultEndpoints = "playback:1:1,recording:2:1";
// Field 0 bit 0x20000 announces the voice changer.
constexpr const char* kDefaultRecordingFeatures = "131072,0,0,0,1,0,1";
constexpr const char* kDefaultPlaybackFeatures = "0,0,0,0,1,0,1";

struct SLevel {
    const char* level;   // in dB
    const char* scalar;  // 0-1
    double minimum;
    double maximum;
    double step;
    const char* maxName;
    const char* minName;
    const char* stepName;
};

constexpr SLevel kLevels[] = {
    {"VolumeControl", "VolumeScalarControl", -12.0, 30.0, 0.5, "GetMaxVol", "GetMinVol", "GetVolStep"},
    {"AAVolumeControl", "AAVolumeScalarControl", -30.0, 0.0, 0.5, "GetAAMaxVol", "GetAAMinVol",
     "GetAAVolStep"},
};

struct SSwitch {
    int flow;
    const char* name;
    double maximum;
};

constexpr SSwitch kIntegers[] = {
    {kRecording, "MuteControl", 1},
    {kRecording, "AAMuteControl", 1},
    {kRecording, "Enable_MAGICVOICE", 1},
    {kRecording, "Enable_MICECHO", 1},
    {kRecording, "MagicVoice_Selection", 3},
    {kRecording, "Enable_ENC_LFX", 1},
    {kPlayback, "Enable_EQ_GFX", 1},
    {kPlayback, "Enable_RFX_GFX", 1},
    {kPlayback, "RFX_ENVIRONMENT", 25},
    {kPlayback, "RFX_ROOMSIZE", 100},
    {kPlayback, "VirtualSurroundEffectControl", 1},
};

constexpr int kBandCount = 10;
constexpr double kBandLimit = 20.0;

bool IsBand(const std::string& name) {
    for (int band = 1; band <= kBandCount; ++band) {
        if (name == "EQ_Slider" + std::to_string(band)) {
            return true;
        }
    }
    return false;
}

const SLevel* LevelOf(const std::string& name) {
    for (const SLevel& level : kLevels) {
        if (name == level.level || name == level.scalar) {
            return &level;
        }
    }
    return nullptr;
}

// The fixed range figures: GetMaxVol and the rest.
std::optional<double> RangeFigure(const std::string& name) {
    for (const SLevel& level : kLevels) {
        if (name == level.maxName) {
            return level.maximum;
        }
        if (name == level.minName) {
            return level.minimum;
        }
        if (name == level.stepName) {
            return level.step;
        }
    }
    return std::nullopt;
}

const SSwitch* IntegerOf(int flow, const std::string& name) {
    for (const SSwitch& entry : kIntegers) {
        if (entry.flow == flow && name == entry.name) {
            return &entry;
        }
    }
    return nullptr;
}

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::stringstream stream(text);
    std::string part;
    while (std::getline(stream, part, separator)) {
        parts.push_back(part);
    }
    return parts;
}

std::string Environment(const char* name, const char* fallback) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : fallback;
}

std::string NumberText(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.6g", value);
    return text;
}

std::string DefaultStatePath() {
    const char* state = std::getenv("XDG_STATE_HOME");
    const char* home = std::getenv("HOME");
    std::string folder = state != nullptr && *state != '\0'
                             ? state
                             : std::string(home != nullptr ? home : ".") + "/.local/state";
    return folder + "/osConfLib/hs6533.state";
}

std::optional<AudioDeviceDescriptor> ParseEndpoint(const std::string& text, int id) {
    const std::vector<std::string> fields = Split(text, ':');
    if (fields.size() != 3 || (fields[0] != "playback" && fields[0] != "recording")) {
        return std::nullopt;
    }
    const int flow = fields[0] == "playback" ? kPlayback : kRecording;
    return AudioDeviceDescriptor{id, std::atoi(fields[1].c_str()), flow, std::atoi(fields[2].c_str())};
}

}  // namespace

bool COsConfChip::Init() {
    devices_.clear();
    int id = 0;
    for (const std::string& entry : Split(Environment("NORVIK_OSCONF_ENDPOINTS", kDefaultEndpoints), ',')) {
        if (std::optional<AudioDeviceDescriptor> device = ParseEndpoint(entry, id)) {
            devices_.push_back(*device);
            ++id;
        }
    }
    failures_ = Split(Environment("NORVIK_OSCONF_FAIL", ""), ',');
    const char* state = std::getenv("NORVIK_OSCONF_STATE");
    statePath_ = state != nullptr && *state != '\0' ? state : DefaultStatePath();
    logPath_ = Environment("NORVIK_OSCONF_LOG", "");
    Load();
    return !Fails("init", nullptr);
}

int COsConfChip::DeviceCount(int flow) const {
    int count = 0;
    for (const AudioDeviceDescriptor& device : devices_) {
        count += device.flow == flow ? 1 : 0;
    }
    return count;
}

std::optional<AudioDeviceDescriptor> COsConfChip::Device(int flow, int index) const {
    int seen = 0;
    for (const AudioDeviceDescriptor& device : devices_) {
        if (device.flow == flow && seen++ == index) {
            return device;
        }
    }
    return std::nullopt;
}

std::optional<COsConfChip::Type> COsConfChip::PropertyType(int flow, const std::string& name) {
    if (name == "GetSupportFeature") {
        return Type::kText;
    }
    if (flow == kRecording && (LevelOf(name) != nullptr || RangeFigure(name))) {
        return Type::kFloat;
    }
    if (IntegerOf(flow, name) != nullptr || (flow == kPlayback && IsBand(name))) {
        return Type::kInt;
    }
    return std::nullopt;
}

bool COsConfChip::Known(const AudioDeviceDescriptor& device) const {
    for (const AudioDeviceDescriptor& own : devices_) {
        if (own.id == device.id && own.flow == device.flow) {
            return true;
        }
    }
    return false;
}

bool COsConfChip::Fails(const std::string& name, const char* action) const {
    const std::string entry = action != nullptr ? name + ":" + action : name;
    for (const std::string& failure : failures_) {
        if (failure == entry) {
            return true;
        }
    }
    return false;
}

std::string COsConfChip::Key(const AudioDeviceDescriptor& device, const std::string& name) const {
    return std::to_string(device.id) + "." + name;
}

int COsConfChip::Read(const AudioDeviceDescriptor& device, const std::string& name, std::string& text) {
    Log("read " + std::to_string(device.flow) + " " + name);
    const std::optional<Type> type = PropertyType(device.flow, name);
    if (!Known(device) || !type || Fails(name, "read")) {
        return -1;
    }
    if (*type == Type::kText) {
        text = Environment(
            device.flow == kPlayback ? "NORVIK_OSCONF_FEATURES_PLAYBACK" : "NORVIK_OSCONF_FEATURES_RECORDING",
            device.flow == kPlayback ? kDefaultPlaybackFeatures : kDefaultRecordingFeatures);
        return 0;
    }
    if (std::optional<double> figure = RangeFigure(name)) {
        text = NumberText(*figure);
        return 0;
    }
    const auto found = values_.find(Key(device, name));
    if (found == values_.end()) {
        return -1;
    }
    text = NumberText(found->second);
    return 0;
}

int COsConfChip::Write(const AudioDeviceDescriptor& device, const std::string& name, const void* value,
                       int index) {
    const std::optional<Type> type = PropertyType(device.flow, name);
    double number = 0;
    if (type == Type::kFloat) {
        float raw = 0;
        std::memcpy(&raw, value, sizeof raw);
        number = raw;
    } else {
        int32_t raw = 0;
        std::memcpy(&raw, value, sizeof raw);
        number = raw;
    }
    Log("write " + std::to_string(device.flow) + " " + name + " " + NumberText(number) + " index " +
        std::to_string(index));
    if (!Known(device) || !type || *type == Type::kText || RangeFigure(name) || Fails(name, "write")) {
        return -1;
    }
    Range range{0, 1};
    if (const SLevel* level = LevelOf(name); level != nullptr && name == level->level) {
        range = {level->minimum, level->maximum};
    } else if (const SSwitch* entry = IntegerOf(device.flow, name)) {
        range = {0, entry->maximum};
    } else if (IsBand(name)) {
        range = {-kBandLimit, kBandLimit};
    }
    if (!std::isfinite(number) || number < range.minimum || number > range.maximum) {
        return -1;
    }
    SetLinked(device, name, number);
    Save();
    return 0;
}

// A level and its scalar are one setting seen two ways.
void COsConfChip::SetLinked(const AudioDeviceDescriptor& device, const std::string& name, double value) {
    values_[Key(device, name)] = value;
    const SLevel* level = LevelOf(name);
    if (level == nullptr) {
        return;
    }
    const double span = level->maximum - level->minimum;
    if (name == level->scalar) {
        values_[Key(device, level->level)] = level->minimum + value * span;
    } else {
        values_[Key(device, level->scalar)] = (value - level->minimum) / span;
    }
}

void COsConfChip::Load() {
    values_.clear();
    std::ifstream file(statePath_);
    std::string key;
    double value = 0;
    while (file >> key >> value) {
        values_[key] = value;
    }
}

void COsConfChip::Save() const {
    std::error_code error;
    const std::filesystem::path path(statePath_);
    std::filesystem::create_directories(path.parent_path(), error);
    const std::string temporary = statePath_ + ".tmp";
    {
        std::ofstream file(temporary, std::ios::trunc);
        for (const auto& [key, value] : values_) {
            file << key << ' ' << NumberText(value) << '\n';
        }
        if (!file) {
            return;
        }
    }
    std::filesystem::rename(temporary, path, error);
}

void COsConfChip::Log(const std::string& line) const {
    if (logPath_.empty()) {
        return;
    }
    std::ofstream(logPath_, std::ios::app) << line << '\n';
}
