#include "sim/sim_device_registry.h"

CSimDeviceRegistry& CSimDeviceRegistry::Standard() {
    static CSimDeviceRegistry registry = [] {
        CSimDeviceRegistry standard;
        RegisterStandardEmulators(standard);
        return standard;
    }();
    return registry;
}

bool CSimDeviceRegistry::Register(const std::string& name, Factory factory) {
    return factories_.emplace(name, std::move(factory)).second;
}

std::unique_ptr<CSimDevice> CSimDeviceRegistry::Create(const std::string& name) const {
    auto found = factories_.find(name);
    return found == factories_.end() ? nullptr : found->second();
}

std::vector<std::string> CSimDeviceRegistry::Names() const {
    std::vector<std::string> names;
    for (const auto& [name, factory] : factories_) {
        names.push_back(name);
    }
    return names;
}
