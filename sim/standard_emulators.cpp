#include "sim/sim_device_registry.h"

// The firmware emulators register here as they are written.
void RegisterStandardEmulators(CSimDeviceRegistry&) {}
