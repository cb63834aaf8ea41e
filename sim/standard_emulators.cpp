#include "sim/mouse_model.h"
#include "sim/sim_device_registry.h"
#include "sim/simulated_headset.h"
#include "sim/simulated_keyboard.h"
#include "sim/simulated_mouse.h"
#include "sim/simulated_mouse_pad.h"

#include <memory>

void RegisterStandardEmulators(CSimDeviceRegistry& registry) {
    for (MouseModel (*model)() : {&MouseModel3325, &MouseModel3389, &MouseModel3389Wireless}) {
        registry.Register(model().name, [model] { return std::make_unique<CSimulatedMouse>(model()); });
    }
    registry.Register("hs6533", [] { return std::make_unique<CSimulatedHeadset>(); });
    registry.Register(CSimulatedKeyboard::kName, [] { return std::make_unique<CSimulatedKeyboard>(); });
    registry.Register(CSimulatedMousePad::kName, [] { return std::make_unique<CSimulatedMousePad>(); });
}
