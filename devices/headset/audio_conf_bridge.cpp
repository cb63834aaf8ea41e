#include "devices/headset/audio_conf_bridge.h"

#include "platform/debug.h"

#include <dlfcn.h>

#include <cstdlib>
#include <cstring>
#include <sstream>
#include <vector>

namespace {

constexpr int kPlaybackFlow = 0;
constexpr int kRecordingFlow = 1;
constexpr int kRecordingKind = 2;
constexpr int kPlaybackKinds[] = {1, 12, 7, 4};
constexpr int kFeatureFieldCount = 7;
constexpr size_t kFeatureBufferSize = 2048;
constexpr int kBandCount = 10;

template <class T>
bool Bind(void* library, const char* name, T& target) {
    target = reinterpret_cast<T>(dlsym(library, name));
    if (target == nullptr) {
        platform::DebugOutput(std::string("osConfLib: no entry point ") + name);
    }
    return target != nullptr;
}

std::vector<std::string> SplitFields(const char* text) {
    std::vector<std::string> fields;
    std::stringstream stream(text);
    std::string field;
    while (std::getline(stream, field, ',')) {
        fields.push_back(field);
    }
    return fields;
}

}  // namespace

CAudioConfBridge::~CAudioConfBridge() {
    if (library_ != nullptr) {
        dlclose(library_);
    }
}

std::string CAudioConfBridge::LibraryPath(const std::string& programFolder) {
    const char* arch = sizeof(void*) == 8 ? "x64" : "x86";
    return programFolder + "SDK/" + arch + "/linux/libosConfLib.so";
}

bool CAudioConfBridge::Load(const std::string& programFolder) {
    if (loadTried_) {
        return IsLoaded();
    }
    loadTried_ = true;
    const std::string path = LibraryPath(programFolder);
    // RTLD_LOCAL keeps its symbols to itself; its own dependencies are found through its RUNPATH.
    library_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library_ == nullptr) {
        const char* error = dlerror();
        platform::DebugOutput("osConfLib: " + path + ": " + (error != nullptr ? error : "not loaded"));
        return false;
    }
    if (!Resolve()) {
        dlclose(library_);
        library_ = nullptr;
    }
    return IsLoaded();
}

bool CAudioConfBridge::Resolve() {
    bool all = true;
    all &= Bind(library_, "ConfLibInit", entry_.init);
    all &= Bind(library_, "ConfLibUnInit", entry_.unInit);
    all &= Bind(library_, "CreateDeviceList", entry_.createDeviceList);
    all &= Bind(library_, "GetDeviceCount", entry_.getDeviceCount);
    all &= Bind(library_, "GetDeviceById", entry_.getDeviceById);
    all &= Bind(library_, "PropertyControl", entry_.propertyControl);
    all &= Bind(library_, "RegisterCallbackFunction", entry_.registerCallback);
    all &= Bind(library_, "ShowAsioPanel", entry_.showAsioPanel);
    all &= Bind(library_, "PlayTestSound", entry_.playTestSound);
    all &= Bind(library_, "StopTestSound", entry_.stopTestSound);
    all &= Bind(library_, "CloseTestSound", entry_.closeTestSound);
    return all;
}

void CAudioConfBridge::Start(const MessageSink& messages) {
    if (!IsLoaded()) {
        return;
    }
    if (entry_.init() != 0) {
        messages("ConfLibInit called failed!");
    }
    entry_.createDeviceList();
    int count = 0;
    entry_.getDeviceCount(kPlaybackFlow, &count);
    if (count == 0) {
        return;
    }
    playback_ = ChoosePlayback();
    recording_ = ChooseRecording();
    ReadFeatures(AudioEndpoint::kRecording, messages);
    ReadFeatures(AudioEndpoint::kPlayback, messages);
}

std::optional<AudioDeviceDescriptor> CAudioConfBridge::ChoosePlayback() {
    int count = 0;
    entry_.getDeviceCount(kPlaybackFlow, &count);
    std::vector<AudioDeviceDescriptor> devices;
    for (int index = 0; index < count; ++index) {
        AudioDeviceDescriptor device{};
        if (entry_.getDeviceById(kPlaybackFlow, index, &device) == 0) {
            devices.push_back(device);
        }
    }
    for (int kind : kPlaybackKinds) {
        for (const AudioDeviceDescriptor& device : devices) {
            if (device.kind == kind && device.present == 1) {
                return device;
            }
        }
    }
    return std::nullopt;
}

std::optional<AudioDeviceDescriptor> CAudioConfBridge::ChooseRecording() {
    int count = 0;
    entry_.getDeviceCount(kRecordingFlow, &count);
    for (int index = 0; index < count; ++index) {
        AudioDeviceDescriptor device{};
        if (entry_.getDeviceById(kRecordingFlow, index, &device) == 0 && device.kind == kRecordingKind) {
            return device;
        }
    }
    return std::nullopt;
}

void CAudioConfBridge::ReadFeatures(AudioEndpoint endpoint, const MessageSink& messages) {
    if (!HasEndpoint(endpoint)) {
        return;
    }
    std::vector<char> buffer(kFeatureBufferSize, '\0');
    if (!Call(endpoint, "GetSupportFeature", buffer.data(), AudioIndex::kNone, 0)) {
        return;
    }
    buffer.back() = '\0';
    const std::vector<std::string> fields = SplitFields(buffer.data());
    if (fields.size() < kFeatureFieldCount) {
        messages("UpdateAPOAvailable failed!");
        return;
    }
    Features& features = endpoint == AudioEndpoint::kPlayback ? playbackFeatures_ : recordingFeatures_;
    features = {std::atoi(fields[0].c_str()), std::atoi(fields[4].c_str()), std::atoi(fields[6].c_str())};
}

const std::optional<AudioDeviceDescriptor>& CAudioConfBridge::Descriptor(AudioEndpoint endpoint) const {
    return endpoint == AudioEndpoint::kPlayback ? playback_ : recording_;
}

CAudioConfBridge::Features CAudioConfBridge::FeatureValues(AudioEndpoint endpoint) const {
    return endpoint == AudioEndpoint::kPlayback ? playbackFeatures_ : recordingFeatures_;
}

bool CAudioConfBridge::Call(AudioEndpoint endpoint, const std::string& name, void* value, AudioIndex index,
                            int write) {
    const std::optional<AudioDeviceDescriptor>& device = Descriptor(endpoint);
    if (!IsLoaded() || !device) {
        return false;
    }
    std::array<int32_t, kOsConfValueBufferSize / sizeof(int32_t)> indexBuffer{};
    switch (index) {
        case AudioIndex::kMinusOne:
            indexBuffer[0] = -1;
            break;
        case AudioIndex::kSurroundRecord:
            indexBuffer[0] = 4;
            indexBuffer[1] = -1;
            break;
        default:
            break;
    }
    void* valuePointer = value;
    void* indexPointer = indexBuffer.data();
    void** indexArgument = index == AudioIndex::kNone ? nullptr : &indexPointer;
    return entry_.propertyControl(*device, name.c_str(), &valuePointer, indexArgument, write) == 0;
}

std::optional<double> CAudioConfBridge::ReadNumber(AudioEndpoint endpoint, const std::string& name,
                                                   AudioIndex index) {
    std::array<char, kOsConfValueBufferSize> buffer{};
    if (!Call(endpoint, name, buffer.data(), index, 0)) {
        return std::nullopt;
    }
    buffer.back() = '\0';
    return std::strtod(buffer.data(), nullptr);
}

bool CAudioConfBridge::WriteInt(AudioEndpoint endpoint, const std::string& name, int value,
                                AudioIndex index) {
    std::array<char, kOsConfValueBufferSize> buffer{};
    const int32_t raw = value;
    std::memcpy(buffer.data(), &raw, sizeof raw);
    return Call(endpoint, name, buffer.data(), index, 1);
}

bool CAudioConfBridge::WriteFloat(AudioEndpoint endpoint, const std::string& name, float value,
                                  AudioIndex index) {
    std::array<char, kOsConfValueBufferSize> buffer{};
    std::memcpy(buffer.data(), &value, sizeof value);
    return Call(endpoint, name, buffer.data(), index, 1);
}

void CAudioConfBridge::EnsureDefault(AudioEndpoint endpoint, const std::string& name, bool isFloat,
                                     AudioIndex readIndex, AudioIndex writeIndex) {
    if (ReadNumber(endpoint, name, readIndex)) {
        return;
    }
    if (isFloat) {
        WriteFloat(endpoint, name, 0.0F, writeIndex);
    } else {
        WriteInt(endpoint, name, 0, writeIndex);
    }
}

void CAudioConfBridge::EnsureDefaults() {
    constexpr auto P = AudioEndpoint::kPlayback;
    constexpr auto R = AudioEndpoint::kRecording;
    constexpr auto kNone = AudioIndex::kNone;
    constexpr auto kMinusOne = AudioIndex::kMinusOne;
    // Virtual surround (the headphone surround switch) comes first.
    EnsureDefault(P, "VirtualSurroundEffectControl", false, AudioIndex::kSurroundRecord,
                  AudioIndex::kSurroundRecord);
    EnsureDefault(R, "Enable_ENC_LFX", false, AudioIndex::kZeroedBuffer, kNone);
    EnsureDefault(R, "VolumeControl", true, kMinusOne, kMinusOne);
    EnsureDefault(P, "Enable_EQ_GFX", false, kNone, kNone);
    for (int band = 1; band <= kBandCount; ++band) {
        EnsureDefault(P, "EQ_Slider" + std::to_string(band), false, kNone, kNone);
    }
    for (const char* name : {"Enable_RFX_GFX", "RFX_ENVIRONMENT", "RFX_ROOMSIZE"}) {
        EnsureDefault(P, name, false, kNone, kNone);
    }
    EnsureDefault(R, "MuteControl", false, kNone, kNone);
    EnsureDefault(R, "VolumeScalarControl", true, kMinusOne, kMinusOne);
    EnsureDefault(R, "AAVolumeControl", true, kMinusOne, AudioIndex::kZero);
    EnsureDefault(R, "AAMuteControl", false, kNone, kNone);
    EnsureDefault(R, "AAVolumeScalarControl", true, kMinusOne, kMinusOne);
    EnsureDefault(R, "Enable_MAGICVOICE", false, kNone, kNone);
    EnsureDefault(R, "MagicVoice_Selection", false, kNone, kNone);
}
