#pragma once

#include "audio/osconf/os_conf_lib.h"

#include <array>
#include <functional>
#include <optional>
#include <string>

// The two endpoints of the headset's audio chip that the program works with.
enum class AudioEndpoint { kPlayback, kRecording };

// What a property call passes as its index argument.
enum class AudioIndex {
    kNone,            // a null index pointer
    kMinusOne,        // the integer -1
    kZero,            // the integer 0
    kZeroedBuffer,    // a zeroed value buffer
    kSurroundRecord,  // three 32-bit values 4, -1, 0
};

// CAudioConfBridge: the program's side of the audio configuration library. It loads
// libosConfLib.so once from SDK/<arch>/linux/ under the program folder, resolves the entry points
// by name, chooses the playback and recording endpoints, reads their feature lists and makes the
// single property reads and writes the headset asks for.
//
// Endpoint choice: playback is the first device of flow 0 whose kind is 1 and which is present,
// else the same with kind 12, then 7, then 4; recording is the first device of flow 1 whose kind
// is 2, present or not.
//
// Failures: without the library, or without an endpoint, every read returns nullopt and every
// write false, and nothing of the library is called. Start reports "ConfLibInit called failed!"
// and "UpdateAPOAvailable failed!" through the message sink and goes on.
//
// Threads: the UI thread (or norvikctl's one thread).
class CAudioConfBridge {
public:
    using MessageSink = std::function<void(const std::string& text)>;
    using Features = std::array<int, 3>;

    CAudioConfBridge() = default;
    ~CAudioConfBridge();
    CAudioConfBridge(const CAudioConfBridge&) = delete;
    CAudioConfBridge& operator=(const CAudioConfBridge&) = delete;

    // programFolder ends with '/'. "x64" for a 64-bit process, "x86" otherwise.
    static std::string LibraryPath(const std::string& programFolder);

    // Loads the library the first time; later calls only say whether it is loaded.
    bool Load(const std::string& programFolder);
    bool IsLoaded() const { return library_ != nullptr; }

    // Initialises the library, chooses the endpoints and reads their feature lists.
    void Start(const MessageSink& messages);
    // Reads every property the headset uses and writes its default only where the read fails.
    void EnsureDefaults();

    bool HasEndpoint(AudioEndpoint endpoint) const { return Descriptor(endpoint).has_value(); }
    const std::optional<AudioDeviceDescriptor>& Descriptor(AudioEndpoint endpoint) const;
    // Fields 0, 4 and 6 of the endpoint's feature list (zeros when it had fewer than seven).
    Features FeatureValues(AudioEndpoint endpoint) const;

    // The value read back as number text, converted; nullopt when the read failed.
    std::optional<double> ReadNumber(AudioEndpoint endpoint, const std::string& name,
                                     AudioIndex index = AudioIndex::kNone);
    bool WriteInt(AudioEndpoint endpoint, const std::string& name, int value,
                  AudioIndex index = AudioIndex::kNone);
    bool WriteFloat(AudioEndpoint endpoint, const std::string& name, float value,
                    AudioIndex index = AudioIndex::kNone);

private:
    struct SEntryPoints {
        ConfLibInitFn init = nullptr;
        ConfLibUnInitFn unInit = nullptr;
        CreateDeviceListFn createDeviceList = nullptr;
        GetDeviceCountFn getDeviceCount = nullptr;
        GetDeviceByIdFn getDeviceById = nullptr;
        PropertyControlFn propertyControl = nullptr;
        RegisterCallbackFunctionFn registerCallback = nullptr;
        ShowAsioPanelFn showAsioPanel = nullptr;
        PlayTestSoundFn playTestSound = nullptr;
        StopTestSoundFn stopTestSound = nullptr;
        CloseTestSoundFn closeTestSound = nullptr;
    };

    bool Resolve();
    std::optional<AudioDeviceDescriptor> ChoosePlayback();
    std::optional<AudioDeviceDescriptor> ChooseRecording();
    void ReadFeatures(AudioEndpoint endpoint, const MessageSink& messages);
    bool Call(AudioEndpoint endpoint, const std::string& name, void* value, AudioIndex index, int write);
    void EnsureDefault(AudioEndpoint endpoint, const std::string& name, bool isFloat, AudioIndex readIndex,
                       AudioIndex writeIndex);

    void* library_ = nullptr;
    bool loadTried_ = false;
    SEntryPoints entry_;
    std::optional<AudioDeviceDescriptor> playback_;
    std::optional<AudioDeviceDescriptor> recording_;
    Features playbackFeatures_{};
    Features recordingFeatures_{};
};
