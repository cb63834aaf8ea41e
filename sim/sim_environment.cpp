#include "sim/sim_environment.h"

#include "platform/debug.h"

#include <cstdlib>
#include <sstream>

namespace {

// False, with the reason, when the plan cannot be read; the device then plays no faults.
bool PlayFaultsFromEnvironment(CSimDevice& device, std::string* error) {
    const char* plan = std::getenv("NORVIK_SIM_FAULTS");
    if (plan == nullptr || *plan == '\0' || device.FaultPlan() == nullptr) {
        return true;
    }
    std::string reason;
    if (device.FaultPlan()->AddFromText(plan, &reason)) {
        return true;
    }
    platform::DebugFormat("NORVIK_SIM_FAULTS: %s\n", reason.c_str());
    if (error != nullptr) {
        *error = reason;
    }
    return false;
}

}  // namespace

std::shared_ptr<CSimHidBus> InstallSimulatedBusFromEnvironment(const CSimDeviceRegistry& registry,
                                                               std::string* unknown,
                                                               std::string* fault_error) {
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
        PlayFaultsFromEnvironment(*device, fault_error);
        bus->Plug(name, std::move(device));
    }
    platform::hid::SetProcessBackend(bus);
    return bus;
}
