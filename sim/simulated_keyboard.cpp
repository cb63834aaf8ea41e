#include "sim/simulated_keyboard.h"

#include "device/command_report.h"
#include "device/device_tables.h"
#include "sim/mouse_descriptor.h"

#include <algorithm>

namespace {

bool ChangesState(uint8_t command) {
    return command == command_code::kWriteMemory || command == command_code::kWriteKeyTable ||
           command == command_code::kWriteMacroBlock;
}

uint8_t OtherCommand(uint8_t command) {
    return command == command_code::kBeginTransfer ? command_code::kEndTransfer
                                                   : command_code::kBeginTransfer;
}

bool Has(const std::vector<FaultKind>& faults, FaultKind kind) {
    return std::find(faults.begin(), faults.end(), kind) != faults.end();
}

std::vector<uint8_t> Bytes(const CSimulatedKeyboard::Report& report) {
    return {report.begin(), report.end()};
}

}  // namespace

CSimDevice::Identity CSimulatedKeyboard::GetIdentity() const {
    Identity identity;
    identity.interface_number = 1;
    identity.emulated_kind = kKindKeyboard;
    return identity;
}

std::vector<uint8_t> CSimulatedKeyboard::ReportDescriptor() const {
    return MouseInterface1Descriptor();
}

// A refusal played on purpose, or what the firmware answers.
std::optional<CSimulatedKeyboard::Report> CSimulatedKeyboard::Answer(const Report& request,
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

bool CSimulatedKeyboard::OnOutputReport(std::span<const uint8_t> report) {
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
        if (reply && (*reply)[kCommandStatusByte] == 0 && ChangesState(command)) {
            dirty_ = true;
        }
        if (command == command_code::kEndTransfer && dirty_) {
            dirty_ = false;
            stateChanged = true;
        }
    }
    if (Has(faults, FaultKind::kStrayReply)) {
        Report stray{};
        stray[0] = kCommandReportId;
        stray[kCommandCodeByte] = OtherCommand(request[kCommandCodeByte]);
        SealCommandReport(stray.data());
        SendInputReport(Bytes(stray));
    }
    if (Has(faults, FaultKind::kNoReply)) {
        reply.reset();
    }
    if (reply && Has(faults, FaultKind::kWrongEcho)) {
        (*reply)[kCommandCodeByte] = OtherCommand((*reply)[kCommandCodeByte]);
        SealCommandReport(reply->data());
    }
    if (reply) {
        SendInputReport(Bytes(*reply));
    }
    if (stateChanged) {
        NotifyStateChanged();
    }
    return true;
}

void CSimulatedKeyboard::SendUsage(uint16_t usage) {
    SendInputReport(
        {kConsumerReportId, static_cast<uint8_t>(usage & 0xFF), static_cast<uint8_t>(usage >> 8)});
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

std::vector<CSimulatedKeyboard::Report> CSimulatedKeyboard::Requests() const {
    std::lock_guard lock(mutex_);
    return {requests_.begin(), requests_.end()};
}

void CSimulatedKeyboard::ClearRequests() {
    std::lock_guard lock(mutex_);
    requests_.clear();
}
