#pragma once

#include "sim/sim_device.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

// Simulated devices by name ("mouse", "mouse3389", ...), as NORVIK_SIMULATE names them.
//
// Thread safety: Register while setting up, before other threads use the registry.
class CSimDeviceRegistry {
public:
    using Factory = std::function<std::unique_ptr<CSimDevice>()>;

    // The registry with every emulator of the program (see RegisterStandardEmulators).
    static CSimDeviceRegistry& Standard();

    // False when the name is taken (the first registration stays).
    bool Register(const std::string& name, Factory factory);
    // A new device, or nullptr for an unknown name.
    std::unique_ptr<CSimDevice> Create(const std::string& name) const;
    std::vector<std::string> Names() const;

private:
    std::map<std::string, Factory> factories_;
};

// Registers the program's firmware emulators; defined beside them in sim/.
void RegisterStandardEmulators(CSimDeviceRegistry& registry);
