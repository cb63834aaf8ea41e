#include "app/application.h"
#include "sim/sim_device_registry.h"
#include "sim/sim_environment.h"
#include "sim/sim_hid_bus.h"

#include <QApplication>

#include <cstdio>
#include <string>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    // The last window going hidden to the tray must not end the program.
    QApplication::setQuitOnLastWindowClosed(false);
    // With NORVIK_SIMULATE set, emulated devices stand in for the real bus; the bus lives until
    // the end so that their states are saved.
    std::string fault_error;
    const std::shared_ptr<CSimHidBus> simulated =
        InstallSimulatedBusFromEnvironment(CSimDeviceRegistry::Standard(), nullptr, &fault_error);
    if (!fault_error.empty()) {
        std::fprintf(stderr, "norvik: NORVIK_SIM_FAULTS ignored: %s\n", fault_error.c_str());
    }
    return app::CApplication().Run();
}
