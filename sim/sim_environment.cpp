#include "sim/sim_environment.h"

#include "platform/debug.h"

#include <cstdlib>
#include <sstream>

std::shared_ptr<CSimHidBus> InstallSimulatedBusFromEnvironment(const CSimDeviceRegistry& registry,
                                                               std::string* unknown) {
    const char* names = std::getenv("NORVIK_SIMULATE");
    if (names == nullptr || *names == '\0') {
        return nullptr;
    }
    auto bus = std::make_shared<CSimHidBus>();
    if (const char* state = std::getenv("NORVIK_SIM_STATE"); state != nullptr && *state != '\0') {
        bus->SetStateFile(state);
    }
    std::stringstream list(names);
    std::string name;
    while (std::getline(list, name, ',')) {
        if (name.empty()) {
            continue;
        }
        std::unique_ptr<CSimDevice> device = registry.Create(name);
        if (device == nullptr) {
            platform::DebugFormat("NORVIK_SIMULATE: no simulated device is called \"%s\"\n", name.c_str());
            if (unknown != nullptr) {
                unknown->append(unknown->empty() ? "" : ",").append(name);
            }
            continue;
        }
        bus->Plug(name, std::move(device));
    }
    platform::hid::SetProcessBackend(bus);
    return bus;
}
