#pragma once

#include "sim/command_emulator.h"
#include "sim/mouse_pad_firmware.h"

#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <vector>

// Interface 1 of the emulated lit mouse pad (NORVIK_SIMULATE=mousepad): the firmware of
// CMousePadFirmware behind the same four collections as the mice's interface 1 (the consumer
// collection carries the notifications, the vendor collection the commands). It presents the ids
// of the pad's rows of the supported-interface table (0:0, interface 1), which are the keyboard's
// too, and names the pad's device kind so that it binds to the pad's rows.
//
// Tests and norvikctl reach the paths a real pad takes:
// - PressLightButton steps the active slot's light mode and announces it with 0x0401;
// - Faults() plays faults on chosen requests, as the mice and the keyboard do;
// - the accessors show what the firmware holds and which requests it received.
//
// Thread safety: every public operation from any thread.
class CSimulatedMousePad : public CCommandEmulator {
public:
    static constexpr const char* kName = "mousepad";

    Identity GetIdentity() const override;
    std::vector<uint8_t> ReportDescriptor() const override;
    Json::Value SaveState() const override;
    bool LoadState(const Json::Value& state) override;

    void PressLightButton();

    std::vector<uint8_t> Memory() const;
    // The active slot's record, all 25 bytes.
    std::vector<uint8_t> ActiveRecord() const;
    size_t Refusals() const;

private:
    std::optional<Report> HandleRequest(std::span<const uint8_t> request) override;
    bool ChangesState(uint8_t command) const override;

    CMousePadFirmware firmware_;
};
