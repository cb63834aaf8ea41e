#include "sim/mouse_firmware.h"

#include "device/command_report.h"
#include "profile/json_access.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>

namespace {

constexpr uint8_t kStatusOk = 0x00;
constexpr uint8_t kOnlineMarker = 0xFF;
constexpr uint8_t kLightModes = 12;
constexpr uint8_t kHighestLightSpeed = 4;
constexpr size_t kImageHeaderSize = 16;
constexpr size_t kImageSignature = 0x55AA;

struct StageColour {
    uint8_t red, green, blue;
};

constexpr StageColour kStageColours[mouse_record::kStageCount] = {
    {0xFF, 0x00, 0x00}, {0x00, 0xFF, 0x00}, {0x00, 0x00, 0xFF}, {0xFF, 0xFF, 0x00},
    {0x00, 0xFF, 0xFF}, {0xFF, 0x00, 0xFF}, {0xFF, 0xFF, 0xFF}};

size_t AddressOf(const uint8_t* request) {
    return static_cast<size_t>(request[5]) | static_cast<size_t>(request[6]) << 8;
}

std::string ToHex(const std::vector<uint8_t>& bytes) {
    static const char kDigits[] = "0123456789abcdef";
    std::string text;
    text.reserve(bytes.size() * 2);
    for (uint8_t byte : bytes) {
        text.push_back(kDigits[byte >> 4]);
        text.push_back(kDigits[byte & 0x0F]);
    }
    return text;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// Replaces target only when the text is hex of exactly its size, so a damaged state file
// never leaves a memory half loaded.
void FromHex(const Json::Value& value, std::vector<uint8_t>& target) {
    const std::string text = CJsonAccess::String(value);
    if (text.size() != target.size() * 2) {
        return;
    }
    std::vector<uint8_t> bytes(target.size());
    for (size_t i = 0; i < bytes.size(); ++i) {
        const int high = HexDigit(text[2 * i]);
        const int low = HexDigit(text[2 * i + 1]);
        if (high < 0 || low < 0) {
            return;
        }
        bytes[i] = static_cast<uint8_t>(high << 4 | low);
    }
    target = std::move(bytes);
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
    if (request.size() < kCommandReportSize || request[0] != kCommandReportId) {
        return std::nullopt;
    }
    const uint8_t* bytes = request.data();
    if (!online_ && bytes[kCommandCodeByte] != command_code::kIsOnline) {
        return std::nullopt;
    }
    Report reply{};
    std::memcpy(reply.data(), bytes, kCommandStatusByte);
    const uint16_t expected = static_cast<uint16_t>(bytes[1] | bytes[2] << 8);
    // The host leaves the status byte 0 in a request; anything else is not a request of ours.
    const bool framed = CommandChecksum(bytes) == expected && bytes[kCommandStatusByte] == kStatusOk;
    reply[kCommandStatusByte] = framed ? Execute(bytes, reply) : kStatusFailed;
    if (reply[kCommandStatusByte] != kStatusOk) {
        ++refusals_;
    }
    SealCommandReport(reply.data());
    return reply;
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
        if (*before && !ImageValid(*memory)) {
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

// The image layout: 0x55AA, total size, entry count, zeros up to byte 16; one 16-bit offset per
// entry; then the entries in order, each a 16-bit event count, two zero bytes and 4-byte events,
// ending exactly at the total size.
bool CMouseFirmware::ImageValid(std::span<const uint8_t> memory) {
    const auto u16 = [&memory](size_t at) { return static_cast<size_t>(memory[at] | memory[at + 1] << 8); };
    if (memory.size() < kImageHeaderSize || u16(0) != kImageSignature) {
        return false;
    }
    const size_t size = u16(2);
    const size_t count = u16(4);
    if (size > memory.size() || kImageHeaderSize + 2 * count > size ||
        std::any_of(memory.begin() + 6, memory.begin() + kImageHeaderSize,
                    [](uint8_t b) { return b != 0; })) {
        return false;
    }
    size_t next = kImageHeaderSize + 2 * count;
    for (size_t entry = 0; entry < count; ++entry) {
        if (u16(kImageHeaderSize + 2 * entry) != next || next + 4 > size || memory[next + 2] != 0 ||
            memory[next + 3] != 0) {
            return false;
        }
        next += 4 + 4 * u16(next);
    }
    return next == size;
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
    state["memory"] = ToHex(memory_);
    state["key_table"] = ToHex(keyTable_);
    state["macro_memory"] = ToHex(macroMemory_);
    state["shoot_memory"] = ToHex(shootMemory_);
    return state;
}

void CMouseFirmware::LoadState(const Json::Value& state) {
    FromHex(CJsonAccess::Member(state, "memory"), memory_);
    FromHex(CJsonAccess::Member(state, "key_table"), keyTable_);
    FromHex(CJsonAccess::Member(state, "macro_memory"), macroMemory_);
    FromHex(CJsonAccess::Member(state, "shoot_memory"), shootMemory_);
    if (memory_[0] >= model_.profileCount) {
        memory_[0] = 0;
    }
}
