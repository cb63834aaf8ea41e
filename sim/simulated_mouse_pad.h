#pragma once

#include "sim/fault_plan.h"
#include "sim/mouse_pad_firmware.h"
#include "sim/sim_device.h"

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
class CSimulatedMousePad : public CSimDevice {
public:
    using Report = CMousePadFirmware::Report;
    static constexpr const char* kName = "mousepad";
    static constexpr size_t kRequestLogSize = 4096;

    Identity GetIdentity() const override;
    std::vector<uint8_t> ReportDescriptor() const override;
    bool OnOutputReport(std::span<const uint8_t> report) override;
    Json::Value SaveState() const override;
    bool LoadState(const Json::Value& state) override;
    CFaultPlan* FaultPlan() override { return &faults_; }
    CFaultPlan& Faults() { return faults_; }

    void PressLightButton();

    std::vector<uint8_t> Memory() const;
    // The active slot's record, all 25 bytes.
    std::vector<uint8_t> ActiveRecord() const;
    size_t Refusals() const;
    std::vector<Report> Requests() const;
    void ClearRequests();

private:
    void SendUsage(uint16_t usage);
    std::optional<Report> Answer(const Report& request, const std::vector<FaultKind>& faults);

    mutable std::mutex mutex_;
    CMousePadFirmware firmware_;
    std::deque<Report> requests_;
    bool dirty_ = false;
    CFaultPlan faults_;
};
