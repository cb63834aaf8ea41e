#pragma once

#include "audio/osconf/os_conf_lib.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

// COsConfChip: the HS6533 chip that libosConfLib.so models, its endpoints and their properties.
//
// The endpoints come from the environment so that tests reach every choice the program makes:
//   NORVIK_OSCONF_ENDPOINTS    "flow:kind:present,..." with flow "playback" or "recording"
//                              (unset: "playback:1:1,recording:2:1"; empty: no endpoint at all)
//   NORVIK_OSCONF_FEATURES_PLAYBACK, NORVIK_OSCONF_FEATURES_RECORDING
//                              the comma-separated feature list "GetSupportFeature" reads
//   NORVIK_OSCONF_FAIL         "init", "NAME:read", "NAME:write", comma-separated: calls that fail
//   NORVIK_OSCONF_STATE        the state file (default $XDG_STATE_HOME or ~/.local/state, then
//                              "osConfLib/hs6533.state"): what was set survives the process
//   NORVIK_OSCONF_LOG          a file every property call is appended to, one line each
//
// Levels: "VolumeControl" is in dB between "GetMinVol" and "GetMaxVol" and follows
// "VolumeScalarControl" (0-1); the monitoring pair works alike. A property never written reads
// as a failure, which is how a new user's chip looks before the program sets its defaults.
//
// Not thread-safe: the library's entry points serialise on one lock.
class COsConfChip {
public:
    enum class Type { kInt, kFloat, kText };

    bool Init();
    int DeviceCount(int flow) const;
    std::optional<AudioDeviceDescriptor> Device(int flow, int index) const;

    // 0 on success. A read writes the value's text into `text`.
    int Read(const AudioDeviceDescriptor& device, const std::string& name, std::string& text);
    int Write(const AudioDeviceDescriptor& device, const std::string& name, const void* value, int index);

    // The property's value type, or nullopt when the endpoint's flow has no such property.
    static std::optional<Type> PropertyType(int flow, const std::string& name);

private:
    struct Range {
        double minimum;
        double maximum;
    };

    bool Known(const AudioDeviceDescriptor& device) const;
    bool Fails(const std::string& name, const char* action) const;
    std::string Key(const AudioDeviceDescriptor& device, const std::string& name) const;
    void SetLinked(const AudioDeviceDescriptor& device, const std::string& name, double value);
    void Load();
    void Save() const;
    void Log(const std::string& line) const;

    std::vector<AudioDeviceDescriptor> devices_;
    std::vector<std::string> failures_;
    std::map<std::string, double> values_;
    std::string statePath_;
    std::string logPath_;
};
