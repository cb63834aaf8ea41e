#pragma once

#include "devices/common/default_key_table.h"
#include "devices/common/key_function_code.h"
#include "devices/keyboard/keyboard_profiledata.h"
#include "profile/profile_records.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

// The keyboard's wire format: the settings record of each profile slot, the firmware key-code
// and light-order tables, and the maps from host key positions to firmware keys. Pure encoders
// and decoders; nothing here sends anything. Multi-byte values are little-endian.
//
// Thread safety: all functions are pure.

namespace keyboardwire {

inline constexpr size_t kRecordSize = 25;       // one profile slot of the settings memory
inline constexpr size_t kTableCapacity = 512;   // the channel's largest block
inline constexpr uint8_t kUnmapped = 255;       // a host position without a firmware key
inline constexpr uint8_t kLightModeLimit = 25;  // modes from here on go out as mode 0
inline constexpr uint8_t kHighestSpeed = 4;
inline constexpr size_t kMacroUnitBytes = 128;

// The 32-byte information block of command 0x03; the keyboard uses bytes 5 and 6.
struct InfoBlock {
    uint8_t unknown_0[5];
    uint8_t keyCount;    // firmware keys (and LEDs)
    uint8_t macroUnits;  // macro memory in units of 128 bytes
    uint8_t unknown_7[25];

    size_t KeyTableBytes() const { return size_t{keyCount} * 3; }
    size_t MacroCapacity() const { return size_t{macroUnits} * kMacroUnitBytes; }
};
static_assert(sizeof(InfoBlock) == 32);
static_assert(offsetof(InfoBlock, keyCount) == 5);
static_assert(offsetof(InfoBlock, macroUnits) == 6);

// The 25-byte record of one profile slot at address 25 x slot.
struct ProfileRecord {
    uint8_t activeSlot;  // address 0 of the memory: the active slot; written as the caller's first byte
    uint8_t lightMode;
    uint8_t brightness;
    uint8_t inverseSpeed;  // 4 - speed
    uint8_t direction;
    uint8_t multiColour;
    uint8_t red;
    uint8_t green;
    uint8_t blue;
    uint8_t zero_9[10];
    uint8_t wFlag;
    uint8_t key6Flag;
    uint8_t winFlag;
    uint8_t pollingRate;
    uint8_t zero_23[2];
};
static_assert(sizeof(ProfileRecord) == kRecordSize);
static_assert(offsetof(ProfileRecord, red) == 6);
static_assert(offsetof(ProfileRecord, wFlag) == 19);
static_assert(offsetof(ProfileRecord, pollingRate) == 22);

InfoBlock DecodeInfoBlock(std::span<const uint8_t, sizeof(InfoBlock)> bytes);

// The record that command 0x06 writes: the light record's mode (25 or more as 0), brightness,
// inverted speed (a speed above 4 as 4, so the byte cannot wrap), direction, multicolour and
// colour; the four flags' low bytes; everything else 0.
std::array<uint8_t, kRecordSize> EncodeRecord(const LightInfo& light, const KeyboardSystemStages& stages,
                                              uint8_t firstByte);

// What a read record says. The direction and the polling rate are not taken over: the light
// record's direction and the stages' polling rate stay as the caller had them. A speed byte
// above 4 reads as speed 0.
void DecodeRecord(std::span<const uint8_t, kRecordSize> bytes, LightInfo& light,
                  KeyboardSystemStages& stages);

// Host position -> firmware key index (KeyCodeMap) and -> light-frame slot (LightOrderMap).
using PositionMap = std::array<uint8_t, kKeyboardPositionCount>;

struct KeyMaps {
    PositionMap keyCode;
    PositionMap lightOrder;
};

// Both maps all kUnmapped.
KeyMaps EmptyMaps();

// Each host position maps to the first firmware key whose code equals the position's default
// code; positions with the same default share that key. The light order of a mapped position
// is the light-order entry of its key (kUnmapped when the table is too short).
KeyMaps BuildKeyMaps(std::span<const uint8_t> keyTable, std::span<const uint8_t> lightOrder);

// A key given another function no longer shows its default code when the table is read again,
// and its new code may be another position's default. With the functions the profile says each
// position was given, the positions given another function first take the first unclaimed key
// holding that function; then every other position the first unclaimed key holding its default
// code (positions with the same default still share it). Equals BuildKeyMaps while every
// position has its default function.
KeyMaps MapAssignedKeys(std::span<const uint8_t> keyTable, std::span<const uint8_t> lightOrder,
                        std::span<const KeyAssignment> keys);

// The key table to write: the table read at start-up with the code of every mapped position of
// the list replaced (list entry i belongs to host position i). Firmware keys no position maps
// to keep their code.
std::vector<uint8_t> PatchKeyTable(std::span<const uint8_t> firmwareTable, const PositionMap& keyCode,
                                   std::span<const KeyAssignment> keys);

// The host position whose KeyCodeMap entry is the firmware key, or -1.
int PositionOfFirmwareKey(const PositionMap& keyCode, int firmwareKey);

}  // namespace keyboardwire
