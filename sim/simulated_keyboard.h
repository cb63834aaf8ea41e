#pragma once

#include "sim/command_emulator.h"
#include "sim/keyboard_firmware.h"

#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

// Interface 1 of the emulated keyboard on the simulated bus: the firmware of CKeyboardFirmware
// behind the same four collections as the mice's interface 1 (keyboard keys, system control,
// consumer control with the notifications, vendor commands). It presents the ids of the
// keyboard's row of the supported-interface table (0:0, interface 1).
//
// Tests and norvikctl reach the paths a real keyboard takes:
// - PressKey(k) sends consumer usage 0x0500 + k then 0x0600 + k (firmware key k pressed and
//   released), as the keyboard does for the reactive light modes;
// - ChangeLightOnKeyboard steps the active slot's light mode and announces it with 0x0401;
// - Faults() plays faults on chosen requests, as the mice do;
// - the accessors show what the firmware holds and which requests it received.
//
// Thread safety: every public operation from any thread.
class CSimulatedKeyboard : public CCommandEmulator {
public:
    static constexpr const char* kName = "keyboard";
    static constexpr uint16_t kKeyPressedUsage = 0x0500;
    static constexpr uint16_t kKeyReleasedUsage = 0x0600;

    explicit CSimulatedKeyboard(CKeyboardFirmware firmware = CKeyboardFirmware())
        : firmware_(std::move(firmware)) {}

    Identity GetIdentity() const override;
    std::vector<uint8_t> ReportDescriptor() const override;
    Json::Value SaveState() const override;
    bool LoadState(const Json::Value& state) override;

    // False for a key the firmware does not have.
    bool PressKey(unsigned firmwareKey);
    void ChangeLightOnKeyboard();

    uint8_t KeyCount() const;
    std::vector<uint8_t> Memory() const;
    std::vector<uint8_t> KeyTable() const;
    std::vector<uint8_t> LightOrder() const;
    std::vector<uint8_t> MacroMemory() const;
    size_t Refusals() const;

private:
    std::optional<Report> HandleRequest(std::span<const uint8_t> request) override;
    bool ChangesState(uint8_t command) const override;

    CKeyboardFirmware firmware_;
};
