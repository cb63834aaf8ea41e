#pragma once

#include "macro/macro_event.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

// The memory image that the macro-block command (and, with the same layout, the shoot-block
// command) writes, little-endian:
//   offset 0   u16 0x55AA, u16 total size, u16 entry count, zeros up to offset 16
//   offset 16  one u16 offset per entry, from the start of the image
//   then per entry: u16 event count, two zero bytes, the events in their 4-byte encoding
// Size = 16 + 2 x entries + sum of (4 + 4 x events). Pure functions; any thread.
class CMacroImage {
public:
    static constexpr size_t kHeaderSize = 16;
    static constexpr uint16_t kSignature = 0x55AA;
    // The size and offset fields are 16 bits wide: no image may be larger.
    static constexpr size_t kMaxSize = 0xFFFF;

    struct Result {
        std::vector<uint8_t> bytes;  // empty when the image does not fit
        // 0 when it fits; otherwise ((size - capacity) >> 2) + 1, the number of events to remove
        int overflow = 0;
    };

    static size_t Size(const std::vector<size_t>& eventCounts);
    // The overflow field of a result for an image of this size: 0 when it fits.
    static int Overflow(size_t size, std::optional<size_t> capacity);

    // Builds the image of the entries in order. A capacity in bytes (the device's macro memory)
    // is checked when given; the 16-bit size limit is always checked.
    static Result Build(const std::vector<std::vector<MacroEvent>>& entries, std::optional<size_t> capacity);
};
