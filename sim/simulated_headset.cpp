#include "sim/simulated_headset.h"

#include "device/command_report.h"
#include "profile/json_access.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr uint8_t kNotificationReportId = 0x03;
constexpr uint16_t kChangeUsage = 0x0401;
constexpr uint8_t kHeadsetModeCount = 5;
constexpr int kInterfaceNumber = 3;

size_t AddressOf(const uint8_t* request) {
    return static_cast<size_t>(request[5]) | static_cast<size_t>(request[6]) << 8;
}

bool ChangesState(uint8_t command) {
    return command == command_code::kWriteMemory;
}

Json::Value Bytes(std::span<const uint8_t> bytes) {
    Json::Value list(Json::arrayValue);
    for (uint8_t byte : bytes) {
        list.append(byte);
    }
    return list;
}

// Takes the list only when it is exactly the target's size of byte values.
void TakeBytes(const Json::Value& list, std::span<uint8_t> target) {
    if (!list.isArray() || list.size() != target.size()) {
        return;
    }
    std::vector<uint8_t> bytes;
    for (const Json::Value& value : list) {
        const int byte = CJsonAccess::Int(value, -1);
        if (byte < 0 || byte > 0xFF) {
            return;
        }
        bytes.push_back(static_cast<uint8_t>(byte));
    }
    std::copy(bytes.begin(), bytes.end(), target.begin());
}

}  // namespace

CSimulatedHeadset::CSimulatedHeadset() : memory_(kMemorySize, 0) {
    for (size_t slot = 0; slot < kSlotCount; ++slot) {
        uint8_t* record = memory_.data() + slot * kSlotSize;
        record[1] = 1;  // breathing
        record[2] = 4;  // full brightness
        record[3] = 2;  // middle speed
        record[5] = 1;  // multicolour
        record[6] = 0xFF;
    }
    memory_[0] = 0;
    power_ = {80, 0, 0, 0, 0, 0};
}

CSimDevice::Identity CSimulatedHeadset::GetIdentity() const {
    Identity identity;
    identity.version = 0x0100;
    identity.interface_number = kInterfaceNumber;
    return identity;
}

std::vector<uint8_t> CSimulatedHeadset::ReportDescriptor() const {
    return {
        0x05, 0x0C,        // Usage Page (Consumer)
        0x09, 0x01,        // Usage (Consumer Control)
        0xA1, 0x01,        // Collection (Application)
        0x85, 0x03,        //   Report ID (3): change notifications
        0x15, 0x00,        //   Logical Minimum (0)
        0x26, 0xFF, 0x0F,  //   Logical Maximum (0x0FFF)
        0x19, 0x00,        //   Usage Minimum (0)
        0x2A, 0xFF, 0x0F,  //   Usage Maximum (0x0FFF)
        0x75, 0x10,        //   Report Size (16)
        0x95, 0x01,        //   Report Count (1)
        0x81, 0x00,        //   Input (Data, Array, Absolute)
        0x85, 0x04,        //   Report ID (4): the command channel
        0x06, 0x1C, 0xFF,  //   Usage Page (Vendor 0xFF1C)
        0x15, 0x00,        //   Logical Minimum (0)
        0x26, 0xFF, 0x00,  //   Logical Maximum (255)
        0x75, 0x08,        //   Report Size (8)
        0x95, 0x3F,        //   Report Count (63)
        0x09, 0x92,        //   Usage (0x92)
        0x81, 0x02,        //   Input (Data, Variable, Absolute)
        0x09, 0x92,        //   Usage (0x92)
        0x91, 0x02,        //   Output (Data, Variable, Absolute)
        0xC0,              // End Collection
    };
}

bool CSimulatedHeadset::OnOutputReport(std::span<const uint8_t> report) {
    if (report.empty() || report[0] != kCommandReportId) {
        return true;
    }
    Report request{};
    std::copy_n(report.begin(), std::min(report.size(), request.size()), request.begin());
    std::optional<Report> reply;
    {
        std::lock_guard lock(mutex_);
        ++requests_;
        reply = Handle(request);
    }
    if (reply) {
        SendInputReport({reply->begin(), reply->end()});
        if ((*reply)[kCommandStatusByte] == kStatusOk && ChangesState(request[kCommandCodeByte])) {
            NotifyStateChanged();
        }
    }
    return true;
}

std::optional<CSimulatedHeadset::Report> CSimulatedHeadset::Handle(const Report& request) {
    Report reply{};
    std::memcpy(reply.data(), request.data(), kCommandStatusByte);
    const uint16_t expected = static_cast<uint16_t>(request[1] | request[2] << 8);
    reply[kCommandStatusByte] =
        CommandChecksum(request.data()) == expected ? Execute(request, reply) : kStatusFailed;
    SealCommandReport(reply.data());
    return reply;
}

uint8_t CSimulatedHeadset::Execute(const Report& request, Report& reply) {
    const size_t address = AddressOf(request.data());
    const size_t length = request[4];
    if (length > kCommandChunkSize) {
        return kStatusRejected;
    }
    switch (request[kCommandCodeByte]) {
        case command_code::kBeginTransfer:
        case command_code::kEndTransfer:
            return kStatusOk;
        case command_code::kReadMemory:
            if (address + length > memory_.size()) {
                return kStatusRejected;
            }
            std::copy_n(memory_.begin() + static_cast<std::ptrdiff_t>(address), length,
                        reply.begin() + kCommandPayloadOffset);
            return kStatusOk;
        case command_code::kWriteMemory:
            if (address + length > memory_.size()) {
                return kStatusRejected;
            }
            std::copy_n(request.begin() + kCommandPayloadOffset, length,
                        memory_.begin() + static_cast<std::ptrdiff_t>(address));
            return kStatusOk;
        case command_code::kReadRecord:
            if (address + length > power_.size()) {
                return kStatusRejected;
            }
            std::copy_n(power_.begin() + static_cast<std::ptrdiff_t>(address), length,
                        reply.begin() + kCommandPayloadOffset);
            return kStatusOk;
        default:
            return kStatusFailed;
    }
}

Json::Value CSimulatedHeadset::SaveState() const {
    std::lock_guard lock(mutex_);
    Json::Value state;
    state["memory"] = Bytes(memory_);
    state["power"] = Bytes(power_);
    return state;
}

bool CSimulatedHeadset::LoadState(const Json::Value& state) {
    if (!state.isObject()) {
        return false;
    }
    std::lock_guard lock(mutex_);
    TakeBytes(state["memory"], memory_);
    TakeBytes(state["power"], power_);
    return true;
}

bool CSimulatedHeadset::SetBatteryLevel(int percent) {
    if (percent < 0 || percent > 100) {
        return false;
    }
    {
        std::lock_guard lock(mutex_);
        power_[0] = static_cast<uint8_t>(percent);
    }
    NotifyStateChanged();
    return true;
}

void CSimulatedHeadset::PressLightButton() {
    {
        std::lock_guard lock(mutex_);
        const size_t slot = memory_[0] < kSlotCount ? memory_[0] : 0;
        uint8_t& mode = memory_[slot * kSlotSize + 1];
        mode = static_cast<uint8_t>((mode + 1) % kHeadsetModeCount);
    }
    NotifyStateChanged();
    Announce(kChangeUsage);
}

void CSimulatedHeadset::Announce(uint16_t usage) {
    SendInputReport(
        {kNotificationReportId, static_cast<uint8_t>(usage & 0xFF), static_cast<uint8_t>(usage >> 8)});
    SendInputReport({kNotificationReportId, 0, 0});
}

std::vector<uint8_t> CSimulatedHeadset::Memory() const {
    std::lock_guard lock(mutex_);
    return memory_;
}

std::array<uint8_t, CSimulatedHeadset::kPowerSize> CSimulatedHeadset::PowerRecord() const {
    std::lock_guard lock(mutex_);
    return power_;
}

size_t CSimulatedHeadset::RequestCount() const {
    std::lock_guard lock(mutex_);
    return requests_;
}
