#pragma once

#include "profile/profile_records.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

// The mouse pad's wire format: the parameter record of each profile slot. The pad's memory holds
// 25 bytes per slot at 25 x slot; the host keeps and writes bytes 0..20. Pure encoders and
// decoders; nothing here sends anything.
//
// Thread safety: all functions are pure.

namespace padwire {

inline constexpr size_t kRecordSize = 21;        // the bytes the host keeps and writes
inline constexpr size_t kMemoryRecordSize = 25;  // one profile slot of the pad's memory
inline constexpr uint8_t kLightModeCount = 9;    // modes 0..8; others go out as mode 0
inline constexpr uint8_t kHighestLevel = 4;      // brightness and speed indexes 0..4

// The record as the device object holds it; on the wire byte 3 is 4 - speed.
struct PadRecord {
    uint8_t activeProfile;
    uint8_t lightMode;
    uint8_t brightness;
    uint8_t speed;      // the speed index
    uint8_t unknown_4;  // a light byte the firmware sets; kept as read
    uint8_t multiColour;
    uint8_t red;
    uint8_t green;
    uint8_t blue;
    uint8_t unknown_9[12];  // firmware settings; kept as read
};
static_assert(sizeof(PadRecord) == kRecordSize);
static_assert(offsetof(PadRecord, speed) == 3);
static_assert(offsetof(PadRecord, multiColour) == 5);
static_assert(offsetof(PadRecord, blue) == 8);

// Bytes 0..20 of a slot read from the pad; byte 3 becomes the speed index (a byte above 4 reads
// as speed 0, so the index stays in range).
PadRecord DecodeRecord(std::span<const uint8_t, kMemoryRecordSize> bytes);

// The 21 bytes that command 0x06 writes: byte 3 turned back into 4 - speed (a speed above 4 as
// 4, so the byte cannot wrap), a mode of 9 or more as 0; everything else as held.
std::array<uint8_t, kRecordSize> EncodeRecord(const PadRecord& record);

// The light state into the record: mode, brightness, speed, multicolour and colour. Bytes 0, 4
// and 9..20 stay.
void TakeLight(PadRecord& record, const LightInfo& light);

// The record's light fields over the given light state (its direction and extra bytes stay).
LightInfo LightOf(const PadRecord& record, LightInfo light);

}  // namespace padwire
