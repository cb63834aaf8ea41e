#pragma once

#include "sim/fault_plan.h"
#include "sim/keyboard_firmware.h"
#include "sim/sim_device.h"

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
class CSimulatedKeyboard : public CSimDevice {
public:
    using Report = CKeyboardFirmware::Report;
    static constexpr const char* kName = "keyboard";
    static constexpr size_t kRequestLogSize = 4096;
    static constexpr uint16_t kKeyPressedUsage = 0x0500;
    static constexpr uint16_t kKeyReleasedUsage = 0x0600;

    explicit CSimulatedKeyboard(CKeyboardFirmware firmware = CKeyboardFirmware())
        : firmware_(std::move(firmware)) {}

    Identity GetIdentity() const override;
    std::vector<uint8_t> ReportDescriptor() const override;
    bool OnOutputReport(std::span<const uint8_t> report) override;
    Json::Value SaveState() const override;
    bool LoadState(const Json::Value& state) override;
    CFaultPlan* FaultPlan() override { return &faults_; }
    CFaultPlan& Faults() { return faults_; }

    // False for a key the firmware does not have.
    bool PressKey(unsigned firmwareKey);
    void ChangeLightOnKeyboard();

    uint8_t KeyCount() const;
    std::vector<uint8_t> Memory() const;
    std::vector<uint8_t> KeyTable() const;
    std::vector<uint8_t> LightOrder() const;
    std::vector<uint8_t> MacroMemory() const;
    size_t Refusals() const;
    std::vector<Report> Requests() const;
    void ClearRequests();

private:
    void SendUsage(uint16_t usage);
    std::optional<Report> Answer(const Report& request, const std::vector<FaultKind>& faults);

    mutable std::mutex mutex_;
    CKeyboardFirmware firmware_;
    std::deque<Report> requests_;
    bool dirty_ = false;
    CFaultPlan faults_;
};
