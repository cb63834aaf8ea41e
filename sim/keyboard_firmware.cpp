#include "sim/keyboard_firmware.h"

#include "device/command_report.h"
#include "devices/common/default_key_table.h"
#include "sim/firmware_memory.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

constexpr uint8_t kHighestSpeed = 4;
constexpr uint8_t kPollingOptions = 4;
constexpr KeyFunctionCode kNoKey{0x20, 0x00, 0x00};
// A volume key: a function the firmware has on a key that no host position has by default.
constexpr KeyFunctionCode kForeignCode{0x30, 0xE9, 0x00};

// Record bytes the firmware acts on.
constexpr size_t kLightMode = 1;
constexpr size_t kInverseSpeed = 3;
constexpr size_t kWFlag = 19;
constexpr size_t kKey6Flag = 20;
constexpr size_t kWinFlag = 21;
constexpr size_t kPollingRate = 22;

size_t AddressOf(const uint8_t* request) {
    return static_cast<size_t>(request[5]) | static_cast<size_t>(request[6]) << 8;
}

void Append(std::vector<uint8_t>& table, const KeyFunctionCode& code) {
    table.insert(table.end(), {code.type, code.param1, code.param2});
}

}  // namespace

std::vector<uint8_t> CKeyboardFirmware::FactoryKeyTable() {
    std::vector<KeyFunctionCode> distinct;
    for (const KeyFunctionCode& code : DefaultKeyTable) {
        if (std::find(distinct.begin(), distinct.end(), code) == distinct.end()) {
            distinct.push_back(code);
        }
    }
    std::reverse(distinct.begin(), distinct.end());
    distinct.insert(distinct.begin() + kForeignKey, kForeignCode);
    distinct.push_back(kNoKey);
    std::vector<uint8_t> table;
    for (const KeyFunctionCode& code : distinct) {
        Append(table, code);
    }
    return table;
}

CKeyboardFirmware::CKeyboardFirmware(std::vector<uint8_t> keyTable, uint8_t macroUnits)
    : keyTable_(std::move(keyTable)) {
    const size_t count = keyTable_.size() / 3;
    info_[0] = 0x01;
    info_[5] = static_cast<uint8_t>(count);
    info_[6] = macroUnits;
    // Light-frame slots in an order of their own: key k lights slot (5k + 3) mod count.
    lightOrder_.resize(count);
    for (size_t key = 0; key < count; ++key) {
        lightOrder_[key] = static_cast<uint8_t>((5 * key + 3) % count);
    }
    memory_.assign(kSlotCount * kRecordSize, 0);
    for (size_t slot = 0; slot < kSlotCount; ++slot) {
        uint8_t* record = memory_.data() + slot * kRecordSize;
        record[kLightMode] = 1;
        record[2] = 4;
        record[kInverseSpeed] = 2;
        record[5] = 1;
        record[6] = 0xFF;
        record[kPollingRate] = 3;
    }
    memory_[0] = 0;
    macroMemory_.assign(size_t{macroUnits} * 128, 0);
}

std::optional<CKeyboardFirmware::Report> CKeyboardFirmware::HandleRequest(std::span<const uint8_t> request) {
    return firmware_memory::Answer(
        request, refusals_, [this](const uint8_t* bytes, Report& reply) { return Execute(bytes, reply); });
}

uint8_t CKeyboardFirmware::Execute(const uint8_t* request, Report& reply) {
    if (request[4] > kCommandChunkSize) {
        return kStatusRejected;
    }
    const uint8_t command = request[kCommandCodeByte];
    const bool writes = command == command_code::kWriteMemory || command == command_code::kWriteKeyTable ||
                        command == command_code::kWriteMacroBlock;
    if (writes && !inTransfer_) {
        return kStatusRejected;
    }
    switch (command) {
        case command_code::kBeginTransfer:
            inTransfer_ = true;
            macroBefore_.reset();
            return kStatusOk;
        case command_code::kEndTransfer:
            return EndTransfer();
        case command_code::kReadInfo:
            return ReadFrom(info_, request, reply);
        case command_code::kReadMemory:
            return ReadFrom(memory_, request, reply);
        case command_code::kWriteMemory:
            return RecordBytesValid(request) ? WriteTo(memory_, request) : kStatusRejected;
        case command_code::kReadKeyTable:
            return ReadFrom(keyTable_, request, reply);
        case command_code::kWriteKeyTable:
            return WriteTo(keyTable_, request);
        case command_code::kReadLightOrder:
            return ReadFrom(lightOrder_, request, reply);
        case command_code::kWriteLightFrame:
            ++lightFrames_;
            return kStatusOk;
        case command_code::kWriteMacroBlock:
            return WriteMacro(request);
        case command_code::kReadRecord:
            return ReadFrom(powerRecord_, request, reply);
        default:
            return kStatusFailed;
    }
}

uint8_t CKeyboardFirmware::EndTransfer() {
    inTransfer_ = false;
    if (!macroBefore_) {
        return kStatusOk;
    }
    const bool valid = firmware_memory::ImageValid(macroMemory_);
    if (!valid) {
        macroMemory_ = std::move(*macroBefore_);
    }
    macroBefore_.reset();
    return valid ? kStatusOk : kStatusRejected;
}

uint8_t CKeyboardFirmware::WriteMacro(const uint8_t* request) {
    std::optional<std::vector<uint8_t>> previous;
    if (!macroBefore_) {
        previous = macroMemory_;
    }
    const uint8_t status = WriteTo(macroMemory_, request);
    if (status == kStatusOk && previous) {
        macroBefore_ = std::move(previous);
    }
    return status;
}

bool CKeyboardFirmware::RecordBytesValid(const uint8_t* request) const {
    const size_t address = AddressOf(request);
    for (size_t i = 0; i < request[4]; ++i) {
        const size_t offset = (address + i) % kRecordSize;
        if (!RecordByteValid(offset, request[kCommandPayloadOffset + i])) {
            return false;
        }
    }
    // Address 0 is the active-slot byte whatever slot is written.
    return address != 0 || request[4] == 0 || request[kCommandPayloadOffset] < kSlotCount;
}

bool CKeyboardFirmware::RecordByteValid(size_t offset, uint8_t value) {
    switch (offset) {
        case kLightMode:
            return value < kLightModes;
        case kInverseSpeed:
            return value <= kHighestSpeed;
        case kWFlag:
        case kKey6Flag:
        case kWinFlag:
            return value <= 1;
        case kPollingRate:
            return value < kPollingOptions;
        default:
            return offset <= 8 || value == 0;  // 9-18, 23 and 24 are reserved
    }
}

uint8_t CKeyboardFirmware::ReadFrom(std::span<const uint8_t> source, const uint8_t* request,
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

uint8_t CKeyboardFirmware::WriteTo(std::vector<uint8_t>& target, const uint8_t* request) {
    const size_t address = AddressOf(request);
    const size_t length = request[4];
    if (address + length > target.size()) {
        return kStatusRejected;
    }
    std::copy_n(request + kCommandPayloadOffset, length,
                target.begin() + static_cast<std::ptrdiff_t>(address));
    return kStatusOk;
}

size_t CKeyboardFirmware::ActiveSlot() const {
    return memory_[0] < kSlotCount ? memory_[0] : 0;
}

void CKeyboardFirmware::StepLightMode() {
    uint8_t& mode = memory_[ActiveSlot() * kRecordSize + kLightMode];
    mode = static_cast<uint8_t>((mode + 1) % kLightModes);
}

Json::Value CKeyboardFirmware::SaveState() const {
    Json::Value state(Json::objectValue);
    state["memory"] = firmware_memory::ToHex(memory_);
    state["key_table"] = firmware_memory::ToHex(keyTable_);
    state["macro_memory"] = firmware_memory::ToHex(macroMemory_);
    return state;
}

void CKeyboardFirmware::LoadState(const Json::Value& state) {
    if (!state.isObject()) {
        return;
    }
    firmware_memory::FromHex(state["memory"], memory_);
    firmware_memory::FromHex(state["key_table"], keyTable_);
    firmware_memory::FromHex(state["macro_memory"], macroMemory_);
    if (memory_[0] >= kSlotCount) {
        memory_[0] = 0;
    }
}
