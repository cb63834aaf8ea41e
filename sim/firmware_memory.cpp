#include "sim/firmware_memory.h"

#include "device/command_report.h"
#include "profile/json_access.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

constexpr size_t kImageHeaderSize = 16;
constexpr size_t kImageSignature = 0x55AA;

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

}  // namespace

namespace firmware_memory {

std::string ToHex(std::span<const uint8_t> bytes) {
    static const char kDigits[] = "0123456789abcdef";
    std::string text;
    text.reserve(bytes.size() * 2);
    for (uint8_t byte : bytes) {
        text.push_back(kDigits[byte >> 4]);
        text.push_back(kDigits[byte & 0x0F]);
    }
    return text;
}

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

bool ImageValid(std::span<const uint8_t> memory) {
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

std::optional<Report> Answer(std::span<const uint8_t> request, size_t& refusals,
                             const std::function<uint8_t(const uint8_t*, Report&)>& execute) {
    if (request.size() < kCommandReportSize || request[0] != kCommandReportId) {
        return std::nullopt;
    }
    const uint8_t* bytes = request.data();
    Report reply{};
    std::memcpy(reply.data(), bytes, kCommandStatusByte);
    const uint16_t expected = static_cast<uint16_t>(bytes[1] | bytes[2] << 8);
    const bool framed = CommandChecksum(bytes) == expected && bytes[kCommandStatusByte] == kStatusOk;
    reply[kCommandStatusByte] = framed ? execute(bytes, reply) : kStatusFailed;
    if (reply[kCommandStatusByte] != kStatusOk) {
        ++refusals;
    }
    SealCommandReport(reply.data());
    return reply;
}

}  // namespace firmware_memory
