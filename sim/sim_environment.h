#pragma once

#include "sim/sim_device_registry.h"
#include "sim/sim_hid_bus.h"

#include <memory>
#include <string>

// The programs' choice of bus, made once at start-up: with NORVIK_SIMULATE set (names separated
// by commas, e.g. "mouse,mouse3389") a simulated bus with those devices becomes the process bus,
// its states kept in NORVIK_SIM_STATE when set; otherwise the hidraw bus stays.
//
// Returns the simulated bus (the caller keeps it for the program's life, so that the states are
// saved when it ends), or nullptr when NORVIK_SIMULATE is not set. Unknown names are skipped with
// a diagnostic, listed in `unknown` when given.
//
// NORVIK_SIM_FAULTS, when set, is a fault plan in CFaultPlan's text form that every simulated
// device playing faults receives, each counting its own requests. A plan that cannot be read is
// played by none, with a diagnostic and its description in `fault_error` when given.
std::shared_ptr<CSimHidBus> InstallSimulatedBusFromEnvironment(const CSimDeviceRegistry& registry,
                                                               std::string* unknown = nullptr,
                                                               std::string* fault_error = nullptr);
