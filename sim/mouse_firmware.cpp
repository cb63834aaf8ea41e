#include "sim/mouse_firmware.h"

#include "device/command_report.h"
#include "profile/json_access.h"
#include "sim/firmware_memory.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>

namespace {

constexpr uint8_t kOnlineMarker = 0xFF;
constexpr uint8_t kLightModes = 12;
constexpr uint8_t kHighestLightSpeed = 4;

struct StageColour {
    uint8_t red, green, blue;
};

constexpr StageColour kStageColours[mouse_record::kStageCount] = {
    {0xFF, 0x00, 0x00}, {0x00, 0xFF, 0x00}, {0x00, 0x00, 0xFF}, {0xFF, 0xFF, 0x00},
    {0x00, 0xFF, 0xFF}, {0xFF, 0x00, 0xFF}, {0xFF, 0xFF, 0xFF}};

size_t AddressOf(const uint8_t* request) {
    return static_cast<size_t>(request[5]) | static_cast<size_t>(request[6]) << 8;
}

}  // namespace

CMouseFirmware::CMouseFirmware(MouseModel model) : model_(std::move(model)) {
    info_ = model_.InfoBlock();
    FactoryReset();
}

void CMouseFirmware::FactoryReset() {
    memory_.assign(model_.profileCount * mouse_record::kSize, 0);
    for (size_t profile = 0; profile < model_.profileCount; ++profile) {
        uint8_t* record = memory_.data() + profile * mouse_record::kSize;
        record[1] = 1;  // spectrum
        record[2] = 4;  // full brightness
        record[3] = 2;  // middle speed
        record[5] = 1;  // multicolour
        record[6] = 0xFF;
        record[mouse_record::kPollingRate] = 3;
        const uint8_t stageBytes[mouse_record::kStageCount] = {15, 16, 17, 18, 20, 21, 22};
        for (size_t stage = 0; stage < mouse_record::kStageCount && stage < model_.stagePositions.size();
             ++stage) {
            record[stageBytes[stage]] = static_cast<uint8_t>(model_.stagePositions[stage]);
            record[24 + 3 * stage] = kStageColours[stage].red;
            record[25 + 3 * stage] = kStageColours[stage].green;
            record[26 + 3 * stage] = kStageColours[stage].blue;
        }
        record[mouse_record::kActiveStage] = 1;
    }
    memory_[0] = 0;  // active profile

    keyTable_.clear();
    for (const KeyCode& code : model_.factoryKeys) {
        keyTable_.insert(keyTable_.end(), code.begin(), code.end());
    }
    macroMemory_.assign(static_cast<size_t>(model_.macroUnits) * 128, 0);
    shootMemory_.assign(model_.shootMemorySize, 0);
    powerRecord_ = model_.wireless ? std::array<uint8_t, 6>{80, 2, 0, 1, 0, 0}
                                   : std::array<uint8_t, 6>{100, 0, 0, 0, 0, 0};
}

std::optional<CMouseFirmware::Report> CMouseFirmware::HandleRequest(std::span<const uint8_t> request) {
    // A mouse switched off behind its receiver answers only the online check.
    if (!online_ && request.size() > kCommandCodeByte &&
        request[kCommandCodeByte] != command_code::kIsOnline) {
        return std::nullopt;
    }
    return firmware_memory::Answer(
        request, refusals_, [this](const uint8_t* bytes, Report& reply) { return Execute(bytes, reply); });
}

uint8_t CMouseFirmware::Execute(const uint8_t* request, Report& reply) {
    if (request[4] > kCommandChunkSize) {
        return kStatusRejected;
    }
    const uint8_t command = request[kCommandCodeByte];
    const bool writes = command == command_code::kWriteMemory || command == command_code::kWriteKeyTable ||
                        command == command_code::kWriteMacroBlock ||
                        command == command_code::kWriteShootBlock;
    // The firmware commits stored data only inside a 0x01 .. 0x02 bracket.
    if (writes && !inTransfer_) {
        return kStatusRejected;
    }
    switch (command) {
        case command_code::kBeginTransfer:
            BeginTransfer();
            return kStatusOk;
        case command_code::kEndTransfer:
            return EndTransfer();
        case command_code::kReadInfo:
            return ReadFrom({reinterpret_cast<const uint8_t*>(&info_), sizeof info_}, request, reply);
        case command_code::kReadMemory:
            return ReadFrom(memory_, request, reply);
        case command_code::kWriteMemory:
            return ParameterBytesValid(request) ? WriteTo(memory_, request) : kStatusRejected;
        case command_code::kReadKeyTable:
            return ReadFrom(keyTable_, request, reply);
        case command_code::kWriteKeyTable:
            return WriteTo(keyTable_, request);
        case command_code::kWriteLightFrame:
            ++lightFrames_;
            return kStatusOk;
        case command_code::kWriteMacroBlock:
            return WriteImage(macroMemory_, macroBefore_, request);
        case command_code::kWriteShootBlock:
            return WriteImage(shootMemory_, shootBefore_, request);
        case command_code::kReadRecord:
            return ReadFrom(powerRecord_, request, reply);
        case command_code::kIsOnline:
            return AnswerOnline(reply);
        default:
            return kStatusFailed;
    }
}

void CMouseFirmware::BeginTransfer() {
    inTransfer_ = true;
    macroBefore_.reset();
    shootBefore_.reset();
}

// An image written in this transfer must be whole when the transfer ends; a damaged one is
// refused and the memory keeps what it held before.
uint8_t CMouseFirmware::EndTransfer() {
    inTransfer_ = false;
    uint8_t status = kStatusOk;
    for (auto [memory, before] :
         {std::pair{&macroMemory_, &macroBefore_}, std::pair{&shootMemory_, &shootBefore_}}) {
        if (*before && !firmware_memory::ImageValid(*memory)) {
            *memory = std::move(**before);
            status = kStatusRejected;
        }
        before->reset();
    }
    return status;
}

uint8_t CMouseFirmware::WriteImage(std::vector<uint8_t>& memory, std::optional<std::vector<uint8_t>>& before,
                                   const uint8_t* request) {
    std::optional<std::vector<uint8_t>> previous;
    if (!before) {
        previous = memory;
    }
    const uint8_t status = WriteTo(memory, request);
    if (status == kStatusOk && previous) {
        before = std::move(previous);
    }
    return status;
}

// What the firmware acts on must be in its range, and what it keeps as reserved must be 0.
bool CMouseFirmware::ParameterBytesValid(const uint8_t* request) const {
    const size_t address = AddressOf(request);
    for (size_t i = 0; i < request[4]; ++i) {
        const size_t offset = (address + i) % mouse_record::kSize;
        const uint8_t value = request[kCommandPayloadOffset + i];
        if (!ParameterByteValid(offset, value)) {
            return false;
        }
    }
    return true;
}

bool CMouseFirmware::ParameterByteValid(size_t offset, uint8_t value) const {
    switch (offset) {
        case 0:
            return value < model_.profileCount;
        case mouse_record::kLightMode:
            return value < kLightModes;
        case mouse_record::kLightSpeed:
            return value <= kHighestLightSpeed;
        case mouse_record::kActiveStage:
            return value < mouse_record::kStageCount;
        case 10:
        case 11:
        case 12:
        case 13:
        case 23:
        case 45:
        case 47:
            return value == 0;
        default:
            return offset < mouse_record::kUsedBytes || value == 0;
    }
}

uint8_t CMouseFirmware::ReadFrom(std::span<const uint8_t> source, const uint8_t* request,
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

uint8_t CMouseFirmware::WriteTo(std::vector<uint8_t>& target, const uint8_t* request) {
    const size_t address = AddressOf(request);
    const size_t length = request[4];
    if (address + length > target.size()) {
        return kStatusRejected;
    }
    std::copy_n(request + kCommandPayloadOffset, length,
                target.begin() + static_cast<std::ptrdiff_t>(address));
    return kStatusOk;
}

uint8_t CMouseFirmware::AnswerOnline(Report& reply) const {
    reply[kCommandPayloadOffset] = online_ ? kOnlineMarker : 0x00;
    return kStatusOk;
}

bool CMouseFirmware::CycleDpiStage() {
    // The host may have written any value to the active-profile byte; the firmware falls back to
    // the first record rather than step outside its memory.
    const size_t profile = memory_[0] < model_.profileCount ? memory_[0] : 0;
    uint8_t* record = memory_.data() + profile * mouse_record::kSize;
    record[mouse_record::kActiveStage] =
        static_cast<uint8_t>((record[mouse_record::kActiveStage] + 1) % mouse_record::kStageCount);
    return true;
}

bool CMouseFirmware::SelectProfile(uint8_t index) {
    if (index >= model_.profileCount || index == memory_[0]) {
        return false;
    }
    memory_[0] = index;
    return true;
}

void CMouseFirmware::SetOnline(bool online) {
    online_ = online || !model_.wireless;
}

Json::Value CMouseFirmware::SaveState() const {
    Json::Value state(Json::objectValue);
    state["memory"] = firmware_memory::ToHex(memory_);
    state["key_table"] = firmware_memory::ToHex(keyTable_);
    state["macro_memory"] = firmware_memory::ToHex(macroMemory_);
    state["shoot_memory"] = firmware_memory::ToHex(shootMemory_);
    return state;
}

void CMouseFirmware::LoadState(const Json::Value& state) {
    firmware_memory::FromHex(CJsonAccess::Member(state, "memory"), memory_);
    firmware_memory::FromHex(CJsonAccess::Member(state, "key_table"), keyTable_);
    firmware_memory::FromHex(CJsonAccess::Member(state, "macro_memory"), macroMemory_);
    firmware_memory::FromHex(CJsonAccess::Member(state, "shoot_memory"), shootMemory_);
    if (memory_[0] >= model_.profileCount) {
        memory_[0] = 0;
    }
}
