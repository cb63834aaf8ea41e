#include "sim/simulated_keyboard.h"

#include "device/command_report.h"
#include "device/device_tables.h"
#include "sim/mouse_descriptor.h"

CSimDevice::Identity CSimulatedKeyboard::GetIdentity() const {
    Identity identity;
    identity.interface_number = 1;
    identity.emulated_kind = kKindKeyboard;
    return identity;
}

std::vector<uint8_t> CSimulatedKeyboard::ReportDescriptor() const {
    return MouseInterface1Descriptor();
}

std::optional<CSimulatedKeyboard::Report> CSimulatedKeyboard::HandleRequest(
    std::span<const uint8_t> request) {
    return firmware_.HandleRequest(request);
}

bool CSimulatedKeyboard::ChangesState(uint8_t command) const {
    return command == command_code::kWriteMemory || command == command_code::kWriteKeyTable ||
           command == command_code::kWriteMacroBlock;
}

bool CSimulatedKeyboard::PressKey(unsigned firmwareKey) {
    if (firmwareKey >= KeyCount()) {
        return false;
    }
    SendUsage(static_cast<uint16_t>(kKeyPressedUsage + firmwareKey));
    SendUsage(static_cast<uint16_t>(kKeyReleasedUsage + firmwareKey));
    return true;
}

void CSimulatedKeyboard::ChangeLightOnKeyboard() {
    {
        std::lock_guard lock(mutex_);
        firmware_.StepLightMode();
    }
    SendUsage(kSettingsChangedUsage);
    SendUsage(0x0000);
    NotifyStateChanged();
}

Json::Value CSimulatedKeyboard::SaveState() const {
    std::lock_guard lock(mutex_);
    return firmware_.SaveState();
}

bool CSimulatedKeyboard::LoadState(const Json::Value& state) {
    if (!state.isObject()) {
        return false;
    }
    std::lock_guard lock(mutex_);
    firmware_.LoadState(state);
    return true;
}

uint8_t CSimulatedKeyboard::KeyCount() const {
    std::lock_guard lock(mutex_);
    return firmware_.KeyCount();
}

std::vector<uint8_t> CSimulatedKeyboard::Memory() const {
    std::lock_guard lock(mutex_);
    return firmware_.Memory();
}

std::vector<uint8_t> CSimulatedKeyboard::KeyTable() const {
    std::lock_guard lock(mutex_);
    return firmware_.KeyTable();
}

std::vector<uint8_t> CSimulatedKeyboard::LightOrder() const {
    std::lock_guard lock(mutex_);
    return firmware_.LightOrder();
}

std::vector<uint8_t> CSimulatedKeyboard::MacroMemory() const {
    std::lock_guard lock(mutex_);
    return firmware_.MacroMemory();
}

size_t CSimulatedKeyboard::Refusals() const {
    std::lock_guard lock(mutex_);
    return firmware_.Refusals();
}
