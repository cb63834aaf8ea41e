#pragma once

#include <json/value.h>

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// What every firmware emulator does with its memories: keeps them in the state file as hex
// text, and checks a macro image written into them the way the firmware does before it commits
// it. Pure functions; any thread.
namespace firmware_memory {

std::string ToHex(std::span<const uint8_t> bytes);

// Replaces target only when the value is hex text of exactly its size, so a damaged state file
// never leaves a memory half loaded.
void FromHex(const Json::Value& value, std::vector<uint8_t>& target);

// The image layout: 0x55AA, total size, entry count, zeros up to byte 16; one 16-bit offset per
// entry; then the entries in order, each a 16-bit event count, two zero bytes and 4-byte events,
// ending exactly at the total size.
bool ImageValid(std::span<const uint8_t> memory);

}  // namespace firmware_memory
