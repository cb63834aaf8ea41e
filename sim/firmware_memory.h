#pragma once

#include <json/value.h>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

// What every firmware emulator does with its memories and requests: keeps the memories in the
// state file as hex text, checks a macro image written into them the way the firmware does
// before it commits it, and frames its answers. Pure functions; any thread.
namespace firmware_memory {

using Report = std::array<uint8_t, 64>;

// A command report answered in the firmware's framing: nothing for a report that is not a
// command; status "failed" for a bad checksum or a status byte the host did not leave 0;
// otherwise the status execute gives, with its payload in the reply. Every status but OK counts
// as a refusal.
std::optional<Report> Answer(std::span<const uint8_t> request, size_t& refusals,
                             const std::function<uint8_t(const uint8_t*, Report&)>& execute);

std::string ToHex(std::span<const uint8_t> bytes);

// Replaces target only when the value is hex text of exactly its size, so a damaged state file
// never leaves a memory half loaded.
void FromHex(const Json::Value& value, std::vector<uint8_t>& target);

// The image layout: 0x55AA, total size, entry count, zeros up to byte 16; one 16-bit offset per
// entry; then the entries in order, each a 16-bit event count, two zero bytes and 4-byte events,
// ending exactly at the total size.
bool ImageValid(std::span<const uint8_t> memory);

}  // namespace firmware_memory
