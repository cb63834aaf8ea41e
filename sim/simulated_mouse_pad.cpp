#include "sim/simulated_mouse_pad.h"

#include "device/command_report.h"
#include "device/device_tables.h"
#include "sim/mouse_descriptor.h"

#include <algorithm>
#include <utility>

CSimDevice::Identity CSimulatedMousePad::GetIdentity() const {
    Identity identity;
    identity.version = 0x0102;
    identity.interface_number = 1;
    identity.emulated_kind = kKindMousePad;
    return identity;
}

std::vector<uint8_t> CSimulatedMousePad::ReportDescriptor() const {
    return MouseInterface1Descriptor();
}

std::optional<CSimulatedMousePad::Report> CSimulatedMousePad::HandleRequest(
    std::span<const uint8_t> request) {
    return firmware_.HandleRequest(request);
}

bool CSimulatedMousePad::ChangesState(uint8_t command) const {
    return command == command_code::kWriteMemory;
}

void CSimulatedMousePad::PressLightButton() {
    {
        std::lock_guard lock(mutex_);
        firmware_.StepLightMode();
    }
    SendUsage(kSettingsChangedUsage);
    SendUsage(0x0000);
    NotifyStateChanged();
}

Json::Value CSimulatedMousePad::SaveState() const {
    std::lock_guard lock(mutex_);
    return firmware_.SaveState();
}

bool CSimulatedMousePad::LoadState(const Json::Value& state) {
    if (!state.isObject()) {
        return false;
    }
    std::lock_guard lock(mutex_);
    firmware_.LoadState(state);
    return true;
}

std::vector<uint8_t> CSimulatedMousePad::Memory() const {
    std::lock_guard lock(mutex_);
    return firmware_.Memory();
}

std::vector<uint8_t> CSimulatedMousePad::ActiveRecord() const {
    std::lock_guard lock(mutex_);
    const std::vector<uint8_t>& memory = firmware_.Memory();
    const size_t slot = memory[0] < CMousePadFirmware::kSlotCount ? memory[0] : 0;
    const auto first = memory.begin() + static_cast<std::ptrdiff_t>(slot * CMousePadFirmware::kRecordSize);
    return {first, first + CMousePadFirmware::kRecordSize};
}

size_t CSimulatedMousePad::Refusals() const {
    std::lock_guard lock(mutex_);
    return firmware_.Refusals();
}
