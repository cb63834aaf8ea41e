#pragma once

#include "sim/fault_plan.h"
#include "sim/sim_device.h"

#include <array>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <span>
#include <vector>

// The vendor command interface that the emulated mice, keyboard and pad share. Each request is
// logged and answered by the derived firmware, or refused on purpose when the fault plan says
// so; the plan's unplug, stray, lost and wrong-echo faults are played around the answer. A
// successful state-changing write followed by the end of the transfer announces a state change,
// so the bus saves the emulator's state once per transfer.
//
// Thread safety: every public operation from any thread. mutex_ guards the derived class's
// firmware and the request log.
class CCommandEmulator : public CSimDevice {
public:
    using Report = std::array<uint8_t, 64>;
    static constexpr size_t kRequestLogSize = 4096;

    bool OnOutputReport(std::span<const uint8_t> report) override;
    CFaultPlan* FaultPlan() override { return &faults_; }
    CFaultPlan& Faults() { return faults_; }

    // The last kRequestLogSize command requests, oldest first, as they arrived.
    std::vector<Report> Requests() const;
    void ClearRequests();

protected:
    // The firmware's answer to a command report; called with mutex_ held.
    virtual std::optional<Report> HandleRequest(std::span<const uint8_t> request) = 0;
    // Whether a successful request of this command changes what SaveState returns.
    virtual bool ChangesState(uint8_t command) const = 0;
    // Sends the replies of one request in order; the mouse may hold them back.
    virtual void Deliver(std::vector<std::vector<uint8_t>> replies);
    // A consumer-control report carrying a notification code.
    void SendUsage(uint16_t usage);

    mutable std::mutex mutex_;

private:
    std::optional<Report> Answer(const Report& request, std::span<const uint8_t> raw,
                                 const std::vector<FaultKind>& faults);

    std::deque<Report> requests_;
    bool dirty_ = false;
    CFaultPlan faults_;
};
