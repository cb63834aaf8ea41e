#include "sim/simulated_mouse_pad.h"

#include "device/command_report.h"
#include "device/device_tables.h"
#include "sim/mouse_descriptor.h"

#include <algorithm>
#include <utility>

namespace {

bool Has(const std::vector<FaultKind>& faults, FaultKind kind) {
    return std::find(faults.begin(), faults.end(), kind) != faults.end();
}

uint8_t OtherCommand(uint8_t command) {
    return command == command_code::kBeginTransfer ? command_code::kEndTransfer
                                                   : command_code::kBeginTransfer;
}

}  // namespace

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

// A refusal played on purpose, or what the firmware answers.
std::optional<CSimulatedMousePad::Report> CSimulatedMousePad::Answer(const Report& request,
                                                                     const std::vector<FaultKind>& faults) {
    const bool failed = Has(faults, FaultKind::kStatusFailed);
    if (failed || Has(faults, FaultKind::kStatusRejected)) {
        Report reply{};
        std::copy_n(request.begin(), kCommandStatusByte, reply.begin());
        reply[kCommandStatusByte] = failed ? kStatusFailed : kStatusRejected;
        SealCommandReport(reply.data());
        return reply;
    }
    return firmware_.HandleRequest(request);
}

bool CSimulatedMousePad::OnOutputReport(std::span<const uint8_t> report) {
    if (report.empty() || report[0] != kCommandReportId) {
        return true;
    }
    Report request{};
    std::copy_n(report.begin(), std::min(report.size(), request.size()), request.begin());
    const std::vector<FaultKind> faults = faults_.Take();
    if (Has(faults, FaultKind::kUnplug)) {
        RequestUnplug();
        return true;
    }
    std::optional<Report> reply;
    bool stateChanged = false;
    {
        std::lock_guard lock(mutex_);
        requests_.push_back(request);
        if (requests_.size() > kRequestLogSize) {
            requests_.pop_front();
        }
        reply = Answer(request, faults);
        const uint8_t command = request[kCommandCodeByte];
        dirty_ =
            dirty_ || (reply && (*reply)[kCommandStatusByte] == 0 && command == command_code::kWriteMemory);
        stateChanged = command == command_code::kEndTransfer && std::exchange(dirty_, false);
    }
    if (Has(faults, FaultKind::kStrayReply)) {
        Report stray{};
        stray[0] = kCommandReportId;
        stray[kCommandCodeByte] = OtherCommand(request[kCommandCodeByte]);
        SealCommandReport(stray.data());
        SendInputReport({stray.begin(), stray.end()});
    }
    if (Has(faults, FaultKind::kNoReply)) {
        reply.reset();
    }
    if (reply && Has(faults, FaultKind::kWrongEcho)) {
        (*reply)[kCommandCodeByte] = OtherCommand((*reply)[kCommandCodeByte]);
        SealCommandReport(reply->data());
    }
    if (reply) {
        SendInputReport({reply->begin(), reply->end()});
    }
    if (stateChanged) {
        NotifyStateChanged();
    }
    return true;
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

void CSimulatedMousePad::SendUsage(uint16_t usage) {
    SendInputReport(
        {kConsumerReportId, static_cast<uint8_t>(usage & 0xFF), static_cast<uint8_t>(usage >> 8)});
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

std::vector<CSimulatedMousePad::Report> CSimulatedMousePad::Requests() const {
    std::lock_guard lock(mutex_);
    return {requests_.begin(), requests_.end()};
}

void CSimulatedMousePad::ClearRequests() {
    std::lock_guard lock(mutex_);
    requests_.clear();
}
