#pragma once

#include <cstddef>
#include <cstdint>

// The 64-byte report that carries every firmware command and its reply on the vendor
// collection. Both directions share the layout; the host leaves the status byte 0 and the
// firmware fills it in. Multi-byte fields are little-endian.
//
// The checksum is the sum of bytes 3..63 over the report exactly as sent, stale bytes after a
// short payload included; the firmware rejects a request whose checksum does not match.

struct CommandReport {
    uint8_t reportId;      // always kCommandReportId
    uint8_t checksumLow;   // sum of bytes 3..63, low 8 bits
    uint8_t checksumHigh;  // same sum, next 8 bits
    uint8_t command;       // command code, echoed by the reply
    uint8_t length;        // payload bytes carried by this report, 0..kCommandChunkSize
    uint8_t addressLow;    // address, or offset from the start of the transfer
    uint8_t addressHigh;
    uint8_t status;  // reply only: kStatusRejected and kStatusFailed are errors
    uint8_t payload[56];
};
static_assert(sizeof(CommandReport) == 64);

inline constexpr uint8_t kCommandReportId = 0x04;
inline constexpr size_t kCommandReportSize = sizeof(CommandReport);
inline constexpr size_t kCommandChunkSize = sizeof(CommandReport::payload);
inline constexpr size_t kCommandPayloadOffset = offsetof(CommandReport, payload);
inline constexpr size_t kCommandCodeByte = offsetof(CommandReport, command);
inline constexpr size_t kCommandStatusByte = offsetof(CommandReport, status);

// The status byte a request carries and a firmware answers on success.
inline constexpr uint8_t kStatusOk = 0x00;
// Status bytes that mark a failed command; any other value is success.
inline constexpr uint8_t kStatusFailed = 0xFF;
inline constexpr uint8_t kStatusRejected = 0xFE;

// Command codes understood by the firmware of every device kind.
namespace command_code {
inline constexpr uint8_t kBeginTransfer = 0x01;
inline constexpr uint8_t kEndTransfer = 0x02;
inline constexpr uint8_t kReadInfo = 0x03;
inline constexpr uint8_t kReadMemory = 0x05;
inline constexpr uint8_t kWriteMemory = 0x06;
inline constexpr uint8_t kReadKeyTable = 0x07;
inline constexpr uint8_t kWriteKeyTable = 0x09;
inline constexpr uint8_t kWriteLightFrame = 0x12;
inline constexpr uint8_t kWriteMacroBlock = 0x15;
inline constexpr uint8_t kWriteShootBlock = 0x17;
inline constexpr uint8_t kReadRecord = 0x1A;
inline constexpr uint8_t kReadLightOrder = 0x1B;
inline constexpr uint8_t kIsOnline = 0xAA;
}  // namespace command_code

// Sum of bytes 3..63 of a 64-byte report, truncated to 16 bits.
uint16_t CommandChecksum(const uint8_t* report);

// Writes the checksum into bytes 1 and 2; call after every other byte is filled in.
void SealCommandReport(uint8_t* report);
