#include "sim/mouse_pad_firmware.h"

#include "device/command_report.h"
#include "sim/firmware_memory.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr uint8_t kHighest = 4;

// Record bytes the firmware checks.
constexpr size_t kSlot = 0;
constexpr size_t kLightMode = 1;
constexpr size_t kBrightness = 2;
constexpr size_t kInverseSpeed = 3;
constexpr size_t kMultiColour = 5;

// The factory record of a slot: wave, full brightness, middle speed, multicolour in the accent
// blue, and firmware settings of its own in bytes 4 and 9..24.
constexpr std::array<uint8_t, CMousePadFirmware::kRecordSize> kFactoryRecord{
    0,    0,    4,    2,    0x4F, 1,    0x00, 0x99, 0xFF, 0x11, 0x22, 0x33, 0x44,
    0x55, 0x66, 0x77, 0x88, 0x99, 0xAA, 0xBB, 0xCC, 0x5A, 0xA5, 0x0F, 0x01};

size_t AddressOf(const uint8_t* request) {
    return static_cast<size_t>(request[5]) | static_cast<size_t>(request[6]) << 8;
}

}  // namespace

CMousePadFirmware::CMousePadFirmware() {
    info_[0] = 0x01;
    info_[1] = 0x02;  // firmware version 2
    memory_.resize(kSlotCount * kRecordSize);
    for (size_t slot = 0; slot < kSlotCount; ++slot) {
        std::copy(kFactoryRecord.begin(), kFactoryRecord.end(), memory_.begin() + slot * kRecordSize);
        memory_[slot * kRecordSize + kSlot] = static_cast<uint8_t>(slot);
    }
}

std::optional<CMousePadFirmware::Report> CMousePadFirmware::HandleRequest(std::span<const uint8_t> request) {
    return firmware_memory::Answer(
        request, refusals_, [this](const uint8_t* bytes, Report& reply) { return Execute(bytes, reply); });
}

uint8_t CMousePadFirmware::Execute(const uint8_t* request, Report& reply) {
    if (request[4] > kCommandChunkSize) {
        return kStatusRejected;
    }
    switch (request[kCommandCodeByte]) {
        case command_code::kBeginTransfer:
            inTransfer_ = true;
            return kStatusOk;
        case command_code::kEndTransfer:
            inTransfer_ = false;
            return kStatusOk;
        case command_code::kReadInfo:
            return Read(info_, request, reply);
        case command_code::kReadMemory:
            return Read(memory_, request, reply);
        case command_code::kWriteMemory:
            return inTransfer_ ? WriteRecordBytes(request) : kStatusRejected;
        case command_code::kWriteLightFrame:
            ++lightFrames_;
            return kStatusOk;
        default:
            return kStatusFailed;
    }
}

uint8_t CMousePadFirmware::Read(std::span<const uint8_t> source, const uint8_t* request,
                                Report& reply) const {
    const size_t address = AddressOf(request);
    const size_t length = request[4];
    if (address + length > source.size()) {
        return kStatusRejected;
    }
    std::copy_n(source.begin() + static_cast<std::ptrdiff_t>(address), length,
                reply.begin() + kCommandPayloadOffset);
    return kStatusOk;
}

uint8_t CMousePadFirmware::WriteRecordBytes(const uint8_t* request) {
    const size_t address = AddressOf(request);
    const size_t length = request[4];
    if (address + length > memory_.size()) {
        return kStatusRejected;
    }
    const uint8_t* payload = request + kCommandPayloadOffset;
    for (size_t i = 0; i < length; ++i) {
        if (!RecordByteValid((address + i) % kRecordSize, payload[i])) {
            return kStatusRejected;
        }
    }
    std::copy_n(payload, length, memory_.begin() + static_cast<std::ptrdiff_t>(address));
    return kStatusOk;
}

bool CMousePadFirmware::RecordByteValid(size_t offset, uint8_t value) {
    switch (offset) {
        case kSlot:
            return value < kSlotCount;
        case kLightMode:
            return value < kLightModes;
        case kBrightness:
        case kInverseSpeed:
            return value <= kHighest;
        case kMultiColour:
            return value <= 1;
        default:
            return offset < kHostBytes;
    }
}

size_t CMousePadFirmware::ActiveSlot() const {
    return memory_[0] < kSlotCount ? memory_[0] : 0;
}

void CMousePadFirmware::StepLightMode() {
    uint8_t& mode = memory_[ActiveSlot() * kRecordSize + kLightMode];
    mode = static_cast<uint8_t>((mode + 1) % kLightModes);
}

Json::Value CMousePadFirmware::SaveState() const {
    Json::Value state(Json::objectValue);
    state["memory"] = firmware_memory::ToHex(memory_);
    return state;
}

void CMousePadFirmware::LoadState(const Json::Value& state) {
    if (!state.isObject()) {
        return;
    }
    firmware_memory::FromHex(state["memory"], memory_);
    if (memory_[0] >= kSlotCount) {
        memory_[0] = 0;
    }
}
